#pragma once
// frmMain drawn with Qt: one view per control, nested as the controls are,
// the popup menus styled from the window's menu skin, and the keys that the
// menus show beside their captions.

#include <QIcon>
#include <QImage>
#include <QString>
#include <memory>

#include "app/tessel_window.h"
#include "main_window/frm_main.h"
#include "qt/dir_list_view.h"
#include "qt/dispatcher.h"
#include "qt/drive_list_view.h"
#include "qt/frame_view.h"
#include "qt/icon_canvas_view.h"
#include "qt/label_view.h"
#include "qt/list_view_view.h"
#include "qt/picture_box_view.h"
#include "qt/progress_bar_view.h"
#include "qt/qt_services.h"
#include "qt/scroll_bar_view.h"
#include "qt/timer_view.h"
#include "qt/window_view.h"

namespace app {

// The popup menus' style sheet, from the skin's colours and font; `family` is
// the installed face that stands in for the skin's font.
QString MenuStyleSheet(const main_window::MenuSkin& skin, const QString& family);

// The program's icon: 32 by 32, 24 bits a pixel, a mosaic of tiles.
QImage AppIconImage();
QIcon AppIcon();

class QtWindow;
// Lets a cell be dragged out of the window, carrying its icon as the whole-icon
// save writes it to a .png: the largest image with its transparency.
void OfferDragOut(QtWindow& view, TesselWindow& window);

// Lets the canvas draw each cell in sight afresh at the device pixels it
// covers (a larger cell size, a scaled screen), from the icon's file.
void DrawCellsSharp(QtWindow& view, TesselWindow& window);

// `screen` is the screen `frm` was made with; its popup menus take the
// window's menu skin.
class QtWindow {
public:
    QtWindow(main_window::frmMain& frm, platform_qt::QtServices& screen);
    ~QtWindow();
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    // Shows the window centred; the first showing raises the first resize.
    void show();

    platform_qt::Dispatcher& dispatcher() { return dispatch_; }
    platform_qt::WindowView& window() { return *window_; }
    const QString& menuStyleSheet() const { return menuStyleSheet_; }

    platform_qt::DriveListView& drives() { return *drive1_; }
    platform_qt::DirListView& folders() { return *dir1_; }
    platform_qt::ListViewView& files() { return *file1_; }
    platform_qt::IconCanvasView& canvas() { return *fraIcons_; }
    platform_qt::ScrollBarView& scrollBar() { return *vs_; }
    platform_qt::ProgressBarView& progress() { return *progbar_; }
    platform_qt::LabelView& status() { return *lblStatus_; }
    platform_qt::TimerView& timer() { return *timer1_; }

private:
    main_window::frmMain& frm_;
    platform_qt::Dispatcher dispatch_;
    platform_qt::ViewContext ctx_;
    QString menuStyleSheet_;
    std::unique_ptr<platform_qt::WindowView> window_;
    platform_qt::TimerView* timer1_ = nullptr;
    platform_qt::DriveListView* drive1_ = nullptr;
    platform_qt::DirListView* dir1_ = nullptr;
    platform_qt::ListViewView* file1_ = nullptr;
    platform_qt::IconCanvasView* fraIcons_ = nullptr;
    platform_qt::ScrollBarView* vs_ = nullptr;
    platform_qt::ProgressBarView* progbar_ = nullptr;
    platform_qt::LabelView* lblStatus_ = nullptr;
};

}  // namespace app
