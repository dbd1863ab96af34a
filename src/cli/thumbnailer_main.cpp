// tessel-thumbnailer: the freedesktop thumbnailer of Windows files. A file
// manager runs it as its .thumbnailer entry says, with %s %i %o:
//
//   tessel-thumbnailer -s SIZE INPUT OUTPUT
//
// Exit status 0 with OUTPUT written as a PNG; 1, with one line on stderr and
// OUTPUT untouched, when INPUT has no icon, cannot be read, or OUTPUT cannot be
// written; 2 on a usage error. Needs no display.
//
// GNOME names an OUTPUT that is not there yet: the PNG is made beside it and
// takes its name. Tumbler (Thunar's thumbnail service) makes OUTPUT itself,
// empty, and reads the thumbnail back through the descriptor it kept: the PNG
// is written into that very file, which stays empty on a failure.

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "confinement.h"
#include "icons/system_resources.h"
#include "system/whole_file.h"
#include "thumbnail.h"
#include "tessel_version.h"

namespace {

constexpr const char* kName = "tessel-thumbnailer";
// Past this a thumbnail is no longer one; the biggest freedesktop size is 1024.
constexpr int kMaxSize = 4096;

int Usage() {
    std::cerr << "usage: " << kName << " -s SIZE INPUT OUTPUT\n";
    return 2;
}

int Fail(const std::string& why) {
    std::cerr << kName << ": " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int size = 0;
    std::string paths[2];
    int npaths = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::cout << kName << ' ' << tessel::kVersion << '\n';
            return 0;
        }
        if (arg == "-h" || arg == "--help") {
            std::cout << "usage: " << kName << " -s SIZE INPUT OUTPUT\n"
                      << "Writes the first icon of a Windows file (EXE, DLL, ICO, CUR) as a PNG\n"
                      << "no larger than SIZE x SIZE, for a file manager's thumbnails.\n";
            return 0;
        }
        if (arg == "-s") {
            if (i + 1 >= argc) return Usage();
            const std::string_view value = argv[++i];
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), size);
            if (ec != std::errc() || end != value.data() + value.size() || size < 1 || size > kMaxSize) {
                std::cerr << kName << ": SIZE must be a whole number from 1 to " << kMaxSize << "\n";
                return 2;
            }
        } else if (npaths < 2) {
            paths[npaths++] = std::string(arg);
        } else {
            return Usage();
        }
    }
    if (size == 0 || npaths != 2) return Usage();
    const std::string& input = paths[0];
    const std::string& output = paths[1];

    errno = 0;
    // A system library's icons may live in its resource module: both are
    // opened now, and read only once confined.
    const icons::IconFileAt file(input);
    if (!file.ok()) return Fail("cannot open " + input + ": " + (errno != 0 ? std::strerror(errno) : "not a regular file"));
    // The output (or its temporary file) is opened before a byte of the input
    // is read, so that the reader runs confined to these two files.
    errno = 0;
    platform::WholeFile thumbnailFile(output, platform::ExistingFile::WriteInto);
    const auto cannotWrite = [&] {
        return Fail("cannot write " + output + (errno != 0 ? std::string(": ") + std::strerror(errno) : ""));
    };
    if (!thumbnailFile.ok()) return cannotWrite();
    cli::Confine({file.own().fd(), thumbnailFile.fd(), thumbnailFile.folder(), file.module() ? file.module()->fd() : -1});

    const cli::Thumbnail thumbnail = cli::MakeThumbnail(file.icons(), size);
    if (!thumbnail.image) return Fail(std::string(thumbnail.failure) + " " + input);
    const auto png = icons::EncodePng(*thumbnail.image);
    if (!png) return Fail("cannot encode the icon of " + input);
    errno = 0;
    if (!thumbnailFile.commit(*png)) return cannotWrite();
    return 0;
}
