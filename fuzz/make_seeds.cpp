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
    for (int bpp : {1, 4, 8, 16, 24, 32}) out.push_back(MakeDib(SolidDib(8, 6, bpp, platform::MakeArgb(200, 30, 90, 128))));
    DibSpec fields = SolidDib(5, 3, 16, 0xF81F);
    fields.compression = kBiBitfields;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    out.push_back(MakeDib(fields));
    DibSpec fields32 = SolidDib(4, 4, 32, 0x80102030);
    fields32.compression = kBiBitfields;
    fields32.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    out.push_back(MakeDib(fields32));
    const std::vector<platform::Argb> px = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF808080};
    for (PngKind k : {PngKind::Rgba8, PngKind::Rgb8, PngKind::Gray8, PngKind::Palette8, PngKind::Rgba16, PngKind::GrayAlpha8})
        out.push_back(MakePng(2, 2, px, k));
    return out;
}

std::vector<GroupImage> Group(std::uint16_t firstId) {
    const auto images = Images();
    return {{firstId, 8, 6, 4, images[1]}, {static_cast<std::uint16_t>(firstId + 1), 8, 6, 32, images[5]},
            {static_cast<std::uint16_t>(firstId + 2), 2, 2, 32, images[8]}};
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

    for (bool plus : {false, true}) {
        PeSpec s;
        s.pe32plus = plus;
        s.resources = IconResources({{{0, u"MAIN"}, Group(1)}, {{7, {}}, Group(4)}});
        Write(root / "pe", plus ? "pe32plus" : "pe32", MakePe(s).bytes);
    }
    PeSpec bare;
    bare.resourceSection = false;
    Write(root / "pe", "no-resources", MakePe(bare).bytes);

    for (std::uint16_t shift : {0, 4, 9}) {
        NeSpec s;
        s.alignShift = shift;
        s.resources = NeIconResources({Group(1), Group(4)});
        Write(root / "ne", "ne-shift" + std::to_string(shift), MakeNe(s).bytes);
    }
    std::cout << "seeds written under " << root << "\n";
    return 0;
}
