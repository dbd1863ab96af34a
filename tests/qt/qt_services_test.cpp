// The Qt services: message boxes, popup menus, the Save dialog, the clipboard
// and the screen. Modal windows are answered from a timer, as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTimer>
#include <functional>

#include "fake_services.h"
#include "platform/controls/menu.h"
#include "qt/cjk_font.h"
#include "qt/qt_services.h"
#include "qt/translations.h"
#include "qt_test_util.h"

namespace {

// Runs `answer` on the next modal window or popup that opens.
void WhenOpen(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(w);
    });
    timer->start();
}

TEST(QtServicesMsgBox, StylesAndAnswers) {
    struct Case {
        const char* name;
        int style;
        const char* press;  // button text to press; nullptr = Escape
        QMessageBox::Icon icon;
        int buttons;
        int answer;
    };
    const Case cases[] = {
        {"yes-no with stop sign, yes", 4 + 16, "是(&Y)", QMessageBox::Critical, 2, 6},
        {"yes-no with stop sign, no", 4 + 16, "否(&N)", QMessageBox::Critical, 2, 7},
        {"yes-no, escape means no", 4, nullptr, QMessageBox::NoIcon, 2, 7},
        {"ok only", 0, "确定", QMessageBox::NoIcon, 1, 1},
    };
    platform_qt::QtServices services;
    services.setTitle("Tessel Icons");
    for (const auto& c : cases) {
        QString title;
        QMessageBox::Icon icon{};
        int buttons = 0;
        QString defaultText;
        int width = 0;
        WhenOpen([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            width = box->width();
            icon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            if (box->defaultButton()) defaultText = box->defaultButton()->text();
            if (!c.press) {
                box->reject();
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == c.press) b->click();
        });
        EXPECT_EQ(services.MsgBox("错误", c.style), c.answer) << c.name;
        EXPECT_EQ(title, "Tessel Icons") << c.name;
        EXPECT_GT(width, QFontMetrics(QApplication::font()).horizontalAdvance(title) + 100) << c.name << ": room for the title";
        EXPECT_EQ(icon, c.icon) << c.name;
        EXPECT_EQ(buttons, c.buttons) << c.name;
        if (c.buttons == 2) {
            EXPECT_EQ(defaultText, "是(&Y)") << c.name << ": Yes is the default";
        }
    }
}

struct MenuFixture {
    platform::Menu top{"mnuTop", nullptr, 1, "操作"};
    platform::Menu* copy;
    platform::Menu* save;
    platform::Menu* blog;
    std::vector<std::string> clicked;
    MenuFixture() {
        copy = &top.Add(std::make_unique<platform::Menu>("mnuIcons", &top, 0, "复制到剪贴板", "Ctrl+C"));
        save = &top.Add(std::make_unique<platform::Menu>("mnuIcons", &top, 1, "保存图标", "Ctrl+S"));
        top.Add(std::make_unique<platform::Menu>("mnulin2", &top, -1, "-"));
        blog = &top.Add(std::make_unique<platform::Menu>("mnutesselblog", &top, -1, "Tessel博客"));
        for (platform::Menu* m : {copy, save, blog})
            m->Click.connect([this, m] { clicked.push_back(m->Caption()); });
    }
};

