// Writes the seed corpora of the fuzz targets from the test file builders:
//   fuzz_make_seeds <corpus folder>
// Run by hand after changing the builders; the results are committed.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "icon_file_builders.h"

namespace {

using namespace icon_files;

void Write(const std::filesystem::path& dir, const std::string& name, const Bytes& b) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::vector<Bytes> Images() {
    std::vector<Bytes> out;
    for (int bpp : {1, 4, 8, 16, 24, 32}) out.push_back(MakeDib(SolidDib(8, 6, bpp, pixels::MakeArgb(200, 30, 90, 128))));
    DibSpec fields = SolidDib(5, 3, 16, 0xF81F);
    fields.compression = kBiBitfields;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    out.push_back(MakeDib(fields));
    DibSpec fields32 = SolidDib(4, 4, 32, 0x80102030);
    fields32.compression = kBiBitfields;
    fields32.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    out.push_back(MakeDib(fields32));
    const std::vector<pixels::Argb> px = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF808080};
    for (PngKind k : {PngKind::Rgba8, PngKind::Rgb8, PngKind::Gray8, PngKind::Palette8, PngKind::Rgba16, PngKind::GrayAlpha8})
        out.push_back(MakePng(2, 2, px, k));
    return out;
}

std::vector<GroupImage> Group(std::uint16_t firstId) {
    const auto images = Images();
    return {{firstId, 8, 6, 4, images[1]}, {static_cast<std::uint16_t>(firstId + 1), 8, 6, 32, images[5]},
            {static_cast<std::uint16_t>(firstId + 2), 2, 2, 32, images[8]}};
}

