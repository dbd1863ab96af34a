// libpng reports errors by longjmp. The functions that call setjmp therefore
// hold nothing with a destructor; buffers are owned by their callers.

#include <csetjmp>
#include <cstring>

#include <png.h>

#include "image_decoder.h"

namespace icons {
namespace {

struct PngInput {
    ByteView bytes;
    std::uint64_t pos;
};

void ReadFromView(png_structp png, png_bytep out, png_size_t n) {
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (!in->bytes.has(in->pos, n)) png_error(png, "truncated");
    if (n != 0) std::memcpy(out, in->bytes.data() + in->pos, n);
    in->pos += n;
}

[[noreturn]] void Fail(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Chunks that cannot change the pixels we draw; treated as unknown so libpng
// skips them instead of storing (and allocating for) them.
constexpr png_byte kIgnoredChunks[] =
    "tEXt\0zTXt\0iTXt\0sPLT\0iCCP\0eXIf\0hIST\0pCAL\0sCAL\0tIME\0oFFs\0pHYs\0sBIT\0sRGB\0gAMA\0cHRM\0bKGD";
constexpr int kIgnoredChunkCount = 17;

bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(png, 1u << 20);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    png_read_info(png, info);

    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, width, height, &depth, &colourType, nullptr, nullptr, nullptr);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~PngReader() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

}  // namespace

std::optional<Icon> DecodePngBytes(ByteView bytes) {
    PngReader reader;
    if (!reader.png || !reader.info) return std::nullopt;
    PngInput input{bytes, 0};
    png_set_read_fn(reader.png, &input, ReadFromView);

    png_uint_32 width = 0, height = 0;
    if (!ReadHeader(reader.png, reader.info, &width, &height)) return std::nullopt;
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) return std::nullopt;

    Icon out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.blended = true;  // a PNG is always drawn by its alpha, never by a mask
    const std::size_t count = static_cast<std::size_t>(width) * height;
    out.color.resize(count);
    // Decode straight into the result (4 bytes a pixel either way), then turn RGBA bytes into ARGB words.
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(&out.color[static_cast<std::size_t>(y) * width]);
    }
    if (!ReadRows(reader.png, rows.data())) return std::nullopt;
    for (auto& c : out.color) {
        std::uint8_t p[4];
        std::memcpy(p, &c, 4);
        c = pixels::MakeArgb(p[0], p[1], p[2], p[3]);
    }
    out.mask.assign(count, 0);
    return out;
}

}  // namespace icons
