// CDib: its storage, attaching memory and mapped files, and bitmap files and archives. The
// drawing side (palettes, painting, sections, device bitmaps, compression) is CDibDrawing.cpp.
#include "calendar/CDib.h"

#include <cstring>

#include "calendar/DibHeaderCheck.h"
#include "platform/core/CException.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "platform/ui/CMessageBox.h"

namespace {

const CRuntimeClass* const classCDib = RegisterDynamicClass<CDib>("CDib", 0);

void PutFileHeader(BYTE* out, DWORD fileSize, DWORD pixelOffset) {
    std::memset(out, 0, kBmpFileHeaderSize);
    out[0] = static_cast<BYTE>(kBmpMagic);
    out[1] = static_cast<BYTE>(kBmpMagic >> 8);
    PutU32(out + kBmpOffsetFileSize, fileSize);
    PutU32(out + kBmpOffsetPixels, pixelOffset);
}

// Everything a mapped file holds open; released together unless handed on.
struct MappedFile {
    HANDLE file = nullptr;
    HANDLE mapping = nullptr;
    BYTE* view = nullptr;
    std::uint64_t length = 0;

    ~MappedFile() { Close(); }
    void Close() {
        if (view) UnmapViewOfFile(view);
        CloseHandle(mapping);
        CloseHandle(file);
        Release();
    }
    // Hands the handles on: they are no longer released here.
    void Release() {
        file = mapping = nullptr;
        view = nullptr;
    }
};

// Opens `path` with `disposition` and maps `size` bytes of it (0: the whole file) read-write;
// nullptr, or why it could not be done.
const char* OpenMapped(MappedFile& m, const char* path, DWORD share, DWORD disposition, DWORD size) {
    m.file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m.file == INVALID_HANDLE_VALUE) {
        m.file = nullptr;
        return "the file cannot be opened for reading and writing: missing, not accessible or in use";
    }
    m.mapping = CreateFileMappingA(m.file, nullptr, PAGE_READWRITE, 0, size, nullptr);
    if (!m.mapping) return size ? "the file cannot be made as large as the image" : "the file is empty or cannot be mapped";
    m.view = static_cast<BYTE*>(MapViewOfFile(m.mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!m.view) return "the file cannot be mapped into memory";
    DWORD high = 0;
    const DWORD low = GetFileSize(m.file, &high);
    m.length = size ? size : (std::uint64_t{high} << 32 | low);
    return nullptr;
}

}  // namespace

const CRuntimeClass* CDib::RuntimeClass() { return classCDib; }

CDib::CDib(CSize size, int bitCount) {
    CountColors(bitCount);
    m_block = new BYTE[TableEnd()]();
    m_blockOwnership = ownedHeap;
    m_colorTable = m_block + kInfoHeaderSize;
    BITMAPINFOHEADER h{};
    h.biSize = kInfoHeaderSize;
    h.biWidth = size.cx;
    h.biHeight = size.cy;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    h.biClrUsed = h.biClrImportant = static_cast<DWORD>(m_colorCount);
    std::memcpy(m_block, &h, kInfoHeaderSize);
    m_imageSize = DibImageSize(h);
}

CDib::~CDib() { Clear(); }

void CDib::Clear() {
    UnmapFile();
    if (m_blockOwnership == ownedHeap) delete[] m_block;
    if (m_blockOwnership == ownedGlobal) {
        GlobalUnlock(m_global);
        GlobalFree(m_global);
    }
    if (m_bitsOwned) delete[] m_bits;
    m_palette.reset();
    m_section.reset();
    m_colorTable = nullptr;
    m_bits = nullptr;
    m_block = nullptr;
    m_global = nullptr;
    m_blockOwnership = notOwned;
    m_bitsOwned = false;
    m_imageSize = 0;
    m_colorCount = 0;
    m_sizeLimit = DibSizeLimit::applied;
}

CSize CDib::GetExtent() const {
    if (!m_block) return CSize(0, 0);
    const BITMAPINFOHEADER h = GetHeader();
    return CSize(h.biWidth, h.biHeight);
}

