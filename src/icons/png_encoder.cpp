// libpng reports errors by longjmp. The function that calls setjmp holds
// nothing with a destructor; the buffers belong to its caller.

#include <csetjmp>

#include <png.h>
#include <zlib.h>

#include "image_decoder.h"
#include "whole_icon.h"

namespace icons {
namespace {

[[noreturn]] void Fail(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

void WriteToVector(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void FlushNothing(png_structp) {}

bool Write(png_structp png, png_infop info, std::vector<std::uint8_t>* out, int width, int height, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, WriteToVector, FlushNothing);
    // On icons, zlib's level 3 with its plain strategy gives smaller files
    // than libpng's default (level 6, strategy for filtered data) and takes
    // two thirds of the time, which was most of an export's.
    png_set_compression_level(png, 3);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodePng(const pixels::Bitmap& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxPngSide || image.height > kMaxPngSide ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return std::nullopt;
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    std::vector<png_byte> pixels(stride * image.height);
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = &pixels[y * stride];
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
            const pixels::Argb c = image.pixels[y * image.width + x];
            png_bytep p = rows[y] + x * 4;
            p[0] = static_cast<png_byte>(pixels::RedOf(c));
            p[1] = static_cast<png_byte>(pixels::GreenOf(c));
            p[2] = static_cast<png_byte>(pixels::BlueOf(c));
            p[3] = static_cast<png_byte>(pixels::AlphaOf(c));
        }
    }
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && Write(png, info, &out, image.width, image.height, rows.data());
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace icons
