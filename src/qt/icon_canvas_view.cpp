#include "icon_canvas_view.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QUrl>
#include <cmath>

#include "bitmap_image.h"

namespace platform_qt {

IconCanvasView::IconCanvasView(platform::Frame& canvas, platform::ControlArray<platform::PictureBox>& cells,
                               platform::ControlArray<platform::Line>& lines, const ViewContext& ctx, QWidget* parent)
    : QWidget(parent), canvas_(canvas), cells_(cells), lines_(lines), ctx_(ctx) {
    setObjectName(QString::fromStdString(canvas.Name()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Cells hear the pointer move without a button held, as windows do.
    setMouseTracking(true);
    cells_.ForEach([this](platform::PictureBox& cell) { watch(cell); });
    cells_.loaded = [this](platform::PictureBox& cell) {
        watch(cell);
        cellMoved(cell);
        repaintLater();
    };
    cells_.unloading = [this](platform::PictureBox& cell) {
        forget(cell);
        repaintLater();
    };
    lines_.ForEach([this](platform::Line& line) { line.viewChanged = [this](platform::Control&) { repaintLater(); }; });
    lines_.loaded = [this](platform::Line& line) {
        line.viewChanged = [this](platform::Control&) { repaintLater(); };
        repaintLater();
    };
    lines_.unloading = [this](platform::Line& line) {
        line.viewChanged = nullptr;
        repaintLater();
    };
    hook_.install(canvas_, [this] { refresh(); });
    // The keys move the selection while the viewport holds the focus; the
    // canvas shows when that is so.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* was, QWidget* now) {
        if ((was && was->isAncestorOf(this)) || (now && now->isAncestorOf(this))) repaintLater();
    });
    refresh();
}

bool IconCanvasView::KeysComeHere() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus->isAncestorOf(this);
}

IconCanvasView::~IconCanvasView() {
    cells_.loaded = nullptr;
    cells_.unloading = nullptr;
    cells_.ForEach([](platform::PictureBox& cell) { cell.viewChanged = nullptr; });
    lines_.loaded = nullptr;
    lines_.unloading = nullptr;
    lines_.ForEach([](platform::Line& line) { line.viewChanged = nullptr; });
}

void IconCanvasView::watch(platform::PictureBox& cell) {
    // A cell that moves or takes another size keeps what it shows until the
    // next paint looks at it; a new drawing replaces it there.
    cell.viewChanged = [this](platform::Control& c) {
        cellMoved(c);
        repaintLater();
    };
}

void IconCanvasView::forget(platform::PictureBox& cell) {
    cell.viewChanged = nullptr;
    images_.erase(&cell);
    toSharpen_.erase(&cell);
    for (auto& [button, target] : pressedOn_)
        if (target == cell.Index()) target = -2;  // the pressed cell is gone: its release goes nowhere
}

void IconCanvasView::repaintLater() {
    // Arranging thousands of cells changes each; one repaint covers them all.
    if (repaintPending_) return;
    repaintPending_ = true;
    update();
}

void IconCanvasView::refresh() {
    SetColors(*this, canvas_);
    Place(*this, canvas_, ctx_.scale);
    repaintLater();
}

QRect IconCanvasView::CellRect(const platform::PictureBox& cell) const {
    return PixelRectIn(cell.Left(), cell.Top(), cell.Width(), cell.Height(), ctx_.scale);
}

bool IconCanvasView::inGrid(const platform::Control& cell) const {
    const platform::CellRect r = grid_->Cell(cell.Index());
    return static_cast<double>(cell.Left()) == r.left && static_cast<double>(cell.Top()) == r.top &&
           static_cast<double>(cell.Width()) == r.width && static_cast<double>(cell.Height()) == r.height;
}

void IconCanvasView::cellMoved(const platform::Control& cell) {
    if (!gridStale_ && !(grid_ && inGrid(cell))) gridStale_ = true;
}

