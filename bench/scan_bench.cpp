// The folder scan over 5,000 files, and over a tree of 3,600 files in 210
// folders with its subfolders: ListIconFiles on the window's logic beside
// the least the same work can cost, measured in the same run over the same
// files: listing the folder (walking the tree), and opening each file the scan
// opens and reading its headers.
//
// Headless: the window's logic runs over the test doubles, whose screen's
// DoEvents has nothing queued and returns at once, so the figures are the
// scan's own cost, not an event loop's. The files are warm in the page cache
// after the first round; every figure is the median of the rounds.
//
//   scan_bench [rounds]        (default 9)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/tessel_window.h"
#include "browsing/browsing.h"
#include "fake_services.h"
#include "system/posix_files.h"
#include "icon_file_builders.h"

namespace {

using Clock = std::chrono::steady_clock;
using icon_files::Bytes;

constexpr int kFiles = 5000;
constexpr int kTreeTop = 10, kTreeInner = 20;

Bytes Pe(int groups, bool dll, std::size_t codeBytes) {
    using namespace icon_files;
    std::vector<IconGroupSpec> groupList;
    for (int g = 0; g < groups; ++g) {
        const auto id = static_cast<std::uint16_t>(g + 1);
        std::vector<GroupImage> images;
        // Two sizes a group, as real programs carry them.
        GroupImage small;
        small.id = static_cast<std::uint16_t>(2 * g + 1);
        small.width = small.height = 16;
        small.bitCount = 8;
        small.image = MakeDib(SolidDib(16, 16, 8, pixels::MakeArgb(10 * g, 80, 160)));
        GroupImage large = small;
        large.id = static_cast<std::uint16_t>(2 * g + 2);
        large.width = large.height = 32;
        large.bitCount = 32;
        large.image = MakeDib(SolidDib(32, 32, 32, pixels::MakeArgb(200, 10 * g, 40)));
        groupList.push_back({ResName{id, {}}, {small, large}});
    }
    PeSpec pe;
    pe.dll = dll;
    pe.codeBytes = codeBytes;
    pe.resources = IconResources(groupList);
    pe.resourceSection = groups > 0;
    return MakePe(pe).bytes;
}

Bytes Ico(std::uint16_t type) {
    icon_files::IcoEntry e;
    e.image = icon_files::MakeDib(icon_files::SolidDib(32, 32, 32, pixels::MakeArgb(1, 2, 3)));
    if (type == 2) e.planes = e.bitCount = 0;
    return icon_files::MakeIco({e, e}, type);
}

void Write(const std::string& path, const Bytes& bytes) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

struct Folder {
    std::string path;
    std::vector<std::string> opened;  // what the scan opens: names whose extension matches, below `path`
    int files = 0, folders = 0, withIcons = 0, icons = 0;
    std::uintmax_t bytes = 0;
};

// Files number `first` to `first + n` into the folder `sub` (relative, "" or
// ending in "/"): 45% programs and libraries with icons, 15% without, 15%
// .ico/.cur, 25% other files (text, and names whose extension does not match).
void AddFiles(Folder& f, const std::string& sub, int first, int n) {
    static const int peIconCounts[4] = {1, 3, 8, 20};
    static const Bytes peIcons[4] = {Pe(1, false, 0x2000), Pe(3, false, 0x8000), Pe(8, true, 0x4000), Pe(20, false, 0x10000)};
    static const Bytes peBare[2] = {Pe(0, false, 0x4000), Pe(0, true, 0x2000)};
    static const Bytes ico = Ico(1), cur = Ico(2);
    static const Bytes text(2000, 'x');
    char name[64];
    for (int i = first; i < first + n; ++i) {
        const int kind = i % 20;
        const Bytes* bytes = nullptr;
        int icons = 0;
        if (kind < 9) {
            bytes = &peIcons[i % 4];
            icons = peIconCounts[i % 4];
            std::snprintf(name, sizeof name, "prog%04d.%s", i, i % 4 == 2 ? "dll" : (i % 3 ? "exe" : "EXE"));
        } else if (kind < 12) {
            bytes = &peBare[i % 2];
            std::snprintf(name, sizeof name, "bare%04d.%s", i, i % 2 ? "dll" : "exe");
        } else if (kind < 15) {
            bytes = kind == 14 ? &cur : &ico;
            icons = 1;
            std::snprintf(name, sizeof name, "icon%04d.%s", i, kind == 14 ? "cur" : "ico");
        } else {
            bytes = kind == 15 ? &peIcons[0] : &text;
            std::snprintf(name, sizeof name, kind == 15 ? "setup%04d.en.exe" : (kind == 16 ? "README%04d" : "notes%04d.txt"), i);
        }
        Write(f.path + "/" + sub + name, *bytes);
        f.bytes += bytes->size();
        ++f.files;
        const std::string ext = browsing::ExtensionOf(name);
        if (browsing::IsIconFileExtension(ext)) {
            f.opened.push_back(sub + name);
            if (icons > 0) {
                ++f.withIcons;
                f.icons += icons;
            }
        }
    }
}

Folder MakeFolder(const std::string& root) {
    Folder f;
    f.path = root + "/files";
    ::mkdir(f.path.c_str(), 0755);
    AddFiles(f, "", 0, kFiles);
    return f;
}

// 3,600 files over 210 folders, as an installed program tree holds them: ten
// folders of twenty each, a few files at every level and most at the bottom.
Folder MakeTree(const std::string& root) {
    Folder f;
    f.path = root + "/tree";
    ::mkdir(f.path.c_str(), 0755);
    int next = 0;
    AddFiles(f, "", next, 40);
    next += 40;
    char sub[32];
    for (int d = 0; d < kTreeTop; ++d) {
        std::snprintf(sub, sizeof sub, "dir%02d/", d);
        ::mkdir((f.path + "/" + sub).c_str(), 0755);
        ++f.folders;
        AddFiles(f, sub, next, 16);
        next += 16;
        for (int s = 0; s < kTreeInner; ++s) {
            std::snprintf(sub, sizeof sub, "dir%02d/sub%02d/", d, s);
            ::mkdir((f.path + "/" + sub).c_str(), 0755);
            ++f.folders;
            AddFiles(f, sub, next, 17);
            next += 17;
        }
    }
    return f;
}

// What a walk of the tree cannot do without: list each folder's files, count
// them and list its folders, going down into each.
int WalkTree(const std::string& folder) {
    int n = static_cast<int>(platform::ListPlainFiles(folder).size()) + platform::CountFiles(folder);
    for (const std::string& sub : platform::ListSubfolders(folder)) n += WalkTree(folder + sub + "/");
    return n;
}

// The least a count can cost: open, size, the DOS header and the PE headers
// with the section table (or an .ico's 6-byte header), close.
int ReadHeaders(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    ::fstat(fd, &st);
    unsigned char dos[64];
    int seen = 0;
    if (::pread(fd, dos, sizeof dos, 0) == static_cast<ssize_t>(sizeof dos) && dos[0] == 'M' && dos[1] == 'Z') {
        const std::uint32_t peAt = dos[60] | dos[61] << 8 | dos[62] << 16 | static_cast<std::uint32_t>(dos[63]) << 24;
        unsigned char pe[24];
        if (::pread(fd, pe, sizeof pe, peAt) == static_cast<ssize_t>(sizeof pe)) {
            const unsigned sections = pe[6] | pe[7] << 8, optional = pe[20] | pe[21] << 8;
            std::vector<unsigned char> rest(optional + 40u * sections);
            seen = static_cast<int>(::pread(fd, rest.data(), rest.size(), peAt + 24) > 0);
        }
    } else {
        seen = dos[0] == 0 && dos[2] != 0;
    }
    ::close(fd);
    return seen;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double Millis(F&& f) {
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    test_support::TempFolder root;
    std::printf("building %d files in %s ...\n", kFiles, root.path().c_str());
    const Folder folder = MakeFolder(root.path());
    const std::string other = root.path() + "/empty";
    ::mkdir(other.c_str(), 0755);

    test_support::FakeScreen screen;
    test_support::FakeSystem system;
    app::TesselWindow window(screen, system);
    main_window::frmMain& f = window.form;
    f.Form_Load();

    std::vector<double> scan, listing, headers;
    int listed = 0, total = 0, sink = 0;
    // Round 0 warms the page cache and is not counted.
    for (int r = 0; r <= rounds; ++r) {
        f.Dir1.setPath(other);
        const double s = Millis([&] { f.Dir1.setPath(folder.path); });
        listed = f.File1.Count();
        total = f.TotalIcons;

        std::vector<std::string> names;
        int files = 0;
        const double l = Millis([&] {
            names = platform::ListPlainFiles(folder.path + "/");
            files = system.CountFiles(folder.path + "/");
        });
        sink += files + static_cast<int>(names.size());
        const double h = Millis([&] {
            for (const std::string& n : folder.opened) sink += ReadHeaders(folder.path + "/" + n);
        });
        if (r == 0) continue;
        scan.push_back(s);
        listing.push_back(l);
        headers.push_back(h);
    }

    // The tree, scanned with its subfolders, beside its own floor.
    const Folder tree = MakeTree(root.path());
    f.mnuIncludeSubfolders().setChecked(true);
    std::vector<double> treeScan, walking, treeHeaders;
    int treeListed = 0, treeTotal = 0;
    for (int r = 0; r <= rounds; ++r) {
        f.Dir1.setPath(other);
        const double s = Millis([&] { f.Dir1.setPath(tree.path); });
        treeListed = f.File1.Count();
        treeTotal = f.TotalIcons;
        const double w = Millis([&] { sink += WalkTree(tree.path + "/"); });
        const double h = Millis([&] {
            for (const std::string& n : tree.opened) sink += ReadHeaders(tree.path + "/" + n);
        });
        if (r == 0) continue;
        treeScan.push_back(s);
        walking.push_back(w);
        treeHeaders.push_back(h);
    }
    f.mnuIncludeSubfolders().setChecked(false);

    if (treeListed != tree.withIcons || treeTotal != tree.icons) {
        std::fprintf(stderr, "tree scan listed %d files, %d icons; expected %d, %d\n", treeListed, treeTotal, tree.withIcons,
                     tree.icons);
        return 1;
    }
    if (listed != folder.withIcons || total != folder.icons) {
        std::fprintf(stderr, "scan listed %d files, %d icons; expected %d, %d\n", listed, total, folder.withIcons,
                     folder.icons);
        return 1;
    }
    const double ms = Median(scan), lms = Median(listing), hms = Median(headers);
    const auto opened = static_cast<double>(folder.opened.size());
    std::printf("folder: %d files, %.1f MB; %zu with a matching extension, %d listed, %d icons\n", kFiles,
                static_cast<double>(folder.bytes) / 1e6, folder.opened.size(), listed, total);
    std::printf("median of %d rounds (warm cache):\n", rounds);
    std::printf("  ListIconFiles (whole scan)           %8.2f ms  %6.2f us/matching file\n", ms, 1000 * ms / opened);
    std::printf("  listing + counting the folder        %8.2f ms\n", lms);
    std::printf("  open + read headers, matching files  %8.2f ms  %6.2f us/file\n", hms, 1000 * hms / opened);
    std::printf("  lower bound (the two above)          %8.2f ms\n", lms + hms);
    std::printf("  scan / lower bound                   %8.2fx\n", ms / (lms + hms));
    const double tms = Median(treeScan), wms = Median(walking), thms = Median(treeHeaders);
    std::printf("tree: %d files in %d folders, %.1f MB; %zu with a matching extension, %d listed, %d icons\n", tree.files,
                tree.folders + 1, static_cast<double>(tree.bytes) / 1e6, tree.opened.size(), treeListed, treeTotal);
    std::printf("  ListIconFiles with subfolders        %8.2f ms\n", tms);
    std::printf("  walking + counting the tree          %8.2f ms\n", wms);
    std::printf("  open + read headers, matching files  %8.2f ms\n", thms);
    std::printf("  lower bound (the two above)          %8.2f ms\n", wms + thms);
    std::printf("  tree scan / lower bound              %8.2fx\n", tms / (wms + thms));
    return sink == -1;
}
