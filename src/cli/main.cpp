// tessel-iconinfo: the icon count of each file, and on request what each icon
// holds and the icons themselves written out.
//
//   tessel-iconinfo [--cursors] [--export DIR [--size N]] [--save-ico DIR] [--images DIR] [--list] [--json] FILE...
//   tessel-iconinfo [--hicolor DIR] [--desktop-entry DIR] [--name NAME] [--index K] [--json] FILE
//   tessel-iconinfo --version
//
// Exit status 0 when every file could be read (a count of 0 is fine), 1 when
// one could not be opened or something could not be written, 2 on a usage error.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "icons/executable.h"
#include "icons/icon_file.h"
#include "icons/system_resources.h"
#include "icons/icon_set.h"
#include "icons/version_info.h"
#include "icons/whole_icon.h"
#include "system/launcher_files.h"
#include "system/whole_file.h"
#include "tessel_version.h"

namespace {

constexpr const char* kName = "tessel-iconinfo";

constexpr const char* kHelp =
    "usage: tessel-iconinfo [OPTION]... FILE...\n"
    "Prints the icon count of each Windows file (EXE, DLL, ICO, CUR) as COUNT<tab>FILE.\n"
    "The frames of an animated cursor (ANI) are its icons, each an ICO or CUR file.\n"
    "\n"
    "  --cursors        count a program's cursor groups too, after its icons, and\n"
    "                   treat them as icons in every option below\n"
    "  --export DIR     write each icon as the 32x32 cell shows it, FILE.INDEX.png\n"
    "  --size N         with --export, draw N x N instead (16 to 1024), the image\n"
    "                   chosen for that size; --list and --json mark that image shown\n"
    "  --save-ico DIR   write each whole icon, every image as stored, FILE.INDEX.ico\n"
    "                   (FILE.INDEX.cur for a cursor file or a program's cursor,\n"
    "                   its hotspot kept); a frame of an animated cursor as the\n"
    "                   very file it holds\n"
    "  --images DIR     write every image of every icon at its own size with its\n"
    "                   transparency, FILE.INDEX-K.png, K its place in the icon from 0\n"
    "  --list           after each count, a program's version line (version, its\n"
    "                   FileDescription, ProductName and file version) when it has\n"
    "                   one, then one line per icon: index, resource name or\n"
    "                   number, and its images (size, bit depth, PNG or DIB, bytes)\n"
    "  --json           print what --list prints as one JSON document instead\n"
    "\n"
    "For a Windows program run with Wine, one FILE:\n"
    "  --hicolor DIR    write icon K's images as an icon theme has them,\n"
    "                   DIR/SxS/apps/NAME.png for S = 16 22 24 32 48 64 96 128 256 512\n"
    "                   up to the size of its largest image; refreshes the theme's\n"
    "                   icon cache when it has one (~/.local/share/icons/hicolor)\n"
    "  --desktop-entry DIR  write the program's menu entry, DIR/NAME.desktop, that\n"
    "                   runs it with wine (~/.local/share/applications)\n"
    "  --name NAME      the name of both (default: the file's name without its\n"
    "                   ending, lowercased, other than a-z 0-9 . _ - made '-')\n"
    "  --index K        the icon to write (default 0, the one Explorer shows)\n"
    "  --json           print the files written as a JSON list of {size, path}\n"
    "Each file written is printed, one a line.\n"
    "\n"
    "  --version        show the version\n"
    "  -h, --help       show this help\n"
    "Options combine. Exit status: 0 all files read, 1 a file could not be read or\n"
    "something could not be written, 2 a usage error.\n";

int Usage() {
    std::cerr << "usage: " << kName << " [--cursors] [--export DIR [--size N]] [--save-ico DIR] [--images DIR] [--list] [--json] FILE...\n"
              << "       " << kName << " [--hicolor DIR] [--desktop-entry DIR] [--name NAME] [--index K] [--json] FILE\n";
    return 2;
}

struct Options {
    std::string exportDir, saveIcoDir, imagesDir;
    std::string hicolorDir, desktopDir, name;
    bool named = false;
    int index = -1;  // -1: not given
    bool list = false;
    bool json = false;
    bool cursors = false;
    int size = icons::kStandardIconSize;
    std::vector<std::string> files;
};

// What --list and --json tell of one image beyond its description.
struct ImageState {
    bool readable = false;
    bool inverted = false;
};

struct IconListing {
    int index = 0;
    icons::IconDescription description;
    std::vector<ImageState> states;
};

bool MakeFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (std::filesystem::is_directory(dir)) return true;
    std::cerr << kName << ": cannot create folder " << dir << "\n";
    return false;
}

