// The arithmetic the views share: twips to pixels, the Save dialog's filter,
// the progress bar's steps, the dispatcher's guard.
#include <gtest/gtest.h>

#include "platform/controls/frame.h"
#include "platform/controls/picture_box.h"
#include "qt/dispatcher.h"
#include "qt/placement.h"
#include "qt/progress_bar_view.h"
#include "qt/qt_services.h"

namespace {

using platform_qt::ToPixels;

struct PixelCase {
    const char* name;
    double twips;
    double dpi;
    int pixels;
};

TEST(TwipsToPixels, RoundsAtTheScreensDpi) {
    const PixelCase cases[] = {
        {"one pixel at 96 dpi", 15, 96, 1},
        {"client width at 96 dpi", 9630, 96, 642},
        {"client height at 96 dpi", 7875, 96, 525},
        {"cell at 96 dpi", 480, 96, 32},
        {"cell at 120 dpi", 384, 120, 32},
        {"twips of a cell at 96 dpi shown at 120 dpi", 480, 120, 40},
        {"client height at 120 dpi", 7875, 120, 656},
        {"half a pixel goes to the even neighbour, down", 9630, 120, 802},
        {"half a pixel goes to the even neighbour, up", 22.5, 96, 2},
        {"the selection frame's margin", 18, 96, 1},
        {"a negative position", -18, 96, -1},
        {"minimum width at 96 dpi", 8535, 96, 569},
        {"minimum height at 96 dpi", 6500, 96, 433},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToPixels(c.twips, 1440.0 / c.dpi), c.pixels) << c.name;
}

TEST(TwipsToPixels, ChildrenCountFromTheContainersClientArea) {
    struct Case {
        const char* name;
        double dpi;
        float border;
        QRect expected;
    };
    const Case cases[] = {
        {"borderless frame at 96 dpi", 96, 0, QRect(16, 16, 32, 32)},
        {"two-pixel border at 96 dpi", 96, 30, QRect(18, 18, 32, 32)},
        {"borderless frame at 120 dpi", 120, 0, QRect(20, 20, 40, 40)},
        {"two-pixel border at 120 dpi", 120, 24, QRect(22, 22, 40, 40)},
    };
    for (const auto& c : cases) {
        const platform::ScreenScale scale{c.dpi, c.dpi};
        platform::PictureBox holder("holder", nullptr, scale);
        holder.setBorder(c.border);
        platform::Frame child("child", &holder);
        child.Move(240, 240, 480, 480);
        EXPECT_EQ(platform_qt::PixelRect(child, scale), c.expected) << c.name;
    }
}

TEST(SaveDialogFilter, BecomesQtNameFilters) {
    struct Case {
        const char* name;
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"the icon menu's filter",
         "GIF (*.gif)|*.gif|JPEG (*.jpeg)|*.jpeg|ICO (*.ico)|*.ico|BMP (*.bmp)|*.bmp",
         {"GIF (*.gif)", "JPEG (*.jpeg)", "ICO (*.ico)", "BMP (*.bmp)"}},
        {"text without its pattern", "Pictures|*.bmp", {"Pictures (*.bmp)"}},
        {"several patterns", "Text (*.txt;*.log)|*.txt;*.log", {"Text (*.txt *.log)"}},
        {"a pattern that differs from the text", "All (*.x)|*.*", {"All (*.*)"}},
        {"a text without its pattern is dropped", "A|*.a|B", {"A (*.a)"}},
        {"no filter", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(platform_qt::ToQtNameFilters(c.filter), c.expected) << c.name;
}

TEST(ProgressSteps, ShareOfTheRange) {
    struct Case {
        const char* name;
        double min, max, value;
        int step;
    };
    const Case cases[] = {
        {"start", 0, 100, 0, 0},
        {"half way", 0, 100, 50, platform_qt::ProgressBarView::kSteps / 2},
        {"the end", 0, 4, 4, platform_qt::ProgressBarView::kSteps},
        {"a range below zero", -10, 10, 0, platform_qt::ProgressBarView::kSteps / 2},
        {"an empty range", 0, 0, 0, 0},
        {"a range upside down", 5, 1, 3, 0},
        {"one of three", 0, 2, 1, platform_qt::ProgressBarView::kSteps / 2},
    };
    for (const auto& c : cases) EXPECT_EQ(platform_qt::ProgressBarView::StepOf(c.min, c.max, c.value), c.step) << c.name;
}

TEST(Dispatcher, CatchesFailuresAndDropsInputAfterTheEnd) {
    bool ended = false;
    platform_qt::Dispatcher dispatch([&] { return ended; });
    int ran = 0;
    EXPECT_FALSE(dispatch([&] { throw platform::Failure("invalid property value"); }));
    EXPECT_EQ(dispatch.Failures(), 1);
    EXPECT_EQ(dispatch.LastFailure(), "invalid property value");
    EXPECT_TRUE(dispatch([&] { ++ran; })) << "the next event still runs";
    EXPECT_FALSE(dispatch([&] { throw std::out_of_range("index"); }));
    EXPECT_EQ(dispatch.Failures(), 2);
    EXPECT_FALSE(dispatch([&] { throw platform::ProgramEnded(); }));
    EXPECT_EQ(dispatch.Failures(), 2) << "a handler unwound by the end did not fail";
    ended = true;
    EXPECT_FALSE(dispatch([&] { ++ran; }));
    EXPECT_EQ(ran, 1) << "no handler runs after the end";
}

}  // namespace
