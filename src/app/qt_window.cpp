#include "qt_window.h"

#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "icons/whole_icon.h"
#include "qt/cjk_font.h"

namespace app {

namespace {

QString Rgb(pixels::Argb c) {
    return QString("rgb(%1, %2, %3)").arg(pixels::RedOf(c)).arg(pixels::GreenOf(c)).arg(pixels::BlueOf(c));
}

// Puts the widgets of one container in the stacking order of the controls:
// the control made first lies on top, as in the window's design (the no-files
// notice over the file list, the scroll bar over the canvas's edge).
void StackInCreationOrder(std::vector<QWidget*> made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) (*it)->raise();
}

}  // namespace

QString MenuStyleSheet(const main_window::MenuSkin& skin, const QString& family) {
    const QString back = skin.useGradient
                             ? QString("qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %1, stop:1 %2)")
                                   .arg(Rgb(skin.gradientOne), Rgb(skin.gradientTwo))
                             : Rgb(skin.gradientOne);
    return QString(
               "QMenu { background: %1; border: 1px solid %2; border-left: 4px solid %3;"
               " font-family: \"%4\"; font-size: %5pt; font-weight: %6; padding: 2px 1px; }\n"
               "QMenu::item { color: rgb(0, 0, 0); background: transparent; border: 1px solid transparent;"
               " padding: 3px 20px 3px 14px; }\n"
               "QMenu::item:selected { background: %7; border: 1px solid %8; color: %9; }\n"
               "QMenu::item:disabled { color: rgb(128, 128, 128); }\n"
               "QMenu::separator { height: 1px; background: %2; margin: 3px 6px 3px 10px; }\n")
        .arg(back, Rgb(skin.menuBorder), Rgb(skin.sidebar), family)
        .arg(skin.fontPointSize)
        .arg(skin.fontWeight >= 600 ? "bold" : "normal")
        .arg(Rgb(skin.selectedMenuBack), Rgb(skin.selectedMenuBorder), Rgb(skin.selectedItemFore));
}

QImage AppIconImage() {
    // Four by four tiles of seven pixels on a one-pixel grout, each tile a
    // small icon cell; one lit tile stands for the selected cell.
    QImage img(32, 32, QImage::Format_RGB888);
    img.fill(QColor(36, 52, 92));
    static const QColor kTiles[] = {QColor(90, 150, 230), QColor(240, 170, 60), QColor(110, 190, 120),
                                    QColor(200, 90, 90), QColor(160, 120, 210), QColor(80, 190, 200)};
    QPainter p(&img);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            const QRect tile(1 + col * 8, 1 + row * 8, 7, 7);
            const QColor c = kTiles[(row * 5 + col * 3) % 6];
            p.fillRect(tile, c);
            // A lighter top-left edge gives each tile a little relief.
            p.fillRect(QRect(tile.left(), tile.top(), 7, 1), c.lighter(135));
            p.fillRect(QRect(tile.left(), tile.top(), 1, 7), c.lighter(135));
            p.fillRect(QRect(tile.left() + 1, tile.bottom(), 6, 1), c.darker(140));
            p.fillRect(QRect(tile.right(), tile.top() + 1, 1, 6), c.darker(140));
        }
    // The selected tile, framed in the selection's green.
    p.setPen(QColor(0, 255, 0));
    p.drawRect(QRect(16, 8, 8, 8));
    p.end();
    return img;
}

QIcon AppIcon() { return QIcon(QPixmap::fromImage(AppIconImage())); }

void OfferDragOut(QtWindow& view, TesselWindow& window) {
    view.canvas().writeDragFile = [&window](int cell, const QString& folder) {
        const auto origin = window.panel.OriginOf(cell);
        if (!origin) return QString();
        // Named as the Save dialog names a whole icon, so the dropped file says where it came from.
        const std::string name = icons::DraggedIconFileName(icons::FileNameOf(origin->file), origin->index);
        const QString path = folder + "/" + QFile::decodeName(name.c_str());
        try {
            window.form.system.SaveWholeIcon(origin->file, origin->index, QFile::encodeName(path).toStdString());
        } catch (const platform::Failure&) {
            return QString();
        }
        return path;
    };
}

void DrawCellsSharp(QtWindow& view, TesselWindow& window) {
    view.canvas().drawCell = [&window](int cell, int pixels) { return window.panel.CellPicture(cell, pixels); };
}

namespace {

// Ctrl with the wheel over the icons changes their size, as in image viewers
// and file managers; without Ctrl the wheel goes on to scroll them.
class ZoomWheel : public QObject {
public:
    ZoomWheel(platform::PictureBox& holder, platform_qt::Dispatcher& dispatch, QObject* parent)
        : QObject(parent), holder_(holder), dispatch_(dispatch) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return QObject::eventFilter(watched, e);
        auto* wheel = static_cast<QWheelEvent*>(e);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        wheel->accept();
        // 120 eighths of a degree make one notch; a fine wheel gets there in parts.
        eighths_ += wheel->angleDelta().y();
        const int notches = eighths_ / 120;
        if (notches == 0) return true;
        eighths_ -= notches * 120;
        const int shift = platform_qt::ShiftMask(wheel->modifiers());
        dispatch_([&] { holder_.MouseWheel.raise(notches, shift); });
        return true;
    }

private:
    platform::PictureBox& holder_;
    platform_qt::Dispatcher& dispatch_;
    int eighths_ = 0;
};

}  // namespace

