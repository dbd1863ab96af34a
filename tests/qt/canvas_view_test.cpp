// The icon canvas: one widget that paints the cells and the selection frame
// and hands the mouse to the cell under it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/controls/control_array.h"
#include "platform/controls/frame.h"
#include "platform/controls/line.h"
#include "platform/controls/picture_box.h"
#include "qt/icon_canvas_view.h"
#include "qt_test_util.h"

namespace {

using pixels::MakeArgb;

const platform::ScreenScale k96{96, 96};
const pixels::Argb kWindow = MakeArgb(255, 255, 255);
const pixels::Argb kGreen = MakeArgb(0, 255, 0);

// A canvas as the window has it: 480-twip cells, four green lines.
struct Canvas {
    platform_qt::Dispatcher dispatch;
    platform::Frame frame{"fraIcons", nullptr};
    platform::ControlArray<platform::PictureBox> cells{
        std::make_unique<platform::PictureBox>("picIcon", &frame, k96),
        [this](const platform::PictureBox& t, int) {
            auto c = std::make_unique<platform::PictureBox>("picIcon", &frame, k96);
            c->Move(t.Left(), t.Top(), t.Width(), t.Height());
            c->setBackColor(t.BackColor());
            c->setVisible(false);
            return c;
        }};
    platform::ControlArray<platform::Line> lines{std::make_unique<platform::Line>("lnFrame", &frame),
                                                 [this](const platform::Line&, int) {
                                                     return std::make_unique<platform::Line>("lnFrame", &frame);
                                                 }};
    std::unique_ptr<platform_qt::IconCanvasView> view;

    struct Up {
        int who, button, shift;
        float x, y;
    };
    std::vector<Up> ups;
    std::vector<int> clicks;

