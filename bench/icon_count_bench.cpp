// Counting the icons of a folder of executables, beside the lower bound of
// just opening each file and reading its headers (same files, same run).
//
//   bench_icon_count [FILES]   (default 1200)
//
// Writes the files to a fresh folder under /tmp, reads them once so both
// measurements start from a warm cache, then alternates the two passes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "icon_file_builders.h"
#include "icons/icons.h"

namespace {

using namespace icon_files;
using Clock = std::chrono::steady_clock;

std::vector<std::string> MakeFolder(const std::string& dir, int files, int& expectedIcons) {
    const std::vector<GroupImage> images = {
        {1, 16, 16, 4, MakeDib(SolidDib(16, 16, 4, pixels::MakeArgb(200, 0, 0)))},
        {2, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, pixels::MakeArgb(0, 200, 0)))},
        {3, 32, 32, 32, MakeDib(SolidDib(32, 32, 32, pixels::MakeArgb(0, 0, 200, 180)))},
        {4, 48, 48, 32, MakeDib(SolidDib(48, 48, 32, pixels::MakeArgb(9, 9, 9, 255)))},
    };
    std::vector<std::string> paths;
    expectedIcons = 0;
    for (int i = 0; i < files; ++i) {
        PeSpec spec;
        spec.pe32plus = i % 2 == 0;
        spec.dll = i % 5 == 0;
        spec.codeBytes = 8192 + static_cast<std::size_t>(i % 16) * 8192;  // 8 to 128 KiB of code
        if (i % 3 == 0) {
            spec.resourceSection = i % 6 == 0;  // no icons: some with other resources, some with none
            spec.resources = {{{16, {}}, {1, {}}, 0x409, Bytes(300, 1)}};
        } else {
            std::vector<IconGroupSpec> groups;
            const int n = 1 + i % 7;
            for (int g = 0; g < n; ++g) {
                IconGroupSpec group{{static_cast<std::uint32_t>(g + 1), {}}, {}};
                for (const GroupImage& img : images) {
                    GroupImage copy = img;
                    copy.id = static_cast<std::uint16_t>(g * 4 + img.id);
                    group.images.push_back(copy);
                }
                groups.push_back(group);
            }
            spec.resources = IconResources(groups);
            expectedIcons += n;
        }
        const Bytes b = MakePe(spec).bytes;
        const std::string path = dir + "/prog" + std::to_string(i) + (spec.dll ? ".dll" : ".exe");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        paths.push_back(path);
    }
    return paths;
}

// The least a scan must do: open the file, read the DOS header and the PE headers, close it.
int ReadHeaders(const std::vector<std::string>& paths) {
    int opened = 0;
    unsigned char dos[64];
    unsigned char pe[24 + 240];
    for (const std::string& p : paths) {
        const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (::pread(fd, dos, sizeof dos, 0) == static_cast<ssize_t>(sizeof dos)) {
            const unsigned at = dos[0x3C] | (dos[0x3D] << 8) | (dos[0x3E] << 16) | (static_cast<unsigned>(dos[0x3F]) << 24);
            opened += ::pread(fd, pe, sizeof pe, at) == static_cast<ssize_t>(sizeof pe);
        }
        ::close(fd);
    }
    return opened;
}

int CountAll(const std::vector<std::string>& paths) {
    int total = 0;
    for (const std::string& p : paths) total += icons::CountIconsInFile(p);
    return total;
}

int ExtractFirst(const std::vector<std::string>& paths) {
    int drawn = 0;
    for (const std::string& p : paths) drawn += icons::ExtractIconFromFile(p, 0).has_value();
    return drawn;
}

template <typename F>
double Millis(F&& f, int& result) {
    const auto start = Clock::now();
    result = f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1200;
    constexpr int kRounds = 7;
    char tmpl[] = "/tmp/tessel-bench-XXXXXX";
    if (!mkdtemp(tmpl)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = tmpl;
    int expected = 0;
    const std::vector<std::string> paths = MakeFolder(dir, files, expected);
    std::uintmax_t bytes = 0;
    for (const auto& p : paths) bytes += std::filesystem::file_size(p);
    std::printf("folder: %d PE files (%d with icon groups, %d icons), %.1f MiB in %s\n", files,
                files - (files + 2) / 3, expected, static_cast<double>(bytes) / (1 << 20), dir.c_str());

    // Warm the cache with a full read of every file, so neither pass pays for the first touch.
    std::vector<char> sink(1 << 16);
    for (const auto& p : paths) {
        std::ifstream in(p, std::ios::binary);
        while (in.read(sink.data(), static_cast<std::streamsize>(sink.size()))) {
        }
    }

    std::vector<double> headers, counts, extracts;
    int opened = 0, icons = 0, drawn = 0;
    for (int r = 0; r < kRounds; ++r) {
        headers.push_back(Millis([&] { return ReadHeaders(paths); }, opened));
        counts.push_back(Millis([&] { return CountAll(paths); }, icons));
        extracts.push_back(Millis([&] { return ExtractFirst(paths); }, drawn));
    }
    std::printf("%-38s %10s %12s\n", "pass (median of 7)", "ms", "us per file");
    auto row = [&](const char* name, const std::vector<double>& t) {
        std::printf("%-38s %10.2f %12.2f\n", name, Median(t), Median(t) * 1000.0 / files);
    };
    row("open + read headers (lower bound)", headers);
    row("count icons (CountIconsInFile)", counts);
    row("extract icon 0 (ExtractIconFromFile)", extracts);
    std::printf("count / lower bound: %.2fx\n", Median(counts) / Median(headers));
    std::printf("checks: %d headers read, %d icons counted (expected %d), %d icons drawn\n", opened, icons, expected, drawn);

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return icons == expected && opened == files ? 0 : 1;
}
