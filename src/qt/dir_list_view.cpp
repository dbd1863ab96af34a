#include "dir_list_view.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

#include "cjk_font.h"
#include "platform/paths.h"

namespace platform_qt {

namespace {

bool IsFolder(const std::string& path, unsigned char type) {
    if (type == DT_DIR) return true;
    if (type != DT_LNK && type != DT_UNKNOWN) return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// "/", "/home", "/home/ann" for "/home/ann".
std::vector<std::string> Ancestry(const std::string& path) {
    std::vector<std::string> chain{"/"};
    std::size_t at = 1;
    while (at < path.size()) {
        std::size_t slash = path.find('/', at);
        if (slash == std::string::npos) slash = path.size();
        if (slash > at) chain.push_back(path.substr(0, slash));
        at = slash + 1;
    }
    return chain;
}

QString Shown(const std::string& path) {
    if (path == "/") return "/";
    const std::size_t slash = path.rfind('/');
    return QFile::decodeName(QByteArray::fromStdString(path.substr(slash + 1)));
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.empty() || name[0] == '.') continue;
        if (IsFolder(platform::JoinPath(folder, name), e->d_type)) names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c = QString::compare(QFile::decodeName(QByteArray::fromStdString(a)),
                                       QFile::decodeName(QByteArray::fromStdString(b)), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

DirListView::DirListView(platform::DirList& list, const ViewContext& ctx, QWidget* parent)
    : QTreeWidget(parent), list_(list), ctx_(ctx) {
    setObjectName(QString::fromStdString(list.Name()));
    setFont(UiFont());
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    hook_.install(list_, [this] { refresh(); });
    refresh();
}

void DirListView::refresh() {
    // Placed first: where the list scrolls to depends on its height.
    Place(*this, list_, ctx_.scale);
    if (!built_ || shownPath_ != list_.Path()) rebuild();
}

void DirListView::reload() { rebuild(); }

void DirListView::rebuild() {
    built_ = true;
    shownPath_ = list_.Path();
    clear();
    currentFolder_ = nullptr;
    if (shownPath_.empty()) return;
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    for (const std::string& folder : Ancestry(shownPath_)) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, Shown(folder));
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, QByteArray::fromStdString(folder));
        parent = item;
    }
    currentFolder_ = parent;
    for (const std::string& name : ListSubfolders(shownPath_)) {
        auto* item = new QTreeWidgetItem(parent);
        const std::string full = platform::JoinPath(shownPath_, name);
        item->setText(0, Shown(full));
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, QByteArray::fromStdString(full));
    }
    expandAll();
    setCurrentItem(currentFolder_);
    // The ancestors from the top, as far as the current folder stays in sight.
    scrollToTop();
    scrollToItem(currentFolder_, QAbstractItemView::EnsureVisible);
}

QTreeWidgetItem* DirListView::itemFor(const std::string& path) const {
    const QByteArray want = QByteArray::fromStdString(path);
    for (QTreeWidgetItemIterator it(const_cast<DirListView*>(this)); *it; ++it)
        if ((*it)->data(0, kPathRole).toByteArray() == want) return *it;
    return nullptr;
}

void DirListView::open(QTreeWidgetItem* item) {
    if (!item) return;
    const std::string path = item->data(0, kPathRole).toByteArray().toStdString();
    (*ctx_.dispatch)([&] { list_.UserOpen(path); });
    // Whether it opened or not, show where the model is; an unreadable folder
    // may also have vanished from its parent since the list was read.
    if (list_.Path() == shownPath_) rebuild();
}

void DirListView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        open(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void DirListView::mousePressEvent(QMouseEvent* e) {
    // Only the left button highlights, and only a folder: a right click is
    // for the folder menu, and the empty space below the last folder keeps
    // the highlight where it was.
    if (e->button() != Qt::LeftButton || !itemAt(e->position().toPoint())) return;
    QTreeWidget::mousePressEvent(e);
}

void DirListView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (QTreeWidgetItem* item = itemAt(e->position().toPoint())) {
        setCurrentItem(item);
        open(item);
    }
}

void DirListView::mouseReleaseEvent(QMouseEvent* e) {
    QTreeWidget::mouseReleaseEvent(e);
    const int button = ButtonMask(e->button()), shift = ShiftMask(e->modifiers());
    const QPointF p = QPointF(viewport()->mapTo(this, QPoint(0, 0))) + e->position();
    (*ctx_.dispatch)([&] {
        list_.MouseUp.raise(button, shift, ToTwipsX(p.x(), ctx_.scale), ToTwipsY(p.y(), ctx_.scale));
    });
}

}  // namespace platform_qt
