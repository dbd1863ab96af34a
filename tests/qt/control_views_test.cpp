// The views of the single controls: the file list, the folder list, the
// scroll bar, the drive list, the window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFontInfo>
#include <QHeaderView>
#include <QTest>
#include <memory>
#include <vector>

#include "fake_services.h"
#include "platform/controls/controls.h"
#include "qt/dir_list_view.h"
#include "qt/drive_list_view.h"
#include "qt/label_view.h"
#include "qt/list_view_view.h"
#include "qt/progress_bar_view.h"
#include "qt/scroll_bar_view.h"
#include "qt/timer_view.h"
#include "qt/window_view.h"
#include "qt_test_util.h"

namespace {

const platform::ScreenScale k96{96, 96};

struct Views {
    platform_qt::Dispatcher dispatch;
    platform_qt::ViewContext ctx{k96, &dispatch};
};

// ---- The file list ----------------------------------------------------------

struct FileList : Views {
    platform::ListView list{"File1", nullptr};
    std::unique_ptr<platform_qt::ListViewView> view;
    std::vector<std::string> itemClicks;
    std::vector<int> columnClicks;
    FileList() {
        list.Move(120, 3360, 2895, 3975);
        list.AddColumn("文件名称 (0)", 1900);
        list.AddColumn("0", 1500);
        list.ItemClick.connect([this](platform::ListItem& i) { itemClicks.push_back(i.Text()); });
        list.ColumnClick.connect([this](int n) { columnClicks.push_back(n); });
        view = std::make_unique<platform_qt::ListViewView>(list, ctx, nullptr);
        view->show();
    }
    void add(const std::string& name, const std::string& count) { list.Add(name).setSubItem(1, count); }
    QString cell(int row, int column) { return view->model().index(row, column).data().toString(); }
};

TEST(ListViewView, HeadersAndWidthsComeFromTheModel) {
    FileList f;
    EXPECT_EQ(f.view->geometry(), QRect(8, 224, 193, 265));
    EXPECT_EQ(f.view->model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "文件名称 (0)");
    EXPECT_EQ(f.view->model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "0");
    EXPECT_EQ(f.view->header()->sectionSize(0), 127);
    EXPECT_EQ(f.view->header()->sectionSize(1), 100);
    f.list.setColumnText(1, "文件名称 (3)");
    f.list.setColumnText(2, "42");
    ASSERT_TRUE(qt_test::WaitFor([&] { return !f.view->RefreshPending(); }));
    EXPECT_EQ(f.view->model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "文件名称 (3)");
    EXPECT_EQ(f.view->model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "42");
}

TEST(ListViewView, ShowsTheModelsOrderWithoutSortingItself) {
    FileList f;
    f.add("b.exe", "3");
    f.add("A.ico", "12");
    f.add("c.dll", "2");
    f.view->refreshNow();
    const QString byName[][2] = {{"A.ico", "12"}, {"b.exe", "3"}, {"c.dll", "2"}};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(f.cell(r, 0), byName[r][0]) << "row " << r;
        EXPECT_EQ(f.cell(r, 1), byName[r][1]) << "row " << r;
    }
    f.list.setSortKey(1);
    f.list.setSortOrder(1);
    f.view->refreshNow();
    // Text order, descending: "3", "2", "12".
    const QString byCount[] = {"b.exe", "c.dll", "A.ico"};
    for (int r = 0; r < 3; ++r) EXPECT_EQ(f.cell(r, 0), byCount[r]) << "row " << r;
}

TEST(ListViewView, ClicksReachTheModel) {
    FileList f;
    f.add("b.exe", "3");
    f.add("a.ico", "1");
    f.add("c.dll", "2");
    f.view->refreshNow();
    const QRect second = f.view->visualRect(f.view->model().index(1, 1));
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    EXPECT_EQ(f.itemClicks, std::vector<std::string>{"b.exe"}) << "display row 2, whatever column";
    const QHeaderView* h = f.view->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(h->sectionPosition(1) + 10, 5));
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(h->sectionPosition(0) + 10, 5));
    EXPECT_EQ(f.columnClicks, (std::vector<int>{2, 1})) << "headers are one-based";
    EXPECT_EQ(f.cell(0, 0), "a.ico") << "the view never sorts on a header click";
}

