#include "platform/core/ResourceChain.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Chain {
    std::mutex lock;
    std::vector<const CResourceModule*> modules;  // search order is back to front
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

template <typename Has>
const CResourceModule* FindModule(Has has) {
    Chain& chain = TheChain();
    std::lock_guard guard(chain.lock);
    for (auto it = chain.modules.rbegin(); it != chain.modules.rend(); ++it)
        if (has(**it)) return *it;
    return nullptr;
}

}  // namespace

void AfxAddResourceModule(const CResourceModule* module) {
    Chain& chain = TheChain();
    std::lock_guard guard(chain.lock);
    if (std::find(chain.modules.begin(), chain.modules.end(), module) == chain.modules.end())
        chain.modules.push_back(module);
}

void AfxRemoveResourceModule(const CResourceModule* module) {
    Chain& chain = TheChain();
    std::lock_guard guard(chain.lock);
    std::erase(chain.modules, module);
}

const CResourceModule* AfxFindStringModule(UINT id) {
    return FindModule([id](const CResourceModule& m) { return m.FindString(id) != nullptr; });
}

const CResourceModule* AfxFindBitmapModule(UINT id) {
    return FindModule([id](const CResourceModule& m) { return !m.FindBitmap(id).empty(); });
}

const char* AfxFindString(UINT id) {
    const CResourceModule* module = AfxFindStringModule(id);
    return module ? module->FindString(id) : nullptr;
}

std::span<const BYTE> AfxFindBitmap(UINT id) {
    const CResourceModule* module = AfxFindBitmapModule(id);
    return module ? module->FindBitmap(id) : std::span<const BYTE>{};
}
