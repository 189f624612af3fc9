#include "mail/CPartRendererRegistry.h"

#include <mutex>

CPartRendererRegistry::~CPartRendererRegistry() {
    std::lock_guard guard(m_lock);
    m_renderers.clear();
}

void CPartRendererRegistry::Register(CPartRenderer* renderer) {
    if (!renderer) return;
    std::unique_ptr<CPartRenderer> owned(renderer);  // deleted even when the list cannot grow
    std::lock_guard guard(m_lock);
    m_renderers.push_back(std::move(owned));
}

CPartRenderer* CPartRendererRegistry::Lookup(int type) {
    std::lock_guard guard(m_lock);
    for (const auto& r : m_renderers)
        if (r->HandlesType(type)) return r.get();
    return nullptr;
}