TEST(ListViewView, ManyAddsCostOneRefresh) {
    FileList f;
    const int before = f.view->Refreshes();
    for (int i = 0; i < 5000; ++i) f.add("file" + std::to_string(10000 + i) + ".exe", std::to_string(i % 7));
    EXPECT_EQ(f.view->Refreshes(), before) << "nothing is redone while the adds run";
    EXPECT_TRUE(f.view->RefreshPending());
    ASSERT_TRUE(qt_test::WaitFor([&] { return !f.view->RefreshPending(); }));
    EXPECT_EQ(f.view->Refreshes(), before + 1);
    EXPECT_EQ(f.view->model().rowCount(), 5000);
    EXPECT_EQ(f.cell(0, 0), "file10000.exe");
    EXPECT_EQ(f.cell(4999, 0), "file14999.exe");
    EXPECT_EQ(f.cell(4999, 1), "1");
    f.list.Clear();
    ASSERT_TRUE(qt_test::WaitFor([&] { return !f.view->RefreshPending(); }));
    EXPECT_EQ(f.view->model().rowCount(), 0);
}

TEST(ListViewView, RowsGoneBeforeTheRefreshReadEmpty) {
    FileList f;
    f.add("a.exe", "1");
    f.add("b.exe", "1");
    f.view->refreshNow();
    f.list.Clear();
    f.add("z.exe", "1");
    EXPECT_EQ(f.view->model().rowCount(), 2) << "not refreshed yet";
    EXPECT_EQ(f.cell(0, 0), "z.exe") << "row 1 is read as the list has it now";
    EXPECT_EQ(f.cell(1, 0), "") << "row 2 is gone";
    f.view->refreshNow();
    EXPECT_EQ(f.view->model().rowCount(), 1);
    EXPECT_EQ(f.cell(0, 0), "z.exe");
}

// ---- The folder list ---------------------------------------------------------