const platform::GridLayout* IconCanvasView::arrangedGrid() const {
    if (!gridStale_ && gridWidth_ == canvas_.Width()) return grid_ ? &*grid_ : nullptr;
    gridStale_ = false;
    gridWidth_ = canvas_.Width();
    grid_.reset();
    const double w = cells_(0).Width(), h = cells_(0).Height();
    // Whole twips the grid's 32 bits hold for every row, and at least three
    // pixels each way, which CellAt's look around the point needs.
    const auto fits = [](double size, double pixel) {
        return size == std::floor(size) && size >= 3 * pixel && size <= 32767;
    };
    if (!fits(w, ctx_.scale.twipsPerPixelX()) || !fits(h, ctx_.scale.twipsPerPixelY())) return nullptr;
    grid_.emplace(gridWidth_, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h));
    bool all = true;
    cells_.ForEach([&](platform::PictureBox& cell) { all = all && inGrid(cell); });
    if (!all) grid_.reset();
    return grid_ ? &*grid_ : nullptr;
}

int IconCanvasView::CellAt(QPoint p) const {
    int found = -1;
    // Later elements lie above earlier ones, so the last hit wins.
    const auto consider = [&](const platform::PictureBox& cell) {
        if (cell.Index() > found && cell.Visible() && CellRect(cell).contains(p)) found = cell.Index();
    };
    const platform::GridLayout* grid = arrangedGrid();
    if (!grid) {
        const_cast<platform::ControlArray<platform::PictureBox>&>(cells_).ForEach(consider);
        return found;
    }
    // Every cell is where the grid puts it, so no two overlap; but a cell's
    // pixels are its twips rounded, and a pixel may show a cell whose twips
    // stop short of it. A cell whose pixels hold the point reaches into the
    // twips from one and a half pixels before the point to one after it, and
    // being three pixels or more across it holds a corner of that square:
    // the grid is asked at the four, and each cell found is checked as the
    // scan checks it.
    const double tx = ctx_.scale.twipsPerPixelX(), ty = ctx_.scale.twipsPerPixelY();
    for (const double x : {(p.x() - 1.5) * tx, (p.x() + 1.0) * tx})
        for (const double y : {(p.y() - 1.5) * ty, (p.y() + 1.0) * ty}) {
            const std::int64_t index = grid->CellAt(x, y, cells_.UBoundPlusOne());
            if (index >= 0 && cells_.Exists(static_cast<int>(index))) consider(cells_(static_cast<int>(index)));
        }
    return found;
}

QSize IconCanvasView::devicePixelsOf(const platform::PictureBox& cell) const {
    const qreal ratio = devicePixelRatioF();
    return {qRound(cell.PixelWidth() * ratio), qRound(cell.PixelHeight() * ratio)};
}

// A cell keeps the picture it was drawn with, at its standard size. Shown at
// that size on a screen of one device pixel to a pixel, that is what shows.
// Larger, or on a scaled screen, its icon is drawn afresh for the device pixels
// it covers, as sharp as the file allows, and only while in sight: first the
// kept picture scaled stands in, and the cells in sight are drawn afresh once
// the paint is on the screen, a few at a time, so that a page of large icons
// shows at once and the window answers while they sharpen.
const QImage& IconCanvasView::imageOf(const platform::PictureBox& cell) {
    const QSize device = devicePixelsOf(cell);
    auto it = images_.find(&cell);
    if (it != images_.end() && it->second.image.size() == device && it->second.drawing == cell.Drawings())
        return it->second.image;
    const pixels::Bitmap& drawn = cell.Drawn();
    QImage image;
    if (device == QSize(drawn.width, drawn.height)) {
        image = ToQImage(cell.Image());
        toSharpen_.erase(&cell);
    } else {
        image = ToQImage(drawn).scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatioF());
        if (drawCell) {
            toSharpen_.insert(&cell);
            if (!sharpenPending_) {
                sharpenPending_ = true;
                QTimer::singleShot(0, this, [this] { sharpenSome(); });
            }
        }
    }
    if (it == images_.end()) it = images_.emplace(&cell, Shown{std::move(image), cell.Drawings()}).first;
    else it->second = {std::move(image), cell.Drawings()};
    return it->second.image;
}

