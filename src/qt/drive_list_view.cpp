#include "drive_list_view.h"

#include <QFile>

#include "cjk_font.h"

namespace platform_qt {

DriveListView::DriveListView(platform::DriveList& list, const ViewContext& ctx, QWidget* parent)
    : QComboBox(parent), list_(list), ctx_(ctx) {
    setObjectName(QString::fromStdString(list.Name()));
    setFont(UiFont());
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int row) { choose(row); });
    hook_.install(list_, [this] { refresh(); });
    refresh();
}

void DriveListView::choose(int row) {
    if (syncing_ || row < 0 || row >= count()) return;
    const std::string drive = itemData(row).toByteArray().toStdString();
    const std::string before = list_.Drive();
    const bool ok = (*ctx_.dispatch)([&] { list_.setDrive(drive); });
    if (!ok && list_.Drive() != before) list_.showDrive(before);
    refresh();
}

void DriveListView::refresh() {
    syncing_ = true;
    const auto& drives = list_.List();
    bool same = count() == static_cast<int>(drives.size());
    for (int i = 0; same && i < count(); ++i)
        same = itemData(i).toByteArray() == QByteArray::fromStdString(drives[static_cast<std::size_t>(i)]);
    if (!same) {
        clear();
        for (const std::string& d : drives) {
            const QByteArray bytes = QByteArray::fromStdString(d);
            addItem(QFile::decodeName(bytes), bytes);
        }
    }
    const int at = findData(QByteArray::fromStdString(list_.Drive()));
    if (at < 0 && !list_.Drive().empty()) {
        // A drive the list does not hold is still the one shown.
        const QByteArray bytes = QByteArray::fromStdString(list_.Drive());
        addItem(QFile::decodeName(bytes), bytes);
        setCurrentIndex(count() - 1);
    } else if (currentIndex() != at) {
        setCurrentIndex(at);
    }
    syncing_ = false;
    Place(*this, list_, ctx_.scale);
}

}  // namespace platform_qt
