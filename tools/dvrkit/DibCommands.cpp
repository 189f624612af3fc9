// dvrkit dib: what a bitmap file holds as CDib reads it, and its conversion between
// run-length-encoded and uncompressed pixels. CDib reports its failures in message boxes with
// fixed texts; the tool says instead what is wrong with the file, from the same checks.
#include <cstdio>
#include <iostream>
#include <string>

#include "calendar/CDib.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/FileBytes.h"
#include "tools/dvrkit/DibView.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

const char* CompressionName(DWORD compression) {
    switch (compression) {
        case BI_RGB: return "none";
        case BI_RLE8: return "RLE8";
        case BI_RLE4: return "RLE4";
        default: return "other";
    }
}

void PrintInfo(const std::string& path, bool json) {
    CDib dib;
    ReadBitmapFile(dib, path);
    const BITMAPINFOHEADER h = dib.GetHeader();
    const HPALETTE palette = dib.GetPalette();
    const size_t paletteEntries = palette ? palette->Entries().size() : 0;
    if (json) {
        PrintJson({{"file", path},
                   {"width", h.biWidth},
                   {"height", h.biHeight},
                   {"bitCount", h.biBitCount},
                   {"compression", CompressionName(h.biCompression)},
                   {"colors", dib.GetColorCount()},
                   {"imageSize", dib.GetImageSize()},
                   {"paletteEntries", paletteEntries}});
        return;
    }
    std::cout << "size: " << h.biWidth << " x " << h.biHeight << "\n"
              << "bits per pixel: " << h.biBitCount << "\n"
              << "compression: " << CompressionName(h.biCompression) << "\n"
              << "colours: " << dib.GetColorCount() << "\n"
              << "image size: " << dib.GetImageSize() << " bytes\n"
              << "palette entries: " << paletteEntries << "\n";
}

void Convert(const std::string& input, const std::string& output, bool compress) {
    CDib dib;
    ReadBitmapFile(dib, input);
    const WORD bitCount = dib.GetHeader().biBitCount;
    if (bitCount != 4 && bitCount != 8)
        throw CommandError{input + " has " + std::to_string(bitCount) + " bits per pixel; only 4- and 8-bit images convert"};
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    if (!dib.ChangeCompression(&dc, compress)) throw CommandError{input + ": the image cannot be " + (compress ? "compressed" : "decompressed")};

    const std::string temp = CreateTempBeside(output);
    bool written = false;
    {
        CFile file;
        if (file.Open(temp.c_str(), CFile::modeWrite | CFile::modeCreate)) {
            written = dib.Write(&file);
            try {
                file.Close();
            } catch (const CFileException&) {
                written = false;
            }
        }
    }
    if (written && std::rename(temp.c_str(), output.c_str()) == 0) return;
    std::remove(temp.c_str());
    throw CommandError{written ? "cannot replace " + output : "cannot write the bitmap beside " + output};
}

void AddDibCommands(CLI::App& app) {
    CLI::App* dib = app.add_subcommand("dib", "Bitmap files as the bitmap class reads and writes them");
    dib->require_subcommand(1);

    static std::string infoFile;
    static bool json = false;
    CLI::App* info = dib->add_subcommand("info", "Size, bit count, compression, colours, image size and palette of FILE, or what is wrong with it");
    info->add_option("FILE", infoFile, "A bitmap file")->required();
    info->add_flag("--json", json, "Print JSON");
    info->callback([] { PrintInfo(infoFile, json); });

    static std::string input, output;
    static bool rle = false, none = false;
    CLI::App* convert = dib->add_subcommand("convert", "Rewrite a 4- or 8-bit bitmap IN as OUT, run-length-encoded or uncompressed");
    convert->add_option("IN", input, "Bitmap file to read")->required()->check(CLI::ExistingFile);
    convert->add_option("OUT", output, "Bitmap file to write (replaced only on success)")->required();
    auto* rleFlag = convert->add_flag("--rle", rle, "Compress: RLE4 for 4-bit images, RLE8 for 8-bit ones");
    auto* noneFlag = convert->add_flag("--none", none, "Store the pixels uncompressed");
    rleFlag->excludes(noneFlag);
    convert->callback([] {
        if (!rle && !none) throw CommandError{"say how to store the pixels: --rle or --none"};
        Convert(input, output, rle);
    });
}

const CommandGroups::Add registration(45, AddDibCommands);

}  // namespace
