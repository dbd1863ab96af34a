#pragma once
// The screen as Qt provides it: the event loop, message boxes, popup menus,
// the Save dialog, the clipboard, the pointer, text measuring and the
// screen's scale and colours.

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <chrono>

#include "platform/screen.h"

namespace platform_qt {

// "Text|pattern|Text|pattern" as Qt's file dialog wants it:
// "Text (pattern);;Text (pattern)". A text that already ends in its pattern in
// brackets keeps it once; patterns separated by ';' become blank-separated.
QStringList ToQtNameFilters(const std::string& filter);

// The ending a name typed under one of those filters gets when it has none:
// "JPEG (*.jpeg)" gives "jpeg"; empty for a filter of every file.
QString DefaultSuffix(const QString& nameFilter);

class QtServices : public platform::Screen {
public:
    QtServices();

    void DoEvents() override;
    int MsgBox(const std::string& prompt, int style) override;
    void PopupMenu(platform::Menu& menu) override;
    std::optional<std::string> ShowSave(const std::string& fileName, const std::string& filter) override;
    std::optional<std::string> ChooseFolder(const std::string& start) override;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& proposed) override;
    std::string PicturesFolder() override;

    void ClipboardClear() override;
    void ClipboardSetImage(const pixels::Bitmap& image) override;

    void End() override;
    bool Ended() const { return ended_; }

    platform::Point GetCursorPos() override;
    void SetCursorPos(platform::Point p) override;

    platform::ScreenScale Scale() override;
    double DevicePixelRatio() override;
    platform::Twips MeasureText(const std::string& text) override;
    pixels::Argb WindowColor() override;
    pixels::Argb WindowTextColor() override;

    // The message boxes' title: the program's name.
    void setTitle(QString t) { title_ = std::move(t); }
    const QString& Title() const { return title_; }
    // How popup menus look; the window's menu skin supplies it.
    void setMenuStyleSheet(QString css) { menuStyleSheet_ = std::move(css); }
    const QString& MenuStyleSheet() const { return menuStyleSheet_; }
    void setMenuFont(const QFont& f) { menuFont_ = f; }

private:
    QString title_;
    QString menuStyleSheet_;
    QFont menuFont_;
    // The font labels are drawn in, which MeasureText measures.
    QFont labelFont_;
    bool ended_ = false;
    // When the last yield that processed events ended; the epoch before the first.
    static constexpr std::chrono::milliseconds kYieldInterval{16};
    std::chrono::steady_clock::time_point lastYield_{};
};

}  // namespace platform_qt
