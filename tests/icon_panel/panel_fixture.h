#pragma once
// The whole window's logic over the services' test double, started as the
// program starts it, with helpers to give the panel cells and file rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/tessel_window.h"
#include "fake_services.h"
#include "icons/icons.h"

namespace icon_panel_test {

// A window colour that is neither a control's default white nor black, so a
// cell that is not painted in it shows.
inline constexpr pixels::Argb kWindowColour = pixels::MakeArgb(212, 208, 200);

class Screen : public test_support::FakeScreen {
public:
    pixels::Argb WindowColor() override { return kWindowColour; }
};

struct Segment {
    int x1, y1, x2, y2;
    bool operator==(const Segment&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Segment& s) {
    return os << "(" << s.x1 << ", " << s.y1 << ")-(" << s.x2 << ", " << s.y2 << ")";
}

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : w(screen, sys), f(w.form), panel(w.panel) { f.Me.Load.raise(); }

    Screen screen;
    test_support::FakeSystem sys;
    app::TesselWindow w;
    main_window::frmMain& f;
    icon_panel::IconPanel& panel;

    // Cells 1 .. n-1 loaded next to the template, as earlier loads leave them.
    void MakeCells(int n) {
        for (int i = f.picIcon.Count(); i < n; ++i) f.picIcon.Load(i);
    }

    Segment Line(int i) {
        const platform::Line& l = f.lnFrame(i);
        return {static_cast<int>(l.X1()), static_cast<int>(l.Y1()), static_cast<int>(l.X2()), static_cast<int>(l.Y2())};
    }
    std::vector<Segment> Lines() { return {Line(0), Line(1), Line(2), Line(3)}; }

    // The four lines that frame a cell whose top-left corner is at (l, t) and
    // which is 480 twips square: top and left 18 twips outside, right and
    // bottom on the first twip past the cell.
    static std::vector<Segment> FrameAround(int l, int t) {
        return {{l - 18, t - 18, l + 498, t - 18},
                {l - 18, t - 18, l - 18, t + 498},
                {l + 480, t - 18, l + 480, t + 498},
                {l - 18, t + 480, l + 498, t + 480}};
    }
    std::vector<Segment> FrameAroundCell(int k) {
        const platform::PictureBox& c = f.picIcon(k);
        return FrameAround(static_cast<int>(c.Left()), static_cast<int>(c.Top()));
    }
    bool FrameShown() {
        for (int i = 0; i < 4; ++i)
            if (!f.lnFrame(i).Visible()) return false;
        return true;
    }
    bool FrameHidden() {
        for (int i = 0; i < 4; ++i)
            if (f.lnFrame(i).Visible()) return false;
        return true;
    }
    // As a finished load leaves the panel: cell 0 selected and framed, the
    // canvas shown, the progress bar gone and the status line empty.
    void ExpectPanelAtRest() {
        EXPECT_EQ(f.SelectedIcon, 0);
        EXPECT_EQ(Lines(), FrameAroundCell(0));
        EXPECT_TRUE(FrameShown());
        EXPECT_TRUE(f.fraIcons.Visible());
        EXPECT_FALSE(f.progbar.Visible());
        EXPECT_EQ(f.lblStatus.Caption(), "");
    }

    // A file of the shown folder listed as the scan lists it, but with `count`
    // as the row's text, which may be one the scan never writes: the file
    // behind the row counts that many icons when it is a whole number, else none.
    platform::ListItem& AddRow(const std::string& name, const std::string& count) {
        int icons = 0;
        const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), icons);
        if (ec != std::errc() || end != count.data() + count.size()) icons = 0;
        platform::ListItem& item = f.listedFiles.Add({f.Dir1.Path() + "/" + name, name, icons});
        item.setSubItem(1, count);
        return item;
    }
};

// Every icon of every file has its own colour, so a cell shows whose icon it holds.
inline pixels::Argb ColourOf(const std::string& file, int index) {
    int tag = 0;
    for (unsigned char c : file) tag = (tag * 31 + c) & 0x7F;
    return pixels::MakeArgb(64 + tag, 8 * (index % 32), 255 - index % 200);
}

inline std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The reader replaced by one that gives each file's icons in their own
// colours, except the ones a test says fail.
class ColouredIcons : public PanelTest {
protected:
    ColouredIcons() {
        sys.extract = [this](const std::string& path, int index) -> std::optional<icons::Icon> {
            if (failing[NameOf(path)].count(index)) return std::nullopt;
            return test_support::SolidIcon(ColourOf(NameOf(path), index));
        };
    }

    std::map<std::string, std::set<int>> failing;

    static pixels::Bitmap Drawn(const icons::Icon& icon) {
        pixels::Bitmap b(32, 32, kWindowColour);
        icons::DrawIcon(b, 0, 0, icon);
        return b;
    }
    // What a cell shows after icon `index` of `file` was drawn into it.
    static pixels::Bitmap Showing(const std::string& file, int index) {
        return Drawn(test_support::SolidIcon(ColourOf(file, index)));
    }
    static pixels::Bitmap Blank() { return pixels::Bitmap(32, 32, kWindowColour); }

    // The files asked for, in order, by name.
    std::vector<std::string> FilesAsked() {
        std::vector<std::string> out;
        for (const auto& e : sys.extractions) out.push_back(NameOf(e.first));
        return out;
    }
};

}  // namespace icon_panel_test
