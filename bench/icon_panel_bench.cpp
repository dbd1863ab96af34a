// Loads and arranges 20,000 icons the way the folder menu's "show all icons"
// does (a scan of the folder, then every file's icons appended to the cells,
// then one arrangement), and prints the time and the peak memory beside a
// floor measured in the same run: decoding, from memory, the very images the
// cells show. Two folders: small libraries of one-image icons, and libraries
// with directories of real size (1,500 RT_ICON entries in 180 groups, as
// shell32.dll has), where a reader that walks the directory per icon shows.
//
// Built with the Qt views (TESSEL_BENCH_QT) it runs the real window on the
// offscreen platform, with its yields processing Qt's events (at most once a
// millisecond, as the window does) and a final paint of the canvas; without them it runs the window's logic over the test
// double, whose yield does nothing.
//
//   icon_panel_bench [icons] [runs]

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/tessel_window.h"
#include "fake_services.h"
#include "icon_file_builders.h"
#include "platform/icons/icon_file.h"
#include "platform/icons/icons.h"
#include "platform/icons/stretch.h"

#ifdef TESSEL_BENCH_QT
#include <QApplication>
#include <QPixmap>

#include "app/qt_window.h"
#include "platform/qt/qt_services.h"
#include "platform/system/system_services.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long PeakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// A PE file with `icons` icon groups of one 32x32 image each; the images
// cycle through a few colours and depths, as a real library's do.
icon_files::Bytes Library(int icons, int seed) {
    std::vector<icon_files::IconGroupSpec> groups;
    constexpr int kDistinct = 16;
    for (int g = 0; g < icons; ++g) {
        icon_files::GroupImage image;
        const int which = (g + seed) % kDistinct;
        image.id = static_cast<std::uint16_t>(1 + which);
        const int bpp = which % 4 == 0 ? 8 : which % 4 == 1 ? 24 : 32;
        image.bitCount = static_cast<std::uint16_t>(bpp);
        image.image = icon_files::MakeDib(
            icon_files::SolidDib(32, 32, bpp, platform::MakeArgb(16 * which, 255 - 9 * which, (seed * 37) & 0xFF)));
        groups.push_back({icon_files::ResName{static_cast<std::uint32_t>(g + 1), {}}, {image}});
    }
    icon_files::PeSpec spec;
    spec.dll = true;
    spec.resources = icon_files::IconResources(groups);
    return icon_files::MakePe(spec).bytes;
}

// A library with the directory of a large system one: `groups` icons of eight
// images each (16, 32 and 48 pixels at 4, 8 and 32 bits) and 60 images no group
// names, 1,500 RT_ICON entries in all for 180 groups.
icon_files::Bytes BigLibrary(int groups, int seed) {
    static const int kSides[8] = {16, 16, 16, 32, 32, 32, 48, 48};
    static const int kDepths[8] = {4, 8, 32, 4, 8, 32, 8, 32};
    std::vector<icon_files::Bytes> images;
    for (int k = 0; k < 8; ++k)
        images.push_back(icon_files::MakeDib(icon_files::SolidDib(
            kSides[k], kSides[k], kDepths[k], platform::MakeArgb(20 * k, (seed * 53) & 0xFF, 255 - 20 * k))));
    std::vector<icon_files::IconGroupSpec> specs;
    std::uint16_t id = 1;
    for (int g = 0; g < groups; ++g) {
        icon_files::IconGroupSpec spec{icon_files::ResName{static_cast<std::uint32_t>(g + 1), {}}, {}};
        for (int k = 0; k < 8; ++k)
            spec.images.push_back({id++, static_cast<std::uint8_t>(kSides[k]), static_cast<std::uint8_t>(kSides[k]),
                                   static_cast<std::uint16_t>(kDepths[k]), images[static_cast<std::size_t>(k)]});
        specs.push_back(std::move(spec));
    }
    icon_files::PeSpec spec;
    spec.dll = true;
    spec.resources = icon_files::IconResources(specs);
    for (int extra = 0; extra < 60; ++extra)
        spec.resources.insert(spec.resources.begin() + (id - 1), {icon_files::ResName{3, {}}, icon_files::ResName{id++, {}}, 0x409, images[0]});
    return icon_files::MakePe(spec).bytes;
}

struct Figures {
    double seconds = 1e300;
    int cells = 0;
};

// The same icons through the reader alone: count each file, take every icon,
// drop it. No cell, no drawing, no window.
Figures ReaderAlone(const std::vector<std::string>& paths) {
    Figures out;
    const auto t = Clock::now();
    int got = 0;
    for (const std::string& p : paths) {
        const int n = platform::icons::CountIconsInFile(p);
        for (int i = 0; i < n; ++i)
            if (platform::icons::ExtractIconFromFile(p, i)) ++got;
    }
    out.seconds = Seconds(t);
    out.cells = got;
    return out;
}

// The images the cells show, each as the bytes the file stores, in memory.
std::vector<std::vector<std::uint8_t>> ChosenImages(const std::vector<std::string>& paths) {
    std::vector<std::vector<std::uint8_t>> out;
    for (const std::string& p : paths) {
        const platform::icons::FileSource file(p);
        const platform::icons::IconFile icons(file);
        for (int i = 0; i < icons.count(); ++i) {
            const auto d = icons.describe(i);
            const auto group = icons.fileBytes(i);
            if (!d || !group || d->shown < 0) continue;
            const platform::icons::ByteView v(*group);
            const std::uint64_t entry = 6 + 16 * static_cast<std::uint64_t>(d->shown);
            const platform::icons::ByteView image = v.sub(v.u32(entry + 12), v.u32(entry + 8));
            out.emplace_back(image.data(), image.data() + image.size());
        }
    }
    return out;
}

