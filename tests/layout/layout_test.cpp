// The window's layout on resize: the minimum size and the pointer, the
// geometry of every control, and what happens when a step cannot be done.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "fake_services.h"
#include "main_window/frm_main.h"

namespace {

using platform::Point;
using test_support::FakeScreen;
using test_support::FakeSystem;

// A typical frame: 4 pixels at the sides and the bottom, a 30-pixel caption.
constexpr platform::Window::Frame kFrame{60, 450, 60, 60};
// The window's outer position, chosen so that its minimum-size corner falls
// on half pixels: 1507.5 + 8535 twips is 669.5 pixels, 1217.5 + 6500 is 514.5.
constexpr double kLeft = 1507.5, kTop = 1217.5;
constexpr Point kPointer{400, 300};

// Everything a pass sets, and the window's size.
struct Geometry {
    float winW, winH;
    float dir1H, file1T, file1H, noFilesL, noFilesT;
    float holderW, holderH, frameW, frameH, vsL, vsH, iconsL, iconsW, iconsH;
    float barL, barW, statusL, statusT, statusW, statusH;
    bool operator==(const Geometry&) const = default;
};

void PrintTo(const Geometry& g, std::ostream* os) {
    *os << "window " << g.winW << "x" << g.winH << ", Dir1.H " << g.dir1H << ", File1 T/H " << g.file1T << "/"
        << g.file1H << ", fraNoFiles L/T " << g.noFilesL << "/" << g.noFilesT << ", picIconHolder " << g.holderW
        << "x" << g.holderH << ", fraIconHolder " << g.frameW << "x" << g.frameH << ", VS L/H " << g.vsL << "/"
        << g.vsH << ", fraIcons L/W/H " << g.iconsL << "/" << g.iconsW << "/" << g.iconsH << ", progbar L/W "
        << g.barL << "/" << g.barW << ", picStatus " << g.statusL << "," << g.statusT << " " << g.statusW << "x"
        << g.statusH;
}

Geometry Read(main_window::frmMain& f) {
    return {f.Me.Width(),           f.Me.Height(),          f.Dir1.Height(),       f.File1.Top(),
            f.File1.Height(),       f.fraNoFiles.Left(),    f.fraNoFiles.Top(),    f.picIconHolder.Width(),
            f.picIconHolder.Height(), f.fraIconHolder.Width(), f.fraIconHolder.Height(), f.VS.Left(),
            f.VS.Height(),          f.fraIcons.Left(),      f.fraIcons.Width(),    f.fraIcons.Height(),
            f.progbar.Left(),       f.progbar.Width(),      f.picStatus.Left(),    f.picStatus.Top(),
            f.picStatus.Width(),    f.picStatus.Height()};
}

class LayoutTest : public ::testing::Test {
protected:
    // As the program starts: Form_Load, then the window shown in its frame.
    void SetUp() override { Start(kFrame); }

    void Start(platform::Window::Frame frame) {
        form.reset();
        screen = std::make_unique<FakeScreen>();
        sys = std::make_unique<FakeSystem>();
        screen->cursor = kPointer;
        form = std::make_unique<main_window::frmMain>(*screen, *sys);
        f().ArrangeIcons = [this] { arranged.push_back(Read(f())); };
        f().Me.Load.raise();
        f().Me.setNonClient(frame);
        f().Me.PlatformMoved(kLeft, kTop);
        f().Me.setClientSize(9630, 7875);
        arranged.clear();
        screen->cursorMoves.clear();
    }

    main_window::frmMain& f() { return *form; }

