#include "window_view.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace platform_qt {

namespace {

// The first local file or folder a drag carries; empty when it carries none
// (web addresses, text) or comes from this program itself, whose dragged
// cells are pictures made for other programs.
QString DroppedPath(const QDropEvent* e) {
    if (e->source() || !e->mimeData()->hasUrls()) return {};
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

WindowView::WindowView(platform::Window& window, const ViewContext& ctx) : QWidget(nullptr), window_(window), ctx_(ctx) {
    setObjectName(QString::fromStdString(window.Name()));
    setAutoFillBackground(true);
    setAcceptDrops(true);
    hook_.install(window_, [this] { refresh(); });
    refresh();
}

QSize WindowView::ModelClientPixels() const {
    return {ToPixelsX(window_.ScaleWidth(), ctx_.scale), ToPixelsY(window_.ScaleHeight(), ctx_.scale)};
}

void WindowView::refresh() {
    const QString title = QString::fromUtf8(window_.Caption().c_str());
    if (windowTitle() != title) setWindowTitle(title);
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(window_.BackColor()));
    if (p != palette()) setPalette(p);
    // While a reported size is being handled the model may answer with a
    // size of its own (the minimum); that one is applied, the echo is not.
    if (window_.State() == platform::WindowState::Normal || !shown_) {
        const QSize want = ModelClientPixels();
        if (size() != want) resize(want);
    }
}

void WindowView::setMinimumOuterSize(double width, double height) {
    minWidth_ = width;
    minHeight_ = height;
    applyMinimum();
}

void WindowView::applyMinimum() {
    // Under a window manager the window never gets smaller than this hint, so
    // the hint stands in for the resize handler's snap-back: rounded down, it
    // would let the window stop just short of the minimum (6500 twips are
    // 433.3 pixels), and every resize would then push the size and the
    // pointer out again by a fraction of a pixel.
    const platform::Window::Frame& f = window_.NonClient();
    const auto pixelsUp = [](double twips, double twipsPerPixel) {
        return std::max(0, static_cast<int>(std::ceil(twips / twipsPerPixel - 1e-9)));
    };
    setMinimumSize(pixelsUp(minWidth_ - f.left - f.right, ctx_.scale.twipsPerPixelX()),
                   pixelsUp(minHeight_ - f.top - f.bottom, ctx_.scale.twipsPerPixelY()));
}

platform::Window::Frame WindowView::measuredFrame() const {
    const QRect inner = geometry(), outer = frameGeometry();
    return {ToTwipsX(inner.left() - outer.left(), ctx_.scale), ToTwipsY(inner.top() - outer.top(), ctx_.scale),
            ToTwipsX(outer.right() - inner.right(), ctx_.scale), ToTwipsY(outer.bottom() - inner.bottom(), ctx_.scale)};
}

void WindowView::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // A window's position is its frame's.
    const QRect area = screen->availableGeometry(), outer = frameGeometry();
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void WindowView::showCentred() {
    if (!shown_) {
        resize(ModelClientPixels());
        centreOnScreen();
    }
    show();
    if (shown_) return;
    shown_ = true;
    const platform::Window::Frame f = measuredFrame();
    centreWhenFramed_ = f.left == 0 && f.top == 0 && f.right == 0 && f.bottom == 0;
    window_.setNonClient(f);
    applyMinimum();
    const double outerW = ToTwipsX(width(), ctx_.scale) + f.left + f.right;
    const double outerH = ToTwipsY(height(), ctx_.scale) + f.top + f.bottom;
    (*ctx_.dispatch)([&] {
        window_.PlatformMoved(ToTwipsX(frameGeometry().x(), ctx_.scale), ToTwipsY(frameGeometry().y(), ctx_.scale));
        // The first showing is the first resize, whether or not the size moved.
        const bool same = outerW == window_.Width() && outerH == window_.Height();
        if (same) window_.Resize.raise();
        else window_.PlatformResized(outerW, outerH);
    });
}

void WindowView::reportSize() {
    if (!shown_ || reporting_ || window_.State() == platform::WindowState::Minimized) return;
    const platform::Window::Frame f = measuredFrame();
    const platform::Window::Frame& had = window_.NonClient();
    const bool frameMoved = f.left != had.left || f.top != had.top || f.right != had.right || f.bottom != had.bottom;
    if (!frameMoved && size() == ModelClientPixels()) return;  // our own resize coming back
    if (frameMoved) {
        window_.setNonClient(f);
        applyMinimum();
    }
    reporting_ = true;
    (*ctx_.dispatch)([&] {
        window_.PlatformResized(ToTwipsX(width(), ctx_.scale) + f.left + f.right,
                                ToTwipsY(height(), ctx_.scale) + f.top + f.bottom);
    });
    reporting_ = false;
    // The handler may have pushed the size back out (the minimum size).
    refresh();
    // Only now that the model holds the outer size again may the window move.
    if (frameMoved && centreWhenFramed_) {
        centreWhenFramed_ = false;
        centreOnScreen();
    }
}

void WindowView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    reportSize();
}

void WindowView::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (!shown_) return;
    window_.PlatformMoved(ToTwipsX(frameGeometry().x(), ctx_.scale), ToTwipsY(frameGeometry().y(), ctx_.scale));
    reportSize();
}

void WindowView::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || !shown_) return;
    platform::WindowState s = platform::WindowState::Normal;
    if (windowState() & Qt::WindowMinimized) s = platform::WindowState::Minimized;
    else if (windowState() & Qt::WindowMaximized) s = platform::WindowState::Maximized;
    (*ctx_.dispatch)([&] { window_.setState(s); });
    if (s != platform::WindowState::Minimized) reportSize();
}

void WindowView::closeEvent(QCloseEvent* e) {
    (*ctx_.dispatch)([&] { window_.Unload.raise(); });
    e->accept();
}

void WindowView::dragEnterEvent(QDragEnterEvent* e) {
    if (!DroppedPath(e).isEmpty()) e->acceptProposedAction();
}

void WindowView::dragMoveEvent(QDragMoveEvent* e) {
    if (!DroppedPath(e).isEmpty()) e->acceptProposedAction();
}

void WindowView::dropEvent(QDropEvent* e) {
    const QString path = DroppedPath(e);
    if (path.isEmpty()) return;
    e->acceptProposedAction();
    // Opened once the drop is over: the program the drag came from waits
    // for its end, and a scan may take a while.
    const std::string local = QFile::encodeName(path).toStdString();
    QMetaObject::invokeMethod(
        this, [this, local] { (*ctx_.dispatch)([&] { window_.OLEDragDrop.raise(local); }); }, Qt::QueuedConnection);
}

}  // namespace platform_qt
