// dvrkit dib: what a bitmap file holds as CDib reads it, and its conversion between
// run-length-encoded and uncompressed pixels. CDib reports its failures in message boxes with
// fixed texts; the tool says instead what is wrong with the file, from the same checks.
#include <iostream>
#include <string>

#include "calendar/CDib.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/FileBytes.h"
#include "tools/dvrkit/DibView.h"
#include "tools/dvrkit/OutputFile.h"
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
    ReadBitmapFile(dib, InputPath(path).Path());
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
    ReadBitmapFile(dib, InputPath(input).Path());
    const WORD bitCount = dib.GetHeader().biBitCount;
    if (bitCount != 4 && bitCount != 8)
        throw CommandError{input + " has " + std::to_string(bitCount) + " bits per pixel; only 4- and 8-bit images convert"};
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    if (!dib.ChangeCompression(&dc, compress)) throw CommandError{input + ": the image cannot be " + (compress ? "compressed" : "decompressed")};

    OutputFile out(output);
    CFile file;
    CFileException error(CFileException::none, 0, output, "open");
    if (!file.Open(out.TempPath().c_str(), CFile::modeWrite, &error))
        throw CommandError{error.what()};
    if (!dib.Write(&file)) throw CommandError{"cannot write the bitmap to " + output};
    file.Close();
    out.Commit();
}

void AddDibCommands(CLI::App& app) {
    CLI::App* dib = app.add_subcommand("dib", "Bitmap files as the bitmap class reads and writes them");
    dib->require_subcommand(1);

    static std::string infoFile;
    static bool json = false;
    CLI::App* info = dib->add_subcommand("info", "Size, bit count, compression, colours, image size and palette of FILE, or what is wrong with it");
    info->add_option("FILE", infoFile, "A bitmap file (- for standard input)")->required();
    info->add_flag("--json", json, "Print JSON");
    info->callback([] { PrintInfo(infoFile, json); });

    static std::string input, output;
    static bool rle = false, none = false;
    CLI::App* convert = dib->add_subcommand("convert", "Rewrite a 4- or 8-bit bitmap IN as OUT, run-length-encoded or uncompressed");
    convert->add_option("IN", input, "Bitmap file to read (- for standard input)")->required();
    convert->add_option("OUT", output, "Bitmap file to write (replaced only on success; - for standard output)")->required();
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
