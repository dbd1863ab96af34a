// The synchronous events and the limits the window's logic relies on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_services.h"
#include "platform/controls/controls.h"

namespace {

using platform::Failure;
using platform::Twips;

// ---------------------------------------------------------------- Window

struct WindowSizeCase {
    const char* name;
    double width, height;  // what is assigned
    bool resizes;
};

TEST(Window, SettingASizeRaisesResizeBeforeTheSetterReturnsOnlyWhenItChanges) {
    const WindowSizeCase cases[] = {
        {"same_size", 9630, 7875, false},
        {"wider", 9631, 7875, true},
        {"taller", 9630, 8000, true},
        {"narrower_and_shorter", 8000, 6000, true},
        {"fraction_of_a_twip", 9630.5, 7875, true},
        {"zero", 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Window w("frmMain", {});
        w.Move(0, 0, 9630, 7875);
        std::vector<std::pair<Twips, Twips>> seen;  // the size each Resize saw
        w.Resize.connect([&] { seen.emplace_back(w.Width(), w.Height()); });
        w.setWidth(c.width);
        w.setHeight(c.height);
        if (c.resizes) {
            ASSERT_FALSE(seen.empty());
            EXPECT_EQ(seen.back(), std::make_pair(static_cast<Twips>(c.width), static_cast<Twips>(c.height)));
            EXPECT_LE(seen.size(), 2u);
        } else {
            EXPECT_TRUE(seen.empty());
        }
        EXPECT_EQ(w.Width(), static_cast<Twips>(c.width));
        EXPECT_EQ(w.Height(), static_cast<Twips>(c.height));
    }
}

TEST(Window, EachChangedSetterRaisesOneResize) {
    platform::Window w("frmMain", {});
    int resizes = 0;
    w.Resize.connect([&] { ++resizes; });
    w.setWidth(1000);
    EXPECT_EQ(resizes, 1);
    w.setHeight(2000);
    EXPECT_EQ(resizes, 2);
    w.setWidth(1000);
    w.setHeight(2000);
    EXPECT_EQ(resizes, 2);
    w.PlatformResized(1000, 2000);
    EXPECT_EQ(resizes, 2);
    w.PlatformResized(1200, 2000);
    EXPECT_EQ(resizes, 3);
}

TEST(Window, AResizeHandlerThatSetsTheSizeRunsAgainInsideItself) {
    // How a minimum size is enforced: the handler sets the size, which raises
    // Resize again at once, nested inside the first.
    platform::Window w("frmMain", {});
    w.Move(0, 0, 9000, 7000);
    std::vector<Twips> widths;
    int depth = 0, deepest = 0;
    w.Resize.connect([&] {
        ++depth;
        deepest = std::max(deepest, depth);
        widths.push_back(w.Width());
        if (w.Width() < 8535) w.setWidth(8535);
        --depth;
    });
    w.setWidth(100);
    EXPECT_EQ(widths, (std::vector<Twips>{100, 8535}));
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(w.Width(), 8535);
}

TEST(Window, ANegativeSizeFailsAndKeepsTheOldSize) {
    platform::Window w("frmMain", {});
    w.Move(0, 0, 9630, 7875);
    int resizes = 0;
    w.Resize.connect([&] { ++resizes; });
    EXPECT_THROW(w.setWidth(-1), Failure);
    EXPECT_THROW(w.setHeight(-15), Failure);
    EXPECT_EQ(w.Width(), 9630);
    EXPECT_EQ(w.Height(), 7875);
    EXPECT_EQ(resizes, 0);
}

TEST(Window, ClientAreaIsTheOuterSizeLessTheFrame) {
    platform::Window w("frmMain", {});
    w.setNonClient({60, 390, 60, 60});
    w.setClientSize(9630, 7875);
    EXPECT_EQ(w.ScaleWidth(), 9630);
    EXPECT_EQ(w.ScaleHeight(), 7875);
    EXPECT_EQ(w.Width(), 9750);
    EXPECT_EQ(w.Height(), 8325);
}

TEST(Window, ScaleConvertsPixelsAtTheScreensDpi) {
    const struct {
        const char* name;
        platform::ScreenScale scale;
        double x, y;  // 32 pixels in twips
    } cases[] = {
        {"96_dpi", {96, 96}, 480, 480},
        {"120_dpi", {120, 120}, 384, 384},
        {"different_axes", {96, 120}, 480, 384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Window w("frmMain", c.scale);
        EXPECT_DOUBLE_EQ(w.ScaleX(32, true), c.x);
        EXPECT_DOUBLE_EQ(w.ScaleY(32, true), c.y);
        EXPECT_DOUBLE_EQ(w.ScaleX(c.x, false), 32);
        EXPECT_DOUBLE_EQ(w.ScaleY(c.y, false), 32);
    }
}

// ---------------------------------------------------------------- Geometry

TEST(Geometry, KeptExactlyAsSetInSinglePrecision) {
    const struct {
        const char* name;
        double v;
    } cases[] = {
        {"whole", 3432},      {"half_twip_not_rounded", 3532.5}, {"tenth", 0.1},
        {"third", 1.0 / 3.0}, {"large", 16777217.0},             {"grid_pitch", 8535.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Frame f("fraIcons", nullptr);
        f.setLeft(c.v);
        f.setTop(-c.v);
        f.setWidth(c.v);
        f.setHeight(c.v);
        const Twips want = static_cast<float>(c.v);
        EXPECT_EQ(f.Left(), want);
        EXPECT_EQ(f.Top(), -want);
        EXPECT_EQ(f.Width(), want);
        EXPECT_EQ(f.Height(), want);
        platform::Line l("lnFrame", &f);
        l.setX1(c.v);
        l.setY1(-c.v);
        l.setX2(c.v);
        l.setY2(-c.v);
        EXPECT_EQ(l.X1(), want);
        EXPECT_EQ(l.Y1(), -want);
        EXPECT_EQ(l.X2(), want);
        EXPECT_EQ(l.Y2(), -want);
    }
}

TEST(Geometry, ANegativeSizeFailsAndLeavesEverythingAsItWas) {
    platform::Frame f("fraIcons", nullptr);
    f.Move(360, 360, 3495, 4215);
    EXPECT_THROW(f.setWidth(-1), Failure);
    EXPECT_THROW(f.setHeight(-0.5), Failure);
    EXPECT_THROW(f.Move(1, 2, 3, -4), Failure);
    EXPECT_THROW(f.Move(1, 2, -3, 4), Failure);
    EXPECT_EQ(f.Left(), 360);
    EXPECT_EQ(f.Top(), 360);
    EXPECT_EQ(f.Width(), 3495);
    EXPECT_EQ(f.Height(), 4215);
}

TEST(Geometry, ClientAreaIsTheSizeLessTheBorder) {
    platform::PictureBox p("picStatus", nullptr, {});
    p.Move(0, 7500, 9630, 375);
    p.setBorder(30);
    EXPECT_EQ(p.ScaleWidth(), 9570);
    EXPECT_EQ(p.ScaleHeight(), 315);
    p.setHeight(40);  // smaller than both borders: no client area, never negative
    EXPECT_EQ(p.ScaleHeight(), 0);
}

// ---------------------------------------------------------------- ScrollBar

struct ScrollLimitCase {
    const char* name;
    enum Prop { Min, Max, Value } prop;
    double v;
    bool ok;
};

TEST(ScrollBar, ValuesAreSixteenBitAndAFailedAssignmentKeepsTheOldValue) {
    const ScrollLimitCase cases[] = {
        {"max_32767", ScrollLimitCase::Max, 32767, true},
        {"max_32768", ScrollLimitCase::Max, 32768, false},
        {"max_minus_32768", ScrollLimitCase::Max, -32768, true},
        {"max_minus_32769", ScrollLimitCase::Max, -32769, false},
        {"min_minus_32768", ScrollLimitCase::Min, -32768, true},
        {"min_minus_32769", ScrollLimitCase::Min, -32769, false},
        {"min_32767", ScrollLimitCase::Min, 32767, true},
        {"min_32768", ScrollLimitCase::Min, 32768, false},
        {"value_32767", ScrollLimitCase::Value, 32767, true},
        {"value_32768", ScrollLimitCase::Value, 32768, false},
        {"value_minus_32768", ScrollLimitCase::Value, -32768, true},
        {"value_minus_32769", ScrollLimitCase::Value, -32769, false},
        {"value_32767_and_a_half", ScrollLimitCase::Value, 32767.5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScrollBar vs("VS", nullptr);
        // A range as wide as 16 bits allow, so that only the width can refuse.
        vs.setMin(-32768);
        vs.setMax(32767);
        vs.setValue(5);
        const auto min0 = vs.Min(), max0 = vs.Max(), value0 = vs.Value();
        int changes = 0;
        vs.Change.connect([&] { ++changes; });
        auto assign = [&] {
            switch (c.prop) {
                case ScrollLimitCase::Min: vs.setMin(c.v); break;
                case ScrollLimitCase::Max: vs.setMax(c.v); break;
                case ScrollLimitCase::Value: vs.setValue(c.v); break;
            }
        };
        if (c.ok) {
            EXPECT_NO_THROW(assign());
            const double got = c.prop == ScrollLimitCase::Min ? vs.Min() : c.prop == ScrollLimitCase::Max ? vs.Max() : vs.Value();
            EXPECT_EQ(got, c.v);
        } else {
            EXPECT_THROW(assign(), Failure);
            EXPECT_EQ(vs.Min(), min0);
            EXPECT_EQ(vs.Max(), max0);
            EXPECT_EQ(vs.Value(), value0);
            EXPECT_EQ(changes, 0);
        }
    }
}

TEST(ScrollBar, ADifferentValueRaisesChangeBeforeTheSetterReturns) {
    const struct {
        const char* name;
        double assign;
        int changes;
        int value;
    } cases[] = {
        {"different", 7, 1, 7},
        {"same", 3, 0, 3},
        {"same_after_rounding_half_to_even", 2.5, 1, 2},
        {"three_and_a_half_rounds_to_four", 3.5, 1, 4},
        {"rounds_to_the_same", 3.4, 0, 3},
        {"to_min", 0, 1, 0},
        {"to_max", 100, 1, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScrollBar vs("VS", nullptr);
        vs.setMax(100);
        vs.setValue(3);
        std::vector<int> seen;  // the value each Change saw
        vs.Change.connect([&] { seen.push_back(vs.Value()); });
        vs.setValue(c.assign);
        EXPECT_EQ(static_cast<int>(seen.size()), c.changes);
        for (int v : seen) EXPECT_EQ(v, c.value);
        EXPECT_EQ(vs.Value(), c.value);
    }
}

TEST(ScrollBar, AValueOutsideTheRangeFails) {
    const struct {
        const char* name;
        double v;
    } cases[] = {{"above_max", 11}, {"below_min", -1}, {"far_above", 30000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScrollBar vs("VS", nullptr);
        vs.setMax(10);
        vs.setValue(4);
        int changes = 0;
        vs.Change.connect([&] { ++changes; });
        EXPECT_THROW(vs.setValue(c.v), Failure);
        EXPECT_EQ(vs.Value(), 4);
        EXPECT_EQ(changes, 0);
    }
}

TEST(ScrollBar, ARangeThatNoLongerHoldsTheValuePullsItInAsAChange) {
    const struct {
        const char* name;
        int min, max;  // assigned in this order
        int value;
        int changes;
    } cases[] = {
        {"max_below_value", 0, 20, 20, 1},
        {"max_to_zero", 0, 0, 0, 1},
        {"max_still_above_value", 0, 60, 50, 0},
        {"max_equal_to_value", 0, 50, 50, 0},
        {"min_above_value", 70, 100, 70, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScrollBar vs("VS", nullptr);
        vs.setMax(100);
        vs.setValue(50);
        std::vector<int> seen;
        vs.Change.connect([&] { seen.push_back(vs.Value()); });
        vs.setMin(c.min);
        vs.setMax(c.max);
        EXPECT_EQ(vs.Value(), c.value);
        EXPECT_EQ(static_cast<int>(seen.size()), c.changes);
        for (int v : seen) EXPECT_EQ(v, c.value);
    }
}

TEST(ScrollBar, TheUsersThumbRaisesScrollWhileDraggingAndChangeAtTheEnd) {
    platform::ScrollBar vs("VS", nullptr);
    vs.setMax(100);
    int scrolls = 0, changes = 0;
    vs.Scroll.connect([&] { ++scrolls; });
    vs.Change.connect([&] { ++changes; });
    vs.UserScroll(10);
    vs.UserScroll(20);
    vs.UserScroll(20);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(vs.Value(), 20);
    vs.UserEndScroll(20);  // let go where the drag left it: still a change
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(vs.Value(), 20);
    vs.UserChange(30);
    EXPECT_EQ(changes, 2);
    vs.UserChange(500);  // past the end: the thumb stops at Max
    EXPECT_EQ(vs.Value(), 100);
    EXPECT_EQ(changes, 3);
}

// ---------------------------------------------------------------- DirList

TEST(DirList, ADifferentPathRaisesChangeTheSameDoesNotAndABadPathFails) {
    test_support::FakeSystem sys;
    test_support::TempFolder a, b;
    ::mkdir((a.path() + "/sub").c_str(), 0755);
    a.write("file.exe", "x");
    platform::DirList dir("Dir1", nullptr, [&](const std::string& cur, const std::string& req) {
        return sys.ResolveFolder(cur, req);
    });
    std::vector<std::string> seen;  // the Path each Change saw
    dir.Change.connect([&] { seen.push_back(dir.Path()); });

    const struct {
        const char* name;
        std::string assign;
        bool fails;
        std::string path;  // afterwards
        int changes;       // in total so far
    } steps[] = {
        {"first_folder", a.path(), false, a.path(), 1},
        {"same_folder", a.path(), false, a.path(), 1},
        {"same_folder_with_trailing_slash", a.path() + "/", false, a.path(), 1},
        {"subfolder", a.path() + "/sub", false, a.path() + "/sub", 2},
        {"missing_folder", a.path() + "/missing", true, a.path() + "/sub", 2},
        {"a_file", a.file("file.exe"), true, a.path() + "/sub", 2},
        {"empty", "", true, a.path() + "/sub", 2},
        {"another_folder", b.path(), false, b.path(), 3},
        {"root", "/", false, "/", 4},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.fails)
            EXPECT_THROW(dir.setPath(s.assign), Failure);
        else
            EXPECT_NO_THROW(dir.setPath(s.assign));
        EXPECT_EQ(dir.Path(), s.path);
        ASSERT_EQ(static_cast<int>(seen.size()), s.changes);
        EXPECT_EQ(seen.back(), s.path);
    }
}

// ---------------------------------------------------------------- PictureBox

TEST(PictureBox, ImageHasTheClientPixelSize) {
    const struct {
        const char* name;
        platform::ScreenScale scale;
        double width, height, border;
        int px, py;
    } cases[] = {
        {"cell_96_dpi", {96, 96}, 480, 480, 0, 32, 32},
        {"cell_120_dpi", {120, 120}, 384, 384, 0, 32, 32},
        {"designed_cell_96_dpi", {96, 96}, 495, 495, 0, 33, 33},
        {"with_border", {96, 96}, 480, 300, 30, 28, 16},
        {"empty", {96, 96}, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::PictureBox p("picIcon", nullptr, c.scale);
        p.Move(0, 0, c.width, c.height);
        p.setBorder(static_cast<Twips>(c.border));
        const pixels::Bitmap img = p.Image();
        EXPECT_EQ(img.width, c.px);
        EXPECT_EQ(img.height, c.py);
    }
}

TEST(PictureBox, KeepsWhatIsDrawnUntilCls) {
    const pixels::Argb white = pixels::MakeArgb(255, 255, 255), red = pixels::MakeArgb(255, 0, 0),
                         blue = pixels::MakeArgb(0, 0, 255);
    platform::PictureBox p("picIcon", nullptr, {96, 96});
    p.Move(240, 240, 480, 480);
    p.setBackColor(white);

    EXPECT_TRUE(p.IsBlank());
    EXPECT_EQ(p.Image(), pixels::Bitmap(32, 32, white));

    p.Draw([&](pixels::Bitmap& b) {
        ASSERT_EQ(b.width, 32);
        ASSERT_EQ(b.height, 32);
        EXPECT_EQ(b.at(0, 0), white);  // a fresh surface is the background
        b.at(3, 4) = red;
    });
    p.Draw([&](pixels::Bitmap& b) {
        EXPECT_EQ(b.at(3, 4), red);  // the earlier drawing is still there
        b.at(31, 31) = blue;
    });
    EXPECT_FALSE(p.IsBlank());
    pixels::Bitmap want(32, 32, white);
    want.at(3, 4) = red;
    want.at(31, 31) = blue;
    EXPECT_EQ(p.Image(), want);

    // Moving the box does not touch its image.
    p.Move(0, 0);
    EXPECT_EQ(p.Image(), want);

    p.Cls();
    EXPECT_TRUE(p.IsBlank());
    EXPECT_EQ(p.Image(), pixels::Bitmap(32, 32, white));
}

TEST(PictureBox, BlankIsTheBackgroundColour) {
    const pixels::Argb grey = pixels::MakeArgb(192, 192, 192), green = pixels::MakeArgb(0, 255, 0);
    platform::PictureBox p("picIcon", nullptr, {96, 96});
    p.Move(0, 0, 480, 480);
    p.setBackColor(grey);
    EXPECT_EQ(p.Image(), pixels::Bitmap(32, 32, grey));
    p.Draw([&](pixels::Bitmap& b) { b.at(0, 0) = green; });
    p.setBackColor(green);
    p.Cls();
    EXPECT_EQ(p.Image(), pixels::Bitmap(32, 32, green));
}

TEST(PictureBox, GrowingKeepsTheDrawingAndFillsTheNewAreaWithTheBackground) {
    const pixels::Argb white = pixels::MakeArgb(255, 255, 255), red = pixels::MakeArgb(255, 0, 0);
    platform::PictureBox p("picIcon", nullptr, {96, 96});
    p.Move(0, 0, 480, 480);
    p.Draw([&](pixels::Bitmap& b) { b.fill(red); });
    p.setWidth(600);  // 40 pixels
    const pixels::Bitmap img = p.Image();
    ASSERT_EQ(img.width, 40);
    ASSERT_EQ(img.height, 32);
    EXPECT_EQ(img.at(31, 31), red);
    EXPECT_EQ(img.at(32, 0), white);
    EXPECT_EQ(img.at(39, 31), white);
}

// A cleared cell's image serves the next cell drawn, which starts blank; the
// trim keeps spare images while cells take them, then gives them back.
TEST(PictureBox, CellsShareSpareImagesThroughThePool) {
    const pixels::Argb red = pixels::MakeArgb(255, 0, 0);
    platform::BitmapPool pool;
    auto cell = [&] {
        auto p = std::make_unique<platform::PictureBox>("picIcon", nullptr, platform::ScreenScale{96, 96}, &pool);
        p->Move(0, 0, 480, 480);
        return p;
    };
    auto a = cell(), b = cell();
    const void* storage = nullptr;
    a->Draw([&](pixels::Bitmap& img) { img.fill(red), storage = img.pixels.data(); });
    a->Cls();
    EXPECT_EQ(pool.SpareImages(), 1u);
    b->Draw([&](pixels::Bitmap& img) { EXPECT_EQ(img.pixels.data(), storage) << "the cleared cell's image"; });
    EXPECT_EQ(b->Image(), pixels::Bitmap(32, 32, b->BackColor())) << "nothing of the cell before shows";
    EXPECT_EQ(pool.SpareImages(), 0u);
    b.reset();  // a destroyed cell gives its image back too
    EXPECT_EQ(pool.SpareImages(), 1u);
    pool.Trim();
    EXPECT_EQ(pool.SpareImages(), 1u) << "one was taken since the last trim";
    pool.Trim();
    EXPECT_EQ(pool.SpareImages(), 0u) << "a whole tick idle";
}

// ---------------------------------------------------------------- Label, ProgressBar

TEST(Label, WithAutoSizeTheWidthFollowsTheCaption) {
    platform::Label l("lblStatus", nullptr, [](const std::string& t) { return static_cast<Twips>(t.size() * 90); });
    l.Move(60, 60, 540, 180);
    l.setCaption("abc");
    EXPECT_EQ(l.Width(), 540);  // no auto-size: the designed width stays
    l.setAutoSize(true);
    EXPECT_EQ(l.Width(), 270);
    l.setCaption("");
    EXPECT_EQ(l.Width(), 0);
    l.setCaption("abcdefghij");
    EXPECT_EQ(l.Width(), 900);
    EXPECT_EQ(l.Left(), 60);
    EXPECT_EQ(l.Height(), 180);
}

TEST(ProgressBar, APositionOutsideTheRangeFailsAndARangeBelowThePositionPullsItIn) {
    platform::ProgressBar bar("progbar", nullptr);
    bar.setMin(0);
    bar.setMax(9);
    bar.setValue(9);
    EXPECT_THROW(bar.setValue(9.5), Failure);
    EXPECT_THROW(bar.setValue(-1), Failure);
    EXPECT_EQ(bar.Value(), 9);
    bar.setMax(4);
    EXPECT_EQ(bar.Value(), 4);
    bar.setMin(2);
    bar.setMax(100);
    EXPECT_THROW(bar.setValue(1), Failure);
    EXPECT_EQ(bar.Value(), 4);
}

}  // namespace
