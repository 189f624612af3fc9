#pragma once
// One face at one size with its glyph cache: what a context draws and measures text with.
// Made by FontEngine and shared by every font object whose description resolves to it.
//
// Threads: the glyph cache is guarded by the instance's own lock, so text may be measured and
// drawn from any thread; drawing callers hold Lock() for a whole run of glyphs.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

struct Glyph {
    int left = 0;     // from the pen position to the bitmap's first column
    int top = 0;      // from the baseline up to the bitmap's first row
    int width = 0;
    int height = 0;
    int advance = 0;  // pixels to the next pen position
    std::vector<std::uint8_t> coverage;  // width x height, 0 = none, 255 = full
};

class FontInstance {
public:
    // Takes ownership of `face` (nullptr: no font is installed; text then has no size and
    // draws nothing). `emboldenSynthetic` and `slantSynthetic` make up bold and italic that
    // the matched face lacks.
    FontInstance(FT_Face face, std::string family, bool emboldenSynthetic, bool slantSynthetic);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    const std::string& Family() const { return m_family; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int Height() const { return m_ascent + m_descent; }
    int EmSize() const { return m_emSize; }

    std::mutex& Lock() const { return m_lock; }
    // The glyph of `c` (the face's missing-glyph box when it has none); the caller holds
    // Lock(). The reference stays valid as long as the instance.
    const Glyph& GlyphFor(char32_t c);
    // The width of a run of characters in pixels (takes the lock itself).
    int Measure(std::u32string_view text);

private:
    Glyph Render(char32_t c) const;

    FT_Face m_face;
    std::string m_family;
    bool m_embolden;
    bool m_slant;
    int m_ascent = 0;
    int m_descent = 0;
    int m_emSize = 0;
    mutable std::mutex m_lock;
    std::vector<Glyph> m_latin;         // characters below 256, filled on first use
    std::vector<bool> m_latinLoaded;
    std::unordered_map<char32_t, Glyph> m_others;
};
