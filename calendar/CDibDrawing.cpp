// CDib's drawing side: its palette, painting, DIB sections, device bitmaps and the conversion
// between run-length-encoded and uncompressed pixels. Every drawing call gets an aligned copy
// of the header block, since a mapped file's header sits at an odd address.
#include <cstring>
#include <string>

#include "calendar/CDib.h"
#include "platform/core/LittleEndian.h"
#include "platform/gdi/DibFunctions.h"
#include "platform/gdi/RasterOp.h"
#include "platform/ui/CMessageBox.h"

namespace {

constexpr size_t kOffsetSizeImage = 20;  // of the info header's image-size field
constexpr size_t kOffsetCompression = 16;

}  // namespace

std::vector<BYTE> CDib::InfoCopy() const {
    std::vector<BYTE> info(m_block, m_block + TableEnd());
    PutU32(info.data() + kOffsetSizeImage, m_imageSize);
    return info;
}

int CDib::SelectPaletteInto(CDC* dc, BOOL background) {
    if (!m_palette) return 0;
    ::SelectPalette(dc, m_palette->GetHandle(), background);
    return static_cast<int>(::RealizePalette(dc));
}

BOOL CDib::Paint(CDC* dc, CPoint origin, CSize size) {
    if (!m_block) return FALSE;
    if (!dc) return TRUE;  // a null context draws nothing, as the system's calls do
    if (m_palette) dc->SelectPalette(m_palette.get(), TRUE);
    dc->SetStretchBltMode(COLORONCOLOR);
    const std::vector<BYTE> info = InfoCopy();
    const BITMAPINFOHEADER h = GetHeader();
    StretchDIBits(dc, origin.x, origin.y, size.cx, size.cy, 0, 0, h.biWidth, h.biHeight, m_bits,
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    return TRUE;
}

HBITMAP CDib::MakeSection(CDC* dc) {
    if (!m_block || m_bits) return nullptr;
    const std::vector<BYTE> info = InfoCopy();
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return nullptr;
    m_section = std::make_unique<CBitmap>();
    m_section->Attach(section);
    m_bits = static_cast<BYTE*>(bits);
    return section;
}

BOOL CDib::BuildPalette() {
    if (m_colorCount == 0) return FALSE;
    m_palette.reset();
    // The description: version and count, then one entry per colour.
    std::vector<BYTE> description(offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * static_cast<size_t>(m_colorCount));
    auto* palette = reinterpret_cast<LOGPALETTE*>(description.data());
    palette->palVersion = kPaletteVersion;
    palette->palNumEntries = static_cast<WORD>(m_colorCount);
    const BYTE* table = m_colorTable + MaskBytes();
    for (int i = 0; i < m_colorCount; ++i) {
        const BYTE* entry = table + kColorEntrySize * static_cast<size_t>(i);
        palette->palPalEntry[i] = PALETTEENTRY{entry[2], entry[1], entry[0], 0};
    }
    m_palette = std::make_unique<CPalette>();
    return m_palette->CreatePalette(palette);
}

BOOL CDib::UseHalftonePalette(CDC* dc) {
    if (m_colorCount != 0) return FALSE;
    m_palette = std::make_unique<CPalette>();
    return m_palette->CreateHalftonePalette(dc);
}

HBITMAP CDib::MakeDeviceBitmap(CDC* dc) {
    if (m_imageSize == 0 || !m_bits) return nullptr;
    const std::vector<BYTE> info = InfoCopy();
    const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(info.data());
    return CreateDIBitmap(dc, &bitmapInfo->bmiHeader, CBM_INIT, m_bits, bitmapInfo, DIB_RGB_COLORS);
}

BOOL CDib::ChangeCompression(CDC* dc, BOOL compress) {
    const BITMAPINFOHEADER h = GetHeader();
    if (!m_block) return Fail(nullptr, "there is no image");
    if (h.biBitCount != 4 && h.biBitCount != 8)
        return Fail(nullptr, "the image has " + std::to_string(h.biBitCount) +
                                 " bits per pixel; only 4- and 8-bit images change compression");
    if (m_section) return Fail(nullptr, "the image is a DIB section, whose pixels stay uncompressed");
    HPALETTE previous = m_palette ? ::SelectPalette(dc, m_palette->GetHandle(), FALSE) : nullptr;
    auto restore = [dc, previous] {
        if (previous) ::SelectPalette(dc, previous, FALSE);
    };
    CBitmap device;
    if (!device.Attach(MakeDeviceBitmap(dc))) {
        restore();
        return Fail(nullptr, "no device bitmap can be made of the image (at most " + std::to_string(kMaxDibSide) +
                                 " pixels a side and " + std::to_string(kMaxDibPixels) + " in all)");
    }
    auto block = std::make_unique<BYTE[]>(TableEnd());
    std::memcpy(block.get(), m_block, TableEnd());
    auto* info = reinterpret_cast<BITMAPINFO*>(block.get());
    const DWORD rows = static_cast<DWORD>(h.biHeight);
    DWORD imageSize;
    if (compress) {
        PutU32(block.get() + kOffsetCompression, h.biBitCount == 4 ? BI_RLE4 : BI_RLE8);
        const int done = GetDIBits(dc, device, 0, rows, nullptr, info, DIB_RGB_COLORS);
        if (done == 0 || info->bmiHeader.biSizeImage == 0) {
            restore();
            return done == 0 ? Fail("Unable to compress this DIB", "the compressed size cannot be obtained")
                             : Fail("Driver can't do compression", "the compressed size came back as 0");
        }
        imageSize = info->bmiHeader.biSizeImage;
    } else {
        PutU32(block.get() + kOffsetCompression, BI_RGB);
        imageSize = static_cast<DWORD>(DibStride(static_cast<DWORD>(h.biWidth), h.biBitCount) * rows);
        PutU32(block.get() + kOffsetSizeImage, imageSize);
    }
    auto bits = std::make_unique_for_overwrite<BYTE[]>(imageSize);
    const bool extracted = GetDIBits(dc, device, 0, rows, bits.get(), info, DIB_RGB_COLORS) != 0;
    device.DeleteObject();
    if (!extracted) {
        restore();
        return Fail(nullptr, "the pixels cannot be read back from the device bitmap");
    }

    Clear();
    m_block = block.release();
    m_blockOwnership = ownedHeap;
    m_bits = bits.release();
    m_bitsOwned = true;
    CheckHeader();
    CountColors(GetHeader().biBitCount);
    BuildPalette();
    restore();
    return TRUE;
}