bool Write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    if (platform::WriteWholeFile(file.string(), bytes)) return true;
    std::cerr << kName << ": cannot write " << file.string() << "\n";
    return false;
}

// The cell's picture: the icon drawn at its size on white, opaque.
std::optional<std::vector<std::uint8_t>> CellPng(const icons::Icon& icon) {
    pixels::Bitmap cell(icon.width, icon.height, pixels::MakeArgb(255, 255, 255));
    icons::DrawIcon(cell, 0, 0, icon);
    return icons::EncodePng(cell);
}

// JSON wants UTF-8; a byte that is not part of a valid sequence becomes U+FFFD.
std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            const std::size_t len = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
            // The second byte's range rules out overlong forms, UTF-16 surrogates and code points past U+10FFFF.
            const unsigned lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
            const unsigned hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
            bool valid = len != 0 && i + len <= s.size();
            for (std::size_t k = 1; valid && k < len; ++k) {
                const unsigned b = static_cast<unsigned char>(s[i + k]);
                valid = k == 1 ? b >= lo && b <= hi : (b & 0xC0) == 0x80;
            }
            if (valid) {
                out.append(s, i, len);
                i += len;
            } else {
                out += "\\ufffd";
                ++i;
            }
        }
    }
    return out + "\"";
}

std::string ImageText(const icons::ImageDescription& d, const ImageState& s, bool shown) {
    std::ostringstream o;
    o << d.width << 'x' << d.height << ' ' << d.depth << "-bit " << (d.png ? "PNG" : "DIB") << ' ' << d.bytes << " bytes";
    if (shown) o << " [shown]";
    if (!s.readable) o << " [unreadable]";
    if (s.inverted) o << " [inverted, given as drawn on white]";
    return o.str();
}

std::string IconName(const icons::IconDescription& d, const std::string& base) { return d.name.empty() ? base : d.name; }

void PrintListing(const std::vector<IconListing>& listing, const std::string& base) {
    for (const IconListing& icon : listing) {
        std::cout << '\t' << icon.index << '\t' << IconName(icon.description, base) << '\t';
        for (std::size_t k = 0; k < icon.description.images.size(); ++k) {
            if (k != 0) std::cout << ", ";
            std::cout << ImageText(icon.description.images[k], icon.states[k], icon.description.shown == static_cast<int>(k));
        }
        std::cout << '\n';
    }
}

std::string JsonListing(const std::vector<IconListing>& listing, const std::string& base) {
    std::ostringstream o;
    o << '[';
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const IconListing& icon = listing[i];
        const icons::IconDescription& d = icon.description;
        o << (i ? "," : "") << "{\"index\":" << icon.index << ",\"name\":" << JsonString(IconName(d, base))
          << ",\"cursor\":" << (d.cursor ? "true" : "false") << ",\"shown\":" << d.shown << ",\"images\":[";
        for (std::size_t k = 0; k < d.images.size(); ++k) {
            const icons::ImageDescription& m = d.images[k];
            o << (k ? "," : "") << "{\"width\":" << m.width << ",\"height\":" << m.height << ",\"depth\":" << m.depth
              << ",\"format\":\"" << (m.png ? "PNG" : "DIB") << "\",\"bytes\":" << m.bytes
              << ",\"readable\":" << (icon.states[k].readable ? "true" : "false")
              << ",\"inverted\":" << (icon.states[k].inverted ? "true" : "false") << '}';
        }
        o << "]}";
    }
    o << ']';
    return o.str();
}

