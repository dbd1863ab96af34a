#include "ico_writer.h"

#include "byte_writer.h"
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

}  // namespace icons
