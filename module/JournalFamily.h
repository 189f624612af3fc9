#pragma once
// What a family of month files states for the journal (Journal.h): how a unit's keys are decoded
// without rendering its text, and how it is rendered for a person. Module code never includes a
// family's folder; each family provides its own JournalFamily (log2/LogJournal.h,
// event/EventJournal.h, log1/EntryJournal.h).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "module/JournalCursor.h"
#include "module/MonthFileUnits.h"
#include "platform/core/Types.h"

// Decoded from a unit's bytes without rendering its text.
struct JournalKeys {
    DWORD time = 0;
    int type = -1;         // the number --type N selects (log2: log type; event: source; log1: type)
    int group = -1;        // the family's named group (--type NAME), -1 if none
    int parentGroup = -1;  // a group holding `group`, which NAME also selects
    int channel = -1;      // event channel; -1 for the other families
    bool shown = true;     // false for units the browser never shows (an event record without its
                           // mark, a first-generation entry of type 5 or above)
};

// One field of an entry, for JSON lines and structured data.
struct JournalField {
    const char* name;        // static text
    std::string text = {};   // used when neither isNumber nor isList
    std::int64_t number = 0;
    bool isNumber = false;
    bool isList = false;     // a list of texts, one a line (a log's records)
    std::vector<std::string> list = {};
};

// An entry as a person reads it; reused across entries (Clear, then fill).
struct JournalText {
    std::string heading;               // the line after the time
    std::string body;                  // further lines, each ending in "\n" (no "\r"); may be empty
    std::vector<JournalField> fields;  // the entry's fields in order, without its time
    // What the reader takes, so that a family renders nothing else: the heading and body (text
    // output, --grep) and the fields (JSON). Kept by Clear.
    bool wantText = true, wantFields = true;

    void Clear() {
        heading.clear();
        body.clear();
        fields.clear();
    }
    void AddText(const char* name, std::string text) { fields.push_back({name, std::move(text)}); }
    void AddNumber(const char* name, std::int64_t number) { fields.push_back({name, {}, number, true}); }
    void AddList(const char* name, std::vector<std::string> list) {
        fields.push_back({name, {}, 0, false, true, std::move(list)});
    }
};

// A browser pane's text as an entry's body: its first line, the time that the journal prints
// itself, left out, and its "\r" too.
void AppendPaneBody(std::string& body, std::string_view pane);

struct JournalFamily {
    const char* extension;                  // "log", "evt"
    const MonthFileUnits* units;            // the engine's rule for this family
    const MonthFileUnits* rival = nullptr;  // the other family that names its files alike; a family
                                            // folder cannot name it, so the caller sets it in a copy
    std::vector<std::string> groupNames;    // names --type accepts, by group (host strings)
    std::size_t keyBytes;                   // the leading bytes of a unit that `keys` decodes
    JournalKeys (*keys)(std::span<const std::uint8_t> unit);
    void (*render)(std::span<const std::uint8_t> unit, std::uint64_t offset, JournalText& out);
    // Bytes of a unit that a writer rewrites in place after the append (a first-generation entry's
    // update time): the cursor's hash leaves them out, so that the update neither repeats nor skips.
    std::size_t rewrittenOffset = 0, rewrittenSize = 0;

    std::uint64_t Hash(std::span<const std::uint8_t> unit) const { return UnitHash(unit, rewrittenOffset, rewrittenSize); }
    // Whether a cursor's hash names `unit`: a cursor written before the rewritten bytes were left
    // out hashed them too.
    bool Hashes(std::span<const std::uint8_t> unit, std::uint64_t hash) const {
        return Hash(unit) == hash || (rewrittenSize != 0 && UnitHash(unit) == hash);
    }
};
