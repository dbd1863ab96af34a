#include "ico_writer.h"

#include "byte_writer.h"
#include "dib_format.h"
#include "ico_format.h"

namespace icons {

namespace {

std::uint8_t SideByte(int side) { return side >= 256 ? 0 : static_cast<std::uint8_t>(side); }

}  // namespace

Bytes WriteIcoFile(bool cursor, std::span<const IcoImage> images) {
    const std::size_t directoryBytes = ico::dir::kSize + ico::entry::kSize * images.size();
    std::size_t total = directoryBytes;
    for (const IcoImage& image : images) total += image.bytes.size();
    Bytes out;
    out.reserve(total);

    ByteWriter dir(out);
    dir.u16(ico::dir::kReserved, 0);
    dir.u16(ico::dir::kType, cursor ? ico::kTypeCursor : ico::kTypeIcon);
    dir.u16(ico::dir::kCount, static_cast<std::uint16_t>(images.size()));
    std::size_t at = directoryBytes;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IcoImage& image = images[i];
        ByteWriter e(out, ico::dir::kSize + ico::entry::kSize * i);
        e.u8(ico::entry::kWidth, SideByte(image.width));
        e.u8(ico::entry::kHeight, SideByte(image.height));
        e.u8(ico::entry::kColours, image.colours);
        e.u8(ico::entry::kReserved, 0);
        e.u16(ico::entry::kPlanes, image.planes);
        e.u16(ico::entry::kBitCount, image.bitCount);
        e.u32(ico::entry::kImageBytes, static_cast<std::uint32_t>(image.bytes.size()));
        e.u32(ico::entry::kImageOffset, static_cast<std::uint32_t>(at));
        at += image.bytes.size();
    }
    for (const IcoImage& image : images) out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    return out;
}


std::optional<Bytes> OpaqueIcoFile(const pixels::Bitmap& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 256 || picture.height > 256) return std::nullopt;
    const auto w = static_cast<std::uint32_t>(picture.width), h = static_cast<std::uint32_t>(picture.height);
    const auto maskBytes = static_cast<std::uint32_t>(dib::RowBytes(w, 1)) * h;
    const std::uint32_t bitsBytes = w * h * 4 + maskBytes;

    // The resolution and palette fields stay 0.
    Bytes image(dib::kSize);
    image.reserve(dib::kSize + bitsBytes);
    ByteWriter header(image);
    header.u32(dib::kStructSize, dib::kSize);
    header.u32(dib::kWidth, w);
    header.u32(dib::kHeight, 2 * h);  // colour and mask together
    header.u16(dib::kPlanes, 1);
    header.u16(dib::kBitCount, 32);
    header.u32(dib::kCompression, dib::kBiRgb);
    header.u32(dib::kImageBytes, bitsBytes);
    // Bottom row first, each pixel as blue, green, red, alpha.
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const pixels::Argb c = picture.at(x, y);
            image.push_back(static_cast<std::uint8_t>(pixels::BlueOf(c)));
            image.push_back(static_cast<std::uint8_t>(pixels::GreenOf(c)));
            image.push_back(static_cast<std::uint8_t>(pixels::RedOf(c)));
            image.push_back(0xFF);
        }
    image.resize(image.size() + maskBytes, 0);

    const IcoImage entry{picture.width, picture.height, 0, 1, 32, image};
    return WriteIcoFile(false, {&entry, 1});
}

}  // namespace icons
