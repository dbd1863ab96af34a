// The main road through the real window: open a folder of icon files in the
// folder view, read the list, click a file, see its icons framed in the grid,
// then show every icon of the folder at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <filesystem>

#include "app/qt_window.h"
#include "app/tessel_window.h"
#include "fake_services.h"
#include "icons/icons.h"
#include "icons/whole_icon.h"
#include "qt/qt_services.h"
#include "qt/qt_desktop.h"
#include "system/system_services.h"
#include "qt_test_util.h"

namespace {

namespace fs = std::filesystem;

struct Road {
    platform_qt::QtServices services;
    platform_qt::QtDesktop desktop;
    platform::SystemServices system{desktop};
    app::TesselWindow tessel{services, system};
    main_window::frmMain& frm = tessel.form;
    app::QtWindow view{frm, services};
    test_support::TempFolder temp;
    std::string folder = temp.file("icons");

    Road() {
        fs::create_directory(folder);
        for (const char* name : {"app64.exe", "lib32.dll", "mixed.ico", "pointer.cur", "plain64.exe"})
            fs::copy_file(fs::path(TESSEL_FIXTURES) / name, fs::path(folder) / name);
        // The folder view starts above the folder, as after choosing a drive.
        frm.Dir1.setPath(temp.path());
        // Which row each item click was raised for, by mouse or key.
        frm.File1.ItemClick.connect([this](platform::ListItem& i) { clicked.push_back(i.Text()), tessel.browsing.File1_ItemClick(i); });
        view.dispatcher()([&] { frm.Me.Load.raise(); });
        view.show();
        // Keys reach the window once it is the active one, as a user's do.
        qt_test::WaitFor([&] { return view.window().isVisible() && view.window().isActiveWindow(); });
    }
    std::vector<std::string> clicked;

    // The folder with 60 more copies of app64.exe opened and all its 186
    // icons shown: a grid that scrolls.
    void ShowManyIcons() {
        for (int i = 0; i < 60; ++i)
            fs::copy_file(fs::path(TESSEL_FIXTURES) / "app64.exe", fs::path(folder) / ("copy" + std::to_string(i) + ".exe"));
        OpenInFolderView("icons");
        ASSERT_TRUE(qt_test::WaitFor([&] { return frm.Dir1.Path() == folder; }));
        QTest::keyClick(&view.window(), Qt::Key_A, Qt::ControlModifier);
        ASSERT_TRUE(qt_test::WaitFor([&] { return frm.IconCount == 186; }));
    }

