#include "icon_set.h"

#include <algorithm>
#include <filesystem>

#include "stretch.h"

namespace icons {
namespace {

// The picture centred on a transparent size x size square.
pixels::Bitmap Centred(const pixels::Bitmap& image, int size) {
    pixels::Bitmap out(size, size, 0);
    out.inverted = image.inverted;
    const int left = (size - image.width) / 2, top = (size - image.height) / 2;
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width,
                    out.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * size + left);
    }
    return out;
}

// A UTF-8 sequence is one character, so one '-' stands for it.
std::size_t CharacterLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::vector<IconSetImage> MakeIconSet(const IconFile& file, int index) {
    std::vector<IconSetImage> set;
    const auto icon = file.describe(index);
    const int largest = icon ? LargestImage(*icon) : -1;
    if (largest < 0) return set;
    const ImageDescription& top = icon->images[static_cast<std::size_t>(largest)];
    const int longest = std::max(top.width, top.height);
    for (const int size : kHicolorSizes) {
        if (size > longest) break;
        const int k = ChosenImage(*icon, size);
        auto image = k < 0 ? std::nullopt : file.decode(index, k);
        if (!image || image->width <= 0 || image->height <= 0) continue;
        const auto [width, height] = FitWithin(image->width, image->height, size);
        pixels::Bitmap scaled = StretchImage(std::move(*image), width, height);
        auto png = EncodePng(width == size && height == size ? scaled : Centred(scaled, size));
        if (png) set.push_back({size, std::move(*png)});
    }
    return set;
}

std::string DefaultIconName(const std::string& file) {
    const std::string stem = std::filesystem::path(file).stem().string();
    std::string name;
    for (std::size_t i = 0; i < stem.size();) {
        const auto c = static_cast<unsigned char>(stem[i]);
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
        const bool kept = (lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9') || lower == '_' ||
                          lower == '-' || (lower == '.' && !name.empty());
        name += kept ? lower : '-';
        i += CharacterLength(c);
    }
    return name.empty() ? "icon" : name;
}

const char* IconNameProblem(const std::string& name) {
    if (name.empty()) return "a name cannot be empty";
    if (name.find('/') != std::string::npos) return "a name cannot hold '/'";
    if (name.front() == '.') return "a name cannot start with '.'";
    return nullptr;
}

}  // namespace icons