    Canvas() {
        frame.Move(0, 0, 3000, 3000);
        frame.setBackColor(kWindow);
        cells(0).Move(240, 240, 480, 480);
        cells(0).setBackColor(kWindow);
        // Cells 1 and 2 sit in a row to the right of cell 0.
        for (int i = 1; i <= 2; ++i) {
            cells.Load(i);
            cells(i).Move(240 + 540 * i, 240);
            cells(i).setVisible(true);
        }
        for (int i = 1; i < 4; ++i) lines.Load(i);
        lines.ForEach([](platform::Line& l) {
            l.setBorderColor(kGreen);
            l.setVisible(false);
        });
        frame.MouseUp.connect([this](int b, int s, float x, float y) { ups.push_back({-1, b, s, x, y}); });
        view = std::make_unique<platform_qt::IconCanvasView>(frame, cells, lines,
                                                             platform_qt::ViewContext{k96, &dispatch}, nullptr);
        cells.loaded = [old = cells.loaded, this](platform::PictureBox& c) {
            old(c);
            hookEvents(c);
        };
        cells.ForEach([this](platform::PictureBox& c) { hookEvents(c); });
        view->show();
    }
    void hookEvents(platform::PictureBox& c) {
        const int k = c.Index();
        c.Click.connect([this, k] { clicks.push_back(k); });
        c.MouseUp.connect([this, k](int b, int s, float x, float y) { ups.push_back({k, b, s, x, y}); });
    }
};

void Fill(platform::PictureBox& cell, pixels::Argb colour) {
    cell.Draw([&](pixels::Bitmap& b) { b.fill(colour); });
}

TEST(IconCanvasView, MouseGoesToTheCellUnderIt) {
    struct Case {
        const char* name;
        QPoint at;  // canvas pixels
        Qt::MouseButton button;
        Qt::KeyboardModifiers mods;
        int who;  // cell index, -1 the canvas
        int buttonMask, shiftMask;
        float x, y;  // twips, in the receiver's coordinates
        bool click;
    };
    const Case cases[] = {
        {"left click inside cell 0", {20, 18}, Qt::LeftButton, Qt::NoModifier, 0, 1, 0, 60, 30, true},
        {"left click on cell 2's first pixel", {88, 16}, Qt::LeftButton, Qt::NoModifier, 2, 1, 0, 0, 0, true},
        {"left click on cell 1's last pixel", {83, 47}, Qt::LeftButton, Qt::NoModifier, 1, 1, 0, 465, 465, true},
        {"right release over a cell, no click", {100, 30}, Qt::RightButton, Qt::NoModifier, 2, 2, 0, 180, 210, false},
        {"shift and ctrl come through", {100, 30}, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, 2, 2, 3,
         180, 210, false},
        {"the gap between two cells is canvas", {50, 20}, Qt::LeftButton, Qt::NoModifier, -1, 1, 0, 750, 300, false},
        {"right release outside every cell", {150, 150}, Qt::RightButton, Qt::NoModifier, -1, 2, 0, 2250, 2250, false},
        {"middle button over the canvas", {5, 5}, Qt::MiddleButton, Qt::AltModifier, -1, 4, 4, 75, 75, false},
    };
    for (const auto& c : cases) {
        Canvas canvas;
        QTest::mouseClick(canvas.view.get(), c.button, c.mods, c.at);
        ASSERT_EQ(canvas.ups.size(), 1u) << c.name;
        EXPECT_EQ(canvas.ups[0].who, c.who) << c.name;
        EXPECT_EQ(canvas.ups[0].button, c.buttonMask) << c.name;
        EXPECT_EQ(canvas.ups[0].shift, c.shiftMask) << c.name;
        EXPECT_FLOAT_EQ(canvas.ups[0].x, c.x) << c.name;
        EXPECT_FLOAT_EQ(canvas.ups[0].y, c.y) << c.name;
        EXPECT_EQ(canvas.clicks, c.click ? std::vector<int>{c.who} : std::vector<int>{}) << c.name;
    }
}

TEST(IconCanvasView, HitTestingFollowsTheModel) {
    Canvas canvas;
    const QPoint overCell1(60, 20);
    EXPECT_EQ(canvas.view->CellAt(overCell1), 1);
    canvas.cells(1).setVisible(false);
    EXPECT_EQ(canvas.view->CellAt(overCell1), -1) << "a hidden cell is not there";
    canvas.cells(1).setVisible(true);
    canvas.cells(2).Move(canvas.cells(1).Left(), canvas.cells(1).Top());
    EXPECT_EQ(canvas.view->CellAt(overCell1), 2) << "the later element lies on top";
    canvas.cells.Unload(2);
    EXPECT_EQ(canvas.view->CellAt(overCell1), 1) << "an unloaded cell is gone";
    canvas.cells.Load(7);
    canvas.cells(7).Move(0, 0);
    canvas.cells(7).setVisible(true);
    EXPECT_EQ(canvas.view->CellAt({3, 3}), 7) << "a cell loaded after the view was made";
    QTest::mouseClick(canvas.view.get(), Qt::LeftButton, Qt::NoModifier, {3, 3});
    EXPECT_EQ(canvas.clicks, std::vector<int>{7});
}

TEST(IconCanvasView, ReleaseGoesWhereThePressWas) {
    Canvas canvas;
    QTest::mousePress(canvas.view.get(), Qt::LeftButton, Qt::NoModifier, {20, 20});
    QTest::mouseRelease(canvas.view.get(), Qt::LeftButton, Qt::NoModifier, {150, 150});
    ASSERT_EQ(canvas.ups.size(), 1u);
    EXPECT_EQ(canvas.ups[0].who, 0) << "cell 0 took the press, so it gets the release";
    EXPECT_TRUE(canvas.clicks.empty()) << "released outside the cell: no click";
}

// The pointer resting on a cell: the cell hears it move and says what its
// tooltip is; over a cell with no text, or the canvas, no tooltip shows.
TEST(IconCanvasView, ToolTipIsTheCellsOwn) {
    struct Case {
        const char* name;
        QPoint at;
        int who;  // cell told of the move, -1 none
        QString text;
    };
    const Case cases[] = {
        {"cell with a text", {60, 20}, 1, "lib.dll\n图标 1"},
        {"cell without one", {20, 18}, 0, ""},
        {"the canvas", {150, 150}, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        std::vector<int> moved;
        for (int k = 0; k <= 2; ++k)
            canvas.cells(k).MouseMove.connect([&, k](int, int, float, float) {
                moved.push_back(k);
                if (k == 1) canvas.cells(1).setToolTipText("lib.dll\n图标 1");
            });
        QHelpEvent help(QEvent::ToolTip, c.at, canvas.view->mapToGlobal(c.at));
        QApplication::sendEvent(canvas.view.get(), &help);
        EXPECT_EQ(moved, c.who < 0 ? std::vector<int>{} : std::vector<int>{c.who});
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.text);
        QToolTip::hideText();
    }
}

TEST(IconCanvasView, ADraggedCellOffersItsIconAsPngAndAsAFile) {
    Canvas canvas;
    std::vector<int> asked;
    canvas.view->writeDragFile = [&](int cell, const QString& folder) {  // cell 2 shows no icon of a file
        asked.push_back(cell);
        QFile f(folder + "/app.exe.0.png");
        return cell != 2 && f.open(QIODevice::WriteOnly) && f.write("\x89PNG-icon") > 0 ? f.fileName() : QString();
    };
    const QPoint from(60, 20), to = from + QPoint(QApplication::startDragDistance(), 0);
    QTest::mousePress(canvas.view.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(canvas.view.get(), to);
    QTest::mouseRelease(canvas.view.get(), Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(asked, std::vector<int>{1}) << "pressed on cell 1 and moved the drag distance";
    EXPECT_EQ(canvas.clicks, std::vector<int>{1}) << "a drag selects its cell first, as a click does";
    EXPECT_TRUE(canvas.ups.empty()) << "and its release is no click";
    EXPECT_EQ(canvas.view->DragData(2), nullptr);
    std::unique_ptr<QMimeData> data(canvas.view->DragData(1));
    ASSERT_TRUE(data && data->urls().size() == 1);
    EXPECT_EQ(data->data("image/png"), QByteArray("\x89PNG-icon"));
    const QString file = data->urls()[0].toLocalFile();
    ASSERT_TRUE(QFile::exists(file));
    canvas.view.reset();
    EXPECT_FALSE(QFile::exists(file)) << "the drag's folder goes with the window";
}

TEST(IconCanvasView, PaintsCellsAndVisibleLines) {
    Canvas canvas;
    canvas.view->resize(200, 200);
    Fill(canvas.cells(0), MakeArgb(255, 0, 0));
    canvas.cells(2).setBackColor(MakeArgb(0, 0, 200));  // blank: painted in its back colour
    canvas.lines(0).setX1(180);
    canvas.lines(0).setY1(180);
    canvas.lines(0).setX2(180);
    canvas.lines(0).setY2(1500);
    canvas.lines(0).setVisible(true);
    canvas.lines(1).setX1(1800);
    canvas.lines(1).setY1(1800);
    canvas.lines(1).setX2(2400);
    canvas.lines(1).setY2(1800);  // hidden: not drawn

    QImage shot = qt_test::Shot(*canvas.view);
    struct Probe {
        const char* name;
        QPoint at;
        QRgb colour;
    };
    const Probe probes[] = {
        {"cell 0's image, top left", {16, 16}, qRgb(255, 0, 0)},
        {"cell 0's image, bottom right", {47, 47}, qRgb(255, 0, 0)},
        {"just right of cell 0", {48, 30}, qRgb(255, 255, 255)},
        {"blank cell 2 in its back colour", {100, 30}, qRgb(0, 0, 200)},
        {"the visible line", {12, 50}, qRgb(0, 255, 0)},
        {"the visible line's end", {12, 100}, qRgb(0, 255, 0)},
        {"the hidden line", {130, 120}, qRgb(255, 255, 255)},
    };
    for (const auto& p : probes) EXPECT_EQ(shot.pixel(p.at), p.colour) << p.name;

    // A new image replaces the cached one.
    Fill(canvas.cells(0), MakeArgb(0, 128, 0));
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(30, 30), qRgb(0, 128, 0)) << "redrawn cell";
    canvas.cells(0).Cls();
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(30, 30), qRgb(255, 255, 255)) << "cleared cell";
    canvas.cells(0).Move(600, 2400);
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(16, 16), qRgb(255, 255, 255)) << "moved away";
}