    // Opens a subfolder the way a user does: a double click on its name.
    void OpenInFolderView(const QString& name) {
        platform_qt::DirListView& dirs = view.folders();
        dirs.refresh();
        const QList<QTreeWidgetItem*> found = dirs.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QPoint at = dirs.visualItemRect(found[0]).center();
        QTest::mouseDClick(dirs.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    QString Cell(int row, int column) {
        ListModel();
        return view.files().model().index(row, column).data().toString();
    }
    void ListModel() { view.files().refreshNow(); }
    QString Header(int column) {
        ListModel();
        return view.files().model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    void ClickRow(int row) {
        ListModel();
        platform_qt::ListViewView& files = view.files();
        const QPoint at = files.visualRect(files.model().index(row, 0)).center();
        QTest::mouseClick(files.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    // What the canvas shows of cell k, one pixel a pixel.
    QImage CellOnScreen(const QImage& canvas, int k) {
        const platform::PictureBox& cell = frm.picIcon(k);
        const int x = qRound(cell.Left() / 15), y = qRound(cell.Top() / 15);
        return canvas.copy(x, y, 32, 32);
    }
    // The icon as the reader draws it on the window colour.
    QImage Expected(const std::string& file, int index) {
        pixels::Bitmap b(32, 32, services.WindowColor());
        const auto icon = icons::ExtractIconFromFile(folder + "/" + file, index);
        EXPECT_TRUE(icon.has_value()) << file << " #" << index;
        if (icon) icons::DrawIcon(b, 0, 0, *icon);
        QImage img(32, 32, QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) img.setPixel(x, y, b.at(x, y) | 0xFF000000u);
        return img;
    }
};

// "" when equal, else where and how they first differ.
std::string Diff(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return "at (" + std::to_string(x) + "," + std::to_string(y) + "): " + QString::number(a.pixel(x, y), 16).toStdString() +
                       " vs " + QString::number(b.pixel(x, y), 16).toStdString();
    return "";
}

bool IsGreen(QRgb c) { return qRed(c) == 0 && qGreen(c) == 255 && qBlue(c) == 0; }

TEST(Road, OpenClickShowAll) {
    Road r;
    ASSERT_EQ(r.services.Scale().dpiX, 96) << "pixel positions below assume 15 twips a pixel";

    r.OpenInFolderView("icons");
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.Dir1.Path() == r.folder; }));

    // The list: every file with icons, sorted by name, with its count; the
    // program without icons is left out.
    ASSERT_EQ(r.frm.File1.Count(), 4);
    const struct {
        const char* name;
        const char* count;
    } rows[] = {{"app64.exe", "3"}, {"lib32.dll", "1"}, {"mixed.ico", "1"}, {"pointer.cur", "1"}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(r.Cell(i, 0), QString::fromUtf8(rows[i].name));
        EXPECT_EQ(r.Cell(i, 1), QString::fromUtf8(rows[i].count));
    }
    EXPECT_EQ(r.Header(0), QString::fromUtf8("文件名称 (4)"));
    EXPECT_EQ(r.Header(1), "6");
    EXPECT_FALSE(r.frm.fraNoFiles.Visible());

    // A click on the first row draws that file's three icons, the first framed.
    r.ClickRow(0);
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.IconCount == 3; }));
    EXPECT_EQ(r.frm.SelectedIcon, 0);
    EXPECT_TRUE(r.frm.fraIcons.Visible());
    EXPECT_FALSE(r.frm.progbar.Visible());
    EXPECT_EQ(r.frm.lblStatus.Caption(), "");
    QImage canvas = qt_test::Shot(r.view.canvas());
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Diff(r.CellOnScreen(canvas, k), r.Expected("app64.exe", k)), "");
    }
    // The frame: its top line 18 twips (a pixel) above cell 0, its bottom line
    // on the first row below it.
    const platform::PictureBox& cell0 = r.frm.picIcon(0);
    const int left = qRound(cell0.Left() / 15), top = qRound(cell0.Top() / 15);
    EXPECT_TRUE(IsGreen(canvas.pixel(left + 16, top - 1))) << "top line";
    EXPECT_TRUE(IsGreen(canvas.pixel(left + 16, top + 32))) << "bottom line";
    EXPECT_TRUE(IsGreen(canvas.pixel(left - 1, top + 16))) << "left line";
    EXPECT_TRUE(IsGreen(canvas.pixel(left + 32, top + 16))) << "right line";

    // Clicking the third cell moves the frame there.
    const platform::PictureBox& cell2 = r.frm.picIcon(2);
    QTest::mouseClick(&r.view.canvas(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(qRound(cell2.Left() / 15) + 10, qRound(cell2.Top() / 15) + 10));
    EXPECT_EQ(r.frm.SelectedIcon, 2);
    canvas = qt_test::Shot(r.view.canvas());
    EXPECT_FALSE(IsGreen(canvas.pixel(left + 16, top - 1))) << "the frame left cell 0";
    EXPECT_TRUE(IsGreen(canvas.pixel(qRound(cell2.Left() / 15) + 16, qRound(cell2.Top() / 15) - 1)));

    // Show all: Ctrl+A puts the six icons of the folder in row order into one grid.
    QTest::keyClick(&r.view.window(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.IconCount == 6; }));
    canvas = qt_test::Shot(r.view.canvas());
    const struct {
        const char* file;
        int index;
    } cells[] = {{"app64.exe", 0}, {"app64.exe", 1}, {"app64.exe", 2},
                 {"lib32.dll", 0}, {"mixed.ico", 0}, {"pointer.cur", 0}};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Diff(r.CellOnScreen(canvas, k), r.Expected(cells[k].file, cells[k].index)), "");
    }
    EXPECT_EQ(r.frm.SelectedIcon, 0);
    EXPECT_TRUE(r.frm.fraIcons.Visible());

    // Dragged out, a cell carries its icon as the whole-icon save writes a .png.
    app::OfferDragOut(r.view, r.tessel);
    const std::unique_ptr<QMimeData> drag(r.view.canvas().DragData(4));
    const auto png = icons::LargestImagePng(icons::FileSource(r.folder + "/mixed.ico"), 0).value();
    ASSERT_TRUE(drag && drag->urls().size() == 1 && drag->urls()[0].fileName() == "mixed.ico.0.png");
    EXPECT_EQ(drag->data("image/png"), QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
}

TEST(Road, TheScrollBarHandsTheFocusToTheViewport) {
    Road r;
    QApplication::setActiveWindow(&r.view.window());
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.view.window().isActiveWindow(); }));
    r.view.scrollBar().setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(qt_test::WaitFor([&] { return QApplication::focusWidget() != &r.view.scrollBar(); }));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "picIconHolder");
}

}  // namespace

