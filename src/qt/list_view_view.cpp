#include "list_view_view.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "cjk_font.h"

namespace platform_qt {

ListViewModel::ListViewModel(platform::ListView& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {
    sync();
}

int ListViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListViewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    // Between a change and the refresh that follows it Qt may still ask for a
    // row the list no longer has; the list is read as it is now, never the
    // snapshot, which may point at rows already gone.
    const int position = index.row() + 1;
    if (position > list_.Count()) return {};
    const platform::ListItem& item = list_.Item(position);
    const std::string& text = index.column() == 0 ? item.Text() : item.SubItem(index.column());
    return QString::fromUtf8(text.c_str());
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= list_.ColumnCount()) return {};
    return QString::fromUtf8(list_.ColumnText(section + 1).c_str());
}

void ListViewModel::sync() {
    std::vector<const platform::ListItem*> now;
    now.reserve(static_cast<std::size_t>(list_.Count()));
    for (int i = 1; i <= list_.Count(); ++i) now.push_back(&list_.Item(i));
    const int columns = list_.ColumnCount();
    if (now == rows_ && columns == columns_) {
        if (!rows_.empty()) emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, columns_ - 1));
        if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
        return;
    }
    beginResetModel();
    rows_ = std::move(now);
    columns_ = columns;
    endResetModel();
    ++resets_;
}

ListViewView::ListViewView(platform::ListView& list, const ViewContext& ctx, QWidget* parent)
    : QTreeView(parent), list_(list), ctx_(ctx), model_(list) {
    setObjectName(QString::fromStdString(list.Name()));
    setFont(UiFont());
    setModel(&model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { refreshNow(); });
    connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) clickRow(index.row());
    });
    connect(header(), &QHeaderView::sectionClicked, this, [this](int section) {
        (*ctx_.dispatch)([&] { list_.UserClickColumn(section + 1); });
    });

    hook_.install(list_, [this] { changed(); });
    sinceRefresh_.start();
    refreshNow();
}

void ListViewView::clickRow(int row) {
    const int position = row + 1;
    (*ctx_.dispatch)([&] {
        if (position <= list_.Count()) list_.UserClickItem(position);
    });
}

void ListViewView::keyPressEvent(QKeyEvent* e) {
    const QModelIndex before = currentIndex();
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (before.isValid()) clickRow(before.row());
        return;
    }
    QTreeView::keyPressEvent(e);
    const QModelIndex now = currentIndex();
    if (now.isValid() && (!before.isValid() || now.row() != before.row())) clickRow(now.row());
}

void ListViewView::changed() {
    Place(*this, list_, ctx_.scale);
    if (timer_.isActive()) return;
    const qint64 gap = sinceRefresh_.elapsed();
    timer_.start(gap >= kMinRefreshGapMs ? 0 : static_cast<int>(kMinRefreshGapMs - gap));
}

void ListViewView::refreshNow() {
    timer_.stop();
    model_.sync();
    // A row the window chose itself (a file opened from outside) is shown
    // selected and scrolled into sight, as a clicked one would be.
    if (const platform::ListItem* chosen = list_.SelectedItem()) {
        const QModelIndex at = model_.index(chosen->Index() - 1, 0);
        if (currentIndex() != at) {
            setCurrentIndex(at);
            scrollTo(at);
        }
    }
    for (int n = 1; n <= list_.ColumnCount(); ++n) {
        const int px = ToPixelsX(list_.ColumnWidth(n), ctx_.scale);
        if (header()->sectionSize(n - 1) != px) header()->resizeSection(n - 1, px);
    }
    Place(*this, list_, ctx_.scale);
    ++refreshes_;
    sinceRefresh_.restart();
}

}  // namespace platform_qt
