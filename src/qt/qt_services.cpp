#include "qt_services.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QSpacerItem>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QPalette>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QDir>
#include <chrono>
#include <map>

#include "bitmap_image.h"
#include "cjk_font.h"
#include "file_names.h"
#include "platform/controls/menu.h"
#include "platform/failure.h"

namespace platform_qt {

namespace {

pixels::Argb FromQColor(const QColor& c) { return pixels::MakeArgb(c.red(), c.green(), c.blue()); }

QWidget* DialogParent() {
    if (QWidget* w = QApplication::activeWindow()) return w;
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget* w : tops)
        if (w->isVisible() && w->isWindow() && !qobject_cast<QMenu*>(w)) return w;
    return nullptr;
}

QByteArray Encode(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}

// A window manager cuts a title that does not fit between the buttons of its
// title bar to "…", and a box around a short text such as "错误" is narrower
// than "Tessel Icons" and those buttons. Keeps the box wide enough for both.
void FitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont bold = box.font();
    bold.setBold(true);
    // Room for a title bar's icon and its three buttons, with their margins.
    constexpr int kTitleBarButtons = 120;
    const int wanted = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

QStringList ToQtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter.c_str()).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i].trimmed();
        QString pattern = parts[i + 1].trimmed();
        pattern.replace(';', ' ');
        pattern = pattern.simplified();
        // "GIF (*.gif)" already names its pattern; Qt reads the last bracket,
        // so keep one bracket only, the one Qt matches on.
        static const QRegularExpression trailing(R"(\s*\([^()]*\)\s*$)");
        text.remove(trailing);
        if (text.isEmpty()) text = pattern;
        out << text + " (" + pattern + ")";
    }
    return out;
}

