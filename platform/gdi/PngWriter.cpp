#include "platform/gdi/PngWriter.h"

#include <cstdio>
#include <stdexcept>

#include <png.h>

namespace {

// libpng's simplified interface reports errors through the image record instead of long
// jumps through our frames.
png_image Describe(const CSurface& surface) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface.Width());
    image.height = static_cast<png_uint_32>(surface.Height());
    image.format = PNG_FORMAT_BGR;
    return image;
}

void CheckSize(const CSurface& surface) {
    if (surface.Width() < 1 || surface.Height() < 1) throw std::runtime_error("PNG output of an empty surface");
}

// The surface's words as packed blue, green, red bytes (its unused byte left out).
std::vector<unsigned char> PackedBgr(const CSurface& surface) {
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()) * 3);
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            for (int shift = 0; shift <= 16; shift += 8) bytes.push_back(static_cast<unsigned char>(surface.At(x, y) >> shift));
    return bytes;
}

}  // namespace

void SaveSurfacePng(const CSurface& surface, const std::string& path) {
    const std::vector<unsigned char> bytes = EncodeSurfacePng(surface);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot create PNG file " + path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(path.c_str());
        throw std::runtime_error("cannot write PNG file " + path);
    }
}

std::vector<unsigned char> EncodeSurfacePng(const CSurface& surface) {
    CheckSize(surface);
    const std::vector<unsigned char> pixels = PackedBgr(surface);
    png_image image = Describe(surface);
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    std::vector<unsigned char> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    bytes.resize(size);
    return bytes;
}
