#pragma once

namespace platform_qt {

// Makes Qt's own texts (the Save dialog, its question before replacing a
// file, the standard buttons, the menus of text fields) Chinese, as the rest
// of the window is, whatever language the desktop runs in. Uses the
// translations Qt installs for zh_CN; false when they are missing, and Qt
// then speaks English. Needs the application object.
bool InstallChineseTranslations();

}  // namespace platform_qt
