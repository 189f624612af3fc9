#pragma once
// Runtime classes: a registry of class names from which objects can be created dynamically, in
// the shape of the framework's CRuntimeClass and CObject.
#include <functional>
#include <string>

class CArchive;
class CObject;

// The schema of a class that archives cannot hold.
constexpr unsigned kNoSchema = 0xFFFF;

struct CRuntimeClass {
    const char* m_lpszClassName;
    std::function<CObject*()> m_pfnCreateObject;  // empty for classes that cannot be created
    unsigned m_wSchema = kNoSchema;               // the version an archive stores with the class

    // A new object of this class owned by the caller, or nullptr if it is not creatable.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

    // Registers a class under its name (a later registration of the same name replaces it).
    static const CRuntimeClass* Register(const char* name, std::function<CObject*()> create,
                                         unsigned schema = kNoSchema);
    static const CRuntimeClass* FromName(const std::string& name);
    static void Unregister(const char* name);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return nullptr; }
    bool IsKindOf(const CRuntimeClass* cls) const { return cls && GetRuntimeClass() == cls; }
    // Stores the object into an archive or loads it from one; nothing for a plain object.
    virtual void Serialize(CArchive&) {}
};

// Registers T, default-constructible and derived from CObject, as dynamically creatable; with a
// schema, archives can hold it.
template <typename T>
const CRuntimeClass* RegisterDynamicClass(const char* name, unsigned schema = kNoSchema) {
    return CRuntimeClass::Register(name, [] { return static_cast<CObject*>(new T()); }, schema);
}
