// Loads and arranges 20,000 icons the way the folder menu's "show all icons"
// does (a scan of the folder, then every file's icons appended to the cells,
// then one arrangement), and prints the time and the peak memory beside the
// time the icon reader alone takes for the same icons in the same run.
//
// Built with the Qt views (TESSEL_BENCH_QT) it runs the real window on the
// offscreen platform, with every yield processing Qt's events and a final
// paint of the canvas; without them it runs the window's logic over the test
// double, whose yield does nothing.
//
//   icon_panel_bench [files] [icons-per-file] [runs]

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
#include "platform/icons/icons.h"

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

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 100;
    const int perFile = argc > 2 ? std::atoi(argv[2]) : 200;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;

#ifdef TESSEL_BENCH_QT
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
#endif

    test_support::TempFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "lib%04d.dll", i);
        folder.write(name, Library(perFile, i));
        paths.push_back(folder.file(name));
    }
    const long peakStart = PeakKb();

    Figures reader;
    for (int r = 0; r < runs; ++r) {
        const Figures f = ReaderAlone(paths);
        reader.cells = f.cells;
        reader.seconds = std::min(reader.seconds, f.seconds);
    }
    const long peakReader = PeakKb();

    Figures panel;
    const char* mode;
#ifdef TESSEL_BENCH_QT
    mode = "Qt views, offscreen platform; every yield processes Qt's events; ends with a paint of the window";
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

    std::printf("icon panel: load and arrange %d icons (%d files x %d), best of %d\n", panel.cells, files, perFile, runs);
    std::printf("  mode: %s\n", mode);
    std::printf("  panel (scan excluded, show-all load + arrangement): %8.3f s  %6.1f us/icon\n", panel.seconds,
                1e6 * panel.seconds / std::max(1, panel.cells));
    std::printf("  icon reader alone, same icons (count + extract):     %8.3f s  %6.1f us/icon  [lower bound]\n",
                reader.seconds, 1e6 * reader.seconds / std::max(1, reader.cells));
    std::printf("  panel / reader: %.2fx\n", panel.seconds / reader.seconds);
    std::printf("  peak RSS: %ld KiB after writing the files, %ld KiB after the reader, %ld KiB after the panel\n",
                peakStart, peakReader, peakPanel);
    std::printf("  cell images alone would take %ld KiB (32x32x4 bytes each)\n", static_cast<long>(panel.cells) * 4L);
    if (panel.cells != files * perFile || reader.cells != files * perFile) {
        std::fprintf(stderr, "error: expected %d icons, the panel holds %d and the reader gave %d\n", files * perFile,
                     panel.cells, reader.cells);
        return 1;
    }
    return 0;
}