// Draws afresh the cells waiting in sight for as long as one frame allows,
// then lets the events in and goes on.
void IconCanvasView::sharpenSome() {
    sharpenPending_ = false;
    QElapsedTimer spent;
    spent.start();
    while (!toSharpen_.empty() && spent.elapsed() < 12) {
        const platform::PictureBox* cell = *toSharpen_.begin();
        toSharpen_.erase(toSharpen_.begin());
        const auto it = images_.find(cell);
        const QSize device = devicePixelsOf(*cell);
        // Drawn anew or resized since: the next paint asks again.
        if (it == images_.end() || !cell->Visible() || it->second.drawing != cell->Drawings() ||
            it->second.image.size() != device)
            continue;
        std::optional<pixels::Bitmap> fresh;
        (*ctx_.dispatch)([&] { fresh = drawCell(cell->Index(), std::max(device.width(), device.height())); });
        if (!fresh) continue;  // the file went: the kept picture stays
        QImage image = ToQImage(*fresh);
        if (image.size() != device) image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatioF());
        it->second.image = std::move(image);
        update(CellRect(*cell));
    }
    if (!toSharpen_.empty()) {
        sharpenPending_ = true;
        QTimer::singleShot(0, this, [this] { sharpenSome(); });
    }
}

// A panel scrolled through would otherwise keep a converted copy of every
// cell's pixels for as long as the cells stay drawn.
void IconCanvasView::dropImagesOutOfSight(const QRect& painted) {
    const QRect inSight = visibleRegion().boundingRect() | painted;
    std::erase_if(images_, [&](const auto& entry) {
        return !entry.first->Visible() || !CellRect(*entry.first).intersects(inSight);
    });
    std::erase_if(toSharpen_, [&](const platform::PictureBox* cell) { return !images_.count(cell); });
}

void IconCanvasView::paintEvent(QPaintEvent* e) {
    repaintPending_ = false;
    const QRect exposed = e->rect();
    QPainter p(this);
    p.fillRect(exposed, ToQColor(canvas_.BackColor()));

    // Lines are drawn on the canvas itself, beneath the cells, as graphics
    // drawn on a container lie beneath its child windows.
    lines_.ForEach([&](platform::Line& line) {
        if (!line.Visible()) return;
        const QPoint a(ToPixelsX(line.X1(), ctx_.scale), ToPixelsY(line.Y1(), ctx_.scale));
        const QPoint b(ToPixelsX(line.X2(), ctx_.scale), ToPixelsY(line.Y2(), ctx_.scale));
        if (!exposed.intersects(QRect(a, b).normalized().adjusted(-1, -1, 1, 1))) return;
        p.setPen(QPen(ToQColor(line.BorderColor()), 1));
        p.drawLine(a, b);
    });

    cells_.ForEach([&](platform::PictureBox& cell) {
        if (!cell.Visible()) return;
        const QRect r = CellRect(cell);
        if (!r.intersects(exposed)) return;
        if (cell.IsBlank()) {
            p.fillRect(r, ToQColor(cell.BackColor()));
            return;
        }
        p.save();
        p.setClipRect(r);
        p.fillRect(r, ToQColor(cell.BackColor()));
        p.drawImage(QRectF(r.topLeft() + ClientOrigin(cell, ctx_.scale), QSizeF(cell.PixelWidth(), cell.PixelHeight())),
                    imageOf(cell));
        p.restore();
    });
    dropImagesOutOfSight(exposed);

    // A dotted focus rectangle just outside the selection frame, as a list
    // draws around its focused item.
    if (!KeysComeHere()) return;
    QRect frame;
    lines_.ForEach([&](platform::Line& line) {
        if (!line.Visible()) return;
        const QPoint a(ToPixelsX(line.X1(), ctx_.scale), ToPixelsY(line.Y1(), ctx_.scale));
        const QPoint b(ToPixelsX(line.X2(), ctx_.scale), ToPixelsY(line.Y2(), ctx_.scale));
        frame |= QRect(a, b).normalized();
    });
    if (frame.isNull()) return;
    p.setPen(QPen(ToQColor(canvas_.ForeColor()), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-2, -2, 2, 2));
}

void IconCanvasView::mousePressEvent(QMouseEvent* e) {
    pressedOn_[e->button()] = CellAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton) leftPressedAt_ = e->position().toPoint();
}

