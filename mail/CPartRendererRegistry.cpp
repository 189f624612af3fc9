#include "mail/CPartRendererRegistry.h"

#include <mutex>

CPartRendererRegistry::~CPartRendererRegistry() {
    std::lock_guard guard(m_lock);
    m_renderers.clear();
}

void CPartRendererRegistry::Register(CPartRenderer* renderer) {
    if (!renderer) return;
    std::lock_guard guard(m_lock);
    m_renderers.emplace_back(renderer);
}

CPartRenderer* CPartRendererRegistry::Lookup(int type) {
    std::lock_guard guard(m_lock);
    for (const auto& r : m_renderers)
        if (r->HandlesType(type)) return r.get();
    return nullptr;
}
