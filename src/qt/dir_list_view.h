#pragma once
#include <QTreeWidget>
#include <string>
#include <vector>

#include "platform/controls/dir_list.h"
#include "view_context.h"

namespace platform_qt {

// The subfolders of `folder` a folder list shows: no hidden ones, sorted by
// name as a reader sorts them (letter case aside). Names are the file
// system's bytes. Empty when the folder cannot be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

// The folder list: the current folder's ancestors, each one level deeper and
// drawn as an open folder, then the current folder's subfolders. A double
// click or Enter opens the highlighted folder; a single click or the arrow
// keys only highlight; typing the start of a name highlights that folder.
class DirListView : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kPathRole = Qt::UserRole + 1;  // the folder's full path, as bytes

    DirListView(platform::DirList& list, const ViewContext& ctx, QWidget* parent);
    platform::DirList& control() { return list_; }
    void refresh();

    // Opens the folder an entry names, as a double click does.
    void open(QTreeWidgetItem* item);
    // The entry for a full path, nullptr when the list does not show it.
    QTreeWidgetItem* itemFor(const std::string& path) const;
    QTreeWidgetItem* currentFolderItem() const { return currentFolder_; }
    // Reads the shown folder again from the disk.
    void reload();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // A folder list has no expand or collapse marks: every level is open.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void rebuild();

    platform::DirList& list_;
    ViewContext ctx_;
    ViewHook hook_;
    std::string shownPath_;
    bool built_ = false;
    QTreeWidgetItem* currentFolder_ = nullptr;
};

}  // namespace platform_qt