// What --list and --json tell of a program's version resource.
struct VersionListing {
    std::optional<std::string> description, product;
    std::string fileVersion, productVersion;  // empty when the resource has neither
};

std::optional<VersionListing> ListVersion(const icons::IconFile& file) {
    const auto info = file.versionInfo();
    if (!info) return std::nullopt;
    return VersionListing{info->String("FileDescription"), info->String("ProductName"), info->FileVersionText(),
                          info->ProductVersionText()};
}

// A field of a tab-separated line: tabs and line breaks would split it, so they become spaces.
std::string LineField(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

void PrintVersion(const VersionListing& v) {
    std::cout << "\tversion\t" << LineField(v.description.value_or("")) << '\t' << LineField(v.product.value_or(""))
              << '\t' << LineField(v.fileVersion) << '\n';
}

std::string JsonVersion(const VersionListing& v) {
    const auto text = [](const std::optional<std::string>& s) { return s ? JsonString(*s) : std::string("null"); };
    const auto version = [](const std::string& s) { return s.empty() ? std::string("null") : JsonString(s); };
    return "{\"description\":" + text(v.description) + ",\"product\":" + text(v.product) +
           ",\"fileVersion\":" + version(v.fileVersion) + ",\"productVersion\":" + version(v.productVersion) + "}";
}

// Everything asked of one opened file; false when something could not be written.
bool Process(const icons::IconFile& file, int count, const std::string& path, const Options& opt,
             std::ostringstream& json) {
    bool ok = true;
    const std::string base = std::filesystem::path(path).filename().string();
    std::vector<IconListing> listing;
    if (opt.list || opt.json) {
        if (const auto version = ListVersion(file)) {
            if (opt.json) json << ",\"version\":" << JsonVersion(*version);
            else PrintVersion(*version);
        }
    }
    for (int i = 0; i < count; ++i) {
        const std::string stem = base + "." + std::to_string(i);
        if (!opt.exportDir.empty()) {
            // An index that yields no icon is skipped, as the window does.
            if (const auto icon = file.extract(i, opt.size)) {
                const auto png = CellPng(*icon);
                ok = png && Write(std::filesystem::path(opt.exportDir) / (stem + ".png"), *png) && ok;
            }
        }
        const bool wantImages = !opt.imagesDir.empty() || opt.list || opt.json;
        if (!opt.saveIcoDir.empty() || wantImages) {
            const auto description = file.describe(i, opt.size);
            if (!opt.saveIcoDir.empty()) {
                if (const auto bytes = file.fileBytes(i)) {
                    const bool cursor = description && description->cursor;
                    ok = Write(std::filesystem::path(opt.saveIcoDir) / icons::WholeIconFileName(base, i, cursor), *bytes) && ok;
                }
            }
            IconListing entry{i, description.value_or(icons::IconDescription{}), {}};
            if (wantImages) {
                for (std::size_t k = 0; k < entry.description.images.size(); ++k) {
                    // A listing only needs to know of inverted pixels, which a PNG cannot have,
                    // and a large PNG costs more to decode than all of its icon's DIBs.
                    if (opt.imagesDir.empty() && entry.description.images[k].png) {
                        entry.states.push_back({true, false});
                        continue;
                    }
                    const auto image = file.decode(i, static_cast<int>(k));
                    entry.states.push_back({image.has_value(), image && image->inverted});
                    if (!image || opt.imagesDir.empty()) continue;
                    const auto png = icons::EncodePng(*image);
                    ok = png && Write(std::filesystem::path(opt.imagesDir) / icons::IconImageFileName(base, i, static_cast<int>(k)),
                                      *png) && ok;
                }
            }
            listing.push_back(std::move(entry));
        }
    }
    if (opt.json) json << ",\"icons\":" << JsonListing(listing, base);
    else if (opt.list) PrintListing(listing, base);
    return ok;
}

// --hicolor and --desktop-entry: the program's icon set and menu entry, under
// one name. Everything is checked before the first file is written, so a file
// that cannot give them leaves the folders as they were.
int InstallLauncher(const Options& opt) {
    const std::string& path = opt.files.front();
    errno = 0;
    const icons::IconFileAt opened(path);
    if (!opened.ok()) {
        std::cerr << kName << ": cannot open " << path << ": " << (errno != 0 ? std::strerror(errno) : "not a regular file") << "\n";
        return 1;
    }
    const icons::IconFile& file = opened.icons();
    // The program itself, for what it is and what it calls itself.
    const icons::BufferedSource buffered(opened.own());
    const int count = file.count();
    const int index = std::max(opt.index, 0);
    if (count == 0) {
        std::cerr << kName << ": no icon in " << path << "\n";
        return 1;
    }
    if (index >= count) {
        std::cerr << kName << ": " << path << " has " << count << (count == 1 ? " icon" : " icons") << ", the last is "
                  << count - 1 << "\n";
        return 1;
    }
    if (!opt.desktopDir.empty() && !icons::ReadNewHeader(buffered)) {
        std::cerr << kName << ": " << path << " is no Windows program, which a menu entry could start\n";
        return 1;
    }
    const std::string name = opt.named ? opt.name : icons::DefaultIconName(std::filesystem::path(path).filename().string());

    std::vector<platform::WrittenFile> written;
    platform::LauncherResult result;
    if (!opt.hicolorDir.empty()) {
        result = platform::InstallIconSet(file, index, opt.hicolorDir, name);
        written = result.written;
        if (result.failure == platform::LauncherFailure::NoIcon) {
            std::cerr << kName << ": cannot read icon " << index << " of " << path << "\n";
            return 1;
        }
    }
    if (result.ok() && !opt.desktopDir.empty()) {
        std::error_code ec;
        const std::string program = std::filesystem::absolute(path, ec).lexically_normal().string();
        result = platform::WriteDesktopEntry(opt.desktopDir, name, program, icons::ReadVersionInfo(buffered));
        written.insert(written.end(), result.written.begin(), result.written.end());
    }
    if (opt.json) {
        std::cout << '[';
        for (std::size_t i = 0; i < written.size(); ++i) {
            std::cout << (i ? "," : "") << "{\"size\":";
            if (written[i].size) std::cout << written[i].size;
            else std::cout << "null";
            std::cout << ",\"path\":" << JsonString(written[i].path) << '}';
        }
        std::cout << "]\n";
    } else {
        for (const platform::WrittenFile& w : written) std::cout << w.path << '\n';
    }
    std::cout.flush();
    if (!result.ok()) {
        std::cerr << kName << ": cannot write " << result.failedPath << ": " << std::strerror(result.error) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* dir = nullptr;
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--export") {
            dir = &opt.exportDir;
        } else if (options && arg == "--save-ico") {
            dir = &opt.saveIcoDir;
        } else if (options && arg == "--images") {
            dir = &opt.imagesDir;
        } else if (options && arg == "--size") {
            const std::string value = i + 1 < argc ? argv[++i] : "";
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), opt.size);
            if (ec != std::errc() || end != value.data() + value.size() || opt.size < icons::kMinIconSize ||
                opt.size > icons::kMaxIconSize) {
                std::cerr << kName << ": N of --size must be a whole number from " << icons::kMinIconSize << " to "
                          << icons::kMaxIconSize << "\n";
                return 2;
            }
        } else if (options && arg == "--hicolor") {
            dir = &opt.hicolorDir;
        } else if (options && arg == "--desktop-entry") {
            dir = &opt.desktopDir;
        } else if (options && arg == "--name") {
            if (i + 1 >= argc) return Usage();
            opt.name = argv[++i];
            opt.named = true;
            if (const char* problem = icons::IconNameProblem(opt.name)) {
                std::cerr << kName << ": NAME of --name: " << problem << "\n";
                return 2;
            }
        } else if (options && arg == "--index") {
            const std::string value = i + 1 < argc ? argv[++i] : "";
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), opt.index);
            if (ec != std::errc() || end != value.data() + value.size() || opt.index < 0) {
                std::cerr << kName << ": K of --index must be a whole number from 0\n";
                return 2;
            }
        } else if (options && arg == "--cursors") {
            opt.cursors = true;
        } else if (options && arg == "--list") {
            opt.list = true;
        } else if (options && arg == "--json") {
            opt.json = true;
        } else if (options && arg == "--version") {
            std::cout << kName << ' ' << tessel::kVersion << '\n';
            return 0;
        } else if (options && (arg == "-h" || arg == "--help")) {
            std::cout << kHelp;
            return 0;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            std::cerr << kName << ": unknown option " << arg << "\n";
            return Usage();
        } else {
            opt.files.push_back(arg);
        }
        if (dir) {
            if (i + 1 >= argc || std::string(argv[i + 1]).empty()) return Usage();
            *dir = argv[++i];
        }
    }
    if (opt.files.empty()) return Usage();
    const bool launcher = !opt.hicolorDir.empty() || !opt.desktopDir.empty();
    if ((opt.named || opt.index >= 0) && !launcher) {
        std::cerr << kName << ": --name and --index go with --hicolor or --desktop-entry\n";
        return 2;
    }
    if (opt.index >= 0 && opt.hicolorDir.empty()) {
        std::cerr << kName << ": --index goes with --hicolor\n";
        return 2;
    }
    if (launcher) {
        if (opt.files.size() != 1 || !opt.exportDir.empty() || !opt.saveIcoDir.empty() || !opt.imagesDir.empty() ||
            opt.list || opt.cursors || opt.size != icons::kStandardIconSize) {
            std::cerr << kName << ": --hicolor and --desktop-entry take one FILE, and no --export, --save-ico, --images, --list, --cursors or --size\n";
            return 2;
        }
        return InstallLauncher(opt);
    }

    for (const std::string* dir : {&opt.exportDir, &opt.saveIcoDir, &opt.imagesDir}) {
        if (!dir->empty() && !MakeFolder(*dir)) return 1;
    }

    bool ok = true;
    std::ostringstream json;
    json << "{\"files\":[";
    bool firstFile = true;
    for (const std::string& path : opt.files) {
        if (opt.json) json << (firstFile ? "" : ",") << "{\"path\":" << JsonString(path);
        firstFile = false;
        errno = 0;
        const icons::IconFileAt opened(path, {.cursors = opt.cursors});
        if (!opened.ok()) {
            const char* why = errno != 0 ? std::strerror(errno) : "not a regular file";
            std::cerr << kName << ": cannot open " << path << ": " << why << "\n";
            if (opt.json) json << ",\"error\":" << JsonString(why) << '}';
            ok = false;
            continue;
        }
        // Headers and directory are read once here, for everything asked of the file.
        const icons::IconFile& file = opened.icons();
        const int count = file.count();
        if (opt.json) json << ",\"count\":" << count;
        else std::cout << count << '\t' << path << '\n';
        // A system library whose icons Windows takes from its resource module says so.
        if (!opened.from().empty() && (opt.list || opt.json)) {
            if (opt.json) json << ",\"from\":" << JsonString(opened.from());
            else std::cout << "\tfrom\t" << opened.from() << '\n';
        }
        ok = Process(file, count, path, opt, json) && ok;
        if (opt.json) json << '}';
    }
    json << "]}";
    if (opt.json) std::cout << json.str() << '\n';
    std::cout.flush();
    return ok ? 0 : 1;
}
