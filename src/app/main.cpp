// Builds the Qt platform and the window, and runs the window's events.
#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/qt_window.h"
#include "app/tessel_window.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/translations.h"
#include "platform/system/system_services.h"
#include "tessel_version.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("tessel-icons %s\n", tessel::kVersion);
            return 0;
        }
        if (arg == "--help") {
            std::printf("usage: tessel-icons [--version] [--help] [Qt options]\n"
                        "Browses the icons of the EXE, DLL, ICO and CUR files of a folder.\n");
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Tessel Icons");
    QApplication::setDesktopFileName("tessel-icons");
    QApplication::setWindowIcon(app::AppIcon());
    platform_qt::InstallChineseTranslations();

    platform_qt::QtServices screen;
    platform::SystemServices system;
    app::TesselWindow window(screen, system);
    app::QtWindow view(window.form, screen);
    app::OfferDragOut(view, window);

    // Form_Load runs before the window is first shown; showing it raises the
    // first resize.
    view.dispatcher()([&] { window.form.Me.Load.raise(); });
    view.show();
    return QApplication::exec();
}