// The floor: decode each chosen image from memory and bring it to the cell's size.
Figures DecodeFloor(const std::vector<std::vector<std::uint8_t>>& images) {
    Figures out;
    const auto t = Clock::now();
    for (const auto& bytes : images) {
        if (auto icon = platform::icons::DecodeImageBytes(platform::icons::ByteView(bytes))) {
            const auto cell = platform::icons::StretchIcon(*icon, 32, 32);
            if (!cell.color.empty()) ++out.cells;
        }
    }
    out.seconds = Seconds(t);
    return out;
}

#ifndef TESSEL_BENCH_QT
// The window's logic alone, loading every listed file into one grid.
Figures ShowAll(const std::string& folder) {
    test_support::FakeScreen screen;  // answers "yes" to the confirmation above 1000 icons
    test_support::FakeSystem system;
    app::TesselWindow w(screen, system);
    w.form.Me.Load.raise();
    w.form.Dir1.setPath(folder);  // the scan lists the files and their counts
    Figures out;
    const auto t = Clock::now();
    w.browsing.mnuDirectories_Click(0);
    out.seconds = Seconds(t);
    out.cells = w.form.IconCount;
    return out;
}
#endif

#ifdef TESSEL_BENCH_QT
// The real services, but "yes" to the confirmation above 1000 icons.
class BenchQtServices : public platform_qt::QtServices {
public:
    int MsgBox(const std::string&, int) override { return platform::msgbox::kYes; }
};
#endif

struct Case {
    const char* name;
    int files;
    int perFile;
    bool big;
};

}  // namespace

int main(int argc, char** argv) {
    const int icons = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    constexpr int kBigGroups = 180;
    constexpr double kBound = 2.5;

#ifdef TESSEL_BENCH_QT
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
#endif
    const Case cases[] = {
        {"small libraries, one image an icon", (icons + 199) / 200, 200, false},
        {"real-sized directories, 1,500 RT_ICON entries and 180 groups a file", (icons + kBigGroups - 1) / kBigGroups,
         kBigGroups, true},
    };
    bool ok = true;
    for (const Case& c : cases) {
        const int files = c.files, perFile = c.perFile;
        test_support::TempFolder folder;
        std::vector<std::string> paths;
        for (int i = 0; i < files; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "lib%04d.dll", i);
            folder.write(name, c.big ? BigLibrary(perFile, i) : Library(perFile, i));
            paths.push_back(folder.file(name));
        }
        const long peakStart = PeakKb();

        Figures reader;
        for (int r = 0; r < runs; ++r) {
            const Figures f = ReaderAlone(paths);
            reader.cells = f.cells;
            reader.seconds = std::min(reader.seconds, f.seconds);
        }
        const auto chosen = ChosenImages(paths);
        Figures floor;
        for (int r = 0; r < runs; ++r) {
            const Figures f = DecodeFloor(chosen);
            floor.cells = f.cells;
            floor.seconds = std::min(floor.seconds, f.seconds);
        }
        const long peakReader = PeakKb();

        Figures panel;
        const char* mode;
#ifdef TESSEL_BENCH_QT
        mode = "Qt views, offscreen platform; yields process Qt's events, at most once a millisecond; ends with a paint of the window";
        for (int r = 0; r < runs; ++r) {
            BenchQtServices services;
            platform::SystemServices system;
            // The view is built around the window's logic as the program does it.
            app::TesselWindow w(services, system);
            app::QtWindow view(w.form, services);
            view.dispatcher()([&] { w.form.Me.Load.raise(); });
            view.show();
            QCoreApplication::processEvents();
            w.form.Dir1.setPath(folder.path());
            const auto t = Clock::now();
            w.browsing.mnuDirectories_Click(0);
            QCoreApplication::processEvents();
            const QPixmap shot = view.window().grab();  // the canvas painted once, from the cells
            const double s = Seconds(t);
            if (shot.isNull()) std::fprintf(stderr, "warning: the window painted nothing\n");
            panel.cells = w.form.IconCount;
            panel.seconds = std::min(panel.seconds, s);
        }
#else
        mode = "window logic over the test double; yields do nothing; no Qt views";
        for (int r = 0; r < runs; ++r) {
            const Figures f = ShowAll(folder.path());
            panel.cells = f.cells;
            panel.seconds = std::min(panel.seconds, f.seconds);
        }
#endif
        const long peakPanel = PeakKb();

        std::printf("icon panel, %s: load and arrange %d icons (%d files x %d), best of %d\n", c.name, panel.cells,
                    files, perFile, runs);
        std::printf("  mode: %s\n", mode);
        std::printf("  panel (scan excluded, show-all load + arrangement): %8.3f s  %6.1f us/icon\n", panel.seconds,
                    1e6 * panel.seconds / std::max(1, panel.cells));
        std::printf("  reader alone, each icon from its file (count + extract): %8.3f s  %6.1f us/icon\n",
                    reader.seconds, 1e6 * reader.seconds / std::max(1, reader.cells));
        std::printf("  decode the chosen images from memory (+ stretch):   %8.3f s  %6.1f us/icon  [floor]\n",
                    floor.seconds, 1e6 * floor.seconds / std::max(1, floor.cells));
        std::printf("  panel / floor: %.2fx (bound %.1fx)\n", panel.seconds / floor.seconds, kBound);
        std::printf("  peak RSS: %ld KiB after writing the files, %ld KiB after the reader, %ld KiB after the panel\n",
                    peakStart, peakReader, peakPanel);
        if (panel.cells != files * perFile || reader.cells != files * perFile || floor.cells != files * perFile) {
            std::fprintf(stderr, "error: expected %d icons, the panel holds %d, the reader gave %d, the floor %d\n",
                         files * perFile, panel.cells, reader.cells, floor.cells);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