TEST(QtServicesPopupMenu, ShowsItemsAndRaisesTheChosenOne) {
    struct Case {
        const char* name;
        int choose;  // action index, -1 closes the menu
        std::vector<std::string> clicked;
    };
    const Case cases[] = {
        {"the first item", 0, {"复制到剪贴板"}},
        {"the item after the separator", 3, {"Tessel博客"}},
        {"closed without a choice", -1, {}},
    };
    for (const auto& c : cases) {
        MenuFixture m;
        platform_qt::QtServices services;
        services.setMenuStyleSheet("QMenu { background: rgb(1, 2, 3); }");
        QStringList texts;
        std::vector<bool> separators;
        QString sheet;
        WhenOpen([&](QWidget* w) {
            auto* menu = qobject_cast<QMenu*>(w);
            ASSERT_NE(menu, nullptr);
            sheet = menu->styleSheet();
            for (QAction* a : menu->actions()) {
                texts << a->text();
                separators.push_back(a->isSeparator());
            }
            if (c.choose < 0) {
                menu->close();
                return;
            }
            menu->setActiveAction(menu->actions()[c.choose]);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        services.PopupMenu(m.top);
        EXPECT_EQ(texts, (QStringList{"复制到剪贴板\tCtrl+C", "保存图标\tCtrl+S", "", "Tessel博客"})) << c.name;
        EXPECT_EQ(separators, (std::vector<bool>{false, false, true, false})) << c.name;
        EXPECT_EQ(sheet, "QMenu { background: rgb(1, 2, 3); }") << c.name;
        EXPECT_EQ(m.clicked, c.clicked) << c.name;
    }
}

TEST(QtServicesSaveDialog, StartsWhereToldAndReturnsTheChoice) {
    test_support::TempFolder tmp;
    tmp.write("old.bmp", std::string("x"));
    const std::string filter = "GIF (*.gif)|*.gif|JPEG (*.jpeg)|*.jpeg|ICO (*.ico)|*.ico|BMP (*.bmp)|*.bmp|PNG (*.png)|*.png";
    struct Case {
        const char* name;
        std::string start;
        bool accept;
        QString expectDir;
        QString expectFile;  // what the name box holds
        std::optional<std::string> answer;
        // Accepting the name of a file that exists asks first; the answer given.
        std::optional<QMessageBox::StandardButton> replace = std::nullopt;
        QString typed = {};  // a name typed under filter number `filter`
        int filter = 0;
    };
    const QString dir = QString::fromStdString(tmp.path());
    const Case cases[] = {
        {"a folder starts the dialog in it", tmp.path(), false, dir, "", std::nullopt},
        {"a file name starts with that name, and replacing it is confirmed", tmp.file("old.bmp"), true, dir, "old.bmp",
         tmp.file("old.bmp"), QMessageBox::Yes},
        {"declining to replace keeps the dialog open", tmp.file("old.bmp"), true, dir, "old.bmp", std::nullopt,
         QMessageBox::No},
        {"cancel gives nothing", tmp.file("old.bmp"), false, dir, "old.bmp", std::nullopt},
        // Bytes that are not UTF-8 come back as they went, not as U+FFFD.
        {"a name that is not UTF-8 keeps its bytes", tmp.file("a\xff\xc3.exe.0.ico"), true, dir, "",
         tmp.file("a\xff\xc3.exe.0.ico")},
        {"a name without an ending gets the chosen type's", tmp.path(), true, dir, "", tmp.file("p.png"), {}, "p", 4},
        {"a typed ending decides", tmp.path(), true, dir, "", tmp.file("p.gif"), {}, "p.gif", 1},
    };
    platform_qt::InstallChineseTranslations();
    platform_qt::QtServices services;
    for (const auto& c : cases) {
        QStringList filters;
        QString selectedFilter, shownDir, shownFile, title;
        WhenOpen([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            selectedFilter = dialog->selectedNameFilter();
            shownDir = dialog->directory().absolutePath();
            const QStringList chosen = dialog->selectedFiles();
            shownFile = chosen.isEmpty() ? QString() : QFileInfo(chosen.front()).fileName();
            title = dialog->windowTitle();
            // As the user does it: the type from the list, then the name.
            for (int i = 0; i < c.filter; ++i) QTest::keyClick(dialog->findChild<QWidget*>("fileTypeCombo"), Qt::Key_Down);
            if (!c.typed.isEmpty()) dialog->findChild<QWidget*>("fileNameEdit")->setProperty("text", c.typed);
            bool asked = false;
            if (c.replace) {
                WhenOpen([&](QWidget* question) {
                    auto* box = qobject_cast<QMessageBox*>(question);
                    ASSERT_NE(box, nullptr) << c.name;
                    asked = true;
                    box->button(*c.replace)->click();
                });
            }
            if (c.accept) QMetaObject::invokeMethod(dialog, "accept");
            EXPECT_EQ(asked, c.replace.has_value()) << c.name;
            if (dialog->isVisible()) dialog->reject();
        });
        const auto answer = services.ShowSave(c.start, filter);
        EXPECT_EQ(filters, (QStringList{"GIF (*.gif)", "JPEG (*.jpeg)", "ICO (*.ico)", "BMP (*.bmp)", "PNG (*.png)"}))
            << c.name;
        EXPECT_EQ(selectedFilter, "GIF (*.gif)") << c.name;
        EXPECT_EQ(title, QString::fromUtf8("另存为")) << c.name << ": Qt's own texts are Chinese";
        EXPECT_EQ(shownDir, c.expectDir) << c.name;
        if (!c.expectFile.isEmpty()) {
            EXPECT_EQ(shownFile, c.expectFile) << c.name;
        }
        EXPECT_EQ(answer, c.answer) << c.name;
    }
}

TEST(QtServicesClipboard, OffersTheImageAsBitmapAndPng) {
    platform_qt::QtServices services;
    pixels::Bitmap img(32, 32, pixels::MakeArgb(200, 10, 10));
    img.at(0, 0) = pixels::MakeArgb(1, 2, 3);
    img.at(31, 31) = pixels::MakeArgb(0, 255, 0, 0);  // alpha is not carried
    services.ClipboardClear();
    services.ClipboardSetImage(img);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    ASSERT_TRUE(data->hasFormat("image/png"));
    EXPECT_TRUE(data->hasFormat("image/bmp"));
    for (const char* format : {"image/png", "image/bmp"}) {
        const QImage back = QImage::fromData(data->data(format)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), QSize(32, 32)) << format;
        EXPECT_EQ(back.pixel(0, 0), qRgb(1, 2, 3)) << format;
        EXPECT_EQ(back.pixel(5, 5), qRgb(200, 10, 10)) << format;
        EXPECT_EQ(back.pixel(31, 31), qRgb(0, 255, 0)) << format;
    }
    services.ClipboardClear();
    const QMimeData* after = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!after || (!after->hasImage() && !after->hasFormat("image/png")));
}