namespace {
// A grid that fits a wide window needs scrolling again once the window
// narrows: the scroll bar shows the new range and steps, at the top.
TEST(Road, ScrollBarFollowsTheGridAfterResizes) {
    Road r;
    r.ShowManyIcons();
    ASSERT_GT(r.frm.VS.Max(), 0);
    EXPECT_EQ(r.view.scrollBar().pageStep(), r.frm.VS.LargeChange()) << "the first arrangement's steps are shown";
    QTest::mouseClick(&r.view.scrollBar(), Qt::LeftButton, Qt::NoModifier, QPoint(8, r.view.scrollBar().height() - 30));
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.VS.Value() > 0; }));
    r.view.window().resize(1270, 790);
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.VS.Max() == 0; }));
    r.view.window().resize(569, 433);
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.frm.VS.Max() > 0; }));
    EXPECT_EQ(r.frm.VS.Value(), 0);
    EXPECT_EQ(r.view.scrollBar().maximum(), r.frm.VS.Max());
    EXPECT_EQ(r.view.scrollBar().value(), 0);
    EXPECT_EQ(r.view.scrollBar().sliderPosition(), 0);
    // The thumb's size follows the steps the arrangement set, not stale ones.
    EXPECT_EQ(r.view.scrollBar().pageStep(), r.frm.VS.LargeChange());
    EXPECT_EQ(r.view.scrollBar().singleStep(), r.frm.VS.SmallChange());
}

// Wheel down over the icons or the bar moves them up by the desktop's lines
// per notch, a small change each, through the change handler as the arrows do.
TEST(Road, TheWheelScrollsOverTheIconsAndTheBar) {
    Road r;
    r.ShowManyIcons();
    const int notch = QApplication::wheelScrollLines() * r.frm.VS.SmallChange();
    QWidget *icons = &r.view.canvas(), *bar = &r.view.scrollBar();
    // The wheel turns in eighths of a degree, 120 a notch, negative towards the user.
    const struct { const char* name; QWidget* over; int delta, value; } cases[] = {{"down over the icons", icons, -120, notch}, {"down over the bar", bar, -120, 2 * notch},
                 {"up over the bar", bar, 120, notch},        {"half a notch waits", icons, -60, notch},
                 {"the other half makes it", icons, -60, 2 * notch}, {"up past the top", icons, 360, 0}};
    for (const auto& c : cases) {
        QWheelEvent wheel({5, 5}, c.over->mapToGlobal(QPointF(5, 5)), {}, {0, c.delta}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.over, &wheel);
        EXPECT_EQ(r.frm.VS.Value(), c.value) << c.name;
        EXPECT_EQ(r.frm.fraIcons.Top(), -c.value) << c.name;
    }
}

// A row reached with a key in the file list shows that file as a click does;
// in the grid, once a cell was clicked, the keys move the frame and the view
// scrolls to keep it in sight.
TEST(Road, TheKeyboardWalksTheListAndTheGrid) {
    Road r;
    QApplication::setActiveWindow(&r.view.window());
    r.ShowManyIcons();
    QTest::mouseClick(&r.view.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    ASSERT_TRUE(qt_test::WaitFor([&] { return r.view.canvas().KeysComeHere(); })) << "the grid shows it has the focus";
    QWidget* grid = QApplication::focusWidget();
    QWidget* list = &r.view.files();
    r.ListModel();
    const int across = platform::GridLayout(r.frm.fraIcons.Width(), 480, 480).Columns();
    const int page = static_cast<int>(r.frm.picIconHolder.ScaleHeight() / 680) * across;
    // `shown`: the file whose icons a key in the list shows.
    const struct { QWidget* to; Qt::Key key; const char* shown; int selected; bool scrolled; } steps[] = {{grid, Qt::Key_Right, nullptr, 1, false},        {grid, Qt::Key_Down, nullptr, 1 + across, false},
                 {grid, Qt::Key_Left, nullptr, across, false},    {grid, Qt::Key_End, nullptr, 185, true},
                 {grid, Qt::Key_Home, nullptr, 0, false},         {grid, Qt::Key_PageDown, nullptr, page, true},
                 {grid, Qt::Key_PageUp, nullptr, 0, false},       {list, Qt::Key_Down, "app64.exe", 0, false},
                 {list, Qt::Key_Down, "copy0.exe", 0, false},     {list, Qt::Key_End, "pointer.cur", 0, false},
                 {list, Qt::Key_Up, "mixed.ico", 0, false},       {list, Qt::Key_Return, "mixed.ico", 0, false}};
    for (const auto& c : steps) {
        const std::size_t clicks = r.clicked.size();
        QTest::keyClick(c.to, c.key);
        SCOPED_TRACE("step " + std::to_string(&c - steps));
        ASSERT_EQ(r.clicked.size(), clicks + (c.shown ? 1 : 0));
        if (c.shown) { EXPECT_EQ(r.clicked.back(), c.shown); }
        EXPECT_EQ(r.frm.SelectedIcon, c.selected);
        EXPECT_EQ(r.frm.VS.Value() > 0, c.scrolled);
    }
}

}  // namespace
