#include "png_file.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <png.h>

namespace cli {
namespace {

[[noreturn]] void Fail(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp: this frame holds nothing with a destructor.
bool Write(png_structp png, png_infop info, std::FILE* file, int width, int height, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const platform::Bitmap& bitmap) {
    if (bitmap.empty()) return false;
    std::vector<png_byte> pixels(static_cast<std::size_t>(bitmap.width) * bitmap.height * 4);
    std::vector<png_bytep> rows(static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        rows[static_cast<std::size_t>(y)] = &pixels[static_cast<std::size_t>(y) * bitmap.width * 4];
        for (int x = 0; x < bitmap.width; ++x) {
            const platform::Argb c = bitmap.at(x, y);
            png_bytep p = rows[static_cast<std::size_t>(y)] + static_cast<std::size_t>(x) * 4;
            p[0] = static_cast<png_byte>(platform::RedOf(c));
            p[1] = static_cast<png_byte>(platform::GreenOf(c));
            p[2] = static_cast<png_byte>(platform::BlueOf(c));
            p[3] = static_cast<png_byte>(platform::AlphaOf(c));
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && Write(png, info, file, bitmap.width, bitmap.height, rows.data());
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

}  // namespace cli
