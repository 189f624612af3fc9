#include "tests/dib/DibFixture.h"

#include "platform/core/LittleEndian.h"
#include "platform/gdi/ColorRef.h"

std::vector<BYTE> PixelsOf(const BmpSpec& spec) {
    const size_t size = spec.sizeImage ? spec.sizeImage
                                       : DibStride(static_cast<DWORD>(spec.width), spec.bitCount) * static_cast<DWORD>(spec.height);
    const size_t stride = DibStride(static_cast<DWORD>(spec.width), spec.bitCount);
    const size_t rowBits = static_cast<size_t>(spec.width) * spec.bitCount;
    std::vector<BYTE> pixels(size);
    for (size_t k = 0; k < size; ++k) {
        // Bits past the end of a row are padding, left zero as writers leave them.
        const size_t bit = (k % stride) * 8;
        const BYTE value = static_cast<BYTE>(37 * k + 11);
        pixels[k] = k >= stride * static_cast<size_t>(spec.height) || bit >= rowBits ? 0
                    : bit + 8 > rowBits ? static_cast<BYTE>(value & (0xFF << (8 - (rowBits - bit))))
                                        : value;
    }
    return pixels;
}

void PutU32At(std::vector<BYTE>& bytes, size_t at, DWORD value) { PutU32(bytes.data() + at, value); }

void PutU16At(std::vector<BYTE>& bytes, size_t at, WORD value) {
    bytes[at] = static_cast<BYTE>(value);
    bytes[at + 1] = static_cast<BYTE>(value >> 8);
}

DWORD U32At(const std::vector<BYTE>& bytes, size_t at) { return GetU32(bytes.data() + at); }

COLORREF BuiltColor(int i) { return RGB(static_cast<BYTE>(3 * i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i)); }

std::vector<BYTE> MakeBitmapFile(const BmpSpec& spec) {
    const DWORD colors = DibColorCount(spec.clrUsed, spec.bitCount);
    const std::vector<BYTE> pixels = PixelsOf(spec);
    const size_t maskBytes = 4 * spec.masks.size();
    const size_t pixelOffset = kBmpFileHeaderSize + spec.headerSize + maskBytes + kColorEntrySize * colors;
    std::vector<BYTE> file(pixelOffset);
    file[0] = 'B';
    file[1] = 'M';
    PutU32At(file, 2, static_cast<DWORD>(pixelOffset + pixels.size()));
    PutU32At(file, kAtPixelOffset, static_cast<DWORD>(pixelOffset));
    PutU32At(file, kAtHeaderSize, spec.headerSize);
    PutU32At(file, kAtWidth, static_cast<DWORD>(spec.width));
    PutU32At(file, kAtHeight, static_cast<DWORD>(spec.height));
    PutU16At(file, 26, 1);
    PutU16At(file, kAtBitCount, spec.bitCount);
    PutU32At(file, kAtSizeImage, spec.sizeImage);
    PutU32At(file, kAtClrUsed, spec.clrUsed);
    if (!spec.masks.empty()) PutU32At(file, kAtCompression, BI_BITFIELDS);
    for (size_t i = 0; i < spec.masks.size(); ++i) PutU32At(file, kBmpFileHeaderSize + spec.headerSize + 4 * i, spec.masks[i]);
    for (DWORD i = 0; i < colors; ++i) {
        BYTE* entry = file.data() + kBmpFileHeaderSize + spec.headerSize + maskBytes + kColorEntrySize * i;
        const COLORREF c = BuiltColor(static_cast<int>(i));
        entry[0] = GetBValue(c);
        entry[1] = GetGValue(c);
        entry[2] = GetRValue(c);
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

std::string DibTest::Save(const std::vector<BYTE>& bytes, const std::string& name) {
    const std::string path = dir.file(name);
    WriteBytes(path, bytes);
    return path;
}

BOOL DibTest::ReadFile(CDib& dib, const std::string& path) {
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead)) ADD_FAILURE() << "cannot open " << path;
    return dib.Read(&file);
}

std::vector<std::string> DibTest::TakeMessages() {
    std::vector<std::string> messages = backend.Messages();
    backend.ClearMessages();
    return messages;
}
