#include "platform/gdi/FontEngine.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include <fontconfig/fontconfig.h>

namespace {

// Character height of a description whose height is 0 ("default size").
constexpr int kDefaultEmPixels = 12;
// Heights beyond this are clamped: nothing the controls draw is larger, and FreeType would
// otherwise be asked for bitmaps of any size a caller writes into a description.
constexpr LONG kMaxHeight = 1000;
// Instances kept for reuse; when full the cache starts again (instances in use live on).
constexpr size_t kMaxCachedInstances = 64;
constexpr int kBoldWeight = 600;

std::string Lower(const char* text) {
    std::string s(text, strnlen(text, LF_FACESIZE));
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The fontconfig family to ask for: the generic families for the framework's own names.
std::string FamilyFor(const LOGFONT& d) {
    const std::string face = Lower(d.lfFaceName);
    if (face.empty()) return (d.lfPitchAndFamily & 3) == FIXED_PITCH ? "monospace" : "sans-serif";
    if (face == "ms shell dlg" || face == "ms sans serif" || face == "system") return "sans-serif";
    if (face == "courier" || face == "fixedsys" || face == "terminal") return "monospace";
    return face;
}

std::string Key(const LOGFONT& d) {
    return FamilyFor(d) + '|' + std::to_string(std::clamp(d.lfHeight, -kMaxHeight, kMaxHeight)) + '|' +
           (d.lfWeight >= kBoldWeight ? 'b' : 'n') + (d.lfItalic ? 'i' : 'r');
}

struct Match {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

bool FindFace(const LOGFONT& d, Match& out) {
    FcPattern* pattern = FcPatternCreate();
    const std::string family = FamilyFor(d);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, d.lfWeight >= kBoldWeight ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, d.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        out.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &out.index);
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) out.family = reinterpret_cast<const char*>(name);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.bold = weight >= FC_WEIGHT_DEMIBOLD;
        out.italic = slant != FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return found;
}

bool SetHeight(FT_Face face, LONG height) {
    height = std::clamp(height, -kMaxHeight, kMaxHeight);
    if (height == 0) return FT_Set_Pixel_Sizes(face, 0, kDefaultEmPixels) == 0;
    // A negative height is the em size; a positive one the whole cell (ascent + descent).
    FT_Size_RequestRec request{};
    request.type = height < 0 ? FT_SIZE_REQUEST_TYPE_NOMINAL : FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(height < 0 ? -height : height) * 64;
    return FT_Request_Size(face, &request) == 0;
}

}  // namespace

FontEngine& FontEngine::Get() {
    static FontEngine* engine = new FontEngine;  // lives to the end: faces outlive static teardown
    return *engine;
}

FontEngine::FontEngine() {
    FcInit();
    if (FT_Init_FreeType(&m_library) != 0) m_library = nullptr;
}

std::shared_ptr<FontInstance> FontEngine::Open(const LOGFONT& description) {
    std::lock_guard guard(m_lock);
    const std::string key = Key(description);
    if (auto it = m_instances.find(key); it != m_instances.end()) return it->second;
    if (m_instances.size() >= kMaxCachedInstances) m_instances.clear();
    auto instance = Load(description);
    m_instances.emplace(key, instance);
    return instance;
}

std::shared_ptr<FontInstance> FontEngine::Load(const LOGFONT& d) {
    Match match;
    FT_Face face = nullptr;
    if (m_library && FindFace(d, match) && FT_New_Face(m_library, match.file.c_str(), match.index, &face) == 0 &&
        !SetHeight(face, d.lfHeight)) {
        FT_Done_Face(face);
        face = nullptr;
    }
    const bool wantBold = d.lfWeight >= kBoldWeight;
    return std::make_shared<FontInstance>(face, match.family, face && wantBold && !match.bold,
                                          face && d.lfItalic && !match.italic);
}
