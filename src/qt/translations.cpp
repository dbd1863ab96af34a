#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform_qt {

bool InstallChineseTranslations() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // Dates, numbers and the dialogs' sorting follow the same language.
    QLocale::setDefault(chinese);
    // Parented to the application, so it lives as long as Qt may ask it.
    auto* qt = new QTranslator(app);
    if (!qt->load(chinese, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

}  // namespace platform_qt
