// tessel-iconinfo: the icon count of each file, and optionally every icon as
// the 32x32 cell image (drawn on white) in PNG files.
//
//   tessel-iconinfo FILE...
//   tessel-iconinfo --export DIR FILE...
//   tessel-iconinfo --version
//
// Exit status 0 when every file could be read (a count of 0 is fine), 1 when
// one could not be opened or an icon could not be written, 2 on a usage error.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/icons/icons.h"
#include "png_file.h"
#include "tessel_version.h"

namespace {

constexpr const char* kName = "tessel-iconinfo";

int Usage() {
    std::cerr << "usage: " << kName << " [--export DIR] FILE...\n";
    return 2;
}

// Writes icons 0..count-1 of the file; an index that yields no icon is skipped, as the window does.
bool ExportIcons(const platform::icons::ByteSource& source, int count, const std::string& path,
                 const std::filesystem::path& dir) {
    bool ok = true;
    const std::string base = std::filesystem::path(path).filename().string();
    for (int i = 0; i < count; ++i) {
        const auto icon = platform::icons::ExtractIcon(source, i);
        if (!icon) continue;
        platform::Bitmap cell(platform::icons::kStandardIconSize, platform::icons::kStandardIconSize,
                              platform::MakeArgb(255, 255, 255));
        platform::icons::DrawIcon(cell, 0, 0, *icon);
        const std::string out = (dir / (base + "." + std::to_string(i) + ".png")).string();
        if (!cli::WritePngFile(out, cell)) {
            std::cerr << kName << ": cannot write " << out << "\n";
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::string exportDir;
    bool exporting = false;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--export") {
            if (i + 1 >= argc) return Usage();
            exportDir = argv[++i];
            exporting = true;
        } else if (options && arg == "--version") {
            std::cout << kName << ' ' << tessel::kVersion << '\n';
            return 0;
        } else if (options && (arg == "-h" || arg == "--help")) {
            Usage();
            return 0;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            std::cerr << kName << ": unknown option " << arg << "\n";
            return Usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) return Usage();

    if (exporting) {
        std::error_code ec;
        std::filesystem::create_directories(exportDir, ec);
        if (!std::filesystem::is_directory(exportDir)) {
            std::cerr << kName << ": cannot create folder " << exportDir << "\n";
            return 1;
        }
    }

    bool ok = true;
    for (const std::string& path : files) {
        errno = 0;
        const platform::icons::FileSource source(path);
        if (!source.ok()) {
            const char* why = errno != 0 ? std::strerror(errno) : "not a regular file";
            std::cerr << kName << ": cannot open " << path << ": " << why << "\n";
            ok = false;
            continue;
        }
        const int count = platform::icons::CountIcons(source);
        std::cout << count << '\t' << path << '\n';
        if (exporting) ok = ExportIcons(source, count, path, exportDir) && ok;
    }
    std::cout.flush();
    return ok ? 0 : 1;
}