QString DefaultSuffix(const QString& nameFilter) {
    // "JPEG (*.jpeg)" -> "jpeg"; the first pattern of the bracket decides.
    static const QRegularExpression pattern(R"(\(\s*\*\.([^\s;()*?]+))");
    const QRegularExpressionMatch m = pattern.match(nameFilter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QtServices::QtServices()
    : title_(QCoreApplication::applicationName()), menuFont_(UiFont()), labelFont_(UiFont()) {}

void QtServices::DoEvents() {
    // A load yields after every icon, and asking the system for events costs
    // more than drawing an icon; each time, the display server gets the core
    // too. Events are handled at the rate the eye sees frames: a key, a wheel
    // turn or a close waits at most one such interval, well under what a user
    // notices, and a yield that comes sooner lets the work go on.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield_ < kYieldInterval) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // What the events just handled posted goes out before the work goes on: the
    // repaint of a list that a key moved or a wheel scrolled would otherwise
    // wait for the next yield, a frame later. A status text taken in during
    // this yield is painted now too, a frame sooner than it would be.
    QCoreApplication::sendPostedEvents();
    lastYield_ = std::chrono::steady_clock::now();
}

int QtServices::MsgBox(const std::string& prompt, int style) {
    QMessageBox box(DialogParent());
    box.setWindowTitle(title_);
    box.setText(QString::fromUtf8(prompt.c_str()));
    switch (style & 0x70) {
        case 16: box.setIcon(QMessageBox::Critical); break;
        case 32: box.setIcon(QMessageBox::Question); break;
        case 48: box.setIcon(QMessageBox::Warning); break;
        case 64: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
    }
    // After the icon, which lays the box out anew.
    FitTitle(box);
    // The window speaks Chinese, so its message boxes do too, whatever the
    // language of the desktop.
    if ((style & 0x0F) == platform::msgbox::kYesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        yes->setText(QString::fromUtf8("是(&Y)"));
        no->setText(QString::fromUtf8("否(&N)"));
        box.setDefaultButton((style & 0x300) == 0x100 ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? platform::msgbox::kYes : platform::msgbox::kNo;
    }
    box.addButton(QMessageBox::Ok)->setText(QString::fromUtf8("确定"));
    box.exec();
    return platform::msgbox::kOk;
}

namespace {

// The menu's items into `popup`; an item that holds items of its own becomes a
// submenu, dressed as the popup is.
void AddItems(QMenu& popup, const platform::Menu& menu, std::map<QAction*, platform::Menu*>& items) {
    for (const auto& item : menu.Items()) {
        if (!item->Visible()) continue;
        if (item->IsSeparator()) {
            popup.addSeparator();
            continue;
        }
        QString text = QString::fromUtf8(item->Caption().c_str());
        text.replace('&', "&&");
        if (!item->Items().empty()) {
            QMenu* sub = popup.addMenu(text);
            sub->setFont(popup.font());
            sub->setStyleSheet(popup.styleSheet());
            sub->setEnabled(item->Enabled());
            AddItems(*sub, *item, items);
            continue;
        }
        // Only shown beside the caption; the window installs the keys itself.
        if (!item->Shortcut().empty()) text += '\t' + QString::fromUtf8(item->Shortcut().c_str());
        QAction* a = popup.addAction(text);
        a->setCheckable(item->Checkable());
        a->setChecked(item->Checked());
        a->setEnabled(item->Enabled());
        if (!item->ToolTipText().empty()) {
            a->setToolTip(QString::fromUtf8(item->ToolTipText().c_str()));
            popup.setToolTipsVisible(true);
        }
        items[a] = item.get();
    }
}

}  // namespace

void QtServices::PopupMenu(platform::Menu& menu) {
    QMenu popup(DialogParent());
    popup.setFont(menuFont_);
    popup.setStyleSheet(menuStyleSheet_);
    std::map<QAction*, platform::Menu*> items;
    AddItems(popup, menu, items);
    QAction* chosen = popup.exec(QCursor::pos());
    if (!chosen) return;
    const auto it = items.find(chosen);
    if (it != items.end()) it->second->Click.raise();
}

std::optional<std::string> QtServices::ShowSave(const std::string& fileName, const std::string& filter) {
    if (!qApp) throw platform::Failure("no dialog without an application");
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog everywhere, so it behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // Choosing the name of a file that exists asks before replacing it, so a
    // slip of the mouse loses nothing.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = ToQtNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
        // A name typed without an ending gets the chosen type's, so that the
        // file is written in the format the user picked; a typed ending wins.
        dialog.setDefaultSuffix(DefaultSuffix(filters.front()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) { dialog.setDefaultSuffix(DefaultSuffix(chosen)); });
    }
    const QString name = FileNameToQString(fileName);
    if (!name.isEmpty()) {
        const QFileInfo info(name);
        if (info.isDir()) {
            dialog.setDirectory(name);
        } else {
            if (info.dir().exists()) dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QStringToFileName(chosen.front());
}

std::optional<std::string> QtServices::ChooseFolder(const std::string& start) {
    if (!qApp) throw platform::Failure("no dialog without an application");
    QFileDialog dialog(DialogParent(), QString::fromUtf8("选择保存图标的文件夹"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // Qt's own dialog, as for the Save dialog: the same on every desktop, and in Chinese.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QString folder = FileNameToQString(start);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QStringToFileName(chosen.front());
}

std::optional<std::string> QtServices::AskText(const std::string& prompt, const std::string& proposed) {
    if (!qApp) throw platform::Failure("no dialog without an application");
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(title_);
    dialog.setLabelText(QString::fromUtf8(prompt.c_str()));
    dialog.setTextValue(QString::fromUtf8(proposed.c_str()));
    dialog.setOkButtonText(QString::fromUtf8("确定"));
    dialog.setCancelButtonText(QString::fromUtf8("取消"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toUtf8().toStdString();
}

std::string QtServices::PicturesFolder() {
    // The XDG pictures folder as the desktop names it; a user who has none
    // starts at home rather than in a folder that is not there.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return QStringToFileName(pictures);
    return QStringToFileName(QDir::homePath());
}

void QtServices::ClipboardClear() {
    if (QClipboard* cb = QGuiApplication::clipboard()) cb->clear(QClipboard::Clipboard);
}

void QtServices::ClipboardSetImage(const pixels::Bitmap& image) {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) throw platform::Failure("no clipboard");
    const QImage img = ToQImage(image);
    auto* data = new QMimeData;
    // As an image (which Qt offers as a bitmap to other programs) and as PNG
    // bytes, which every program that pastes pictures on this system reads.
    data->setImageData(img);
    data->setData("image/png", Encode(img, "PNG"));
    data->setData("image/bmp", Encode(img, "BMP"));
    cb->setMimeData(data, QClipboard::Clipboard);
}

void QtServices::End() {
    ended_ = true;
    QCoreApplication::exit(0);
}

platform::Point QtServices::GetCursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtServices::SetCursorPos(platform::Point p) { QCursor::setPos(p.x, p.y); }

platform::ScreenScale QtServices::Scale() {
    if (const QScreen* s = QGuiApplication::primaryScreen()) return {s->logicalDotsPerInchX(), s->logicalDotsPerInchY()};
    return {};
}

double QtServices::DevicePixelRatio() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->devicePixelRatio() : 1.0;
}

platform::Twips QtServices::MeasureText(const std::string& text) {
    const QFontMetrics fm(labelFont_);
    const int px = fm.horizontalAdvance(QString::fromUtf8(text.c_str()));
    return static_cast<platform::Twips>(px * Scale().twipsPerPixelX());
}

pixels::Argb QtServices::WindowColor() { return FromQColor(QApplication::palette().color(QPalette::Base)); }
pixels::Argb QtServices::WindowTextColor() { return FromQColor(QApplication::palette().color(QPalette::Text)); }

}  // namespace platform_qt
