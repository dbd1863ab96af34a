#include "picture_files.h"

#include <gif_lib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "platform/failure.h"
#include "icons/ico_writer.h"
#include "whole_file.h"

namespace platform {

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Format { Bmp, Gif, Jpeg, Ico, Png };


// Users pick the format by the name they type; whatever we do not know stays
// a bitmap, which every program opens.
Format FormatOf(const std::string& path) {
    if (HasEnding(path, ".gif")) return Format::Gif;
    if (HasEnding(path, ".jpeg") || HasEnding(path, ".jpg")) return Format::Jpeg;
    if (HasEnding(path, ".ico")) return Format::Ico;
    if (HasEnding(path, ".png")) return Format::Png;
    return Format::Bmp;
}

// ---- GIF ----

int GifWriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct MapCloser {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// The palette and the index of every pixel. A picture of at most 256 colours
// (a cell usually has a few dozen) keeps every colour exactly; a richer one is
// reduced to 256 by median cut.
struct Indexed {
    std::vector<GifColorType> palette;
    std::vector<GifByteType> indices;
};

Indexed IndexColours(const pixels::Bitmap& image) {
    Indexed out;
    const std::size_t n = image.pixels.size();
    out.indices.resize(n);
    std::map<std::uint32_t, int> seen;
    bool exact = true;
    for (std::size_t i = 0; i < n && exact; ++i) {
        const std::uint32_t rgb = image.pixels[i] & 0xFFFFFFu;
        auto it = seen.find(rgb);
        if (it == seen.end()) {
            if (seen.size() == 256) {
                exact = false;
                break;
            }
            it = seen.emplace(rgb, static_cast<int>(out.palette.size())).first;
            out.palette.push_back({static_cast<GifByteType>(pixels::RedOf(rgb)), static_cast<GifByteType>(pixels::GreenOf(rgb)),
                                   static_cast<GifByteType>(pixels::BlueOf(rgb))});
        }
        out.indices[i] = static_cast<GifByteType>(it->second);
    }
    if (exact) return out;

    std::vector<GifByteType> r(n), g(n), b(n);
    for (std::size_t i = 0; i < n; ++i) {
        r[i] = static_cast<GifByteType>(pixels::RedOf(image.pixels[i]));
        g[i] = static_cast<GifByteType>(pixels::GreenOf(image.pixels[i]));
        b[i] = static_cast<GifByteType>(pixels::BlueOf(image.pixels[i]));
    }
    int size = 256;
    out.palette.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height), &size, r.data(),
                          g.data(), b.data(), out.indices.data(), out.palette.data()) == GIF_ERROR)
        throw Failure("cannot reduce the picture to 256 colours");
    out.palette.resize(static_cast<std::size_t>(std::clamp(size, 1, 256)));
    return out;
}

Bytes EncodeGif(const pixels::Bitmap& image) {
    if (image.width > 0xFFFF || image.height > 0xFFFF) throw Failure("picture too large for GIF");
    const Indexed indexed = IndexColours(image);

    // A GIF colour table holds a power of two entries, at least two.
    const int bits = std::max(1, GifBitSize(static_cast<int>(indexed.palette.size())));
    std::vector<GifColorType> table(static_cast<std::size_t>(1) << bits, GifColorType{0, 0, 0});
    std::copy(indexed.palette.begin(), indexed.palette.end(), table.begin());
    std::unique_ptr<ColorMapObject, MapCloser> map(GifMakeMapObject(static_cast<int>(table.size()), table.data()));
    if (!map) throw Failure("cannot make a GIF colour table");

    std::vector<std::uint8_t> bytes;
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&bytes, GifWriteToVector, &error));
    if (!gif) throw Failure("cannot start a GIF");
    if (EGifPutScreenDesc(gif.get(), image.width, image.height, bits, 0, map.get()) == GIF_ERROR ||
        EGifPutImageDesc(gif.get(), 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR)
        throw Failure("cannot write a GIF");
    std::vector<GifByteType> row(static_cast<std::size_t>(image.width));
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(indexed.indices.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width, row.begin());
        if (EGifPutLine(gif.get(), row.data(), image.width) == GIF_ERROR) throw Failure("cannot write a GIF");
    }
    // Closing writes the trailer.
    const int closed = EGifCloseFile(gif.release(), &error);
    if (closed == GIF_ERROR) throw Failure("cannot finish a GIF");
    return bytes;
}

// ---- ICO ----

// A save the user waits for reaches the disk before it takes the name.
void WriteBytes(std::span<const std::uint8_t> bytes, const std::string& path) {
    if (!WriteWholeFile(path, bytes, FileSync::ToDisk)) throw Failure("cannot write " + path);
}

Bytes Encode(const pixels::Bitmap& image, Format format, Desktop& desktop) {
    switch (format) {
        case Format::Gif: return EncodeGif(image);
        case Format::Jpeg: return desktop.EncodePicture(image, Desktop::PictureFormat::Jpeg);
        case Format::Ico: {
            auto file = icons::OpaqueIcoFile(image);
            if (!file) throw Failure("picture too large for an icon");
            return std::move(*file);
        }
        case Format::Png: return desktop.EncodePicture(image, Desktop::PictureFormat::Png);
        case Format::Bmp: break;
    }
    return desktop.EncodePicture(image, Desktop::PictureFormat::Bmp);
}

}  // namespace

void WritePictureFile(const pixels::Bitmap& image, const std::string& path, Desktop& desktop) {
    if (image.empty() || image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        throw Failure("no picture to write to " + path);
    // Encode first, so that nothing is touched when encoding fails.
    WriteBytes(Encode(image, FormatOf(path), desktop), path);
}

void WriteFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    WriteBytes(bytes, path);
}

bool HasEnding(const std::string& path, const char* ending) {
    const std::string e = ending;
    if (path.size() < e.size()) return false;
    return std::equal(e.begin(), e.end(), path.end() - static_cast<std::ptrdiff_t>(e.size()),
                      [](char e, char p) { return e == std::tolower(static_cast<unsigned char>(p)); });
}

}  // namespace platform
