#pragma once
// What the bitmap class's fuzz targets share: the input written to a file of this process's
// own, the seeds (small bitmaps of each depth and both run-length encodings, made by the class
// itself), and the use of an image that was accepted (painted and re-encoded).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/CDib.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/ImageBound.h"

namespace dibfuzz {

inline const std::string& InputPath() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::atexit([] { std::remove(InputPath().c_str()); });
        return std::string(tmp && *tmp ? tmp : "/tmp") + "/dvrkit-dib-fuzz-" + std::to_string(getpid()) + ".bmp";
    }();
    return path;
}

inline void WriteInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteFuzzFile(InputPath(), data, size)) std::abort();
}

// Paints a small accepted image and converts it there and back.
inline void Use(CDib& dib) {
    const CSize size = dib.GetExtent();
    if (static_cast<std::uint64_t>(size.cx) * static_cast<std::uint64_t>(size.cy) > fuzzbound::kMaxFuzzPixels) return;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 16, 16);
    dc.SelectObject(&bitmap);
    dib.Paint(&dc, CPoint(0, 0), CSize(16, 16));
    if (dib.ChangeCompression(&dc, TRUE)) dib.ChangeCompression(&dc, FALSE);
}

inline std::vector<std::uint8_t> Written(CDib& dib) {
    const std::string path = InputPath() + ".seed";
    {
        CFile out;
        if (!out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite) || !dib.Write(&out)) std::abort();
    }
    CFile in;
    in.Open(path.c_str(), CFile::modeRead);
    std::vector<std::uint8_t> bytes(in.GetLength());
    in.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    std::remove(path.c_str());
    return bytes;
}

inline std::vector<std::vector<std::uint8_t>> Seeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const int bitCount : {1, 4, 8, 24, 32}) {
        CDib dib(CSize(9, 5), bitCount);
        dib.MakeSection(nullptr);
        for (DWORD i = 0; i < dib.GetImageSize(); ++i) dib.GetBits()[i] = static_cast<BYTE>(i * 29 + 3);
        seeds.push_back(Written(dib));
        if (bitCount != 4 && bitCount != 8) continue;
        CFile in;
        CDib plain;
        const std::string path = InputPath();
        WriteInput(seeds.back().data(), seeds.back().size());
        in.Open(path.c_str(), CFile::modeRead);
        if (plain.Read(&in) && plain.ChangeCompression(nullptr, TRUE)) seeds.push_back(Written(plain));
    }
    return seeds;
}

}  // namespace dibfuzz
