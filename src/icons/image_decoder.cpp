#include "image_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "dib_format.h"
#include "png_format.h"

namespace icons {
namespace {

using dib::kBiBitfields;
using dib::kBiRgb;
namespace rgb_quad = dib::rgb_quad;
constexpr std::uint32_t kMaxDibHeaderSize = 4096;  // larger than any header version there is

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    int extract(std::uint32_t v) const {
        if (max == 0) return 0;
        const std::uint64_t x = (v & mask) >> shift;
        return static_cast<int>((x * 255 + max / 2) / max);
    }
};

struct DibLayout {
    int width = 0;
    int height = 0;  // of the picture, not the doubled header value
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    Channel red, green, blue, alpha;
    bool hasAlpha = false;
    std::uint64_t paletteOffset = 0;  // relative to the blob
    int paletteStored = 0;            // entries present in the file
    int paletteUsed = 0;              // entries a pixel may address
    std::uint64_t bitsOffset = 0;
    std::uint64_t xorStride = 0;
    std::uint64_t andStride = 0;
    std::uint64_t total = 0;  // bytes from the blob's start to the end of the mask
};

// `head` holds at least the start of the image (the header and the masks that
// may follow it); `available` is how many bytes the image has in all.
std::optional<DibLayout> ParseDib(ByteView head, std::uint64_t available) {
    const ByteView h = head.sub(0, dib::kSize);
    const std::uint32_t headerSize = h.u32(dib::kStructSize);
    // Smaller headers (BITMAPCOREHEADER) are not used for icons since Windows 3.0.
    if (h.failed() || available < dib::kSize || headerSize < dib::kSize || headerSize > kMaxDibHeaderSize)
        return std::nullopt;

    DibLayout d;
    const std::int32_t width = h.i32(dib::kWidth);
    const std::int32_t doubledHeight = h.i32(dib::kHeight);
    d.bpp = h.u16(dib::kBitCount);
    d.compression = h.u32(dib::kCompression);
    const std::uint32_t clrUsed = h.u32(dib::kColoursUsed);

    if (width <= 0 || width > kMaxDibSide) return std::nullopt;
    if (doubledHeight <= 0 || doubledHeight / 2 < 1 || doubledHeight / 2 > kMaxDibSide) return std::nullopt;
    d.width = width;
    d.height = doubledHeight / 2;

    switch (d.bpp) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return std::nullopt;
    }
    if (d.compression == kBiBitfields) {
        if (d.bpp != 16 && d.bpp != 32) return std::nullopt;
    } else if (d.compression != kBiRgb) {
        return std::nullopt;
    }

    std::uint64_t afterHeader = headerSize;
    if (d.compression == kBiBitfields) {
        // Version 2+ headers hold the masks; a plain 40-byte header is followed by three.
        const bool alphaInHeader = headerSize >= dib::kV3Size;
        const std::uint64_t masksEnd = alphaInHeader ? dib::kV3Size : dib::kV2Size;
        if (available < masksEnd || !head.has(0, masksEnd)) return std::nullopt;
        d.red = Channel(head.u32(dib::kRedMask));
        d.green = Channel(head.u32(dib::kGreenMask));
        d.blue = Channel(head.u32(dib::kBlueMask));
        if (alphaInHeader) {
            d.alpha = Channel(head.u32(dib::kAlphaMask));
        } else if (d.bpp == 32 && d.red.mask == 0x00FF0000u && d.green.mask == 0x0000FF00u &&
                   d.blue.mask == 0x000000FFu) {
            // The usual layout written as bitfields: the top byte is alpha just as with BI_RGB.
            d.alpha = Channel(0xFF000000u);
        }
        d.hasAlpha = d.bpp == 32 && d.alpha.mask != 0;
        if (headerSize == dib::kSize) afterHeader = dib::kV2Size;
    } else if (d.bpp == 16) {
        d.red = Channel(0x7C00);
        d.green = Channel(0x03E0);
        d.blue = Channel(0x001F);
    } else if (d.bpp == 32) {
        d.hasAlpha = true;
    }

    if (d.bpp <= 8) {
        const std::uint32_t full = 1u << d.bpp;
        const std::uint32_t stored = clrUsed == 0 ? full : clrUsed;
        if (stored > 256) return std::nullopt;
        d.paletteStored = static_cast<int>(stored);
        d.paletteUsed = static_cast<int>(stored < full ? stored : full);
    } else if (clrUsed != 0) {
        // A colour table for palette devices may precede true-colour bits; skip it.
        if (clrUsed > 256) return std::nullopt;
        d.paletteStored = static_cast<int>(clrUsed);
    }
    d.paletteOffset = afterHeader;
    d.bitsOffset = afterHeader + rgb_quad::kSize * static_cast<std::uint64_t>(d.paletteStored);
    d.xorStride = dib::RowBytes(static_cast<std::uint64_t>(d.width), static_cast<std::uint64_t>(d.bpp));
    d.andStride = dib::RowBytes(static_cast<std::uint64_t>(d.width), 1);
    d.total = d.bitsOffset + (d.xorStride + d.andStride) * static_cast<std::uint64_t>(d.height);
    if (d.total > available) return std::nullopt;
    return d;
}