BITMAPINFOHEADER CDib::GetHeader() const { return m_block ? ReadInfoHeaderAt(m_block) : BITMAPINFOHEADER{}; }

size_t CDib::MaskBytes() const { return m_block && GetHeader().biCompression == BI_BITFIELDS ? kBitfieldMaskBytes : 0; }

size_t CDib::TableEnd() const {
    return kInfoHeaderSize + MaskBytes() + kColorEntrySize * static_cast<size_t>(m_colorCount);
}

BOOL CDib::Fail(const char* message, std::string reason) {
    m_failure = std::move(reason);
    if (message) AfxMessageBox(message);
    return FALSE;
}

void CDib::CountColors(int bitCount) {
    const DWORD used = m_block ? GetHeader().biClrUsed : 0;
    m_colorCount = used != 0 ? static_cast<int>(used) : (bitCount == 1 || bitCount == 4 || bitCount == 8 ? 1 << bitCount : 0);
}

void CDib::CheckHeader() {
    if (!m_block) throw CException("there is no info header");
    m_imageSize = CheckInfoHeader(GetHeader(), m_sizeLimit).imageSize;
    m_colorTable = m_block + kInfoHeaderSize;
}

void CDib::TakeHeaderBlock(BYTE* block, int ownership, DibSizeLimit limit) {
    m_block = block;
    m_blockOwnership = ownership;
    m_sizeLimit = limit;
    CheckHeader();
    CountColors(GetHeader().biBitCount);
}

BOOL CDib::AttachMemory(void* block, BOOL owned, HGLOBAL global) {
    return Attach(static_cast<BYTE*>(block), std::nullopt, !owned ? notOwned : global ? ownedGlobal : ownedHeap, global);
}

BOOL CDib::Attach(BYTE* block, std::optional<size_t> length, int ownership, HGLOBAL global) {
    Clear();
    m_global = global;
    try {
        if (!block || (length && *length < kInfoHeaderSize)) throw CException("the block has no room for an info header");
        TakeHeaderBlock(block, ownership, length ? DibSizeLimit::lifted : DibSizeLimit::applied);
        if (length && (TableEnd() > *length || m_imageSize > *length - TableEnd()))
            throw CException("the block is shorter than its header says");
        m_bits = m_block + TableEnd();
        BuildPalette();
        return TRUE;
    } catch (const CException& e) {
        Clear();
        return Fail("AttachMemory error", e.what());
    }
}

void CDib::AdoptView(HANDLE file, HANDLE mapping, BYTE* view) {
    m_file = file;
    m_mapping = mapping;
    m_view = view;
}

BOOL CDib::MapFile(const char* path, BOOL share) {
    Clear();
    MappedFile m;
    if (const char* reason = OpenMapped(m, path, share ? FILE_SHARE_READ : 0, OPEN_EXISTING, 0))
        return Fail("Empty bitmap file", reason);
    try {
        CheckFileHeader(m.view, m.length);
    } catch (const CException& e) {
        return Fail("Invalid bitmap file", e.what());
    }
    if (!Attach(m.view + kBmpFileHeaderSize, static_cast<size_t>(m.length - kBmpFileHeaderSize), notOwned, nullptr))
        return FALSE;
    AdoptView(m.file, m.mapping, m.view);
    m.Release();
    return TRUE;
}

void CDib::UnmapFile() {
    if (!m_file) return;
    UnmapViewOfFile(m_view);
    CloseHandle(m_mapping);
    CloseHandle(m_file);
    m_file = m_mapping = nullptr;
    m_view = nullptr;
}

