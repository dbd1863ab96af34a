// Builds the Qt platform and the window, and runs the window's events.
#include <QApplication>

#include "app/qt_window.h"
#include "app/tessel_window.h"
#include "platform/qt/qt_services.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Tessel Icons");
    QApplication::setDesktopFileName("tessel-icons");
    QApplication::setWindowIcon(app::AppIcon());

    platform_qt::QtServices services;
    app::TesselWindow window(services);
    app::QtWindow view(window.form);

    // Form_Load runs before the window is first shown; showing it raises the
    // first resize.
    view.dispatcher()([&] { window.form.Me.Load.raise(); });
    view.show();
    return QApplication::exec();
}