int ExpandTo8(std::uint32_t v, int bits) {
    return static_cast<int>((v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1));
}

// `dib` holds the image up to the end of its mask, as `d` lays it out.
std::optional<Icon> DecodeDib(ByteView dib, const DibLayout& d) {
    if (!dib.has(0, d.total)) return std::nullopt;

    std::vector<pixels::Argb> palette(static_cast<std::size_t>(d.paletteUsed));
    if (d.paletteUsed > 0) {
        const ByteView raw = dib.sub(d.paletteOffset, static_cast<std::uint64_t>(d.paletteUsed) * rgb_quad::kSize);
        if (raw.failed()) return std::nullopt;
        for (int i = 0; i < d.paletteUsed; ++i) {
            const ByteView q = raw.sub(static_cast<std::uint64_t>(i) * rgb_quad::kSize, rgb_quad::kSize);
            palette[static_cast<std::size_t>(i)] =
                pixels::MakeArgb(q.u8(rgb_quad::kRed), q.u8(rgb_quad::kGreen), q.u8(rgb_quad::kBlue));
        }
    }

    const std::size_t xorBytes = static_cast<std::size_t>(d.xorStride) * d.height;
    const std::size_t andBytes = static_cast<std::size_t>(d.andStride) * d.height;
    // Checked once here: every row and pixel below lies inside these bytes by the layout's arithmetic.
    const ByteView bitsView = dib.sub(d.bitsOffset, xorBytes + andBytes);
    if (bitsView.failed()) return std::nullopt;
    const std::uint8_t* bits = bitsView.data();

    Icon out;
    out.width = d.width;
    out.height = d.height;
    const std::size_t count = static_cast<std::size_t>(d.width) * d.height;
    out.color.resize(count);
    out.mask.resize(count);

    bool anyAlpha = false;
    for (int y = 0; y < d.height; ++y) {
        // Rows are stored bottom-up.
        const std::size_t fileRow = static_cast<std::size_t>(d.height - 1 - y);
        const std::uint8_t* row = &bits[fileRow * d.xorStride];
        const std::uint8_t* andRow = &bits[xorBytes + fileRow * d.andStride];
        for (int x = 0; x < d.width; ++x) {
            pixels::Argb c = 0;
            switch (d.bpp) {
                case 1: case 4: case 8: {
                    const int perByte = 8 / d.bpp;
                    const int shift = 8 - d.bpp * (x % perByte + 1);
                    const int index = (row[x / perByte] >> shift) & ((1 << d.bpp) - 1);
                    // Windows paints an index past the table black.
                    c = index < d.paletteUsed ? palette[static_cast<std::size_t>(index)]
                                              : pixels::MakeArgb(0, 0, 0);
                    break;
                }
                case 16: {
                    const std::uint32_t v = static_cast<std::uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8));
                    if (d.compression == kBiRgb) {
                        c = pixels::MakeArgb(ExpandTo8((v >> 10) & 31, 5), ExpandTo8((v >> 5) & 31, 5),
                                               ExpandTo8(v & 31, 5));
                    } else {
                        c = pixels::MakeArgb(d.red.extract(v), d.green.extract(v), d.blue.extract(v));
                    }
                    break;
                }
                case 24: {
                    const std::uint8_t* p = &row[x * 3];
                    c = pixels::MakeArgb(p[2], p[1], p[0]);
                    break;
                }
                case 32: {
                    const std::uint8_t* p = &row[x * 4];
                    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                            (static_cast<std::uint32_t>(p[2]) << 16) |
                                            (static_cast<std::uint32_t>(p[3]) << 24);
                    int a = 0;
                    if (d.compression == kBiRgb) {
                        c = pixels::MakeArgb(p[2], p[1], p[0]);
                        a = p[3];
                    } else {
                        c = pixels::MakeArgb(d.red.extract(v), d.green.extract(v), d.blue.extract(v));
                        a = d.alpha.extract(v);
                    }
                    if (d.hasAlpha) {
                        anyAlpha = anyAlpha || a != 0;
                        c = (c & 0x00FFFFFFu) | (static_cast<pixels::Argb>(a) << 24);
                    }
                    break;
                }
            }
            const std::size_t i = static_cast<std::size_t>(y) * d.width + x;
            out.color[i] = c;
            out.mask[i] = static_cast<std::uint8_t>((andRow[x / 8] >> (7 - x % 8)) & 1);
        }
    }
    // A 32-bit image whose alpha is all zero is drawn as if it were 24-bit, mask and all.
    out.blended = anyAlpha;
    if (!anyAlpha && d.bpp == 32) {
        for (auto& c : out.color) c |= 0xFF000000u;
    }
    return out;
}


