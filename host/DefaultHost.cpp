#include "host/DefaultHost.h"

#include <algorithm>
#include <vector>

#include "host/IconStrip.h"

namespace {

class HostModule final : public CResourceModule {
public:
    HostModule() : m_iconStrip(BuildIconStripBmp()) {}

    const char* FindString(UINT id) const override {
        const auto strings = DefaultHostStrings();
        const auto it = std::find_if(strings.begin(), strings.end(), [id](const HostString& s) { return s.id == id; });
        return it == strings.end() ? nullptr : it->text;
    }

    std::span<const BYTE> FindBitmap(UINT id) const override {
        return id == host::kIconStripBitmap ? std::span<const BYTE>(m_iconStrip) : std::span<const BYTE>{};
    }

private:
    std::vector<BYTE> m_iconStrip;
};

}  // namespace

const CResourceModule& DefaultHostModule() {
    static const HostModule module;
    return module;
}

void RegisterDefaultHostResources() { AfxAddResourceModule(&DefaultHostModule()); }
