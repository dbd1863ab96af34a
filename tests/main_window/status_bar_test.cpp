// ShowProgress's table and ShowStatus's placement of the bar.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using main_window::frmMain;
using main_window_test::TestWindow;

struct Bar {
    float min, max, value;
    bool visible;
    bool operator==(const Bar&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Bar& b) {
    return o << b.min << ".." << b.max << " @" << b.value << (b.visible ? " shown" : " hidden");
}

Bar Read(const frmMain& f) { return {f.progbar.Min(), f.progbar.Max(), f.progbar.Value(), f.progbar.Visible()}; }

void Set(frmMain& f, const Bar& b) {
    f.progbar.setMin(b.min);
    f.progbar.setMax(b.max);
    f.progbar.setValue(b.value);
    f.progbar.setVisible(b.visible);
}

struct ProgressCase {
    const char* name;
    Bar before;
    int value, max;
    Bar after;
};

TEST(ShowProgress, MaxChoosesTheRangeAndVisibilityThenValueMovesTheBarWhenItFits) {
    const ProgressCase cases[] = {
        {"start_of_a_run", {0, 100, 37, false}, 0, 10, {0, 9, 0, true}},
        {"run_of_two", {0, 100, 37, false}, 0, 2, {0, 1, 0, true}},
        {"run_started_with_a_value_inside", {0, 100, 37, false}, 1, 3, {0, 2, 1, true}},
        {"run_started_at_its_last_index", {0, 100, 37, false}, 2, 3, {0, 2, 2, true}},
        {"value_5_max_3_ignores_the_value", {0, 100, 50, false}, 5, 3, {0, 2, 0, true}},
        {"run_restarted_on_a_shown_bar", {0, 9, 8, true}, 0, 5, {0, 4, 0, true}},
        {"end_of_a_run_0_0", {0, 9, 4, true}, 0, 0, {0, 9, 0, false}},
        {"hide_with_a_value_above_max", {0, 9, 4, true}, 12, 0, {0, 9, 4, false}},
        {"hide_with_a_value_inside", {0, 9, 4, true}, 7, 0, {0, 9, 7, false}},
        {"max_1_leaves_a_hidden_bar_hidden", {0, 100, 30, false}, 0, 1, {0, 100, 0, false}},
        {"max_1_leaves_a_shown_bar_shown", {0, 9, 4, true}, 0, 1, {0, 9, 0, true}},
        {"max_1_moves_the_position", {0, 9, 4, true}, 5, 1, {0, 9, 5, true}},
        {"advance", {0, 9, 4, true}, 5, -1, {0, 9, 5, true}},
        {"advance_to_the_end", {0, 6, 3, true}, 6, -1, {0, 6, 6, true}},
        {"value_7_past_max_6_leaves_the_position", {0, 6, 3, true}, 7, -1, {0, 6, 3, true}},
        {"other_negative_max", {0, 9, 4, false}, 3, -5, {0, 9, 3, false}},
        {"large_negative_max", {0, 9, 4, true}, 2, INT32_MIN, {0, 9, 2, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        frmMain& f = w.f();
        Set(f, c.before);
        const float left = f.progbar.Left(), width = f.progbar.Width();
        f.ShowProgress(c.value, c.max);
        EXPECT_EQ(Read(f), c.after);
        // The bar's place is ShowStatus's business.
        EXPECT_EQ(f.progbar.Left(), left);
        EXPECT_EQ(f.progbar.Width(), width);
    }
}

TEST(ShowProgress, YieldsOnceOnEveryCallAfterTheBarIsSet) {
    const struct {
        const char* name;
        int value, max;
    } calls[] = {{"start", 0, 10}, {"advance", 3, -1}, {"past_the_end", 99, -1}, {"one_item", 0, 1}, {"end", 0, 0}, {"end_again", 0, 0}};
    TestWindow w;
    frmMain& f = w.f();
    Bar atYield{};
    w.screen.onYield = [&](int) { atYield = Read(f); };
    int yields = w.screen.yields;
    for (const auto& c : calls) {
        SCOPED_TRACE(c.name);
        f.ShowProgress(c.value, c.max);
        EXPECT_EQ(w.screen.yields, ++yields);
        EXPECT_EQ(atYield, Read(f));  // the yield comes last
    }
}

TEST(ShowProgress, PendingEventsRunInsideTheCall) {
    TestWindow w;
    frmMain& f = w.f();
    bool ran = false;
    w.screen.queued.push_back([&] { ran = true; });
    f.ShowProgress(0, 5);
    EXPECT_TRUE(ran);
}

TEST(ShowProgress, ARunStartedInsideAnotherRunsYieldEndsAtPositionZero) {
    TestWindow w;
    frmMain& f = w.f();
    f.ShowProgress(0, 10);
    f.ShowProgress(8, -1);
    // A handler that runs during the next yield starts a shorter run.
    w.screen.queued.push_back([&] { f.ShowProgress(0, 3); });
    f.ShowProgress(9, -1);
    EXPECT_EQ(Read(f), (Bar{0, 2, 0, true}));
    // The outer run carries on; its later indexes lie past the new range.
    f.ShowProgress(9, -1);
    EXPECT_EQ(Read(f), (Bar{0, 2, 0, true}));
    f.ShowProgress(0, 0);
    EXPECT_EQ(Read(f), (Bar{0, 2, 0, false}));
}

// 6 pixels a character under the test double's text metrics.
float TextWidth(const std::string& text, double twipsPerPixel) {
    int chars = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++chars;
    return static_cast<float>(chars * 6 * twipsPerPixel);
}

struct StatusCase {
    const char* name;
    std::string text;
    float labelWidth;
    float barLeft, barWidth;
};

TEST(ShowStatus, TheBarStartsFiftyTwipsAfterTheTextAndEndsAtTheClientWidth) {
    const StatusCase cases[] = {
        {"empty", "", 0, 110, 9520},
        {"placing_icons", "定位图标", 360, 470, 9160},
        {"reading_the_file_list", "读取文件列表...", 810, 920, 8710},
        {"reading_a_file", "读取窗体 shell32.dll", 1440, 1550, 8080},
        {"long_text", std::string(100, 'x'), 9000, 9110, 520},
        {"bar_just_past_the_edge", std::string(106, 'x'), 9540, 9650, 0},
        {"wider_than_the_window", std::string(200, 'x'), 18000, 18110, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(TextWidth(c.text, 15), c.labelWidth);  // the table agrees with the metrics
        TestWindow w;
        frmMain& f = w.f();
        const int yields = w.screen.yields;
        f.ShowStatus(c.text);
        EXPECT_EQ(f.lblStatus.Caption(), c.text);
        EXPECT_EQ(f.lblStatus.Width(), c.labelWidth);
        EXPECT_EQ(f.lblStatus.Left(), 60);
        EXPECT_EQ(f.progbar.Left(), c.barLeft);
        EXPECT_EQ(f.progbar.Width(), c.barWidth);
        EXPECT_EQ(f.progbar.Top(), 120);
        EXPECT_EQ(f.progbar.Height(), 135);
        EXPECT_EQ(w.screen.yields, yields);  // no yield here
    }
}

TEST(ShowStatus, ALongerTextGivesANarrowerBar) {
    TestWindow w;
    frmMain& f = w.f();
    float last = 1e9f;
    for (const char* text : {"", "a", "定位图标", "读取文件列表...", "读取窗体 a-much-longer-file-name.exe"}) {
        SCOPED_TRACE(text);
        f.ShowStatus(text);
        EXPECT_LT(f.progbar.Width(), last);
        EXPECT_EQ(f.progbar.Left() + f.progbar.Width(), f.Me.ScaleWidth());
        last = f.progbar.Width();
    }
}

TEST(ShowStatus, TheRightEdgeIsTheWindowsClientWidth) {
    // A frame around the client area and a border inside the strip: neither
    // the outer width nor the strip's inner width is the edge.
    TestWindow w;
    frmMain& f = w.f();
    f.Me.setNonClient({60, 390, 60, 60});
    ASSERT_EQ(f.Me.ScaleWidth(), 9510);
    ASSERT_NE(f.picStatus.ScaleWidth(), f.Me.ScaleWidth());
    f.ShowStatus("定位图标");
    EXPECT_EQ(f.progbar.Left(), 470);
    EXPECT_EQ(f.progbar.Width(), 9040);
}

TEST(ShowStatus, FollowsTheLabelsLeft) {
    TestWindow w;
    frmMain& f = w.f();
    f.lblStatus.setLeft(200);
    f.ShowStatus("定位图标");
    EXPECT_EQ(f.progbar.Left(), 610);
    EXPECT_EQ(f.progbar.Width(), 9020);
}

TEST(ShowStatus, At120DpiTheTextMeasuresInTheScreensTwips) {
    TestWindow w(120, 120);
    frmMain& f = w.f();
    f.ShowStatus("定位图标");  // 24 pixels of 12 twips
    EXPECT_EQ(f.lblStatus.Width(), 288);
    EXPECT_EQ(f.progbar.Left(), 398);
    EXPECT_EQ(f.progbar.Width(), 9232);
}

TEST(StatusBar, ATypicalRunShowsThenHidesTheBarAndClearsTheText) {
    TestWindow w;
    frmMain& f = w.f();
    f.Form_Load();
    f.ShowStatus("定位图标");
    f.ShowProgress(0, 3);
    std::vector<float> positions;
    for (int k = 0; k < 3; ++k) {
        f.ShowProgress(k, -1);
        positions.push_back(f.progbar.Value());
        EXPECT_TRUE(f.progbar.Visible());
    }
    f.ShowProgress(0, 0);
    f.ShowStatus("");
    EXPECT_EQ(positions, (std::vector<float>{0, 1, 2}));
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_EQ(f.lblStatus.Caption(), "");
    EXPECT_EQ(f.progbar.Left(), 110);
}

}  // namespace
