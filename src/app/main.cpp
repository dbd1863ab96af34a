// Builds the Qt platform and the window, and runs the window's events.
#include <QApplication>
#include <QFile>
#include <QUrl>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/qt_window.h"
#include "app/tessel_window.h"
#include "qt/qt_services.h"
#include "platform/paths.h"
#include "qt/translations.h"
#include "system/posix_files.h"
#include "qt/qt_desktop.h"
#include "system/system_services.h"
#include "tessel_version.h"

namespace {

constexpr const char* kUsage =
    "usage: tessel-icons [--version] [--help] [Qt options] [--] [FILE | FOLDER]\n";

// A path or file:// address as given, made absolute against the working folder.
std::string AbsolutePath(const std::string& given) {
    std::string path = given;
    if (given.rfind("file:", 0) == 0) path = QFile::encodeName(QUrl(QString::fromLocal8Bit(given.c_str())).toLocalFile()).toStdString();
    if (path.empty() || path[0] != '/') path = platform::JoinPath(platform::WorkingFolder(), path);
    return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--version") {
            std::printf("tessel-icons %s\n", tessel::kVersion);
            return 0;
        }
        if (arg == "--help") {
            std::printf("%s"
                        "Browses the icons of the EXE, DLL, ICO and CUR files of a folder.\n"
                        "With a FOLDER, the window opens on it and lists it; with a FILE, on the\n"
                        "file's folder, with the file's icons shown. Without either, it opens on the\n"
                        "working folder and lists nothing until a folder is chosen.\n",
                        kUsage);
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    // What Qt left of the arguments: at most one file or folder to open.
    std::string open;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "tessel-icons: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else if (!open.empty()) {
            std::fprintf(stderr, "tessel-icons: one file or folder at most\n%s", kUsage);
            return 2;
        } else {
            open = AbsolutePath(arg);
        }
    }
    QApplication::setApplicationName("Tessel Icons");
    QApplication::setDesktopFileName("tessel-icons");
    QApplication::setWindowIcon(app::AppIcon());
    platform_qt::InstallChineseTranslations();

    platform_qt::QtServices screen;
    platform_qt::QtDesktop desktop;
    platform::SystemServices system(desktop);
    app::TesselWindow window(screen, system);
    app::QtWindow view(window.form, screen);
    app::OfferDragOut(view, window);
    app::DrawCellsSharp(view, window);

    // Form_Load runs before the window is first shown; showing it raises the
    // first resize.
    view.dispatcher()([&] { window.form.Me.Load.raise(); });
    view.show();
    // Opened once the window is up, so that the scan shows its progress.
    if (!open.empty())
        QMetaObject::invokeMethod(
            &qapp, [&] { view.dispatcher()([&] { window.browsing.OpenPath(open); }); }, Qt::QueuedConnection);
    return QApplication::exec();
}
