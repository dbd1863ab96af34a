// The real window: frmMain over the Qt services, drawn by QtWindow on the
// offscreen platform, checked after start-up as the user first sees it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QShortcut>
#include <QTest>
#include <QTimer>

#include "app/qt_window.h"
#include "qt/cjk_font.h"
#include "qt/qt_services.h"
#include "qt/qt_desktop.h"
#include "system/system_services.h"
#include "qt_test_util.h"

namespace {

struct RealWindow {
    platform_qt::QtServices services;
    platform_qt::QtDesktop desktop;
    platform::SystemServices system{desktop};
    main_window::frmMain frm{services, system};
    app::QtWindow view{frm, services};
    RealWindow() {
        view.dispatcher()([&] { frm.Me.Load.raise(); });
        view.show();
    }
    QWidget* widget(const char* name) { return view.window().findChild<QWidget*>(name); }
};

void WhenOpen(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(w);
    });
    timer->start();
}

TEST(QtWindow, OpensAtTheDesignedSize) {
    RealWindow w;
    ASSERT_EQ(w.services.Scale().dpiX, 96) << "the geometry below is for 96 dpi";
    EXPECT_EQ(w.view.window().size(), QSize(642, 525));
    EXPECT_EQ(w.view.window().windowTitle(), "Tessel保存文件图标");
    // The minimum outer size less whatever frame the platform draws.
    const QRect outer = w.view.window().frameGeometry(), inner = w.view.window().geometry();
    EXPECT_EQ(w.view.window().minimumSize(),
              QSize(569 - (outer.width() - inner.width()), 434 - (outer.height() - inner.height())));
    EXPECT_FLOAT_EQ(w.frm.Me.ScaleWidth(), 9630);
    EXPECT_FLOAT_EQ(w.frm.Me.ScaleHeight(), 7875);
    EXPECT_FALSE(w.view.window().windowIcon().isNull());
    EXPECT_EQ(w.view.window().palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST(QtWindow, ControlsSitWhereStartUpPutsThem) {
    RealWindow w;
    // The designed client area, 9630 by 7875 twips, after Form_Load and the
    // first resize, in pixels of each control's container.
    struct Case {
        const char* name;
        const char* parent;
        QRect rect;
        bool visible;
    };
    const Case cases[] = {
        {"Drive1", "frmMain", {8, 8, 193, 21}, true},
        {"Dir1", "frmMain", {8, 32, 193, 229}, true},
        {"File1", "frmMain", {8, 262, 193, 230}, true},
        {"fraNoFiles", "frmMain", {20, 365, 169, 25}, false},
        {"lblNoFiles", "fraNoFiles", {0, 0, 169, 25}, true},
        {"picIconHolder", "frmMain", {209, 8, 425, 484}, true},
        {"fraIconHolder", "picIconHolder", {2, 2, 425, 484}, true},
        {"VS", "fraIconHolder", {404, 0, 17, 480}, true},
        {"fraIcons", "fraIconHolder", {3, 8, 405, 464}, true},
        {"picStatus", "frmMain", {0, 500, 642, 25}, true},
        {"lblStatus", "picStatus", {6, 6, 0, 12}, true},
        {"progbar", "picStatus", {14, 10, 618, 9}, false},
    };
    for (const auto& c : cases) {
        QWidget* widget = w.widget(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->parentWidget()->objectName(), c.parent) << c.name;
        EXPECT_EQ(widget->geometry(), c.rect) << c.name;
        EXPECT_EQ(!widget->isHidden(), c.visible) << c.name;
    }
    EXPECT_EQ(w.view.canvas().CellRect(w.frm.picIcon(0)), QRect(16, 16, 32, 32)) << "the template cell";
}

TEST(QtWindow, TextsAndStackingAsDesigned) {
    RealWindow w;
    auto* noFiles = qobject_cast<QLabel*>(w.widget("lblNoFiles"));
    ASSERT_NE(noFiles, nullptr);
    EXPECT_EQ(noFiles->text(), "无法查找当前目录图标或当前目录图标无效。");
    EXPECT_EQ(w.view.status().text(), "") << "the status starts empty";
    EXPECT_EQ(w.view.files().model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "文件名称 (0)");
    EXPECT_EQ(w.view.files().model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "0");
    EXPECT_EQ(w.view.drives().currentText(), QFile::decodeName(QByteArray::fromStdString(w.frm.Drive1.Drive())));
    EXPECT_EQ(w.view.folders().currentFolderItem()->data(0, platform_qt::DirListView::kPathRole).toByteArray().toStdString(),
              w.frm.Dir1.Path());
    EXPECT_EQ(noFiles->font().family(), platform_qt::ResolveCjkFamily("宋体"));

    // The notice lies over the file list, the scroll bar over the canvas's edge.
    const QObjectList top = w.view.window().children();
    EXPECT_GT(top.indexOf(w.widget("fraNoFiles")), top.indexOf(w.widget("File1")));
    const QObjectList holder = w.widget("fraIconHolder")->children();
    EXPECT_GT(holder.indexOf(w.widget("VS")), holder.indexOf(w.widget("fraIcons")));
    EXPECT_TRUE(w.view.timer().Running());
}

TEST(QtWindow, PopupMenusShowTheirItemsInTheSkin) {
    RealWindow w;
    struct Case {
        const char* name;
        int top;
        QStringList texts;
    };
    const Case cases[] = {
        {"the icon menu", 1, {"复制到剪贴板\tCtrl+C", "保存图标\tCtrl+S", "保存完整图标...\tCtrl+Shift+S", "保存图像", "保存全部图标...",
          "安装为应用图标...", "创建启动器...", "图标大小",
          "", "Tessel博客"}},
        {"the folder menu", 2, {"显示全部图标\tCtrl+A", "", "所有程序文件 [ ]", "包括子文件夹 [ ]", "包括光标 [ ]"}},
    };
    for (const auto& c : cases) {
        QStringList texts;
        QString sheet, family;
        int points = 0;
        WhenOpen([&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            for (QAction* a : menu->actions())
                texts << a->text() + (a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]") : "");
            sheet = menu->styleSheet();
            family = menu->font().family();
            points = menu->font().pointSize();
            menu->close();
        });
        w.services.PopupMenu(w.frm.mnuTop(c.top));
        EXPECT_EQ(texts, c.texts) << c.name;
        EXPECT_EQ(sheet, w.view.menuStyleSheet()) << c.name;
        EXPECT_EQ(family, platform_qt::ResolveCjkFamily("宋体")) << c.name;
        EXPECT_EQ(points, 9) << c.name;
    }
}

TEST(QtWindow, MenuSkinColoursReachTheScreen) {
    const main_window::MenuSkin skin;
    QMenu menu;
    menu.setStyleSheet(app::MenuStyleSheet(skin, platform_qt::ResolveCjkFamily("宋体")));
    QAction* first = menu.addAction("复制到剪贴板\tCtrl+C");
    menu.addAction("保存图标\tCtrl+S");
    menu.setActiveAction(first);
    menu.resize(menu.sizeHint());
    const QImage shot = qt_test::Shot(menu);
    const QRect item = menu.actionGeometry(first);
    const QRect plain = menu.actionGeometry(menu.actions()[1]);
    // Left of the caption, inside the item's padding.
    EXPECT_EQ(shot.pixel(item.left() + 4, item.center().y()), qRgb(255, 251, 198)) << "selected item's back colour";
    EXPECT_EQ(shot.pixel(item.left() + 2, item.top()), qRgb(0, 0, 255)) << "selected item's border";
    EXPECT_EQ(shot.pixel(0, shot.height() / 2), qRgb(0, 0, 255)) << "the side bar";
    EXPECT_EQ(shot.pixel(shot.width() - 1, shot.height() / 2), qRgb(0, 0, 128)) << "the menu's border";
    // The gradient runs from white on the left to blue on the right.
    const QColor left = shot.pixelColor(plain.left() + 2, plain.center().y());
    const QColor right = shot.pixelColor(plain.right() - 2, plain.center().y());
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(right.red(), 185);
    EXPECT_GT(right.blue(), 240);
}

TEST(QtWindow, KeysWorkWithoutTheMenu) {
    RealWindow w;
    std::vector<std::string> clicked;
    w.frm.mnuIcons(0).Click.connect([&] { clicked.push_back("copy"); });
    w.frm.mnuIcons(1).Click.connect([&] { clicked.push_back("save"); });
    w.frm.mnuIcons(2).Click.connect([&] { clicked.push_back("whole"); });
    w.frm.mnuDirectories(0).Click.connect([&] { clicked.push_back("all"); });
    w.frm.Me.KeyDown.connect([&](int k, int) { clicked.push_back(k == platform::key::kF5 ? "F5" : "?"); });
    w.view.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.view.window()));
    struct Case {
        const char* name;
        QWidget* focus;
    };
    const Case cases[] = {{"focus in the folder list", &w.view.folders()}, {"focus in the file list", &w.view.files()}};
    for (const auto& c : cases) {
        clicked.clear();
        c.focus->setFocus();
        QTest::keyClick(c.focus, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(c.focus, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(c.focus, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(c.focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(c.focus, Qt::Key_F5);
        EXPECT_EQ(clicked, (std::vector<std::string>{"copy", "save", "whole", "all", "F5"})) << c.name;
    }

    // While a message box is up the keys do nothing to the window, even
    // where the window manager hands them to the window behind the box.
    clicked.clear();
    bool tried = false;
    QTimer::singleShot(50, [&] {
        for (QShortcut* s : w.view.window().findChildren<QShortcut*>()) emit s->activated();
        tried = true;
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    w.services.MsgBox("你选择的目录确定要全部读取图标？", 4 + 16);
    EXPECT_TRUE(tried);
    EXPECT_TRUE(clicked.empty());
}

TEST(QtWindow, DropsOfLocalFilesReachTheWindowAndAChosenRowIsShownSelected) {
    RealWindow w;
    std::vector<std::string> dropped;
    w.frm.Me.OLEDragDrop.connect([&](const std::string& path) { dropped.push_back(path); });
    QMimeData data;
    // A web address is passed over for the first local file.
    data.setUrls({QUrl("https://example.org/x.ico"), QUrl::fromLocalFile("/tmp/a b.ico")});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.view.window(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.view.window(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(dropped, std::vector<std::string>{"/tmp/a b.ico"});
    w.frm.File1.Add("a.exe");
    w.frm.File1.setSelectedItem(w.frm.File1.Add("b.exe"));
    w.view.files().refreshNow();
    EXPECT_TRUE(w.view.files().selectionModel()->isRowSelected(1, {}));
}

TEST(QtWindow, CellClicksReachTheWindowsHandlers) {
    RealWindow w;
    std::vector<int> cellClicks;
    std::vector<int> canvasUps;
    w.frm.picIconClick.connect([&](int k) { cellClicks.push_back(k); });
    w.frm.fraIcons.MouseUp.connect([&](int b, int, float, float) { canvasUps.push_back(b); });
    w.frm.picIcon.Load(1);
    w.frm.picIcon(1).Move(1000, 240);
    w.frm.picIcon(1).setVisible(true);
    QTest::mouseClick(&w.view.canvas(), Qt::LeftButton, Qt::NoModifier, {20, 20});
    QTest::mouseClick(&w.view.canvas(), Qt::LeftButton, Qt::NoModifier, {70, 20});
    QTest::mouseClick(&w.view.canvas(), Qt::RightButton, Qt::NoModifier, {200, 200});
    EXPECT_EQ(cellClicks, (std::vector<int>{0, 1}));
    EXPECT_EQ(canvasUps, std::vector<int>{2});

    // Closing the window ends the program; input after that is dropped.
    w.view.window().close();
    EXPECT_TRUE(w.frm.Ended());
    EXPECT_FALSE(w.frm.picIcon.Exists(1)) << "the extra cells were unloaded";
    QTest::mouseClick(&w.view.canvas(), Qt::LeftButton, Qt::NoModifier, {20, 20});
    EXPECT_EQ(cellClicks.size(), 2u);
}

TEST(AppIcon, IsThe24BitPictureThatShipsWithTheProgram) {
    const QImage icon = app::AppIconImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.format(), QImage::Format_RGB888);
    EXPECT_EQ(icon.depth(), 24);
    const QImage shipped(TESSEL_SOURCE_DIR "/data/tessel-icons.png");
    ASSERT_FALSE(shipped.isNull()) << "data/tessel-icons.png";
    EXPECT_EQ(shipped.convertToFormat(QImage::Format_RGB888), icon) << "the installed icon is the window's icon";
    // A mosaic, not a blank square.
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) colours.insert(icon.pixel(x, y));
    EXPECT_GE(colours.size(), 8);
}

}  // namespace
