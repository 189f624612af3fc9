#pragma once
// Archives: objects and numbers stored into a file and loaded back, in the shape of the
// framework's CArchive. A storing archive buffers what it writes until Flush, Close or its
// end; a loading archive reads straight from the file, so after Flush both the archive and
// the file stand at the same place and an object may read or write the file directly.
// Objects go through their runtime class (ArchiveFormat.h): loading creates each one from the
// class registered under the stored name and has it load itself.
#include <map>
#include <vector>

#include "platform/core/CException.h"
#include "platform/core/CFile.h"
#include "platform/core/RuntimeClass.h"

class CArchiveException : public CException {
public:
    enum Cause { endOfFile, badClass, badSchema, badIndex, writeOnly, readOnly };
    CArchiveException(Cause cause, const std::string& what) : CException(what), m_cause(cause) {}
    Cause m_cause;
};

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    // The file must stay open for the archive's life; the archive does not own it.
    CArchive(CFile* file, UINT mode);
    // Writes what is still buffered; errors here are lost (call Close to see them).
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    CFile* GetFile() const { return m_file; }
    // Writes the buffered bytes to the file (storing); nothing is held back when loading.
    void Flush();
    // Flushes; the archive is not used afterwards.
    void Close() { Flush(); }

    void Write(const void* data, UINT count);
    // Reads up to `count` bytes; fewer only at the end of the file.
    UINT Read(void* data, UINT count);

    CArchive& operator<<(BYTE v) { return Put(v); }
    CArchive& operator<<(WORD v) { return Put(v); }
    CArchive& operator<<(DWORD v) { return Put(v); }
    CArchive& operator<<(LONG v) { return Put(static_cast<DWORD>(v)); }
    // The loading forms raise CArchiveException(endOfFile) when the file ends first.
    CArchive& operator>>(BYTE& v) { return Get(v); }
    CArchive& operator>>(WORD& v) { return Get(v); }
    CArchive& operator>>(DWORD& v) { return Get(v); }
    CArchive& operator>>(LONG& v);

    // Stores an object (or nullptr) with its class; its class must have a schema.
    void WriteObject(const CObject* object);
    // Loads the next object (nullptr for a stored null), owned by the caller unless it was
    // loaded before. With `expected`, an object of another class is refused (badClass).
    CObject* ReadObject(const CRuntimeClass* expected = nullptr);

private:
    template <typename T>
    CArchive& Put(T v);
    template <typename T>
    CArchive& Get(T& v);
    void RequireStoring() const;
    void RequireLoading() const;
    const CRuntimeClass* ReadClass(WORD tag);
    std::uint32_t NextIndex();

    CFile* m_file;
    Mode m_mode;
    std::vector<BYTE> m_buffer;  // bytes stored and not yet written
    std::uint32_t m_nextIndex;
    std::map<const void*, std::uint32_t> m_stored;  // class or object -> index (storing)
    // Loading: what each index names, a class or an object (index 0 unused).
    struct Loaded {
        const CRuntimeClass* cls = nullptr;
        CObject* object = nullptr;
    };
    std::vector<Loaded> m_loaded;
};

inline CArchive& operator<<(CArchive& ar, const CObject* object) {
    ar.WriteObject(object);
    return ar;
}
inline CArchive& operator>>(CArchive& ar, CObject*& object) {
    object = ar.ReadObject();
    return ar;
}