bool IsPngSignature(ByteView head) {
    return head.has(0, png::kSignatureBytes) && std::memcmp(head.data(), png::kSignature, png::kSignatureBytes) == 0;
}

// What the header probe needs: a DIB header and the masks after it, or PNG's signature and IHDR.
constexpr std::uint64_t kHeadBytes = std::max(dib::kV3Size, png::ihdr::kEnd);
static_assert(kHeadBytes == kImageHeadBytes, "the read ahead for a group's headers covers what a probe reads");

// The first bytes of an image, held in place: every image of a group is
// probed for every icon, and a heap block per probe showed in the profile.
struct Head {
    std::uint8_t bytes[kHeadBytes];
    std::size_t size = 0;

    Head(const ByteSource& src, Blob blob) {
        const std::uint64_t total = src.size();
        if (blob.offset >= total) return;
        std::uint64_t n = std::min<std::uint64_t>({blob.size, total - blob.offset, kHeadBytes});
        if (src.read(blob.offset, bytes, static_cast<std::size_t>(n))) size = static_cast<std::size_t>(n);
    }
    ByteView view() const { return ByteView(bytes, size); }
};

std::optional<ImageInfo> ProbeHead(ByteView head, std::uint64_t available) {
    if (IsPngSignature(head)) {
        if (!head.has(0, png::ihdr::kEnd) || available < png::ihdr::kEnd) return std::nullopt;
        if (head.be32(png::ihdr::kLength) != png::ihdr::kDataLength ||
            std::memcmp(head.data() + png::ihdr::kType, "IHDR", 4) != 0)
            return std::nullopt;
        const std::uint32_t w = head.be32(png::ihdr::kWidth);
        const std::uint32_t hgt = head.be32(png::ihdr::kHeight);
        if (w == 0 || hgt == 0 || w > kMaxPngSide || hgt > kMaxPngSide) return std::nullopt;
        int channels = 0;
        switch (head.u8(png::ihdr::kColourType)) {
            case png::kGrey: channels = 1; break;
            case png::kRgb: channels = 3; break;
            case png::kPalette: channels = 1; break;
            case png::kGreyAlpha: channels = 2; break;
            case png::kRgba: channels = 4; break;
            default: return std::nullopt;
        }
        return ImageInfo{static_cast<int>(w), static_cast<int>(hgt), head.u8(png::ihdr::kBitDepth) * channels, true};
    }
    const auto d = ParseDib(head, available);
    if (!d) return std::nullopt;
    return ImageInfo{d->width, d->height, d->bpp, false};
}

}  // namespace

bool IsPngSignature(const ByteSource& src, Blob blob) {
    const Bytes head = FetchSome(src, blob.offset, blob.size, png::kSignatureBytes);
    return IsPngSignature(ByteView(head));
}

std::optional<ImageInfo> ProbeImage(const ByteSource& src, Blob blob) {
    const Head head(src, blob);
    return ProbeHead(head.view(), blob.size);
}

std::optional<ImageInfo> ProbeImageBytes(ByteView image) { return ProbeHead(image, image.size()); }

std::optional<Icon> DecodeImage(const ByteSource& src, Blob blob) {
    const Head head(src, blob);
    if (IsPngSignature(head.view())) return DecodePng(src, blob);
    const auto layout = ParseDib(head.view(), blob.size);
    if (!layout) return std::nullopt;
    // Only what the header says the image needs: a directory may claim more.
    // Straight from the source's memory when it holds the image already.
    if (const std::uint8_t* held = src.peek(blob.offset, static_cast<std::size_t>(layout->total)))
        return DecodeDib(ByteView(held, static_cast<std::size_t>(layout->total)), *layout);
    const auto bytes = Fetch(src, blob.offset, layout->total, layout->total);
    if (!bytes) return std::nullopt;
    return DecodeDib(ByteView(*bytes), *layout);
}

std::optional<Icon> DecodeImageBytes(ByteView image) {
    if (IsPngSignature(image)) return DecodePngBytes(image);
    const auto layout = ParseDib(image, image.size());
    if (!layout) return std::nullopt;
    return DecodeDib(image, *layout);
}

std::optional<Icon> DecodePng(const ByteSource& source, Blob blob) {
    const auto bytes = Fetch(source, blob.offset, blob.size, kMaxPngBytes);
    if (!bytes) return std::nullopt;
    return DecodePngBytes(ByteView(*bytes));
}

}  // namespace icons
