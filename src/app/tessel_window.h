#pragma once
// The window's logic put together: frmMain, its icon panel and its browsing
// side, with every event of the window connected to its handler.

#include "browsing/browsing.h"
#include "icon_panel/icon_panel.h"
#include "main_window/frm_main.h"

namespace app {

class TesselWindow {
public:
    TesselWindow(platform::Screen& screen, platform::System& system);
    TesselWindow(const TesselWindow&) = delete;
    TesselWindow& operator=(const TesselWindow&) = delete;

    main_window::frmMain form;
    icon_panel::IconPanel panel;
    browsing::Browsing browsing;
};

}  // namespace app
