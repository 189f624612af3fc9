#include "platform/core/CArchive.h"

#include <cstring>
#include <string>

#include "platform/core/ArchiveFormat.h"

namespace {

// Storing writes to the file in pieces of this size.
constexpr size_t kBufferLimit = 64 * 1024;

}  // namespace

CArchive::CArchive(CFile* file, UINT mode)
    : m_file(file), m_mode(mode == load ? load : store), m_nextIndex(archive::kFirstIndex), m_loaded(1) {}

CArchive::~CArchive() {
    try {
        Flush();
    } catch (const std::exception&) {
        // A destructor cannot report; Close is the way to learn of a failed write.
    }
}

void CArchive::Flush() {
    if (!IsStoring() || m_buffer.empty()) return;
    std::vector<BYTE> pending;
    pending.swap(m_buffer);
    m_file->Write(pending.data(), static_cast<UINT>(pending.size()));
}

void CArchive::Write(const void* data, UINT count) {
    RequireStoring();
    const auto* bytes = static_cast<const BYTE*>(data);
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    if (m_buffer.size() >= kBufferLimit) Flush();
}

UINT CArchive::Read(void* data, UINT count) {
    RequireLoading();
    return m_file->Read(data, count);
}

template <typename T>
CArchive& CArchive::Put(T v) {
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<BYTE>(v >> (8 * i));
    Write(bytes, sizeof(T));
    return *this;
}

template <typename T>
CArchive& CArchive::Get(T& v) {
    BYTE bytes[sizeof(T)];
    if (Read(bytes, sizeof(T)) != sizeof(T))
        throw CArchiveException(CArchiveException::endOfFile, "archive ends inside a value: " + m_file->GetFilePath());
    v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v = static_cast<T>(v | (static_cast<T>(bytes[i]) << (8 * i)));
    return *this;
}

// The widths the header's operators use.
template CArchive& CArchive::Put(BYTE);
template CArchive& CArchive::Put(WORD);
template CArchive& CArchive::Put(DWORD);
template CArchive& CArchive::Get(BYTE&);
template CArchive& CArchive::Get(WORD&);
template CArchive& CArchive::Get(DWORD&);

CArchive& CArchive::operator>>(LONG& v) {
    DWORD bits = 0;
    *this >> bits;
    v = static_cast<LONG>(bits);
    return *this;
}

void CArchive::RequireStoring() const {
    if (!IsStoring()) throw CArchiveException(CArchiveException::readOnly, "archive is loading, not storing");
}

void CArchive::RequireLoading() const {
    if (!IsLoading()) throw CArchiveException(CArchiveException::writeOnly, "archive is storing, not loading");
}

std::uint32_t CArchive::NextIndex() {
    if (m_nextIndex > archive::kMaxIndex)
        throw CArchiveException(CArchiveException::badIndex, "archive holds more objects and classes than it can number");
    return m_nextIndex++;
}

void CArchive::WriteObject(const CObject* object) {
    RequireStoring();
    if (!object) {
        *this << archive::kNullTag;
        return;
    }
    if (const auto seen = m_stored.find(object); seen != m_stored.end()) {
        *this << static_cast<WORD>(seen->second);
        return;
    }
    const CRuntimeClass* cls = object->GetRuntimeClass();
    if (!cls || cls->m_wSchema == kNoSchema)
        throw CArchiveException(CArchiveException::badClass, "object's class cannot be stored in an archive");
    if (const auto known = m_stored.find(cls); known != m_stored.end()) {
        *this << static_cast<WORD>(archive::kClassTag | known->second);
    } else {
        const std::string name = cls->m_lpszClassName;
        *this << archive::kNewClassTag << static_cast<WORD>(cls->m_wSchema) << static_cast<WORD>(name.size());
        Write(name.data(), static_cast<UINT>(name.size()));
        m_stored[cls] = NextIndex();
    }
    m_stored[object] = NextIndex();
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(WORD tag) {
    if (tag != archive::kNewClassTag) {
        const WORD index = tag & ~archive::kClassTag;
        if (index >= m_loaded.size() || !m_loaded[index].cls)
            throw CArchiveException(CArchiveException::badIndex, "archive refers to a class it does not hold");
        return m_loaded[index].cls;
    }
    WORD schema = 0, length = 0;
    *this >> schema >> length;
    std::string name(length, '\0');
    if (Read(name.data(), length) != length)
        throw CArchiveException(CArchiveException::endOfFile, "archive ends inside a class name");
    const CRuntimeClass* cls = CRuntimeClass::FromName(name);
    if (!cls || !cls->m_pfnCreateObject)
        throw CArchiveException(CArchiveException::badClass, "archive holds an object of unknown class " + name);
    if (cls->m_wSchema != schema)
        throw CArchiveException(CArchiveException::badSchema,
                                "archive holds class " + name + " in schema " + std::to_string(schema));
    NextIndex();
    m_loaded.push_back({cls, nullptr});
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected) {
    RequireLoading();
    WORD tag = 0;
    *this >> tag;
    if (tag == archive::kNullTag) return nullptr;
    if (tag != archive::kNewClassTag && !(tag & archive::kClassTag)) {
        if (tag >= m_loaded.size() || !m_loaded[tag].object)
            throw CArchiveException(CArchiveException::badIndex, "archive refers to an object it does not hold");
        return m_loaded[tag].object;
    }
    const CRuntimeClass* cls = ReadClass(tag);
    if (expected && cls != expected)
        throw CArchiveException(CArchiveException::badClass, std::string("archive holds a ") + cls->m_lpszClassName +
                                                                  " where a " + expected->m_lpszClassName + " belongs");
    NextIndex();
    CObject* object = cls->CreateObject();
    m_loaded.push_back({nullptr, object});
    try {
        object->Serialize(*this);
    } catch (...) {
        m_loaded.back().object = nullptr;
        delete object;
        throw;
    }
    return object;
}
