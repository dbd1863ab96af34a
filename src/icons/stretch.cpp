#include "stretch.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace icons {
namespace {

struct Tap {
    int index;
    float weight;
};

// For each output position, the source positions it draws on and their normalised weights.
std::vector<std::vector<Tap>> Weights(int from, int to) {
    std::vector<std::vector<Tap>> out(static_cast<std::size_t>(to));
    const double scale = static_cast<double>(from) / to;
    const double support = std::max(1.0, scale);
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int first = std::max(0, static_cast<int>(std::floor(centre - support)) + 1);
        const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + support)) - 1);
        double sum = 0;
        auto& taps = out[static_cast<std::size_t>(i)];
        for (int s = first; s <= last; ++s) {
            const double w = 1.0 - std::abs(s - centre) / support;
            if (w <= 0) continue;
            taps.push_back({s, static_cast<float>(w)});
            sum += w;
        }
        if (taps.empty()) {
            // Cannot happen for from >= 1, but a nearest pick keeps the output defined.
            taps.push_back({std::clamp(static_cast<int>(std::lround(centre)), 0, from - 1), 1.0f});
            sum = 1;
        }
        for (auto& t : taps) t.weight = static_cast<float>(t.weight / sum);
    }
    return out;
}

int ToByte(float v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

}  // namespace

Icon StretchIcon(const Icon& icon, int width, int height) {
    if (icon.width == width && icon.height == height) return icon;
    Icon out;
    out.width = width;
    out.height = height;
    out.blended = icon.blended;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    out.color.assign(count, 0);
    out.mask.assign(count, 0);
    if (icon.width <= 0 || icon.height <= 0 || width <= 0 || height <= 0) return out;

    const auto across = Weights(icon.width, width);
    const auto down = Weights(icon.height, height);

    // Channels: alpha (or the mask), then red, green, blue; premultiplied when blended.
    std::vector<float> rows(static_cast<std::size_t>(icon.height) * width * 4, 0.0f);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : across[static_cast<std::size_t>(x)]) {
                const std::size_t i = static_cast<std::size_t>(y) * icon.width + t.index;
                const pixels::Argb c = icon.color[i];
                float a;
                float k = 1.0f;
                if (icon.blended) {
                    a = static_cast<float>(pixels::AlphaOf(c));
                    k = a / 255.0f;
                } else {
                    a = icon.mask[i] ? 255.0f : 0.0f;
                }
                acc[0] += t.weight * a;
                acc[1] += t.weight * k * pixels::RedOf(c);
                acc[2] += t.weight * k * pixels::GreenOf(c);
                acc[3] += t.weight * k * pixels::BlueOf(c);
            }
            std::copy(acc, acc + 4, &rows[(static_cast<std::size_t>(y) * width + x) * 4]);
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : down[static_cast<std::size_t>(y)]) {
                const float* p = &rows[(static_cast<std::size_t>(t.index) * width + x) * 4];
                for (int ch = 0; ch < 4; ++ch) acc[ch] += t.weight * p[ch];
            }
            const std::size_t o = static_cast<std::size_t>(y) * width + x;
            if (icon.blended) {
                const int a = ToByte(acc[0]);
                const float unmul = acc[0] > 0 ? 255.0f / acc[0] : 0.0f;
                out.color[o] = pixels::MakeArgb(ToByte(acc[1] * unmul), ToByte(acc[2] * unmul),
                                                  ToByte(acc[3] * unmul), a);
            } else {
                out.color[o] = pixels::MakeArgb(ToByte(acc[1]), ToByte(acc[2]), ToByte(acc[3]));
                out.mask[o] = acc[0] > 127.5f ? 1 : 0;
            }
        }
    }
    return out;
}

Icon StretchIcon(Icon&& icon, int width, int height) {
    if (icon.width == width && icon.height == height) return std::move(icon);
    return StretchIcon(static_cast<const Icon&>(icon), width, height);
}

std::pair<int, int> FitWithin(int width, int height, int size) {
    if (width <= size && height <= size) return {width, height};
    // Rounded to the nearest pixel in 64 bits: a 1024-wide picture times any size fits.
    const auto scaled = [size](long long side, long long longest) {
        return std::max(1, static_cast<int>((side * size + longest / 2) / longest));
    };
    if (width >= height) return {size, scaled(height, width)};
    return {scaled(width, height), size};
}

pixels::Bitmap StretchImage(pixels::Bitmap image, int width, int height) {
    if (image.width == width && image.height == height) return image;
    Icon picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.blended = true;
    picture.color = std::move(image.pixels);
    picture.mask.assign(picture.color.size(), 0);
    Icon scaled = StretchIcon(std::move(picture), width, height);
    image.width = scaled.width;
    image.height = scaled.height;
    image.pixels = std::move(scaled.color);
    return image;
}

}  // namespace icons