struct Folders : Views {
    test_support::TempFolder tmp;
    platform::DirList dir{"Dir1", nullptr, [](const std::string&, const std::string& requested) -> std::optional<std::string> {
                              struct stat st {};
                              if (::stat(requested.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
                              return requested;
                          }};
    std::unique_ptr<platform_qt::DirListView> view;
    int changes = 0;
    std::vector<int> upButtons;
    Folders() {
        for (const char* name : {"beta", "Alpha", ".hidden", "gamma", "delta\xff"})
            ::mkdir(tmp.file(name).c_str(), 0755);
        ::mkdir(tmp.file("beta/inner").c_str(), 0755);
        tmp.write("file.txt", std::string("not a folder"));
        dir.Move(120, 480, 2895, 2790);
        dir.setPath(tmp.path());
        dir.Change.connect([this] { ++changes; });
        dir.MouseUp.connect([this](int b, int, float, float) { upButtons.push_back(b); });
        view = std::make_unique<platform_qt::DirListView>(dir, ctx, nullptr);
        view->show();
        view->setFocus();
    }
    QPoint centreOf(const std::string& path) {
        QTreeWidgetItem* item = view->itemFor(path);
        return item ? view->visualItemRect(item).center() : QPoint(-1, -1);
    }
    std::string highlighted() { return view->currentItem()->data(0, platform_qt::DirListView::kPathRole).toByteArray().toStdString(); }
};

TEST(ListSubfolders, SortedWithoutHiddenOnesOrFiles) {
    Folders f;
    EXPECT_EQ(platform_qt::ListSubfolders(f.tmp.path()),
              (std::vector<std::string>{"Alpha", "beta", "delta\xff", "gamma"}));
    EXPECT_TRUE(platform_qt::ListSubfolders(f.tmp.file("missing")).empty());
}

TEST(DirListView, ShowsAncestorsThenSubfolders) {
    Folders f;
    std::vector<std::string> shown;
    for (QTreeWidgetItemIterator it(f.view.get()); *it; ++it)
        shown.push_back((*it)->data(0, platform_qt::DirListView::kPathRole).toByteArray().toStdString());
    ASSERT_GE(shown.size(), 5u);
    EXPECT_EQ(shown.front(), "/");
    const std::vector<std::string> tail(shown.end() - 5, shown.end());
    EXPECT_EQ(tail, (std::vector<std::string>{f.tmp.path(), f.tmp.file("Alpha"), f.tmp.file("beta"),
                                              f.tmp.file("delta\xff"), f.tmp.file("gamma")}));
    EXPECT_EQ(f.highlighted(), f.tmp.path()) << "the current folder starts highlighted";
    EXPECT_EQ(f.view->itemFor(f.tmp.file("delta\xff"))->text(0), QFile::decodeName("delta\xff"));
}

TEST(DirListView, SingleClickOnlyHighlightsDoubleClickOpens) {
    struct Case {
        const char* name;
        const char* target;
        bool doubleClick;
        bool opens;
    };
    const Case cases[] = {
        {"single click highlights", "beta", false, false},
        {"double click opens", "beta", true, true},
        {"a name that is not UTF-8 opens by its bytes", "delta\xff", true, true},
    };
    for (const auto& c : cases) {
        Folders f;
        const std::string target = f.tmp.file(c.target);
        const QPoint at = f.centreOf(target);
        if (c.doubleClick) QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        else QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(f.dir.Path(), c.opens ? target : f.tmp.path()) << c.name;
        EXPECT_EQ(f.changes, c.opens ? 1 : 0) << c.name;
        // Opened, the list shows the folder as its current one; highlighted,
        // it is where the click left the bar.
        EXPECT_EQ(f.highlighted(), target) << c.name;
        if (c.opens) {
            EXPECT_EQ(f.view->currentFolderItem(), f.view->currentItem()) << c.name;
        } else {
            EXPECT_EQ(f.view->currentFolderItem(), f.view->itemFor(f.tmp.path())) << c.name;
        }
    }
}

TEST(DirListView, OpeningTheShownFolderReadsItAgain) {
    Folders f;
    ::mkdir(f.tmp.file("epsilon").c_str(), 0755);
    QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(f.tmp.path()));
    EXPECT_EQ(f.changes, 0) << "the same folder is no change";
    EXPECT_NE(f.view->itemFor(f.tmp.file("epsilon")), nullptr) << "but its new subfolder shows";
    ASSERT_NE(f.view->currentItem(), nullptr);
    EXPECT_EQ(f.highlighted(), f.tmp.path());
    EXPECT_TRUE(f.view->currentItem()->isSelected()) << "and it stays highlighted";
}

TEST(DirListView, KeysHighlightAndEnterOpens) {
    Folders f;
    QTest::keyClicks(f.view.get(), "ga");
    EXPECT_EQ(f.highlighted(), f.tmp.file("gamma")) << "typing a name's start finds it";
    EXPECT_EQ(f.changes, 0);
    QTest::keyClick(f.view.get(), Qt::Key_Up);
    EXPECT_EQ(f.highlighted(), f.tmp.file("delta\xff")) << "arrows only highlight";
    EXPECT_EQ(f.changes, 0);
    QTest::keyClick(f.view.get(), Qt::Key_Up);
    QTest::keyClick(f.view.get(), Qt::Key_Return);
    EXPECT_EQ(f.dir.Path(), f.tmp.file("beta"));
    EXPECT_EQ(f.changes, 1);
    EXPECT_NE(f.view->itemFor(f.tmp.file("beta/inner")), nullptr) << "the opened folder's subfolders are listed";
    // Back up to the parent through its ancestor entry.
    f.view->setCurrentItem(f.view->itemFor(f.tmp.path()));
    QTest::keyClick(f.view.get(), Qt::Key_Enter);
    EXPECT_EQ(f.dir.Path(), f.tmp.path());
    EXPECT_EQ(f.changes, 2);
}

TEST(DirListView, MouseUpReportsTheButton) {
    Folders f;
    const QPoint at = f.centreOf(f.tmp.file("gamma"));
    QTest::mouseClick(f.view->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(f.upButtons, (std::vector<int>{2, 1}));
    EXPECT_EQ(f.dir.Path(), f.tmp.path());
    // Below the last folder: reported, and the highlight stays.
    const QPoint below(at.x(), f.view->viewport()->height() - 3);
    ASSERT_EQ(f.view->itemAt(below), nullptr);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(f.upButtons.size(), 3u);
    EXPECT_EQ(f.highlighted(), f.tmp.file("gamma"));
    EXPECT_TRUE(f.view->currentItem()->isSelected());
}

TEST(DirListView, AFolderThatWillNotOpenLeavesTheListWhereItWas) {
    Folders f;
    const std::string beta = f.tmp.file("beta");
    ::rmdir(f.tmp.file("beta/inner").c_str());
    ::rmdir(beta.c_str());  // gone since the list was read
    std::vector<std::string> failed;
    f.dir.OpenFailed.connect([&](const std::string& folder) { failed.push_back(folder); });
    QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, f.centreOf(beta));
    EXPECT_EQ(f.dir.Path(), f.tmp.path());
    EXPECT_EQ(failed, std::vector<std::string>{beta}) << "reported to the window, not failed";
    EXPECT_EQ(f.view->itemFor(beta), nullptr) << "the list was read again";
}

// ---- The scroll bar, drive list, label, progress bar, timer --------------------

TEST(ScrollBarView, UserMovesBecomeScrollAndChange) {
    Views v;
    platform::ScrollBar bar("VS", nullptr);
    bar.Move(3840, 0, 255, 1575);
    bar.setMax(100);
    bar.setSmallChange(1);
    bar.setLargeChange(10);
    std::vector<std::string> events;
    bar.Change.connect([&] { events.push_back("change " + std::to_string(bar.Value())); });
    bar.Scroll.connect([&] { events.push_back("scroll " + std::to_string(bar.Value())); });
    platform_qt::ScrollBarView view(bar, v.ctx, nullptr);
    EXPECT_EQ(view.geometry(), QRect(256, 0, 17, 105));

    view.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    view.triggerAction(QAbstractSlider::SliderPageStepAdd);
    view.setSliderDown(true);
    view.setSliderPosition(40);
    view.setSliderPosition(60);
    view.setSliderDown(false);
    // Letting go of the thumb reports the change where the drag left it.
    EXPECT_EQ(events, (std::vector<std::string>{"change 1", "change 11", "scroll 40", "scroll 60", "change 60"}));
    EXPECT_EQ(bar.Value(), 60);

    events.clear();
    bar.setValue(5);
    EXPECT_EQ(view.value(), 5) << "the model's value is shown";
    EXPECT_EQ(events, std::vector<std::string>{"change 5"}) << "and not echoed back as a second change";
    bar.setMax(3);
    EXPECT_EQ(view.maximum(), 3);
    EXPECT_EQ(view.value(), 3);
}

TEST(DriveListView, AFailedChoiceIsTakenBack) {
    Views v;
    platform::DriveList drives("Drive1", nullptr);
    drives.setList({"/", "/mnt/usb", "/media/cd"});
    drives.showDrive("/");
    bool fail = true;
    drives.Change.connect([&] {
        if (fail) throw platform::Failure("device unavailable");
    });
    platform_qt::DriveListView view(drives, v.ctx, nullptr);
    ASSERT_EQ(view.count(), 3);
    view.choose(2);
    EXPECT_EQ(drives.Drive(), "/");
    EXPECT_EQ(view.currentText(), "/");
    fail = false;
    view.choose(1);
    EXPECT_EQ(drives.Drive(), "/mnt/usb");
    EXPECT_EQ(view.currentText(), "/mnt/usb");
}

TEST(SmallViews, FollowTheirModels) {
    Views v;
    platform::PictureBox status("picStatus", nullptr, k96);
    status.setBorder(30);
    platform::Label label("lblStatus", &status, [](const std::string& t) { return static_cast<float>(t.size() * 90); });
    label.Move(60, 60, 540, 180);
    label.setAutoSize(true);
    platform::ProgressBar bar("progbar", &status);
    bar.Move(2040, 120, 4695, 135);
    platform::Timer timer("Timer1", nullptr);
    timer.setInterval(1000);
    platform_qt::LabelView labelView(label, v.ctx, nullptr);
    platform_qt::ProgressBarView barView(bar, v.ctx, nullptr);
    platform_qt::TimerView timerView(timer, v.ctx, nullptr);

    label.setCaption("读取窗体 a.exe");
    // A label on screen takes its caption in at the next pass of the event loop.
    EXPECT_TRUE(qt_test::WaitFor([&] { return labelView.text() == "读取窗体 a.exe"; }, 500)) << labelView.text().toStdString();
    EXPECT_EQ(labelView.geometry(), QRect(6, 6, static_cast<int>(std::string("读取窗体 a.exe").size() * 6), 12));
    EXPECT_EQ(barView.geometry(), QRect(138, 10, 313, 9));
    bar.setMax(4);
    bar.setValue(2);
    // A shown bar takes its new position at the next frame, not at once.
    EXPECT_TRUE(qt_test::WaitFor([&] { return barView.value() == platform_qt::ProgressBarView::kSteps / 2; }, 500))
        << barView.value();
    bar.setVisible(false);
    EXPECT_TRUE(barView.isHidden());

    EXPECT_TRUE(timerView.Running());
    timer.setEnabled(false);
    EXPECT_FALSE(timerView.Running());
    timer.setEnabled(true);
    timer.setInterval(0);
    EXPECT_FALSE(timerView.Running()) << "an interval of 0 stops it";
    int ticks = 0;
    timer.Tick.connect([&] { ++ticks; });
    timer.setInterval(5);
    EXPECT_TRUE(qt_test::WaitFor([&] { return ticks >= 2; }));
}

TEST(LabelView, TheNoticesTwoLinesFitItsHeight) {
    Views v;
    platform::Frame frame("fraNoFiles", nullptr);
    platform::Label label("lblNoFiles", &frame, {});
    label.Move(0, 0, 2535, 375);  // 169 by 25 pixels
    label.setCaption("无法查找当前目录图标或当前目录图标无效。");
    platform_qt::LabelView view(label, v.ctx, nullptr);
    const QStringList lines = view.Lines();
    ASSERT_EQ(lines.size(), 2) << lines.join('|').toStdString();
    EXPECT_EQ(lines.join(""), "无法查找当前目录图标或当前目录图标无效。");
    // The second line's ideographs, one em tall, end inside the label.
    EXPECT_LE(view.LinePitch() + QFontInfo(view.font()).pixelSize(), view.height());
    // Ink in the lower half: the second line is drawn, not cut off.
    const QImage shot = qt_test::Shot(view);
    int inkBelow = 0;
    for (int y = view.LinePitch(); y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 128) ++inkBelow;
    EXPECT_GT(inkBelow, 20);
}

// ---- The window ----------------------------------------------------------------

TEST(WindowView, SizesGoBothWaysWithoutEchoes) {
    Views v;
    platform::Window w("frmMain", k96);
    w.setCaption("Tessel保存文件图标");
    w.setClientSize(9630, 7875);
    int resizes = 0;
    w.Resize.connect([&] {
        ++resizes;
        // The minimum size, as the window's logic keeps it.
        if (w.Width() < 8535) w.setWidth(8535);
    });
    platform_qt::WindowView view(w, v.ctx);
    view.setMinimumOuterSize(8535, 6500);
    EXPECT_EQ(view.size(), QSize(642, 525));
    EXPECT_EQ(view.windowTitle(), "Tessel保存文件图标");
    EXPECT_EQ(view.minimumSize(), QSize(569, 434));
    EXPECT_EQ(resizes, 0);

    view.showCentred();
    EXPECT_EQ(resizes, 1) << "the first showing is the first resize";
    ASSERT_TRUE(qt_test::WaitFor([&] { return view.isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(resizes, 1) << "no echo of the first showing";
    // Whatever frame the platform draws, the model's size is the outer one.
    const platform::Window::Frame f = w.NonClient();
    const QRect outer = view.frameGeometry(), inner = view.geometry();
    EXPECT_FLOAT_EQ(f.left, (inner.left() - outer.left()) * 15.0f);
    EXPECT_FLOAT_EQ(f.top, (inner.top() - outer.top()) * 15.0f);
    EXPECT_FLOAT_EQ(w.ScaleWidth(), 9630);
    EXPECT_FLOAT_EQ(w.ScaleHeight(), 7875);
    EXPECT_EQ(view.minimumSize(), QSize(569 - (outer.width() - inner.width()), 434 - (outer.height() - inner.height())));

    view.resize(700, 600);
    ASSERT_TRUE(qt_test::WaitFor([&] { return w.ScaleWidth() == 700 * 15; }));
    EXPECT_EQ(w.ScaleHeight(), 600 * 15);
    EXPECT_EQ(resizes, 2);

    w.setClientSize(9000, 9000);
    ASSERT_TRUE(qt_test::WaitFor([&] { return view.size() == QSize(600, 600); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(resizes, 3) << "the model's own size is not reported back";

    view.setMinimumSize(0, 0);
    view.resize(500, 600);  // below the minimum: the model pushes back
    ASSERT_TRUE(qt_test::WaitFor([&] { return w.Width() == 8535 && view.width() == 569 - (outer.width() - inner.width()); }));
}

}  // namespace
