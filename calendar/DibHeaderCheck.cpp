#include "calendar/DibHeaderCheck.h"

#include <string>

#include "platform/core/CException.h"
#include "platform/core/LittleEndian.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/DibLayout.h"

namespace {

WORD GetU16(const BYTE* at) { return static_cast<WORD>(at[0] | (at[1] << 8)); }

[[noreturn]] void Fault(const std::string& text) { throw CException(text); }

}  // namespace

DWORD DibImageSize(const BITMAPINFOHEADER& h) {
    if (h.biSizeImage != 0) return h.biSizeImage;
    return static_cast<DWORD>(DibStride(static_cast<DWORD>(h.biWidth), h.biBitCount) * static_cast<DWORD>(h.biHeight));
}

DibShape CheckInfoHeader(const BITMAPINFOHEADER& h) {
    if (h.biSize != kInfoHeaderSize)
        Fault("info header has size " + std::to_string(h.biSize) + "; only the 40-byte form is read");
    // Rows are taken bottom-up throughout; a top-down image would come out upside down.
    if (h.biHeight < 0) Fault("image is stored top-down (negative height)");
    if (h.biCompression == BI_BITFIELDS) Fault("image uses colour masks (BI_BITFIELDS), which are not read");
    const auto layout = DibLayout::From(h);
    if (!layout)
        Fault("header describes no drawable image: " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
              " at " + std::to_string(h.biBitCount) + " bits, compression " + std::to_string(h.biCompression) + ", " +
              std::to_string(h.biClrUsed) + " colours used");
    if (!layout->IsRle() && h.biSizeImage != 0 && h.biSizeImage < layout->stride * static_cast<std::uint64_t>(layout->height))
        Fault("image size " + std::to_string(h.biSizeImage) + " is less than the " +
              std::to_string(layout->stride * static_cast<std::uint64_t>(layout->height)) + " bytes its rows take");
    DibShape shape;
    shape.imageSize = DibImageSize(h);
    shape.colorCount = static_cast<int>(layout->colorCount);
    return shape;
}

void ReadExactly(CFile& file, void* into, std::uint64_t count, const char* what) {
    if (count > UINT32_MAX || file.Read(into, static_cast<UINT>(count)) != count)
        Fault(std::string("file ends inside the ") + what);
}

DibFileHead ReadDibFileHead(CFile& file) {
    const std::uint64_t start = file.Seek(0, CFile::current);
    const std::uint64_t length = file.GetLength();
    const std::uint64_t available = length > start ? length - start : 0;
    BYTE fileHeader[kBmpFileHeaderSize];
    ReadExactly(file, fileHeader, sizeof fileHeader, "file header");
    if (GetU16(fileHeader) != kBmpMagic) Fault("file does not start with \"BM\"");
    const std::uint64_t pixelOffset = GetU32(fileHeader + kBmpOffsetPixels);
    if (pixelOffset < kBmpFileHeaderSize + kInfoHeaderSize)
        Fault("pixel offset " + std::to_string(pixelOffset) + " leaves no room for the info header");
    if (pixelOffset > available)
        Fault("pixel offset " + std::to_string(pixelOffset) + " lies past the file's end at " + std::to_string(available));

    DibFileHead head;
    head.blockBytes = static_cast<size_t>(pixelOffset - kBmpFileHeaderSize);
    head.block = std::make_unique_for_overwrite<BYTE[]>(head.blockBytes);
    ReadExactly(file, head.block.get(), head.blockBytes, "header block");
    head.shape = CheckInfoHeader(ReadInfoHeaderAt(head.block.get()));
    if (head.shape.TableEnd() > head.blockBytes)
        Fault("colour table of " + std::to_string(head.shape.colorCount) + " entries runs past the pixel offset " +
              std::to_string(pixelOffset));
    if (head.shape.imageSize > available - pixelOffset)
        Fault("pixel data of " + std::to_string(head.shape.imageSize) + " bytes runs past the file's end (" +
              std::to_string(available - pixelOffset) + " bytes after the pixel offset)");
    return head;
}
