// The four lines of the selection frame.
#include <gtest/gtest.h>

#include <array>

#include "window_fixture.h"

namespace {

using main_window::frmMain;
using main_window_test::TestWindow;

struct Ends {
    float x1, y1, x2, y2;
    bool operator==(const Ends&) const = default;
};

Ends Read(const platform::Line& l) { return {l.X1(), l.Y1(), l.X2(), l.Y2()}; }

TEST(SetFrameLine, SetsTheLinesEndPointsAndNothingElse) {
    const struct {
        const char* name;
        int line;
        int x1, y1, x2, y2;
        bool vertical, horizontal;
    } cases[] = {
        {"left_side_vertical", 0, 180, 180, 180, 780, true, false},
        {"top_side_horizontal", 1, 180, 180, 780, 180, false, true},
        {"negative_coordinates", 2, -60, -60, -60, 540, true, false},
        {"all_negative", 3, -900, -15, -15, -15, false, true},
        {"a_point", 0, 5, 5, 5, 5, true, true},
        {"slanted", 1, 0, 0, 480, 480, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        frmMain& f = w.f();
        std::array<Ends, 4> before;
        for (int i = 0; i < 4; ++i) before[static_cast<std::size_t>(i)] = Read(f.lnFrame(i));
        int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        f.SetFrameLine(f.lnFrame(c.line), x1, y1, x2, y2);
        const platform::Line& l = f.lnFrame(c.line);
        EXPECT_EQ(Read(l), (Ends{static_cast<float>(c.x1), static_cast<float>(c.y1), static_cast<float>(c.x2),
                                 static_cast<float>(c.y2)}));
        EXPECT_EQ(l.X1() == l.X2(), c.vertical);
        EXPECT_EQ(l.Y1() == l.Y2(), c.horizontal);
        EXPECT_FALSE(l.Visible());  // placing a line does not show it
        for (int i = 0; i < 4; ++i) {
            if (i == c.line) continue;
            EXPECT_EQ(Read(f.lnFrame(i)), before[static_cast<std::size_t>(i)]) << "line " << i;
        }
    }
}

TEST(ShowSelectionFrame, ActsOnAllFourLinesAndKeepsTheirEnds) {
    const struct {
        const char* name;
        std::array<bool, 4> before;
        bool show;
    } cases[] = {
        {"show_all_hidden", {false, false, false, false}, true},
        {"show_mixed", {true, false, true, false}, true},
        {"hide_all_shown", {true, true, true, true}, false},
        {"hide_mixed", {false, true, false, true}, false},
        {"show_only_the_last_hidden", {true, true, true, false}, true},
        {"hide_only_the_first_shown", {true, false, false, false}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        frmMain& f = w.f();
        std::array<Ends, 4> ends;
        for (int i = 0; i < 4; ++i) {
            f.SetFrameLine(f.lnFrame(i), 100 * i, -10 * i, 100 * i + 50, 10 * i);
            f.lnFrame(i).setVisible(c.before[static_cast<std::size_t>(i)]);
            ends[static_cast<std::size_t>(i)] = Read(f.lnFrame(i));
        }
        f.ShowSelectionFrame(c.show);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(f.lnFrame(i).Visible(), c.show);
            EXPECT_EQ(Read(f.lnFrame(i)), ends[static_cast<std::size_t>(i)]);
        }
    }
}

TEST(ShowSelectionFrame, WithNoSelectionShowsTheLinesWhereTheyWereLeft) {
    TestWindow w;
    frmMain& f = w.f();
    f.Form_Load();
    ASSERT_EQ(f.SelectedIcon, -1);
    f.SetFrameLine(f.lnFrame(2), 700, 40, 700, 520);
    f.ShowSelectionFrame(false);
    f.ShowSelectionFrame(true);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(f.lnFrame(i).Visible()) << i;
    EXPECT_EQ(Read(f.lnFrame(2)), (Ends{700, 40, 700, 520}));
    EXPECT_EQ(Read(f.lnFrame(3)), (Ends{0, 2880, 0, 3600}));
    EXPECT_EQ(f.SelectedIcon, -1);
}

}  // namespace
