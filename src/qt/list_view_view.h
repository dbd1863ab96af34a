#pragma once
#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <vector>

#include "platform/controls/list_view.h"
#include "view_context.h"

namespace platform_qt {

// The rows of a list view as Qt reads them. The list keeps its own order, so
// Qt never sorts. The row count Qt sees is the one taken at the last sync();
// the texts are read from the list as it is.
class ListViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListViewModel(platform::ListView& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the list's rows and headers again: in place when the same rows
    // are shown (keeping the selection), as a reset otherwise.
    void sync();
    int Resets() const { return resets_; }

private:
    platform::ListView& list_;
    std::vector<const platform::ListItem*> rows_;
    int columns_ = 0;
    int resets_ = 0;
};

// The file list: a report view with the list's columns. A row reached with
// the keyboard (arrows, Home, End, the page keys, typing a name) raises the
// item click as a mouse click does, and so does Enter on the current row. The list changes on
// every Add; the view catches up once the burst is over, at most every few
// tens of milliseconds, so a folder of thousands of files does not cost
// thousands of redraws.
class ListViewView : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kMinRefreshGapMs = 40;

    ListViewView(platform::ListView& list, const ViewContext& ctx, QWidget* parent);
    platform::ListView& control() { return list_; }
    ListViewModel& model() { return model_; }

    // Brings the view up to date now instead of when the pending refresh fires.
    void refreshNow();
    bool RefreshPending() const { return timer_.isActive(); }
    int Refreshes() const { return refreshes_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void changed();
    void clickRow(int row);

    platform::ListView& list_;
    ViewContext ctx_;
    ViewHook hook_;
    ListViewModel model_;
    QTimer timer_;
    QElapsedTimer sinceRefresh_;
    int refreshes_ = 0;
};

}  // namespace platform_qt
