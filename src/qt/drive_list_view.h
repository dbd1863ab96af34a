#pragma once
#include <QComboBox>

#include "platform/controls/drive_list.h"
#include "view_context.h"

namespace platform_qt {

// The drive chooser: the roots of the mounted file systems. A choice whose
// handler fails is taken back, so the list shows the drive the model holds.
class DriveListView : public QComboBox {
    Q_OBJECT
public:
    DriveListView(platform::DriveList& list, const ViewContext& ctx, QWidget* parent);
    platform::DriveList& control() { return list_; }
    void refresh();
    // As if the user picked entry `row`.
    void choose(int row);

private:
    platform::DriveList& list_;
    ViewContext ctx_;
    ViewHook hook_;
    bool syncing_ = false;
};

}  // namespace platform_qt