QtWindow::QtWindow(main_window::frmMain& frm, platform_qt::QtServices& screen)
    : frm_(frm), dispatch_([&frm] { return frm.Ended(); }), ctx_{frm.Me.Scale(), &dispatch_} {
    using namespace platform_qt;
    menuStyleSheet_ = MenuStyleSheet(frm.ctxChromabar1, ResolveCjkFamily(QString::fromUtf8(frm.ctxChromabar1.fontFamily)));
    screen.setMenuStyleSheet(menuStyleSheet_);
    screen.setMenuFont(CjkFont(QString::fromUtf8(frm.ctxChromabar1.fontFamily), frm.ctxChromabar1.fontPointSize,
                               frm.ctxChromabar1.fontWeight));

    window_ = std::make_unique<WindowView>(frm.Me, ctx_);
    window_->setWindowIcon(AppIcon());
    window_->setMinimumOuterSize(main_window::kMinWidth, main_window::kMinHeight);
    QWidget* top = window_.get();

    timer1_ = new TimerView(frm.Timer1, ctx_, top);
    auto* fraNoFiles = new FrameView(frm.fraNoFiles, ctx_, top);
    new LabelView(frm.lblNoFiles, ctx_, fraNoFiles);
    auto* picIconHolder = new PictureBoxView(frm.picIconHolder, ctx_, top);
    auto* fraIconHolder = new FrameView(frm.fraIconHolder, ctx_, picIconHolder);
    vs_ = new ScrollBarView(frm.VS, ctx_, fraIconHolder);
    fraIcons_ = new IconCanvasView(frm.fraIcons, frm.picIcon, frm.lnFrame, ctx_, fraIconHolder);
    // The wheel over the icons, and over the viewport's margins, scrolls them
    // as it does over the bar.
    vs_->scrollsFor(fraIcons_);
    vs_->scrollsFor(picIconHolder);
    // Installed after the scroll bar's, so it hears the wheel first.
    auto* zoom = new ZoomWheel(frm.picIconHolder, dispatch_, top);
    fraIcons_->installEventFilter(zoom);
    picIconHolder->installEventFilter(zoom);
    auto* picStatus = new PictureBoxView(frm.picStatus, ctx_, top);
    progbar_ = new ProgressBarView(frm.progbar, ctx_, picStatus);
    lblStatus_ = new LabelView(frm.lblStatus, ctx_, picStatus);
    dir1_ = new DirListView(frm.Dir1, ctx_, top);
    drive1_ = new DriveListView(frm.Drive1, ctx_, top);
    file1_ = new ListViewView(frm.File1, ctx_, top);

    StackInCreationOrder({fraNoFiles, picIconHolder, picStatus, dir1_, drive1_, file1_});
    StackInCreationOrder({vs_, fraIcons_});
    StackInCreationOrder({progbar_, lblStatus_});

    // The keyboard follows the controls' tab order.
    std::vector<std::pair<int, QWidget*>> tabs{{frm.Drive1.TabIndex(), drive1_}, {frm.Dir1.TabIndex(), dir1_},
                                               {frm.picIconHolder.TabIndex(), picIconHolder},
                                               {frm.VS.TabIndex(), vs_}, {frm.File1.TabIndex(), file1_}};
    std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabs.size(); ++i) QWidget::setTabOrder(tabs[i - 1].second, tabs[i].second);

    // The menus show these keys beside their captions, so they work as keys
    // too whenever no menu is open.
    const auto bind = [this, top](platform::Menu& item) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromUtf8(item.Shortcut().c_str())), top);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, top, [this, &item] {
            // Not while a menu, the Save dialog or a message box is up: the
            // keys belong to the window only when the window is what the
            // user is working in.
            if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return;
            dispatch_([&] { item.Click.raise(); });
        });
    };
    bind(frm.mnuIcons(0));
    bind(frm.mnuIcons(1));
    bind(frm.mnuIcons(2));
    bind(frm.mnuDirectories(0));

    // Keys the window hears wherever the focus is: F5 rescans, as in a file
    // manager; Ctrl with plus (or =, which shares its key) or minus, on the
    // main keyboard or the keypad, makes the icons larger or smaller.
    const auto windowKey = [this, top](QKeySequence keys, int code, int shift) {
        auto* shortcut = new QShortcut(keys, top);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, top, [this, code, shift] {
            if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return;
            dispatch_([&] { frm_.Me.KeyDown.raise(code, shift); });
        });
    };
    namespace key = platform::key;
    const int ctrl = platform::mouse::kCtrl;
    windowKey(QKeySequence(Qt::Key_F5), key::kF5, 0);
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_Plus), key::kOemPlus, ctrl);
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_Equal), key::kOemPlus, ctrl);
    windowKey(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)), key::kAdd, ctrl);
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_Minus), key::kOemMinus, ctrl);
    windowKey(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)), key::kSubtract, ctrl);
}

QtWindow::~QtWindow() = default;

void QtWindow::show() { window_->showCentred(); }

}  // namespace app
