#pragma once
// The example host's own resources, as a recorder's application keeps them: a string table in its
// own words and the icon strip 6082, handed to the library's resource chain. Only the strings
// the example shows are here; the library shows any other as its identifier.
#include <dvrkit/platform/core/ResourceChain.h>

#include <map>
#include <string>
#include <vector>

class ExampleHostResources final : public CResourceModule {
public:
    ExampleHostResources();
    const char* FindString(UINT id) const override;
    std::span<const BYTE> FindBitmap(UINT id) const override;

    // The colour (0x00BBGGRR) that fills icon `index` of the strip.
    static COLORREF IconColor(int index);
    static constexpr int kIconCount = 13;

private:
    std::map<UINT, std::string> m_strings;
    std::vector<BYTE> m_iconStrip;
};
