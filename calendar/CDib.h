#pragma once
// One device-independent bitmap in the Windows bitmap format (DibFormat.h): the header block
// (the 40-byte info header, then the colour table) and the pixel data. It attaches such a
// bitmap from memory or from a file mapped into memory, reads and writes bitmap files, keeps
// itself in archives (runtime class "CDib", schema 0, registered when the library loads),
// builds its palette, paints itself, makes device bitmaps and DIB sections, and converts 4- and
// 8-bit images between run-length-encoded and uncompressed form.
//
// Storage: the header block and the pixels are freed only as their ownership says: a block
// attached unowned stays the caller's, an owned one is freed with delete[] (or GlobalFree when
// a global handle came with it); a mapped file's view belongs to the object until UnmapFile.
// While the pixels share the header block (AttachMemory, MapFile) they follow the colour table
// directly, and changes to a mapped image's pixels are changes to its file.
//
// Failures show a fixed message in a message box with an OK button and give 0; LastFailure says
// what was wrong, for callers that tell a person. Bad bytes never make the object read outside
// what holds them: headers are checked against the file, the mapping or the block before use
// (DibHeaderCheck.h). Where that length is known (files, mappings) an image may be of any size
// its header can state; a block given by its address alone is held to the drawing limits.
// Images with colour masks (BI_BITFIELDS) keep the three masks between the info header and
// the colour table.
#include <memory>
#include <optional>
#include <string>

#include "platform/core/CArchive.h"
#include "platform/core/FileMapping.h"
#include "platform/core/GlobalMemory.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/DibLayout.h"

class CDib : public CObject {
public:
    CDib() = default;
    // An image of `size` and `bitCount` with a zeroed colour table of the count its depth
    // implies and no pixel data yet (MakeSection gives it some).
    CDib(CSize size, int bitCount);
    ~CDib() override;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    static const CRuntimeClass* RuntimeClass();
    const CRuntimeClass* GetRuntimeClass() const override { return RuntimeClass(); }

    // Releases everything the object holds; it is empty afterwards.
    void Clear();
    // Width and height from the header; (0, 0) without one.
    CSize GetExtent() const;

    // Attaches a packed bitmap (info header, colour table, pixels). With `owned`, the object
    // frees the block: with GlobalFree when `global` is its handle, else with delete[].
    BOOL AttachMemory(void* block, BOOL owned = FALSE, HGLOBAL global = nullptr);
    // Maps a bitmap file read-write and attaches it (shared for reading with `share`). On any
    // failure the object is left empty and nothing the call opened stays open.
    BOOL MapFile(const char* path, BOOL share = FALSE);
    void UnmapFile();
    // Writes the image to a new mapped file and attaches that; 0, with the object unchanged and
    // no file left at `path`, when there is no image to save or the file cannot be created,
    // mapped or viewed.
    BOOL SaveToMappedFile(const char* path);

    // Selects the palette into `dc` and realizes it; 0 without a palette.
    int SelectPaletteInto(CDC* dc, BOOL background);
    // Draws the whole image stretched to `size` at `origin`; 0 without an image.
    BOOL Paint(CDC* dc, CPoint origin, CSize size);
    // A DIB section of the header's format that becomes the pixel data (the object owns it); 0
    // without a header or when there is pixel data already.
    HBITMAP MakeSection(CDC* dc);
    // The palette of the colour table (after the masks of a masked image); 0 when there is no
    // colour table.
    BOOL BuildPalette();
    // The halftone palette for an image without a colour table; 0 for one with a table.
    BOOL UseHalftonePalette(CDC* dc);
    // A device bitmap of the image, owned by the caller; nullptr without pixel data.
    HBITMAP MakeDeviceBitmap(CDC* dc);
    // Re-encodes a 4- or 8-bit image run-length-encoded (`compress`) or uncompressed; 0 for other
    // depths or while a section exists.
    BOOL ChangeCompression(CDC* dc, BOOL compress);

    // Reads a bitmap file from the file's current position.
    BOOL Read(CFile* file);
    // The same into a DIB section; compressed images are refused.
    BOOL ReadSection(CFile* file, CDC* dc);
    // Writes a bitmap file (the file header's size field is 0).
    BOOL Write(CFile* file);
    // Writes to or reads from the archive's file as a bitmap file.
    void Serialize(CArchive& ar) override;

    // Sets the colour count from the header's colours-used field, else from `bitCount`.
    void CountColors(int bitCount);
    // Checks the info header (CException when the object cannot hold it), sets the image size
    // and the colour table's place.
    void CheckHeader();

    // Why the last operation that gave 0 failed, as a person reads it ("the block is shorter
    // than its header says"); empty before any failure.
    const std::string& LastFailure() const { return m_failure; }
    // --- what the object holds
    bool HasHeader() const { return m_block != nullptr; }
    // A copy of the info header (all zero without one).
    BITMAPINFOHEADER GetHeader() const;
    // The colour table (4 bytes an entry; for a masked image the masks, then the table), nullptr
    // without a header.
    BYTE* GetColorTable() const { return m_colorTable; }
    BYTE* GetBits() const { return m_bits; }
    DWORD GetImageSize() const { return m_imageSize; }
    int GetColorCount() const { return m_colorCount; }
    HPALETTE GetPalette() const { return m_palette ? m_palette->GetHandle() : nullptr; }
    HBITMAP GetSection() const { return m_section ? m_section->GetHandle() : nullptr; }
    bool IsMapped() const { return m_file != nullptr; }

private:
    enum Ownership { notOwned = 0, ownedHeap = 1, ownedGlobal = 2 };

    // AttachMemory with the bytes the block is known to hold, when known.
    BOOL Attach(BYTE* block, std::optional<size_t> length, int ownership, HGLOBAL global);
    void TakeHeaderBlock(BYTE* block, int ownership, DibSizeLimit limit);
    // Keeps `reason` as LastFailure, shows `message` and gives 0.
    BOOL Fail(const char* message, std::string reason);
    // Bytes of the colour masks after the info header: those of BI_BITFIELDS, else none.
    size_t MaskBytes() const;
    // The header block copied to aligned memory for the drawing calls, with the image size set.
    std::vector<BYTE> InfoCopy() const;
    size_t TableEnd() const;
    BOOL ReadFrom(CFile& file, CDC* dc, bool section);
    void ReadSectionBits(CFile& file, CDC* dc);
    void AdoptView(HANDLE file, HANDLE mapping, BYTE* view);

    BYTE* m_colorTable = nullptr;
    std::unique_ptr<CBitmap> m_section;
    BYTE* m_bits = nullptr;
    BYTE* m_block = nullptr;  // the info header, any alignment
    HGLOBAL m_global = nullptr;
    int m_blockOwnership = notOwned;
    bool m_bitsOwned = false;
    DWORD m_imageSize = 0;
    int m_colorCount = 0;
    HANDLE m_file = nullptr;
    HANDLE m_mapping = nullptr;
    BYTE* m_view = nullptr;
    std::unique_ptr<CPalette> m_palette;
    DibSizeLimit m_sizeLimit = DibSizeLimit::applied;  // lifted while the data's length is known
    std::string m_failure;
};
