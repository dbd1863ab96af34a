#pragma once
// A frmMain on the test double, and a picture of everything a handler could
// change, to show that one changed nothing.

#include <memory>
#include <sstream>
#include <string>

#include "fake_services.h"
#include "main_window/frm_main.h"

namespace main_window_test {

struct TestWindow {
    test_support::FakeScreen screen;
    test_support::FakeSystem sys;
    std::unique_ptr<main_window::frmMain> form;

    // The screen's DPI is read when the window is made.
    explicit TestWindow(double dpiX = 96, double dpiY = 96) {
        screen.scale = {dpiX, dpiY};
        form = std::make_unique<main_window::frmMain>(screen, sys);
    }
    main_window::frmMain& f() { return *form; }
};

inline void Geometry(std::ostream& o, const char* name, const platform::Control& c) {
    o << name << ' ' << c.Left() << ',' << c.Top() << ',' << c.Width() << ',' << c.Height() << " v" << c.Visible() << '\n';
}

// The window's state and what it asked of the system, as text.
inline std::string Snapshot(TestWindow& w) {
    main_window::frmMain& f = w.f();
    std::ostringstream o;
    o << "SelectedIcon " << f.SelectedIcon << " IconCount " << f.IconCount << " TotalIcons " << f.TotalIcons
      << " CellsExhausted " << f.CellsExhausted << " Cell " << f.CellWidth << 'x' << f.CellHeight << '\n';
    Geometry(o, "Me", f.Me);
    o << "caption " << f.Me.Caption() << '\n';
    Geometry(o, "fraNoFiles", f.fraNoFiles);
    Geometry(o, "picIconHolder", f.picIconHolder);
    Geometry(o, "fraIconHolder", f.fraIconHolder);
    Geometry(o, "VS", f.VS);
    o << "VS " << f.VS.Min() << ".." << f.VS.Max() << " @" << f.VS.Value() << '\n';
    Geometry(o, "fraIcons", f.fraIcons);
    o << "picIcon count " << f.picIcon.Count() << '\n';
    f.picIcon.ForEach([&](platform::PictureBox& p) {
        Geometry(o, "picIcon", p);
        o << " blank " << p.IsBlank() << '\n';
    });
    for (int i = 0; i < 4; ++i) {
        const platform::Line& l = f.lnFrame(i);
        o << "lnFrame" << i << ' ' << l.X1() << ',' << l.Y1() << '-' << l.X2() << ',' << l.Y2() << " v" << l.Visible() << '\n';
    }
    Geometry(o, "picStatus", f.picStatus);
    Geometry(o, "progbar", f.progbar);
    o << "progbar " << f.progbar.Min() << ".." << f.progbar.Max() << " @" << f.progbar.Value() << '\n';
    Geometry(o, "lblStatus", f.lblStatus);
    o << "lblStatus '" << f.lblStatus.Caption() << "'\n";
    Geometry(o, "Dir1", f.Dir1);
    o << "Dir1 " << f.Dir1.Path() << " Drive1 " << f.Drive1.Drive() << '\n';
    Geometry(o, "File1", f.File1);
    o << "File1 rows " << f.File1.Count() << " '" << f.File1.ColumnText(1) << "' '" << f.File1.ColumnText(2) << "'\n";
    o << "ended " << f.Ended() << '/' << w.screen.ended << " yields " << w.screen.yields << " boxes " << w.screen.boxes.size()
      << " popups " << w.screen.popups.size() << " saves " << w.screen.saveDialogs.size() << " clip "
      << w.screen.clipboardClears << '/' << w.screen.clipboard.has_value() << " cursor " << w.screen.cursorMoves.size()
      << " extractions " << w.sys.extractions.size() << '\n';
    return o.str();
}

}  // namespace main_window_test
