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

DibShape CheckInfoHeader(const BITMAPINFOHEADER& h, DibSizeLimit limit) {
    if (h.biSize != kInfoHeaderSize)
        Fault("info header has size " + std::to_string(h.biSize) + "; only the 40-byte form is read");
    // Rows are taken bottom-up throughout; a top-down image would come out upside down.
    if (h.biHeight < 0) Fault("image is stored top-down (negative height)");
    const auto layout = DibLayout::From(h, limit);
    if (!layout)
        Fault("header describes no drawable image: " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
              " at " + std::to_string(h.biBitCount) + " bits, compression " + std::to_string(h.biCompression) + ", " +
              std::to_string(h.biClrUsed) + " colours used" +
              (limit == DibSizeLimit::applied ? " (at most " + std::to_string(kMaxDibSide) + " pixels a side)" : ""));
    const std::uint64_t rowBytes = layout->stride * static_cast<std::uint64_t>(layout->height);
    if (!layout->IsRle() && rowBytes > UINT32_MAX)
        Fault("rows of " + std::to_string(rowBytes) + " bytes are more than a bitmap's image size can state");
    if (!layout->IsRle() && h.biSizeImage != 0 && h.biSizeImage < rowBytes)
        Fault("image size " + std::to_string(h.biSizeImage) + " is less than the " + std::to_string(rowBytes) +
              " bytes its rows take");
    const bool masked = h.biCompression == BI_BITFIELDS;
    // Beside its masks a masked image may carry a colour table, held to what a true-colour
    // image may carry.
    const DWORD colors = masked ? DibColorCount(h.biClrUsed, h.biBitCount) : layout->colorCount;
    if (colors > 256) Fault(std::to_string(colors) + " colours used is more than a colour table holds");
    DibShape shape;
    shape.imageSize = DibImageSize(h);
    shape.colorCount = static_cast<int>(colors);
    shape.maskBytes = masked ? kBitfieldMaskBytes : 0;
    return shape;
}

std::uint64_t CheckFileHeader(const BYTE* fileHeader, std::uint64_t available) {
    if (available < kBmpFileHeaderSize) Fault("file ends inside the file header");
    if (GetU16(fileHeader) != kBmpMagic) Fault("file does not start with \"BM\"");
    const std::uint64_t pixelOffset = GetU32(fileHeader + kBmpOffsetPixels);
    if (pixelOffset < kBmpFileHeaderSize + kInfoHeaderSize)
        Fault("pixel offset " + std::to_string(pixelOffset) + " leaves no room for the info header");
    if (pixelOffset > available)
        Fault("pixel offset " + std::to_string(pixelOffset) + " lies past the file's end at " + std::to_string(available));
    return pixelOffset;
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
    const std::uint64_t pixelOffset = CheckFileHeader(fileHeader, available);

    DibFileHead head;
    head.blockBytes = static_cast<size_t>(pixelOffset - kBmpFileHeaderSize);
    head.block = std::make_unique_for_overwrite<BYTE[]>(head.blockBytes);
    ReadExactly(file, head.block.get(), head.blockBytes, "header block");
    head.shape = CheckInfoHeader(ReadInfoHeaderAt(head.block.get()), DibSizeLimit::lifted);
    if (head.shape.TableEnd() > head.blockBytes)
        Fault(std::string(head.shape.maskBytes ? "colour masks and " : "") + "colour table of " +
              std::to_string(head.shape.colorCount) + " entries run past the pixel offset " + std::to_string(pixelOffset));
    if (head.shape.imageSize > available - pixelOffset)
        Fault("pixel data of " + std::to_string(head.shape.imageSize) + " bytes runs past the file's end (" +
              std::to_string(available - pixelOffset) + " bytes after the pixel offset)");
    return head;
}
