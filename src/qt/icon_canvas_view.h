#pragma once
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/grid_layout.h"
#include "platform/controls/control_array.h"
#include "platform/controls/frame.h"
#include "platform/controls/line.h"
#include "platform/controls/picture_box.h"
#include "view_context.h"

namespace platform_qt {

// The icon canvas: a frame that holds up to 32,767 cells and the lines of the
// selection frame. No cell has a widget of its own; this one widget paints
// the cells and lines that meet the exposed area and hands the mouse to the
// cell under it, as if each cell were a window.
class IconCanvasView : public QWidget {
    Q_OBJECT
public:
    IconCanvasView(platform::Frame& canvas, platform::ControlArray<platform::PictureBox>& cells,
                   platform::ControlArray<platform::Line>& lines, const ViewContext& ctx, QWidget* parent);
    ~IconCanvasView() override;

    platform::Frame& control() { return canvas_; }
    void refresh();

    // Where a cell is drawn, in the canvas's pixels.
    QRect CellRect(const platform::PictureBox& cell) const;
    // The topmost visible cell under a point of the canvas, -1 for none.
    int CellAt(QPoint p) const;
    // True while the keyboard works the grid: the viewport has the focus.
    bool KeysComeHere() const;
    int CachedImages() const { return static_cast<int>(images_.size()); }

    // Writes the icon a cell shows as a PNG file into `folder` and returns the
    // file's path; empty for a cell that shows no icon of a file. Set by whoever
    // knows where the cells' icons come from; without it cells do not drag.
    std::function<QString(int cell, const QString& folder)> writeDragFile;
    // Cell `cell`'s picture drawn afresh at `pixels` x `pixels`, for a cell
    // shown at more device pixels than the picture it keeps; nullopt when it
    // cannot be. Without it, or when it fails, the kept picture is scaled.
    std::function<std::optional<pixels::Bitmap>(int cell, int pixels)> drawCell;
    // Cells in sight still showing their kept picture scaled, waiting to be drawn afresh.
    int CellsToSharpen() const { return static_cast<int>(toSharpen_.size()); }
    // What dragging cell `index` out offers, as image/png and as a file
    // (text/uri-list) in a folder that lives as long as this view; nullptr for nothing.
    QMimeData* DragData(int index);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    void watch(platform::PictureBox& cell);
    void forget(platform::PictureBox& cell);
    void repaintLater();
    // While every cell sits where one grid puts it, that grid finds the cell
    // under a point without a look at each; nullptr while they do not.
    const platform::GridLayout* arrangedGrid() const;
    bool inGrid(const platform::Control& cell) const;
    void cellMoved(const platform::Control& cell);
    // Raises MouseMove on the cell under the point, as its own window would; the cell's index or -1.
    int moveOver(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    const QImage& imageOf(const platform::PictureBox& cell);
    QSize devicePixelsOf(const platform::PictureBox& cell) const;
    void dropImagesOutOfSight(const QRect& painted);
    void sharpenSome();

    platform::Frame& canvas_;
    platform::ControlArray<platform::PictureBox>& cells_;
    platform::ControlArray<platform::Line>& lines_;
    ViewContext ctx_;
    ViewHook hook_;
    // What each cell in sight shows, at the device pixels it covers, and the
    // drawing of the cell it shows.
    struct Shown {
        QImage image;
        std::uint64_t drawing = 0;
    };
    std::unordered_map<const platform::PictureBox*, Shown> images_;
    // Cells whose image is their kept picture scaled for now.
    std::unordered_set<const platform::PictureBox*> toSharpen_;
    bool sharpenPending_ = false;
    // The control that took the press of each button gets its release, as a
    // window that captured the mouse would: a cell index, or -1 the canvas.
    std::unordered_map<int, int> pressedOn_;
    bool repaintPending_ = false;
    // The grid the cells sit in, for a canvas gridWidth_ wide; looked for
    // again once a cell leaves it or the canvas takes another width.
    mutable std::optional<platform::GridLayout> grid_;
    mutable bool gridStale_ = true;
    mutable float gridWidth_ = 0;
    QPoint leftPressedAt_;
    std::unique_ptr<QTemporaryDir> dragFolder_;  // made on the first drag
};

}  // namespace platform_qt