// A cell shown larger than the picture it keeps shows that picture scaled at
// once, then its icon drawn afresh for the pixels it covers, once in sight;
// where that cannot be drawn, the scaled picture stays.
TEST(IconCanvasView, ALargerCellIsDrawnAfreshAtItsSize) {
    Canvas canvas;
    canvas.view->resize(200, 200);
    std::vector<std::pair<int, int>> asked;
    canvas.view->drawCell = [&](int cell, int pixels) -> std::optional<pixels::Bitmap> {
        asked.emplace_back(cell, pixels);
        if (cell == 1) return std::nullopt;
        pixels::Bitmap b(pixels, pixels, MakeArgb(0, 0, 255));
        b.at(pixels - 1, pixels - 1) = MakeArgb(255, 255, 0);  // the corner shows it is not stretched
        return b;
    };
    for (int i = 0; i < 2; ++i) {
        canvas.cells(i).Move(240 + 1080 * i, 240, 720, 720);  // 48 pixels
        canvas.cells(i).DrawAt(32, 32, [](pixels::Bitmap& b) { b.fill(MakeArgb(255, 0, 0)); });
    }
    canvas.cells(2).setVisible(false);
    QImage shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(16 + 47, 16 + 47), qRgb(255, 0, 0)) << "the kept picture scaled stands in";
    EXPECT_EQ(canvas.view->CellsToSharpen(), 2);
    QCoreApplication::processEvents();
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(16 + 10, 16 + 10), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(16 + 47, 16 + 47), qRgb(255, 255, 0));
    EXPECT_EQ(shot.pixel(88 + 47, 16 + 47), qRgb(255, 0, 0)) << "a cell that cannot be drawn afresh keeps its picture";
    EXPECT_EQ(canvas.view->CellsToSharpen(), 0);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 48}, {1, 48}}));
    // Moved, it keeps what it shows; drawn anew, it is drawn afresh again.
    canvas.cells(0).Move(240, 960);
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(16 + 10, 64 + 10), qRgb(0, 0, 255));
    canvas.cells(0).DrawAt(32, 32, [](pixels::Bitmap& b) { b.fill(MakeArgb(0, 255, 0)); });
    shot = qt_test::Shot(*canvas.view);
    EXPECT_EQ(shot.pixel(16 + 10, 64 + 10), qRgb(0, 255, 0));
    EXPECT_EQ(canvas.view->CellsToSharpen(), 1);
}

TEST(IconCanvasView, ThousandsOfCellsNeedNoWidgets) {
    Canvas canvas;
    canvas.frame.setHeight(3000000);
    for (int i = 3; i < 20000; ++i) {
        canvas.cells.Load(i);
        canvas.cells(i).Move((i % 8) * 540.0, (i / 8) * 540.0);
        canvas.cells(i).setVisible(true);
        if (i % 2) Fill(canvas.cells(i), MakeArgb(10, 20, 30));
    }
    EXPECT_TRUE(canvas.view->findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(canvas.view->CellAt({(3 % 8) * 36 + 5, (3 / 8) * 36 + 5}), 3);
    EXPECT_EQ(canvas.view->CellAt({(19999 % 8) * 36 + 5, (19999 / 8) * 36 + 5}), 19999);
    canvas.view->resize(300, 300);
    qt_test::Shot(*canvas.view);
    EXPECT_LE(canvas.view->CachedImages(), 100) << "only cells in sight are converted";
    EXPECT_GT(canvas.view->CachedImages(), 16);
    canvas.view->resize(100, 100);
    qt_test::Shot(*canvas.view);
    EXPECT_LE(canvas.view->CachedImages(), 16) << "cells gone out of sight give their images up";
}

}  // namespace