TEST(QtServicesScreen, TextAndColours) {
    platform_qt::QtServices services;
    const platform::ScreenScale s = services.Scale();
    EXPECT_GT(s.dpiX, 0);
    const float one = services.MeasureText("图");
    const float four = services.MeasureText("图标图标");
    EXPECT_GT(one, 0);
    EXPECT_NEAR(four, 4 * one, 2 * s.twipsPerPixelX()) << "CJK glyphs are one width";
    EXPECT_EQ(services.MeasureText(""), 0);
    EXPECT_LT(services.MeasureText("a"), services.MeasureText("ab"));
    EXPECT_NE(services.WindowColor(), services.WindowTextColor());
}

// However close together a load's yields come, input that arrives during it is handled, and what it posts sent, in one yield.
TEST(QtServicesScreen, YieldsInATightLoopStillHandleInput) {
    platform_qt::QtServices services;
    for (const int yieldsBefore : {0, 1, 1000}) {
        for (int i = 0; i < yieldsBefore; ++i) services.DoEvents();
        bool handled = false, followed = false;
        QTimer::singleShot(0, [&] { handled = true; QMetaObject::invokeMethod(qApp, [&] { followed = true; }, Qt::QueuedConnection); });
        QElapsedTimer since;  // liveness only: a second is sixty times the longest a yield may wait
        for (since.start(); !handled && since.elapsed() < 1000;) services.DoEvents();
        EXPECT_TRUE(handled && followed) << yieldsBefore;
    }
}

TEST(CjkFont, DrawsTheWindowsChineseTexts) {
    const QFont font = platform_qt::UiFont();
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    ASSERT_TRUE(raw.isValid());
    for (const char* text : {"Tessel保存文件图标", "无法查找当前目录图标或当前目录图标无效。", "文件名称", "复制到剪贴板",
                             "保存图标", "显示全部图标", "读取窗体", "错误"}) {
        for (const QChar ch : QString::fromUtf8(text))
            EXPECT_TRUE(raw.supportsCharacter(ch)) << text << " lacks U+" << std::hex << static_cast<unsigned>(ch.unicode());
    }
    EXPECT_EQ(platform_qt::ResolveCjkFamily("No Such Face Anywhere").isEmpty(), false);
}

}  // namespace