BOOL CDib::SaveToMappedFile(const char* path) {
    // Everything that can refuse the image is asked before the file is made.
    if (!m_block || (m_imageSize && !m_bits)) return Fail(nullptr, "there is no image to save");
    try {
        CheckInfoHeader(GetHeader(), m_sizeLimit);
    } catch (const CException& e) {
        return Fail(nullptr, e.what());
    }
    const size_t tableEnd = TableEnd();
    const std::uint64_t pixelOffset = kBmpFileHeaderSize + tableEnd;
    const std::uint64_t fileSize = pixelOffset + m_imageSize;
    if (fileSize > UINT32_MAX) return Fail(nullptr, "the image is larger than a bitmap file's size field can state");
    MappedFile m;
    if (const char* reason = OpenMapped(m, path, 0, CREATE_ALWAYS, static_cast<DWORD>(fileSize))) {
        // A file made but not mapped is removed; one that could not be opened was not touched.
        if (m.file) {
            m.Close();
            DeleteFileA(path);
        }
        return Fail(nullptr, reason);
    }
    PutFileHeader(m.view, static_cast<DWORD>(fileSize), static_cast<DWORD>(pixelOffset));
    std::memcpy(m.view + kBmpFileHeaderSize, m_block, tableEnd);
    if (m_imageSize) std::memcpy(m.view + pixelOffset, m_bits, m_imageSize);

    const DWORD imageSize = m_imageSize;
    Clear();
    m_imageSize = imageSize;
    m_block = m.view + kBmpFileHeaderSize;
    m_bits = m.view + pixelOffset;
    m_sizeLimit = DibSizeLimit::lifted;  // the file holds every byte the header announces
    AdoptView(m.file, m.mapping, m.view);
    m.Release();
    CountColors(GetHeader().biBitCount);
    CheckHeader();
    BuildPalette();
    return TRUE;
}

BOOL CDib::Read(CFile* file) { return ReadFrom(*file, nullptr, false); }

BOOL CDib::ReadSection(CFile* file, CDC* dc) { return ReadFrom(*file, dc, true); }

BOOL CDib::ReadFrom(CFile& file, CDC* dc, bool section) {
    Clear();
    std::string reason;
    try {
        DibFileHead head = ReadDibFileHead(file);
        TakeHeaderBlock(head.block.release(), ownedHeap, DibSizeLimit::lifted);
        BuildPalette();
        if (section) {
            ReadSectionBits(file, dc);
        } else {
            m_bitsOwned = true;
            m_bits = new BYTE[m_imageSize];
            ReadExactly(file, m_bits, m_imageSize, "pixel data");
        }
        return TRUE;
    } catch (const CException& e) {
        reason = e.what();
    } catch (const CFileException& e) {
        reason = e.what();
    }
    Clear();
    return Fail(section ? "ReadSection error" : "Read error", reason);
}

void CDib::ReadSectionBits(CFile& file, CDC* dc) {
    if (GetHeader().biCompression != BI_RGB) throw CException("a compressed image cannot be read into a section");
    SelectPaletteInto(dc, FALSE);
    if (!MakeSection(dc)) throw CException("no section can be made for this header");
    BITMAP described{};
    m_section->GetBitmap(&described);
    // A section holds exactly its rows; a header claiming more pixel data would overrun it.
    if (static_cast<std::uint64_t>(described.bmWidthBytes) * static_cast<std::uint64_t>(described.bmHeight) != m_imageSize)
        throw CException("image size differs from the section's rows");
    ReadExactly(file, m_bits, m_imageSize, "pixel data");
}

BOOL CDib::Write(CFile* file) {
    try {
        if (!m_block || (m_imageSize && !m_bits)) throw CException("there is no image to write");
        BYTE header[kBmpFileHeaderSize];
        PutFileHeader(header, 0, static_cast<DWORD>(kBmpFileHeaderSize + TableEnd()));
        file->Write(header, sizeof header);
        file->Write(m_block, static_cast<UINT>(TableEnd()));
        if (m_imageSize) file->Write(m_bits, m_imageSize);
        return TRUE;
    } catch (const CException& e) {
        return Fail("write error", e.what());
    } catch (const CFileException& e) {
        return Fail("write error", e.what());
    }
}

void CDib::Serialize(CArchive& ar) {
    ar.Flush();
    if (ar.IsStoring()) Write(ar.GetFile());
    else Read(ar.GetFile());
}