    std::unique_ptr<FakeScreen> screen;
    std::unique_ptr<FakeSystem> sys;
    std::unique_ptr<main_window::frmMain> form;
    std::vector<Geometry> arranged;  // what ArrangeIcons saw, one entry a call
};

TEST_F(LayoutTest, TheDesignSizeGivesTheDocumentedLayout) {
    // Client 9630 x 7875, status bar 375 high, drive box at 120 with 315:
    // H = 7500, D = 7065 / 2 = 3532.5, which goes to the even 3532.
    ASSERT_EQ(f().Me.ScaleWidth(), 9630);
    ASSERT_EQ(f().Me.ScaleHeight(), 7875);
    f().Form_Resize();
    const Geometry g = Read(f());
    EXPECT_EQ(g.dir1H, 3432);
    EXPECT_EQ(g.file1T, 3932);
    EXPECT_EQ(g.file1H, 3448);
    EXPECT_EQ(f().picIconHolder.Left(), 3135);
    EXPECT_EQ(f().picIconHolder.Top(), 120);
    EXPECT_EQ(g.holderW, 6375);
    EXPECT_EQ(g.holderH, 7260);
    EXPECT_EQ(g.frameW, 6375);
    EXPECT_EQ(g.frameH, 7260);
    // The viewport's 2-pixel border leaves a client area of 6315 x 7200.
    EXPECT_EQ(g.vsL, 6315 - f().VS.Width());
    EXPECT_EQ(g.vsH, 7200);
    EXPECT_EQ(g.iconsL, 50);
    EXPECT_EQ(g.iconsW, 6375 - f().VS.Width() - 50);
    EXPECT_EQ(g.iconsH, 7260 - 300);
    // Centred on the file list, halves kept: (2895 - 2535) / 2 + 120 and
    // (3448 - 375) / 2 + 3932.
    EXPECT_EQ(g.noFilesL, 300);
    EXPECT_EQ(g.noFilesT, 5468.5f);
    EXPECT_EQ(g.statusL, 0);
    EXPECT_EQ(g.statusT, 7500);
    EXPECT_EQ(g.statusW, 9630);
    EXPECT_EQ(g.statusH, 375);
    // After an empty status text: 60 + 0 + 120, and the status bar's client
    // width (9630 less its border) less that and 120.
    EXPECT_EQ(g.barL, 180);
    EXPECT_EQ(g.barW, 9570 - 180 - 120);
}

TEST_F(LayoutTest, TheProgressBarFollowsTheStatusText) {
    f().ShowStatus("读取窗体 abc.exe");  // 12 characters, 6 pixels each
    f().Form_Resize();
    EXPECT_EQ(f().lblStatus.Width(), 12 * 6 * 15);
    EXPECT_EQ(f().progbar.Left(), 60 + 1080 + 120);
    EXPECT_EQ(f().progbar.Width(), 9570 - 1260 - 120);
}

// Whatever size the window takes, the status bar spans its client width and
// the progress bar ends 120 before the status bar's right edge, after one
// pass; a second pass changes nothing.
TEST_F(LayoutTest, EachPassLeavesAFinishedLayout) {
    struct Case {
        const char* name;
        double clientW, clientH;
    };
    const Case cases[] = {
        {"wider", 14000, 7875},
        {"narrower", 8500, 7875},
        {"taller and wider", 12345, 9876},
        {"the design size again", 9630, 7875},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f().Me.setClientSize(c.clientW, c.clientH);
        const Geometry g = Read(f());
        EXPECT_EQ(g.statusW, c.clientW);
        EXPECT_EQ(g.statusT, c.clientH - 375);
        EXPECT_EQ(g.barW, (c.clientW - 60) - g.barL - 120);
        EXPECT_EQ(g.holderW, c.clientW - 3135 - 120);
        f().Form_Resize();
        EXPECT_EQ(Read(f()), g);
    }
}

// D halves the free height and sends a half to the even neighbour.
TEST_F(LayoutTest, TheListsShareTheFreeHeightRoundingHalvesToEven) {
    struct Case {
        const char* name;
        double clientH;
        float d;
    };
    const Case cases[] = {
        {"7065 / 2 = 3532.5 goes down", 7875, 3532},
        {"7066 / 2 = 3533 exactly", 7876, 3533},
        {"7067 / 2 = 3533.5 goes up", 7877, 3534},
        {"a fraction of a twip is rounded first", 7876.4, 3533},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f().Me.setClientSize(9630, c.clientH);
        EXPECT_EQ(f().Dir1.Height(), c.d - 100);
        EXPECT_EQ(f().File1.Top(), c.d + 400);
        EXPECT_EQ(f().File1.Height(), static_cast<float>(std::nearbyint(c.clientH - 375)) - (c.d + 400) - 120);
    }
}

TEST_F(LayoutTest, TheMinimumSizeAndThePointer) {
    // Halves go to the even neighbour: 669.5 to 670, 514.5 to 514.
    struct Case {
        const char* name;
        double outerW, outerH;
        float expectW, expectH;
        std::vector<Point> moves;
    };
    const Case cases[] = {
        // Setting the width raises a pass of its own, which finds only the
        // height short and moves the pointer down; the outer pass then moves
        // it to the corner.
        {"both too small", 8000, 6000, 8535, 6500, {{400, 514}, {670, 514}}},
        {"width too small", 8000, 7000, 8535, 7000, {{670, 300}}},
        {"width one twip short", 8534, 6500, 8535, 6500, {{670, 300}}},
        {"height too small", 9000, 6000, 9000, 6500, {{400, 514}}},
        {"height one twip short", 8535, 6499, 8535, 6500, {{400, 514}}},
        {"exactly the minimum", 8535, 6500, 8535, 6500, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(kFrame);
        f().Me.PlatformResized(c.outerW, c.outerH);
        EXPECT_EQ(f().Me.Width(), c.expectW);
        EXPECT_EQ(f().Me.Height(), c.expectH);
        EXPECT_EQ(screen->cursorMoves, c.moves);
        // The layout is that of the size the window ended at.
        const Geometry g = Read(f());
        EXPECT_EQ(g.statusW, c.expectW - 120);
        EXPECT_EQ(g.statusT, c.expectH - 510 - 375);
        EXPECT_EQ(g.holderW, c.expectW - 120 - 3135 - 120);
        ASSERT_FALSE(arranged.empty());
        EXPECT_EQ(arranged.back(), g);
    }
}

TEST_F(LayoutTest, AMinimizedWindowIsLeftAlone) {
    const Geometry before = Read(f());
    f().Me.setState(platform::WindowState::Minimized);
    f().Me.PlatformResized(3000, 2000);
    EXPECT_EQ(f().Me.Width(), 3000);
    EXPECT_EQ(f().Me.Height(), 2000);
    EXPECT_TRUE(screen->cursorMoves.empty());
    EXPECT_TRUE(arranged.empty());
    const Geometry after = Read(f());
    EXPECT_EQ(after.dir1H, before.dir1H);
    EXPECT_EQ(after.file1H, before.file1H);
    EXPECT_EQ(after.holderW, before.holderW);
    EXPECT_EQ(after.statusT, before.statusT);

    // Restored at that size, it is enlarged like any other.
    f().Me.setState(platform::WindowState::Normal);
    EXPECT_EQ(f().Me.Width(), 8535);
    EXPECT_EQ(f().Me.Height(), 6500);
    ASSERT_FALSE(screen->cursorMoves.empty());
    EXPECT_EQ(screen->cursorMoves.back(), (Point{670, 514}));
}

TEST_F(LayoutTest, AMaximizedWindowIsLaidOutLikeANormalOne) {
    const double w = 19320, h = 16110;
    f().Me.setState(platform::WindowState::Maximized);
    f().Me.PlatformResized(w, h);
    const Geometry maximized = Read(f());
    EXPECT_EQ(maximized.holderW, w - 120 - 3135 - 120);

    Start(kFrame);
    f().Me.PlatformResized(w, h);
    EXPECT_EQ(Read(f()), maximized);
}

TEST_F(LayoutTest, AFailingStepIsSkippedAndTheRestStillRun) {
    // A caption so tall that 540 twips of client height remain: H = 165 and
    // D = (165 - 120 - 315) / 2 = -135, so the folder list, the file list and
    // the viewport would get negative heights.
    const Geometry before = Read(f());
    f().Me.setNonClient({60, 6000, 60, 60});
    f().Me.PlatformResized(9000, 6600);
    ASSERT_EQ(f().Me.ScaleHeight(), 540);
    const Geometry g = Read(f());
    EXPECT_EQ(g.dir1H, before.dir1H);
    EXPECT_EQ(g.file1T, -135 + 400);
    EXPECT_EQ(g.file1H, before.file1H);
    EXPECT_EQ(g.noFilesT, (before.file1H - 375) / 2 + 265);
    EXPECT_EQ(g.holderW, 8880 - 3135 - 120);
    EXPECT_EQ(g.holderH, before.holderH);
    EXPECT_EQ(g.frameW, g.holderW);
    EXPECT_EQ(g.vsL, g.holderW - 60 - f().VS.Width());
    EXPECT_EQ(g.iconsW, g.holderW - f().VS.Width() - 50);
    EXPECT_EQ(g.statusT, 165);
    EXPECT_EQ(g.statusW, 8880);
    ASSERT_EQ(arranged.size(), 1u);
    EXPECT_EQ(arranged[0], g);
}

TEST_F(LayoutTest, ArrangeIconsRunsOnceAtTheEndOfAPass) {
    f().Me.setClientSize(11000, 9000);
    ASSERT_EQ(arranged.size(), 1u);
    EXPECT_EQ(arranged[0], Read(f()));
    EXPECT_EQ(arranged[0].iconsW, 11000 - 3135 - 120 - f().VS.Width() - 50);
}

}  // namespace