QMimeData* IconCanvasView::DragData(int index) {
    if (!writeDragFile || !cells_.Exists(index)) return nullptr;
    if (!dragFolder_) dragFolder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tessel-icons-drag-XXXXXX");
    if (!dragFolder_->isValid()) return nullptr;
    const QString path = writeDragFile(index, dragFolder_->path());
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return nullptr;
    auto* data = new QMimeData;
    // The very bytes of the file, so a drop on an editor and one on a folder give the same picture.
    data->setData("image/png", file.readAll());
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

void IconCanvasView::mouseMoveEvent(QMouseEvent* e) {
    moveOver(e->position(), e->buttons(), e->modifiers());
    const auto pressed = pressedOn_.find(Qt::LeftButton);
    if (!(e->buttons() & Qt::LeftButton) || pressed == pressedOn_.end() || pressed->second < 0) return;
    if ((e->position().toPoint() - leftPressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
    const int cell = pressed->second;
    // A drag is no click: the release that ends it, if Qt hands it on, goes nowhere.
    pressed->second = -2;
    // But it selects its cell as a click would, so the frame, the icon menu
    // and the icon that leaves the window are the same one.
    (*ctx_.dispatch)([&] {
        if (cells_.Exists(cell)) cells_(cell).Click.raise();
    });
    if (!cells_.Exists(cell)) return;
    QMimeData* data = DragData(cell);
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(imageOf(cells_(cell))));
    drag->exec(Qt::CopyAction);
}

void IconCanvasView::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const auto pressed = pressedOn_.find(e->button());
    const int target = pressed != pressedOn_.end() ? pressed->second : CellAt(at);
    if (pressed != pressedOn_.end()) pressedOn_.erase(pressed);
    const int button = ButtonMask(e->button()), shift = ShiftMask(e->modifiers());
    if (target == -2) return;
    if (target < 0) {
        (*ctx_.dispatch)([&] {
            canvas_.MouseUp.raise(button, shift, ToTwipsX(e->position().x(), ctx_.scale),
                                  ToTwipsY(e->position().y(), ctx_.scale));
        });
        return;
    }
    bool clicked = false;
    (*ctx_.dispatch)([&] {
        platform::PictureBox& cell = cells_(target);
        const QRect r = CellRect(cell);
        const QPointF local = e->position() - QPointF(r.topLeft() + ClientOrigin(cell, ctx_.scale));
        clicked = e->button() == Qt::LeftButton && r.contains(at);
        cell.MouseUp.raise(button, shift, ToTwipsX(local.x(), ctx_.scale), ToTwipsY(local.y(), ctx_.scale));
    });
    // The mouse-up handler may have unloaded the cell (a menu ran meanwhile).
    if (clicked) (*ctx_.dispatch)([&] {
            if (cells_.Exists(target)) cells_(target).Click.raise();
        });
}

int IconCanvasView::moveOver(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    const int target = CellAt(at.toPoint());
    if (target < 0) return -1;
    int button = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (buttons & b) button |= ButtonMask(b);
    (*ctx_.dispatch)([&] {
        // A handler run during an earlier dispatch may have unloaded it.
        if (!cells_.Exists(target)) return;
        platform::PictureBox& cell = cells_(target);
        const QPointF local = at - QPointF(CellRect(cell).topLeft() + ClientOrigin(cell, ctx_.scale));
        cell.MouseMove.raise(button, ShiftMask(modifiers), ToTwipsX(local.x(), ctx_.scale), ToTwipsY(local.y(), ctx_.scale));
    });
    return cells_.Exists(target) ? target : -1;
}


// The cell under the pointer says what its tooltip is; the canvas has none of its own.
bool IconCanvasView::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    // Moved there without a move event (the window came up under the pointer): the cell hears it now.
    const int target = moveOver(help->pos(), QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
    const std::string text = target >= 0 ? cells_(target).ToolTipText() : std::string();
    if (text.empty()) {
        QToolTip::hideText();
        e->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(text.c_str()), this, CellRect(cells_(target)));
    }
    return true;
}

}  // namespace platform_qt
