#pragma once
// The renderers a multipart mail can use, looked up by part type. The registry owns them.
#include <memory>
#include <vector>

#include "mail/CPartRenderer.h"
#include "platform/core/CCriticalSection.h"

class CPartRendererRegistry {
public:
    CPartRendererRegistry() = default;
    CPartRendererRegistry(const CPartRendererRegistry&) = delete;
    CPartRendererRegistry& operator=(const CPartRendererRegistry&) = delete;
    ~CPartRendererRegistry();

    // Takes ownership of `renderer`; a null renderer is ignored.
    void Register(CPartRenderer* renderer);
    // The first registered renderer that handles `type`, or nullptr. It lives as long as the
    // registry.
    CPartRenderer* Lookup(int type);

private:
    CCriticalSection m_lock;
    std::vector<std::unique_ptr<CPartRenderer>> m_renderers;
};
