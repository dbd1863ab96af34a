#include "icon_file_builders.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <map>
#include <stdexcept>

#include <png.h>

namespace icon_files {
namespace {

void Append16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Append32(Bytes& b, std::uint32_t v) {
    Append16(b, static_cast<std::uint16_t>(v));
    Append16(b, static_cast<std::uint16_t>(v >> 16));
}
void AlignTo(Bytes& b, std::size_t a) { b.resize((b.size() + a - 1) / a * a, 0); }
std::size_t RoundUp(std::size_t v, std::size_t a) { return (v + a - 1) / a * a; }

}  // namespace

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
std::uint16_t Get16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
    return Get16(b, at) | (static_cast<std::uint32_t>(Get16(b, at + 2)) << 16);
}

// ---- images ----

Bytes MakeDib(const DibSpec& s) {
    Bytes b;
    Append32(b, 40);
    Append32(b, static_cast<std::uint32_t>(s.width));
    Append32(b, static_cast<std::uint32_t>(s.height * 2));
    Append16(b, 1);
    Append16(b, static_cast<std::uint16_t>(s.bpp));
    Append32(b, s.compression);
    Append32(b, 0);  // image size
    Append32(b, 0);
    Append32(b, 0);
    Append32(b, s.clrUsed);
    Append32(b, 0);
    for (std::uint32_t m : s.masks) Append32(b, m);
    for (pixels::Argb c : s.palette) {
        b.push_back(static_cast<std::uint8_t>(pixels::BlueOf(c)));
        b.push_back(static_cast<std::uint8_t>(pixels::GreenOf(c)));
        b.push_back(static_cast<std::uint8_t>(pixels::RedOf(c)));
        b.push_back(0);
    }
    const std::size_t stride = (static_cast<std::size_t>(s.width) * s.bpp + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(s.width) + 31) / 32 * 4;
    auto pixel = [&](int x, int y) -> std::uint32_t {
        const std::size_t i = static_cast<std::size_t>(y) * s.width + x;
        return i < s.pixels.size() ? s.pixels[i] : 0;
    };
    for (int y = s.height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = pixel(x, y);
            switch (s.bpp) {
                case 1: case 4: case 8: {
                    const int perByte = 8 / s.bpp;
                    const int shift = 8 - s.bpp * (x % perByte + 1);
                    row[static_cast<std::size_t>(x / perByte)] |= static_cast<std::uint8_t>(v << shift);
                    break;
                }
                case 16: Put16(row, static_cast<std::size_t>(x) * 2, static_cast<std::uint16_t>(v)); break;
                case 24:
                    row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(v);
                    row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
                    row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(v >> 16);
                    break;
                case 32: Put32(row, static_cast<std::size_t>(x) * 4, v); break;
                default: throw std::invalid_argument("unsupported DIB depth");
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    for (int y = s.height - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < s.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * s.width + x;
            if (i < s.mask.size() && s.mask[i]) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

DibSpec SolidDib(int width, int height, int bpp, pixels::Argb colour) {
    DibSpec s;
    s.width = width;
    s.height = height;
    s.bpp = bpp;
    std::uint32_t value = 0;
    if (bpp <= 8) {
        s.palette.assign(static_cast<std::size_t>(1) << bpp, pixels::MakeArgb(0, 0, 0));
        s.palette[1] = colour;
        value = 1;
    } else if (bpp == 16) {
        value = static_cast<std::uint32_t>(((pixels::RedOf(colour) >> 3) << 10) | ((pixels::GreenOf(colour) >> 3) << 5) |
                                           (pixels::BlueOf(colour) >> 3));
    } else if (bpp == 24) {
        value = colour & 0x00FFFFFFu;
    } else {
        value = colour;
    }
    s.pixels.assign(static_cast<std::size_t>(width) * height, value);
    return s;
}

namespace {

void WriteToBytes(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void NoFlush(png_structp) {}

// setjmp lives in a frame without destructors; the caller owns every buffer.
bool WritePng(png_structp png, png_infop info, int w, int h, int depth, int type, png_colorp palette, int paletteSize,
              png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), depth, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette) png_set_PLTE(png, info, palette, paletteSize);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

Bytes MakePng(int width, int height, const std::vector<pixels::Argb>& pixels, PngKind kind) {
    int type = PNG_COLOR_TYPE_RGBA, depth = 8, channels = 4;
    switch (kind) {
        case PngKind::Rgba8: break;
        case PngKind::Rgb8: type = PNG_COLOR_TYPE_RGB; channels = 3; break;
        case PngKind::Gray8: type = PNG_COLOR_TYPE_GRAY; channels = 1; break;
        case PngKind::Palette8: type = PNG_COLOR_TYPE_PALETTE; channels = 1; break;
        case PngKind::Rgba16: depth = 16; break;
        case PngKind::GrayAlpha8: type = PNG_COLOR_TYPE_GRAY_ALPHA; channels = 2; break;
    }
    std::vector<png_color> palette;
    std::map<pixels::Argb, int> paletteIndex;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels * (depth / 8);
    std::vector<Bytes> rows(static_cast<std::size_t>(height), Bytes(rowBytes, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const pixels::Argb c = pixels.at(static_cast<std::size_t>(y) * width + x);
            std::uint8_t* p = &rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x) * channels * (depth / 8)];
            const std::uint8_t r = static_cast<std::uint8_t>(pixels::RedOf(c)), g = static_cast<std::uint8_t>(pixels::GreenOf(c)),
                               bl = static_cast<std::uint8_t>(pixels::BlueOf(c)), a = static_cast<std::uint8_t>(pixels::AlphaOf(c));
            switch (kind) {
                case PngKind::Rgba8: p[0] = r; p[1] = g; p[2] = bl; p[3] = a; break;
                case PngKind::Rgb8: p[0] = r; p[1] = g; p[2] = bl; break;
                case PngKind::Gray8: p[0] = r; break;
                case PngKind::GrayAlpha8: p[0] = r; p[1] = a; break;
                case PngKind::Rgba16:
                    for (int ch = 0; ch < 4; ++ch) {
                        const std::uint8_t v = ch == 0 ? r : ch == 1 ? g : ch == 2 ? bl : a;
                        p[ch * 2] = v;
                        p[ch * 2 + 1] = v;
                    }
                    break;
                case PngKind::Palette8: {
                    const pixels::Argb key = c | 0xFF000000u;
                    auto it = paletteIndex.find(key);
                    if (it == paletteIndex.end()) {
                        if (palette.size() == 256) throw std::invalid_argument("more than 256 colours");
                        it = paletteIndex.emplace(key, static_cast<int>(palette.size())).first;
                        palette.push_back({r, g, bl});
                    }
                    p[0] = static_cast<std::uint8_t>(it->second);
                    break;
                }
            }
        }
    }
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, WriteToBytes, NoFlush);
    std::vector<png_bytep> rowPointers;
    for (auto& r : rows) rowPointers.push_back(r.data());
    const bool ok = WritePng(png, info, width, height, depth, type, palette.empty() ? nullptr : palette.data(),
                             static_cast<int>(palette.size()), rowPointers.data());
    png_destroy_write_struct(&png, &info);
    if (!ok) throw std::runtime_error("libpng could not write the test image");
    return out;
}

// ---- .ico / .cur ----

Bytes MakeIco(const std::vector<IcoEntry>& entries, std::uint16_t type) {
    Bytes b;
    Append16(b, 0);
    Append16(b, type);
    Append16(b, static_cast<std::uint16_t>(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (const IcoEntry& e : entries) {
        b.push_back(e.width);
        b.push_back(e.height);
        b.push_back(e.colours);
        b.push_back(0);
        Append16(b, e.planes);
        Append16(b, e.bitCount);
        Append32(b, static_cast<std::uint32_t>(e.image.size()));
        Append32(b, static_cast<std::uint32_t>(offset));
        offset += e.image.size();
    }
    for (const IcoEntry& e : entries) b.insert(b.end(), e.image.begin(), e.image.end());
    return b;
}

// ---- .ani (RIFF) ----

Bytes MakeChunk(const char* id, const Bytes& body) {
    Bytes b(id, id + 4);
    Append32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) b.push_back(0);
    return b;
}

Bytes MakeList(const char* type, const std::vector<Bytes>& chunks, const char* id) {
    Bytes body(type, type + 4);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return MakeChunk(id, body);
}

// ---- icon groups ----

Bytes MakeGroupDirectory(const std::vector<GroupImage>& images) {
    Bytes b;
    Append16(b, 0);
    Append16(b, 1);
    Append16(b, static_cast<std::uint16_t>(images.size()));
    for (const GroupImage& g : images) {
        b.push_back(g.width);
        b.push_back(g.height);
        b.push_back(0);
        b.push_back(0);
        Append16(b, 1);
        Append16(b, g.bitCount);
        Append32(b, static_cast<std::uint32_t>(g.image.size()));
        Append16(b, g.id);
    }
    return b;
}

namespace {

// RT_GROUP_CURSOR as resource compilers write it: 16-bit sides, the height twice the picture's, the hotspot counted.
Bytes MakeCursorGroupDirectory(const std::vector<GroupImage>& images) {
    Bytes b;
    for (std::size_t v : {std::size_t{0}, std::size_t{2}, images.size()}) Append16(b, static_cast<std::uint16_t>(v));
    for (const GroupImage& g : images) {
        for (int v : {int{g.width}, 2 * g.height, 1, int{g.bitCount}}) Append16(b, static_cast<std::uint16_t>(v));
        Append32(b, static_cast<std::uint32_t>(g.image.size() + 4));
        Append16(b, g.id);
    }
    return b;
}

Bytes CursorResourceData(const GroupImage& image) {
    Bytes b;
    Append16(b, image.hotspotX);
    Append16(b, image.hotspotY);
    b.insert(b.end(), image.image.begin(), image.image.end());
    return b;
}

}  // namespace

Bytes CursorFileOf(const std::vector<GroupImage>& images) {
    std::vector<IcoEntry> entries;
    for (const GroupImage& g : images) entries.push_back({g.width, g.height, 0, g.hotspotX, g.hotspotY, g.image});
    return MakeIco(entries, 2);
}

namespace {

std::vector<Resource> GroupResources(const std::vector<IconGroupSpec>& groups, bool cursors) {
    std::vector<Resource> out;
    std::vector<const GroupImage*> icons;
    for (const auto& g : groups)
        for (const auto& i : g.images) icons.push_back(&i);
    std::stable_sort(icons.begin(), icons.end(), [](auto* a, auto* b) { return a->id < b->id; });
    std::uint32_t last = 0x10000;
    for (const GroupImage* i : icons) {
        if (i->id == last) continue;  // one resource per ID, as a resource compiler makes it
        last = i->id;
        out.push_back({ResName{cursors ? 1u : 3u, {}}, ResName{i->id, {}}, 0x409,
                       cursors ? CursorResourceData(*i) : i->image});
    }
    for (const auto& g : groups)
        out.push_back({ResName{cursors ? 12u : 14u, {}}, g.name, 0x409,
                       cursors ? MakeCursorGroupDirectory(g.images) : MakeGroupDirectory(g.images)});
    return out;
}

}  // namespace

std::vector<Resource> IconResources(const std::vector<IconGroupSpec>& groups) { return GroupResources(groups, false); }

std::vector<Resource> CursorResources(const std::vector<IconGroupSpec>& groups) { return GroupResources(groups, true); }

// ---- PE ----

const TypeLayout* BuiltPe::type(std::uint32_t id) const {
    for (const auto& t : types)
        if (!t.type.named() && t.type.id == id) return &t;
    return nullptr;
}

namespace {

bool SameName(const ResName& a, const ResName& b) { return a.named() == b.named() && a.id == b.id && a.name == b.name; }

// Named entries first (in the given order), then numbered ones (in the given order).
template <typename T, typename NameOf>
std::vector<const T*> DirectoryOrder(const std::vector<T>& items, NameOf nameOf) {
    std::vector<const T*> out;
    for (const T& i : items)
        if (nameOf(i).named()) out.push_back(&i);
    for (const T& i : items)
        if (!nameOf(i).named()) out.push_back(&i);
    return out;
}

struct NameNode {
    ResName name;
    std::vector<const Resource*> languages;
};
struct TypeNode {
    ResName type;
    std::vector<NameNode> names;
};

// The tree: directories, then name strings, then data entries, then the data. Offsets are from the tree's start.
Bytes WriteResourceTree(const std::vector<Resource>& resources, std::uint32_t treeRva, std::vector<TypeLayout>& layout) {
    std::vector<TypeNode> types;
    for (const Resource& r : resources) {
        auto t = std::find_if(types.begin(), types.end(), [&](const TypeNode& n) { return SameName(n.type, r.type); });
        if (t == types.end()) t = types.insert(types.end(), TypeNode{r.type, {}});
        auto n = std::find_if(t->names.begin(), t->names.end(), [&](const NameNode& x) { return SameName(x.name, r.name); });
        if (n == t->names.end()) n = t->names.insert(t->names.end(), NameNode{r.name, {}});
        n->languages.push_back(&r);
    }
    const auto typeOrder = DirectoryOrder(types, [](const TypeNode& t) -> const ResName& { return t.type; });

    // Sizes first, to know every offset before writing.
    std::size_t dirBytes = 16 + 8 * typeOrder.size();
    for (const TypeNode* t : typeOrder) {
        dirBytes += 16 + 8 * t->names.size();
        for (const NameNode& n : t->names) dirBytes += 16 + 8 * n.languages.size();
    }
    Bytes strings;
    std::map<std::u16string, std::uint32_t> stringAt;
    auto stringOffset = [&](const std::u16string& s) {
        auto it = stringAt.find(s);
        if (it != stringAt.end()) return it->second;
        const auto at = static_cast<std::uint32_t>(dirBytes + strings.size());
        Append16(strings, static_cast<std::uint16_t>(s.size()));
        for (char16_t c : s) Append16(strings, static_cast<std::uint16_t>(c));
        stringAt.emplace(s, at);
        return at;
    };
    for (const TypeNode* t : typeOrder) {
        if (t->type.named()) stringOffset(t->type.name);
        for (const NameNode& n : t->names)
            if (n.name.named()) stringOffset(n.name.name);
    }
    AlignTo(strings, 4);
    const std::size_t dataEntriesAt = dirBytes + strings.size();

    Bytes tree(dataEntriesAt, 0);
    std::copy(strings.begin(), strings.end(), tree.begin() + static_cast<std::ptrdiff_t>(dirBytes));
    auto nameField = [&](const ResName& n) { return n.named() ? (0x80000000u | stringOffset(n.name)) : n.id; };
    auto writeDirHeader = [&](std::size_t at, std::size_t named, std::size_t ids) {
        Put16(tree, at + 12, static_cast<std::uint16_t>(named));
        Put16(tree, at + 14, static_cast<std::uint16_t>(ids));
    };

    std::size_t next = 16 + 8 * typeOrder.size();
    Bytes data;
    std::size_t dataEntryCount = 0;
    for (const TypeNode* t : typeOrder)
        for (const NameNode& n : t->names) dataEntryCount += n.languages.size();
    const std::size_t dataAt = dataEntriesAt + 16 * dataEntryCount;
    std::size_t dataEntry = dataEntriesAt;
    tree.resize(dataAt, 0);

    const auto namedTypes = static_cast<std::size_t>(std::count_if(typeOrder.begin(), typeOrder.end(), [](auto* t) { return t->type.named(); }));
    writeDirHeader(0, namedTypes, typeOrder.size() - namedTypes);
    for (std::size_t ti = 0; ti < typeOrder.size(); ++ti) {
        const TypeNode& t = *typeOrder[ti];
        const std::size_t typeDir = next;
        next += 16 + 8 * t.names.size();
        Put32(tree, 16 + 8 * ti, nameField(t.type));
        Put32(tree, 16 + 8 * ti + 4, 0x80000000u | static_cast<std::uint32_t>(typeDir));
        TypeLayout tl{t.type, static_cast<std::uint32_t>(typeDir), {}, {}};

        const auto nameOrder = DirectoryOrder(t.names, [](const NameNode& n) -> const ResName& { return n.name; });
        const auto namedNames = static_cast<std::size_t>(std::count_if(nameOrder.begin(), nameOrder.end(), [](auto* n) { return n->name.named(); }));
        writeDirHeader(typeDir, namedNames, nameOrder.size() - namedNames);
        for (std::size_t ni = 0; ni < nameOrder.size(); ++ni) {
            const NameNode& n = *nameOrder[ni];
            const std::size_t nameDir = next;
            next += 16 + 8 * n.languages.size();
            Put32(tree, typeDir + 16 + 8 * ni, nameField(n.name));
            Put32(tree, typeDir + 16 + 8 * ni + 4, 0x80000000u | static_cast<std::uint32_t>(nameDir));
            tl.nameDirectories.push_back(static_cast<std::uint32_t>(nameDir));
            writeDirHeader(nameDir, 0, n.languages.size());
            for (std::size_t li = 0; li < n.languages.size(); ++li) {
                const Resource& r = *n.languages[li];
                Put32(tree, nameDir + 16 + 8 * li, r.language);
                Put32(tree, nameDir + 16 + 8 * li + 4, static_cast<std::uint32_t>(dataEntry));
                if (li == 0) tl.dataEntries.push_back(static_cast<std::uint32_t>(dataEntry));
                AlignTo(data, 8);
                Put32(tree, dataEntry, treeRva + static_cast<std::uint32_t>(dataAt + data.size()));
                Put32(tree, dataEntry + 4, static_cast<std::uint32_t>(r.data.size()));
                data.insert(data.end(), r.data.begin(), r.data.end());
                dataEntry += 16;
            }
        }
        layout.push_back(std::move(tl));
    }
    tree.insert(tree.end(), data.begin(), data.end());
    return tree;
}

}  // namespace

BuiltPe MakePe(const PeSpec& spec) {
    constexpr std::size_t kFileAlign = 0x200;
    constexpr std::uint32_t kSectionAlign = 0x1000;
    BuiltPe out;
    Bytes& b = out.bytes;
    b.assign(0x80, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, 0x80);
    out.peOffset = 0x80;
    b.insert(b.end(), {'P', 'E', 0, 0});

    const std::size_t sections = spec.resourceSection ? 2 : 1;
    const std::uint16_t optionalSize = spec.pe32plus ? 240 : 224;
    Append16(b, spec.pe32plus ? 0x8664 : 0x14C);
    Append16(b, static_cast<std::uint16_t>(sections));
    Append32(b, 0);
    Append32(b, 0);
    Append32(b, 0);
    Append16(b, optionalSize);
    Append16(b, static_cast<std::uint16_t>((spec.pe32plus ? 0x0022 : 0x0102) | (spec.dll ? 0x2000 : 0)));

    out.optionalHeaderOffset = b.size();
    b.resize(b.size() + optionalSize, 0);
    out.sectionTableOffset = b.size();
    b.resize(b.size() + 40 * sections, 0);
    const std::size_t headersSize = RoundUp(b.size(), kFileAlign);
    b.resize(headersSize, 0);

    const std::size_t o = out.optionalHeaderOffset;
    Put16(b, o, spec.pe32plus ? 0x20B : 0x10B);
    Put32(b, o + 16, 0x1000);  // entry point
    if (spec.pe32plus) {
        Put32(b, o + 24, 0x40000000u);
        Put32(b, o + 28, 0x1);  // image base 0x140000000
    } else {
        Put32(b, o + 28, 0x400000);
    }
    Put32(b, o + 32, kSectionAlign);
    Put32(b, o + 36, kFileAlign);
    Put16(b, o + 40, 4);  // OS version
    Put16(b, o + 48, 4);  // subsystem version
    Put32(b, o + 60, static_cast<std::uint32_t>(headersSize));
    Put16(b, o + 68, 2);  // GUI
    const std::size_t dirCountAt = o + (spec.pe32plus ? 108 : 92);
    Put32(b, dirCountAt, 16);
    out.resourceDataDirOffset = dirCountAt + 4 + 8 * 2;

    auto writeSection = [&](std::size_t i, const char* name, std::uint32_t rva, std::size_t vsize, std::size_t raw,
                            std::size_t rawSize, std::uint32_t flags) {
        const std::size_t at = out.sectionTableOffset + 40 * i;
        std::memcpy(&b[at], name, std::strlen(name));
        Put32(b, at + 8, static_cast<std::uint32_t>(vsize));
        Put32(b, at + 12, rva);
        Put32(b, at + 16, static_cast<std::uint32_t>(rawSize));
        Put32(b, at + 20, static_cast<std::uint32_t>(raw));
        Put32(b, at + 36, flags);
    };

    const std::size_t codeRaw = RoundUp(std::max<std::size_t>(spec.codeBytes, 1), kFileAlign);
    writeSection(0, ".text", kSectionAlign, spec.codeBytes, b.size(), codeRaw, 0x60000020u);
    const std::size_t codeAt = b.size();
    b.resize(b.size() + codeRaw, 0);
    b[codeAt] = 0xC3;  // ret
    std::uint32_t nextRva = kSectionAlign + static_cast<std::uint32_t>(RoundUp(codeRaw, kSectionAlign));

    if (spec.resourceSection) {
        out.treeRva = nextRva;
        out.treeFileOffset = b.size();
        const Bytes tree = WriteResourceTree(spec.resources, nextRva, out.types);
        const std::size_t raw = RoundUp(std::max<std::size_t>(tree.size(), 1), kFileAlign);
        writeSection(1, ".rsrc", nextRva, tree.size(), b.size(), raw, 0x40000040u);
        b.insert(b.end(), tree.begin(), tree.end());
        b.resize(out.treeFileOffset + raw, 0);
        Put32(b, out.resourceDataDirOffset, nextRva);
        Put32(b, out.resourceDataDirOffset + 4, static_cast<std::uint32_t>(tree.size()));
        nextRva += static_cast<std::uint32_t>(RoundUp(raw, kSectionAlign));
    }
    Put32(b, o + 56, nextRva);  // image size
    return out;
}

// ---- version resource ----

namespace {

std::u16string Hex4(std::uint16_t v) {
    static const char16_t digits[] = u"0123456789abcdef";
    std::u16string out;
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(digits[(v >> shift) & 0xF]);
    return out;
}

}  // namespace

// A block: length, value length, type, key, padding, value, then each child on a 32-bit boundary.
Bytes MakeVersionBlock(const std::u16string& key, const Bytes& value, std::uint16_t valueLength, bool text,
                       const std::vector<Bytes>& children) {
    Bytes b(6, 0);
    for (char16_t c : key) Append16(b, static_cast<std::uint16_t>(c));
    Append16(b, 0);
    AlignTo(b, 4);
    b.insert(b.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        AlignTo(b, 4);
        b.insert(b.end(), child.begin(), child.end());
    }
    Put16(b, 0, static_cast<std::uint16_t>(b.size()));
    Put16(b, 2, valueLength);
    Put16(b, 4, text ? 1 : 0);
    return b;
}

Bytes MakeVersionResource(const VersionSpec& spec) {
    Bytes fixed;
    if (spec.fixedInfo) {
        for (std::uint32_t v : {0xFEEF04BDu, 0x00010000u, spec.fileVersionMs, spec.fileVersionLs, spec.productVersionMs,
                                spec.productVersionLs, 0x3Fu, 0u, 0x40004u, 1u, 0u, 0u, 0u})
            Append32(fixed, v);
    }
    std::vector<Bytes> parts;
    if (!spec.tables.empty()) {
        std::vector<Bytes> tables;
        for (const VersionTable& t : spec.tables) {
            std::vector<Bytes> strings;
            for (const auto& [key, text] : t.values) {
                Bytes value;
                for (char16_t c : text) Append16(value, static_cast<std::uint16_t>(c));
                Append16(value, 0);
                strings.push_back(MakeVersionBlock(key, value, static_cast<std::uint16_t>(text.size() + 1), true));
            }
            tables.push_back(MakeVersionBlock(Hex4(t.language) + Hex4(t.codePage), {}, 0, true, strings));
        }
        parts.push_back(MakeVersionBlock(u"StringFileInfo", {}, 0, true, tables));
    }
    if (!spec.translations.empty()) {
        Bytes pairs;
        for (const auto& [language, codePage] : spec.translations) {
            Append16(pairs, language);
            Append16(pairs, codePage);
        }
        parts.push_back(MakeVersionBlock(u"VarFileInfo", {}, 0, true,
                                     {MakeVersionBlock(u"Translation", pairs, static_cast<std::uint16_t>(pairs.size()), false)}));
    }
    return MakeVersionBlock(u"VS_VERSION_INFO", fixed, static_cast<std::uint16_t>(fixed.size()), false, parts);
}

std::size_t VersionBlockOffset(const Bytes& resource, const std::u16string& key) {
    Bytes pattern;
    for (char16_t c : key) Append16(pattern, static_cast<std::uint16_t>(c));
    Append16(pattern, 0);
    for (auto it = resource.begin(); (it = std::search(it, resource.end(), pattern.begin(), pattern.end())) != resource.end(); ++it) {
        const auto at = static_cast<std::size_t>(it - resource.begin());
        // Keys start 6 bytes into a block, on an even offset.
        if (at >= 6 && at % 2 == 0) return at - 6;
    }
    return std::string::npos;
}

Resource VersionResource(Bytes data, std::uint16_t language) {
    return {ResName{16, {}}, ResName{1, {}}, language, std::move(data)};
}

VersionSpec TwoTableVersion() {
    VersionSpec s;
    s.tables = {{0x409, 1200, {{u"CompanyName", u"Microsoft Corporation"}, {u"FileDescription", u"Wine Registry Editor"},
                               {u"FileVersion", u"5.2.3790.0"}, {u"ProductName", u"Wine"}}},
                {0x804, 1200, {{u"FileDescription", u"注册表编辑器"}, {u"ProductName", u"Wine 程序"}}}};
    s.translations = {{0x409, 1200}, {0x804, 1200}};
    return s;
}

std::vector<std::pair<std::string, Bytes>> VersionSeeds() {
    std::vector<std::pair<std::string, Bytes>> out;
    const VersionSpec two = TwoTableVersion();
    const Bytes good = MakeVersionResource(two);
    const auto with = [&](std::vector<VersionTable> tables) {
        VersionSpec s = two;
        s.tables = std::move(tables);
        return MakeVersionResource(s);
    };
    // Changes `field` (+0 length, +2 value length) of the first block keyed `key`.
    const auto patched = [](Bytes b, const std::u16string& key, std::size_t field, auto change) {
        const std::size_t at = VersionBlockOffset(b, key);
        Put16(b, at + field, static_cast<std::uint16_t>(change(Get16(b, at + field))));
        return b;
    };
    const VersionTable english = two.tables[0], chinese = two.tables[1];
    const VersionTable german{0x407, 1252, {{u"FileDescription", u"Registrierungs-Editor"}}};
    const VersionTable neutral{0x000, 1200, {{u"FileDescription", u"Registry Editor"}}};
    const VersionTable traditional{0x404, 1200, {{u"FileDescription", u"登錄編輯程式"}}};

    out.emplace_back("two-tables", good);
    out.emplace_back("chinese-first", with({chinese, english}));
    out.emplace_back("german-and-neutral", with({german, neutral}));
    out.emplace_back("german-only", with({german}));
    out.emplace_back("traditional-chinese-only", with({traditional}));
    out.emplace_back("no-string-tables", with({}));
    VersionSpec noFixed = two;
    noFixed.fixedInfo = false;
    out.emplace_back("no-fixed-info", MakeVersionResource(noFixed));
    Bytes badSignature = good;
    Put32(badSignature, VersionBlockOffset(good, u"VS_VERSION_INFO") + 40, 0xFEEF04BE);
    out.emplace_back("bad-fixed-signature", badSignature);
    VersionTable emptyDescription = english;
    emptyDescription.values[1].second.clear();
    out.emplace_back("empty-description", with({emptyDescription, chinese}));
    VersionTable surrogates = english;
    // A high half alone, a low half alone, then a whole pair (U+1F600).
    surrogates.values[1].second = u"a\xD800" u"b\xDC00" u"c\xD83D\xDE00";
    out.emplace_back("unpaired-surrogates", with({surrogates}));
    // Cut inside the Chinese table's second string, ProductName.
    const std::size_t chineseAt = VersionBlockOffset(good, u"080404b0");
    const std::size_t cut = chineseAt + VersionBlockOffset(Bytes(good.begin() + static_cast<std::ptrdiff_t>(chineseAt), good.end()),
                                                           u"ProductName") + 10;
    out.emplace_back("truncated", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
    // The English FileDescription claims the most a length can, far more than its table holds.
    out.emplace_back("child-longer-than-parent",
                     patched(good, u"FileDescription", 0, [](std::uint16_t) { return 0xFFFF; }));
    // The Chinese table runs one byte past StringFileInfo's end, into VarFileInfo.
    out.emplace_back("table-past-its-parent", patched(good, u"080404b0", 0, [](std::uint16_t v) { return v + 1; }));
    out.emplace_back("root-past-the-resource", patched(good, u"VS_VERSION_INFO", 0, [](std::uint16_t) { return 0xFFFF; }));
    out.emplace_back("zero-length", patched(good, u"FileDescription", 0, [](std::uint16_t) { return 0; }));
    // Half the value's NUL left out: the block ends on an odd offset.
    out.emplace_back("odd-length", patched(good, u"FileDescription", 0, [](std::uint16_t v) { return v - 1; }));
    out.emplace_back("value-length-in-bytes", patched(good, u"FileDescription", 2, [](std::uint16_t v) { return 2 * v; }));
    out.emplace_back("value-length-zero", patched(good, u"FileDescription", 2, [](std::uint16_t) { return 0; }));
    out.emplace_back("translation-odd-length", patched(good, u"Translation", 2, [](std::uint16_t) { return 6; }));
    Bytes badKey = good;
    badKey[VersionBlockOffset(good, u"040904b0") + 6 + 2 * 5] = 'x';
    out.emplace_back("bad-table-key", badKey);
    Bytes notVersion = good;
    notVersion[6 + 2 * 14] = 'X';  // VS_VERSION_INFX
    out.emplace_back("not-version-info", notVersion);
    out.emplace_back("too-short", Bytes(good.begin(), good.begin() + 7));
    // A String with blocks nested 200 deep below it, and as deep a nest of
    // unknown blocks beside StringFileInfo: the reader reads neither.
    Bytes nest = MakeVersionBlock(u"x", {}, 0, true);
    for (int depth = 0; depth < 200; ++depth) nest = MakeVersionBlock(u"x", {}, 0, true, {nest});
    Bytes value;
    for (char16_t c : std::u16string(u"Wine Registry Editor")) Append16(value, static_cast<std::uint16_t>(c));
    Append16(value, 0);
    const Bytes nestedString = MakeVersionBlock(u"FileDescription", value, 21, true, {nest});
    const Bytes table = MakeVersionBlock(u"040904b0", {}, 0, true, {nestedString});
    Bytes fixed(52, 0);
    Put32(fixed, 0, 0xFEEF04BD);
    out.emplace_back("deep-nesting", MakeVersionBlock(u"VS_VERSION_INFO", fixed, 52, false,
                                                      {MakeVersionBlock(u"StringFileInfo", {}, 0, true, {table}), nest}));
    std::vector<VersionTable> many;
    for (std::uint16_t i = 0; i < 70; ++i) many.push_back({static_cast<std::uint16_t>(0x400 + i), 1200, {{u"N", Hex4(i)}}});
    out.emplace_back("too-many-tables", with(many));

    // Whole files: the version beside icons; none; a named one and other
    // numbers before number 1; and number 1 in two languages.
    const auto pe = [](std::vector<Resource> resources) {
        PeSpec s;
        s.resources = IconResources({{{1, {}}, {{1, 16, 16, 32, MakeDib(SolidDib(16, 16, 32, 0xFF2040C0))}}}});
        s.resources.insert(s.resources.end(), resources.begin(), resources.end());
        return MakePe(s).bytes;
    };
    out.emplace_back("pe-two-tables", pe({VersionResource(good)}));
    out.emplace_back("pe-no-version", pe({}));
    out.emplace_back("pe-named-and-numbered",
                     pe({{ResName{16, {}}, ResName{0, u"VERSION"}, 0x409, with({german})},
                         {ResName{16, {}}, ResName{2, {}}, 0x409, with({neutral})}, VersionResource(good)}));
    out.emplace_back("pe-numbered-2-only", pe({{ResName{16, {}}, ResName{2, {}}, 0x409, with({neutral})}}));
    out.emplace_back("pe-two-languages", pe({VersionResource(with({traditional}), 0x404), VersionResource(good)}));
    // One resource per language, as Wine's libraries have them: Arabic first, English last with a fixed part of its own.
    VersionSpec arabic;
    arabic.fileVersionMs = arabic.productVersionMs = 0x00010000;
    arabic.fileVersionLs = arabic.productVersionLs = 0;
    arabic.tables = {{0x401, 1200, {{u"FileDescription", u"محرر السجل"}}}};
    arabic.translations = {{0x401, 1200}};
    VersionSpec englishOnly = two;
    englishOnly.fileVersionMs = englishOnly.productVersionMs = 0x00020000;
    englishOnly.fileVersionLs = englishOnly.productVersionLs = 5;
    englishOnly.tables = {english};
    englishOnly.translations = {{0x409, 1200}};
    out.emplace_back("pe-many-languages", pe({VersionResource(MakeVersionResource(arabic), 0x401),
                                              VersionResource(with({chinese}), 0x804),
                                              VersionResource(MakeVersionResource(englishOnly), 0x409)}));
    return out;
}

// ---- NE ----

BuiltNe MakeNe(const NeSpec& spec) {
    BuiltNe out;
    Bytes& b = out.bytes;
    b.assign(0x40, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, 0x40);
    out.neOffset = 0x40;
    b.resize(0x80, 0);
    b[0x40] = 'N';
    b[0x41] = 'E';
    b[0x42] = 5;  // linker version
    b[0x76] = 2;  // target OS: Windows
    out.resourceTableOffset = 0x80;

    std::vector<std::uint16_t> typeOrder;
    for (const auto& r : spec.resources)
        if (std::find(typeOrder.begin(), typeOrder.end(), r.type) == typeOrder.end()) typeOrder.push_back(r.type);

    Bytes table;
    Append16(table, spec.alignShift);
    std::vector<std::pair<std::size_t, const NeResource*>> nameInfos;  // where each NAMEINFO sits in `table`
    for (std::uint16_t type : typeOrder) {
        const auto count = std::count_if(spec.resources.begin(), spec.resources.end(), [&](auto& r) { return r.type == type; });
        Append16(table, type);
        Append16(table, static_cast<std::uint16_t>(count));
        Append32(table, 0);
        for (const auto& r : spec.resources) {
            if (r.type != type) continue;
            nameInfos.emplace_back(table.size(), &r);
            table.resize(table.size() + 12, 0);
        }
    }
    Append16(table, 0);
    out.tableEnd = out.resourceTableOffset + table.size();

    Bytes resident = {4, 'T', 'E', 'S', 'T', 0, 0, 0};
    const std::size_t residentAt = out.resourceTableOffset + table.size();
    Put16(b, 0x40 + 0x24, static_cast<std::uint16_t>(out.resourceTableOffset - 0x40));
    Put16(b, 0x40 + 0x26, static_cast<std::uint16_t>(residentAt - 0x40));

    const std::size_t unit = std::size_t{1} << spec.alignShift;
    std::size_t dataAt = RoundUp(residentAt + resident.size(), unit);
    Bytes data;
    for (auto& [at, r] : nameInfos) {
        const std::size_t offset = dataAt + data.size();
        Put16(table, at, static_cast<std::uint16_t>(offset >> spec.alignShift));
        Put16(table, at + 2, static_cast<std::uint16_t>(RoundUp(r->data.size(), unit) >> spec.alignShift));
        Put16(table, at + 4, 0x1C30);  // moveable, pure, discardable
        Put16(table, at + 6, r->id);
        data.insert(data.end(), r->data.begin(), r->data.end());
        AlignTo(data, unit);
    }
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), resident.begin(), resident.end());
    b.resize(dataAt, 0);
    b.insert(b.end(), data.begin(), data.end());
    return out;
}

std::vector<NeResource> NeIconResources(const std::vector<std::vector<GroupImage>>& groups) {
    std::vector<NeResource> out;
    for (const auto& g : groups)
        for (const auto& i : g) out.push_back({0x8003, static_cast<std::uint16_t>(0x8000 | i.id), i.image});
    std::uint16_t id = 1;
    for (const auto& g : groups) out.push_back({0x800E, static_cast<std::uint16_t>(0x8000 | id++), MakeGroupDirectory(g)});
    return out;
}

std::vector<NeResource> NeCursorResources(const std::vector<std::vector<GroupImage>>& groups, std::uint16_t firstGroup) {
    std::vector<NeResource> out;
    for (const auto& g : groups)
        for (const auto& i : g) out.push_back({0x8001, static_cast<std::uint16_t>(0x8000 | i.id), CursorResourceData(i)});
    std::uint16_t id = firstGroup;
    for (const auto& g : groups)
        out.push_back({0x800C, static_cast<std::uint16_t>(0x8000 | id++), MakeCursorGroupDirectory(g)});
    return out;
}

}  // namespace icon_files
