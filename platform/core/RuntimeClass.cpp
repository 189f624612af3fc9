#include "platform/core/RuntimeClass.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

struct Registry {
    std::mutex lock;
    // Map keys are stable, so each class's name points into its key.
    std::map<std::string, std::unique_ptr<CRuntimeClass>> classes;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

const CRuntimeClass* CRuntimeClass::Register(const char* name, std::function<CObject*()> create, unsigned schema) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto it = r.classes.try_emplace(name, std::make_unique<CRuntimeClass>()).first;
    auto& slot = it->second;
    slot->m_lpszClassName = it->first.c_str();
    slot->m_pfnCreateObject = std::move(create);
    slot->m_wSchema = schema;
    return slot.get();
}

const CRuntimeClass* CRuntimeClass::FromName(const std::string& name) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto it = r.classes.find(name);
    return it == r.classes.end() ? nullptr : it->second.get();
}

void CRuntimeClass::Unregister(const char* name) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.classes.erase(name);
}