// An animated cursor as cursor editors write one: a title, the header (its
// frame and step counts true, frames flagged as icon files, a sequence flagged
// when there is one), the sequence, and the frames.
Bytes Ani(const std::vector<Bytes>& frames, const std::vector<std::uint32_t>& sequence = {}) {
    const auto append = [](Bytes& b, std::uint32_t v) {
        b.resize(b.size() + 4);
        Put32(b, b.size() - 4, v);
    };
    Bytes header, seq;
    const auto n = static_cast<std::uint32_t>(frames.size()), steps = static_cast<std::uint32_t>(sequence.size());
    const std::uint32_t flags = steps ? 3 : 1;
    // Size, frames, steps, width, height, bit count, planes, rate in 1/60 s, flags.
    for (std::uint32_t v : {36u, n, steps ? steps : n, 0u, 0u, 0u, 0u, 10u, flags}) append(header, v);
    for (std::uint32_t v : sequence) append(seq, v);
    std::vector<Bytes> chunks = {MakeList("INFO", {MakeChunk("INAM", {'W', 'a', 'i', 't', 0})}), MakeChunk("anih", header)};
    if (steps) chunks.push_back(MakeChunk("seq ", seq));
    std::vector<Bytes> icons;
    for (const Bytes& f : frames) icons.push_back(MakeChunk("icon", f));
    chunks.push_back(MakeList("fram", icons));
    return MakeList("ACON", chunks, "RIFF");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds <corpus folder>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const auto images = Images();
    for (std::size_t i = 0; i < images.size(); ++i) Write(root / "image", "seed-" + std::to_string(i), images[i]);

    for (std::size_t i = 0; i < images.size(); ++i) {
        Write(root / "ico", "ico-" + std::to_string(i), MakeIco({{8, 6, 0, 1, 32, images[i]}}));
    }
    Write(root / "ico", "ico-many", MakeIco({{8, 6, 0, 1, 4, images[1]}, {8, 6, 0, 1, 32, images[5]}, {0, 0, 0, 1, 32, images[8]}}));
    Write(root / "ico", "cur", MakeIco({{8, 6, 0, 3, 2, images[0]}}, 2));
    // Hostile: the second entry points past the end, and the header claims 65,535 entries.
    Bytes hostileIco = MakeIco({{8, 6, 0, 1, 4, images[1]}, {8, 6, 0, 1, 32, images[5]}, {2, 2, 0, 1, 32, images[8]}});
    Put32(hostileIco, IcoEntryOffset(1) + 12, static_cast<std::uint32_t>(hostileIco.size()));
    Put16(hostileIco, 4, 0xFFFF);
    Write(root / "ico", "hostile", hostileIco);

    // Animated cursors: cursor frames; icon frames with a sequence; odd chunks,
    // a list within the frame list and a frame that is no icon; and one cut short.
    const Bytes cursorFrame = MakeIco({{8, 6, 0, 3, 2, images[0]}}, 2);
    const Bytes iconFrame = MakeIco({{8, 6, 0, 1, 4, images[1]}, {2, 2, 0, 1, 32, images[9]}});
    const Bytes cursors = Ani({cursorFrame, MakeIco({{2, 2, 0, 1, 1, images[8]}}, 2), cursorFrame});
    Write(root / "ani", "cursor-frames", cursors);
    Write(root / "ani", "icon-frames-seq",
          Ani({iconFrame, MakeIco({{2, 2, 0, 1, 32, images[10]}})}, {0, 1, 1, 0}));
    Write(root / "ani", "odd-nested",
          MakeList("ACON", {MakeChunk("anih", Bytes(36, 0)), MakeChunk("junk", {1, 2, 3}),
                            MakeList("fram", {MakeChunk("icon", iconFrame), MakeChunk("odd ", {7}),
                                              MakeList("fram", {MakeChunk("icon", cursorFrame)}),
                                              MakeChunk("icon", {'n', 'o', 'n', 'e'}), MakeChunk("icon", cursorFrame)})},
                   "RIFF"));
    Write(root / "ani", "truncated", Bytes(cursors.begin(), cursors.end() - static_cast<std::ptrdiff_t>(cursorFrame.size() / 2)));
    // The RIFF size as real files get it wrong: 0 (Winamp skins), and past the end.
    Bytes unsized = cursors, oversized = cursors;
    Put32(unsized, 4, 0);
    Put32(oversized, 4, static_cast<std::uint32_t>(cursors.size()));
    Write(root / "ani", "riff-size-zero", unsized);
    Write(root / "ani", "riff-size-past-end", oversized);

    for (bool plus : {false, true}) {
        PeSpec s;
        s.pe32plus = plus;
        s.resources = IconResources({{{0, u"MAIN"}, Group(1)}, {{7, {}}, Group(4)}});
        Write(root / "pe", plus ? "pe32plus" : "pe32", MakePe(s).bytes);
    }
    // Hostile groups: an ID with no RT_ICON, an empty image, and a count of 65,535.
    std::vector<GroupImage> hostile = Group(1);
    hostile.push_back({20, 8, 6, 32, Bytes()});
    hostile.push_back({21, 8, 6, 32, images[5]});
    PeSpec h;
    for (Resource& r : IconResources({{{3, {}}, hostile}})) {
        if (r.type.id == 3 && r.name.id == 21) continue;  // the missing RT_ICON
        if (r.type.id == 14) Put16(r.data, 4, 0xFFFF);
        h.resources.push_back(r);
    }
    Write(root / "pe", "hostile-group", MakePe(h).bytes);
    NeSpec hne;
    for (NeResource& r : NeIconResources({hostile})) {
        if (r.type == 0x8003 && r.id == (0x8000 | 21)) continue;
        if (r.type == 0x800E) Put16(r.data, 4, 0xFFFF);
        hne.resources.push_back(r);
    }
    Write(root / "ne", "hostile-group", MakeNe(hne).bytes);

    // A program's cursors after its icons, the hotspots in each image's
    // resource; and a cursor group whose images are cut to their hotspots.
    std::vector<GroupImage> cursor = Group(1);
    for (GroupImage& g : cursor) g.hotspotX = 3, g.hotspotY = 2;
    std::vector<GroupImage> bare4 = {{30, 8, 6, 32, Bytes()}};
    PeSpec pc;
    pc.resources = IconResources({{{0, u"MAIN"}, Group(4)}});
    for (Resource& r : CursorResources({{{0, u"ARROW"}, cursor}, {{9, {}}, bare4}})) pc.resources.push_back(r);
    Write(root / "pe", "cursor-groups", MakePe(pc).bytes);
    NeSpec nc;
    nc.resources = NeCursorResources({cursor, bare4});
    for (NeResource& r : NeIconResources({Group(4)})) nc.resources.push_back(r);
    Write(root / "ne", "cursor-groups", MakeNe(nc).bytes);

    PeSpec bare;
    bare.resourceSection = false;
    Write(root / "pe", "no-resources", MakePe(bare).bytes);

    for (std::uint16_t shift : {0, 4, 9}) {
        NeSpec s;
        s.alignShift = shift;
        s.resources = NeIconResources({Group(1), Group(4)});
        Write(root / "ne", "ne-shift" + std::to_string(shift), MakeNe(s).bytes);
    }
    // Version resources, well-formed and broken; Wine's own (wine-*.res) are
    // cut out of its files with wrestool and kept as they are.
    for (const auto& [name, bytes] : VersionSeeds()) Write(root / "version", name, bytes);
    std::cout << "seeds written under " << root << "\n";
    return 0;
}
