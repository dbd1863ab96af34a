#include "frm_main.h"

#include <algorithm>

#include "platform/guarded.h"
#include "platform/paths.h"
#include "settings.h"

namespace main_window {

using platform::Guarded;

namespace {

// A path as a file:// address: a folder named "a #1" or in Chinese must not
// end the path at the '#' or reach the browser as anything but its bytes.
std::string FileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

}  // namespace

std::string ProgramPageUrl(platform::System& sys) {
    const std::string app = sys.AppPath();
    const std::string beside = platform::JoinPath(app, kProgramPageName);
    if (sys.FileExists(beside)) return FileUrl(beside);
    // Where the package puts it, whether or not it is there: a browser that
    // finds nothing says so better than a menu item that does nothing.
    const std::string docs = platform::JoinPath(platform::ParentFolderOf(app), kInstalledPageFolder);
    return FileUrl(platform::JoinPath(docs, kProgramPageName));
}

frmMain::frmMain(platform::Screen& scr, platform::System& sys)
    : screen(scr),
      system(sys),
      Me("frmMain", scr.Scale()),
      Timer1("Timer1", &Me),
      fraNoFiles("fraNoFiles", &Me),
      lblNoFiles("lblNoFiles", &fraNoFiles, [&scr](const std::string& t) { return scr.MeasureText(t); }),
      picIconHolder("picIconHolder", &Me, scr.Scale()),
      fraIconHolder("fraIconHolder", &picIconHolder),
      VS("VS", &fraIconHolder),
      fraIcons("fraIcons", &fraIconHolder),
      picIcon(std::make_unique<platform::PictureBox>("picIcon", &fraIcons, scr.Scale(), &cellImages),
              [this](const platform::PictureBox& tmpl, int index) {
                  auto cell = std::make_unique<platform::PictureBox>("picIcon", &fraIcons, tmpl.Scale(), &cellImages);
                  cell->Move(tmpl.Left(), tmpl.Top(), tmpl.Width(), tmpl.Height());
                  cell->setBorder(tmpl.Border());
                  cell->setBackColor(tmpl.BackColor());
                  cell->setForeColor(tmpl.ForeColor());
                  cell->setVisible(false);
                  cell->Click.connect([this, index] { picIconClick.raise(index); });
                  cell->MouseUp.connect([this, index](int b, int s, float x, float y) { picIconMouseUp.raise(index, b, s, x, y); });
                  cell->MouseMove.connect([this, index](int b, int s, float x, float y) { picIconMouseMove.raise(index, b, s, x, y); });
                  return cell;
              }),
      lnFrame(std::make_unique<platform::Line>("lnFrame", &fraIcons),
              [this](const platform::Line&, int) { return std::make_unique<platform::Line>("lnFrame", &fraIcons); }),
      picStatus("picStatus", &Me, scr.Scale()),
      progbar("progbar", &picStatus),
      lblStatus("lblStatus", &picStatus, [&scr](const std::string& t) { return scr.MeasureText(t); }),
      Dir1("Dir1", &Me,
           [&sys](const std::string& current, const std::string& requested) {
               return sys.ResolveFolder(current, requested);
           }),
      Drive1("Drive1", &Me),
      File1("File1", &Me) {
    const pixels::Argb window = scr.WindowColor(), text = scr.WindowTextColor();
    const platform::ScreenScale scale = scr.Scale();
    // The 3-D border of a picture box, two pixels a side.
    const platform::Twips border = static_cast<platform::Twips>(2 * scale.twipsPerPixelX());

    Me.setCaption(kCaption);
    Me.setBackColor(pixels::MakeArgb(255, 255, 255));
    Me.setClientSize(9630, 7875);

    Timer1.setInterval(1000);
    Timer1.setEnabled(true);

    fraNoFiles.Move(2640, 5640, 2535, 375);
    fraNoFiles.setTabIndex(10);
    fraNoFiles.setCaption("Frame1");
    fraNoFiles.setBackColor(window);
    lblNoFiles.Move(0, 0, 2535, 375);
    lblNoFiles.setTabIndex(11);
    lblNoFiles.setCaption(kNoFilesText);
    lblNoFiles.setForeColor(text);
    lblNoFiles.setBackColor(window);
    // Nothing has been scanned yet, so there is nothing to report.
    fraNoFiles.setVisible(false);

    picIconHolder.Move(4440, 0, 4335, 5535);
    picIconHolder.setTabIndex(5);
    picIconHolder.setBorder(border);
    picIconHolder.setBackColor(window);
    picIconHolder.setForeColor(text);
    fraIconHolder.Move(0, 0, 4215, 5175);
    fraIconHolder.setTabIndex(6);
    fraIconHolder.setBackColor(window);
    fraIconHolder.setForeColor(text);
    VS.Move(3840, 120, 255, 1575);
    VS.setTabIndex(9);
    fraIcons.Move(360, 360, 3495, 4215);
    fraIcons.setTabIndex(7);
    fraIcons.setBackColor(window);
    fraIcons.setForeColor(text);
    platform::PictureBox& cell0 = picIcon(0);
    cell0.Move(240, 240, 495, 495);
    cell0.setTabIndex(8);
    cell0.setBackColor(window);
    cell0.setForeColor(text);
    cell0.Click.connect([this] { picIconClick.raise(0); });
    cell0.MouseUp.connect([this](int b, int s, float x, float y) { picIconMouseUp.raise(0, b, s, x, y); });
    cell0.MouseMove.connect([this](int b, int s, float x, float y) { picIconMouseMove.raise(0, b, s, x, y); });

    static const float kLineEnds[4][4] = {{0, 0, 0, 720}, {0, 1080, 0, 1800}, {0, 1920, 0, 2640}, {0, 2880, 0, 3600}};
    for (int i = 1; i < 4; ++i) lnFrame.Load(i);
    for (int i = 0; i < 4; ++i) {
        platform::Line& l = lnFrame(i);
        l.setX1(kLineEnds[i][0]);
        l.setY1(kLineEnds[i][1]);
        l.setX2(kLineEnds[i][2]);
        l.setY2(kLineEnds[i][3]);
        l.setBorderColor(pixels::MakeArgb(0, 255, 0));
        l.setVisible(false);
    }

    picStatus.Move(0, 7500, 9630, 375);
    picStatus.setTabIndex(2);
    picStatus.setBorder(border);
    picStatus.setBackColor(window);
    picStatus.setForeColor(text);
    progbar.Move(2040, 120, 4695, 135);
    progbar.setTabIndex(4);
    progbar.setMin(0);
    progbar.setMax(100);
    lblStatus.Move(60, 60, 540, 180);
    lblStatus.setTabIndex(3);
    lblStatus.setCaption("Label1");
    lblStatus.setAutoSize(true);
    lblStatus.setBackColor(window);
    lblStatus.setForeColor(text);

    Dir1.Move(120, 480, 2895, 2790);
    Dir1.setTabIndex(1);
    const std::string cwd = sys.CurrentFolder();
    Guarded([&] { Dir1.setPath(cwd); });
    Drive1.Move(120, 120, 2895, 315);
    Drive1.setTabIndex(0);
    Drive1.setList(sys.Drives());
    Drive1.showDrive(platform::DriveOf(Dir1.Path(), Drive1.List()));

    File1.Move(120, 3360, 2895, 3975);
    File1.setTabIndex(12);
    File1.AddColumn("文件名称 (0)", 1900);
    File1.AddColumn("0", 1500);
    File1.setSorted(true);

    // The popup menus, hidden holders whose items show only when they pop up.
    mnuTop1_ = std::make_unique<platform::Menu>("mnuTop", &Me, 1, "操作");
    mnuIcons_[0] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 0, "复制到剪贴板", "Ctrl+C"));
    mnuIcons_[1] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 1, "保存图标", "Ctrl+S"));
    mnuIcons_[2] = &mnuTop1_->Add(
        std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 2, "保存完整图标...", "Ctrl+Shift+S"));
    // Its items, one for each image of the selected icon, are made when the menu opens.
    mnuIcons_[3] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 3, "保存图像"));
    mnuIcons_[4] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 4, "保存全部图标..."));
    mnuIcons_[5] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 5, "安装为应用图标..."));
    // Shown for a program only, when the menu opens.
    mnuIcons_[6] = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIcons", mnuTop1_.get(), 6, "创建启动器..."));
    mnuIconSize_ = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnuIconSize", mnuTop1_.get(), -1, "图标大小"));
    const std::string settings = sys.ReadSettings();
    CellPixels = CellSizeOf(SettingOf(settings, kCellSizeKey));
    for (int k = 0; k < kCellSizeCount; ++k) {
        const std::string side = std::to_string(kCellSizes[k]);
        mnuIconSizes_[k] = &mnuIconSize_->Add(std::make_unique<platform::Menu>("mnuIconSizes", mnuIconSize_, k, side + "×" + side));
        mnuIconSizes_[k]->setCheckable(true);
        mnuIconSizes_[k]->setChecked(kCellSizes[k] == CellPixels);
    }
    mnulin2_ = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnulin2", mnuTop1_.get(), -1, "-"));
    mnutesselblog_ = &mnuTop1_->Add(std::make_unique<platform::Menu>("mnutesselblog", mnuTop1_.get(), -1, "Tessel博客"));
    mnuTop2_ = std::make_unique<platform::Menu>("mnuTop", &Me, 2, "目录");
    mnuDirectories0_ = &mnuTop2_->Add(std::make_unique<platform::Menu>("mnuDirectories", mnuTop2_.get(), 0, "显示全部图标", "Ctrl+A"));
    mnulin3_ = &mnuTop2_->Add(std::make_unique<platform::Menu>("mnulin3", mnuTop2_.get(), -1, "-"));
    mnuAllProgramFiles_ = &mnuTop2_->Add(std::make_unique<platform::Menu>("mnuAllProgramFiles", mnuTop2_.get(), -1, "所有程序文件"));
    mnuAllProgramFiles_->setCheckable(true);
    // Anything but a clear yes, a settings file that is missing or garbled
    // included, leaves it off.
    mnuAllProgramFiles_->setChecked(SettingOf(settings, kAllProgramFilesKey) == "true");
    mnuIncludeSubfolders_ =
        &mnuTop2_->Add(std::make_unique<platform::Menu>("mnuIncludeSubfolders", mnuTop2_.get(), -1, "包括子文件夹"));
    mnuIncludeSubfolders_->setCheckable(true);
    mnuIncludeSubfolders_->setChecked(SettingOf(settings, kIncludeSubfoldersKey) == "true");
    mnuIncludeCursors_ = &mnuTop2_->Add(std::make_unique<platform::Menu>("mnuIncludeCursors", mnuTop2_.get(), -1, "包括光标"));
    mnuIncludeCursors_->setCheckable(true);
    mnuIncludeCursors_->setChecked(SettingOf(settings, kIncludeCursorsKey) == "true");
    // The system counts and reads every file the window asks for by it.
    sys.setIncludeCursors(mnuIncludeCursors_->Checked());
    mnuTop1_->setVisible(false);
    mnuTop2_->setVisible(false);

    Me.Load.connect([this] { Form_Load(); });
    Me.Resize.connect([this] { Form_Resize(); });
    Me.Unload.connect([this] { Form_Unload(); });
    Timer1.Tick.connect([this] { Timer1_Timer(); });
    mnutesselblog_->Click.connect([this] { mnutesselblog_Click(); });
}

platform::Menu& frmMain::mnuTop(int index) {
    if (index == 1) return *mnuTop1_;
    if (index == 2) return *mnuTop2_;
    throw platform::Failure("control array element '" + std::to_string(index) + "' doesn't exist");
}

platform::Menu& frmMain::mnuIcons(int index) {
    if (index < 0 || index > kIconMenuItems - 1)
        throw platform::Failure("control array element '" + std::to_string(index) + "' doesn't exist");
    return *mnuIcons_[index];
}

platform::Menu& frmMain::mnuIconSizes(int index) {
    if (index < 0 || index >= kCellSizeCount)
        throw platform::Failure("control array element '" + std::to_string(index) + "' doesn't exist");
    return *mnuIconSizes_[index];
}

int CellSizeOf(const std::optional<std::string>& value) {
    for (const int side : kCellSizes)
        if (value == std::to_string(side)) return side;
    return kCellSizes[0];
}

platform::Menu& frmMain::mnuDirectories(int index) {
    if (index != 0) throw platform::Failure("control array element '" + std::to_string(index) + "' doesn't exist");
    return *mnuDirectories0_;
}

void frmMain::SetFrameLine(platform::Line& line, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    line.setX1(static_cast<float>(x1));
    line.setY1(static_cast<float>(y1));
    line.setX2(static_cast<float>(x2));
    line.setY2(static_cast<float>(y2));
}

void frmMain::ShowSelectionFrame(bool show) {
    for (int i = 0; i <= 3; ++i) lnFrame(i).setVisible(show);
}

void frmMain::ShowStatus(std::string text) {
    lblStatus.setCaption(std::move(text));
    progbar.setLeft(lblStatus.Width() + lblStatus.Left() + 50.0f);
    // A text wider than the window leaves no room for the bar rather than a
    // negative width.
    progbar.setWidth(std::max(0.0f, Me.ScaleWidth() - progbar.Left()));
}

void frmMain::ShowProgress(std::int32_t value, std::int32_t max) {
    if (max > 1) {
        progbar.setMin(0);
        progbar.setMax(static_cast<double>(max) - 1);
        progbar.setValue(0);
        progbar.setVisible(true);
    } else if (max == 0) {
        progbar.setVisible(false);
    }
    if (static_cast<double>(progbar.Max()) >= static_cast<double>(value)) progbar.setValue(value);
    DoEvents();
}

void frmMain::DoEvents() {
    screen.DoEvents();
    if (ended_) throw platform::ProgramEnded();
}

void frmMain::Form_Load() {
    picIconHolder.setLeft(Drive1.Width() + Drive1.Left() + 120.0f);
    picIconHolder.setTop(120);
    fraIconHolder.setLeft(0);
    fraIconHolder.setTop(0);
    fraIcons.setTop(120);
    VS.setTop(0);
    CellWidth = platform::ToInt32(Me.ScaleX(CellPixels, true));
    CellHeight = platform::ToInt32(Me.ScaleY(CellPixels, true));
    picIcon(0).setWidth(CellWidth);
    picIcon(0).setHeight(CellHeight);
    ShowStatus("");
    ShowProgress(0, 0);
    SelectedIcon = -1;
    ShowSelectionFrame(false);
}

void frmMain::Form_Unload() {
    const int n = picIcon.UBoundPlusOne();
    for (int i = n - 1; i >= 1; --i)
        if (picIcon.Exists(i)) picIcon.Unload(i);
    ended_ = true;
    screen.End();
}

void frmMain::Timer1_Timer() {
    // The spare cell images first, so that the trim can hand their pages back too.
    cellImages.Trim();
    system.TrimMemory();
}

void frmMain::mnutesselblog_Click() { system.ShellOpen(ProgramPageUrl(system)); }

void frmMain::Form_Resize() {
    if (Me.State() == platform::WindowState::Minimized) return;

    platform::Point p;
    Guarded([&] { p = screen.GetCursorPos(); });
    // The pointer follows the edge that the minimum size pushed out.
    const auto px = [this](double twips) { return platform::ToInt32(Me.ScaleX(twips, false)); };
    const auto py = [this](double twips) { return platform::ToInt32(Me.ScaleY(twips, false)); };
    Guarded([&] {
        if (Me.Width() < kMinWidth && Me.Height() < kMinHeight) {
            Me.setWidth(kMinWidth);
            Me.setHeight(kMinHeight);
            screen.SetCursorPos({px(Me.Left() + Me.Width()), py(Me.Top() + Me.Height())});
        } else if (Me.Width() < kMinWidth) {
            Me.setWidth(kMinWidth);
            screen.SetCursorPos({px(Me.Left() + Me.Width()), p.y});
        } else if (Me.Height() < kMinHeight) {
            Me.setHeight(kMinHeight);
            screen.SetCursorPos({p.x, py(Me.Top() + Me.Height())});
        }
    });

    // A docked status bar takes the new client width before the handler lays
    // anything out, as an aligned control does; measuring the progress bar
    // against it otherwise sizes the bar by the width of the previous pass.
    Guarded([&] { picStatus.Move(0, Me.ScaleHeight() - picStatus.Height(), Me.ScaleWidth(), picStatus.Height()); });

    std::int32_t W = 0, H = 0, D = 0;
    Guarded([&] { W = platform::ToInt32(Me.ScaleWidth()); });
    Guarded([&] { H = platform::ToInt32(static_cast<double>(Me.ScaleHeight()) - picStatus.Height()); });
    Guarded([&] {
        const std::int32_t free = platform::ToInt32(static_cast<double>(H) - Drive1.Top() - Drive1.Height());
        D = platform::ToInt32(free / 2.0);
    });

    Guarded([&] { Dir1.setHeight(D - 100); });
    Guarded([&] { File1.setTop(D + 400); });
    Guarded([&] { File1.setHeight(static_cast<float>(H) - File1.Top() - 120.0f); });
    Guarded([&] { fraNoFiles.setLeft((File1.Width() - fraNoFiles.Width()) / 2.0f + File1.Left()); });
    Guarded([&] { fraNoFiles.setTop((File1.Height() - fraNoFiles.Height()) / 2.0f + File1.Top()); });
    Guarded([&] { picIconHolder.setWidth(static_cast<float>(W) - picIconHolder.Left() - 120.0f); });
    Guarded([&] { picIconHolder.setHeight(static_cast<float>(H) - picIconHolder.Top() - 120.0f); });
    Guarded([&] { fraIconHolder.setWidth(picIconHolder.Width()); });
    Guarded([&] { fraIconHolder.setHeight(picIconHolder.Height()); });
    Guarded([&] { VS.setLeft(picIconHolder.ScaleWidth() - VS.Width()); });
    Guarded([&] { VS.setHeight(picIconHolder.ScaleHeight()); });
    Guarded([&] { fraIcons.setLeft(50); });
    Guarded([&] { fraIcons.setWidth(fraIconHolder.Width() - VS.Width() - 50.0f); });
    Guarded([&] { fraIcons.setHeight(fraIconHolder.Height() - 300.0f); });
    Guarded([&] { progbar.setLeft(lblStatus.Left() + lblStatus.Width() + 120.0f); });
    Guarded([&] { progbar.setWidth(picStatus.ScaleWidth() - progbar.Left() - 120.0f); });
    Guarded([&] { picStatus.Move(0, Me.ScaleHeight() - picStatus.Height(), Me.ScaleWidth(), picStatus.Height()); });

    Guarded([&] {
        if (ArrangeIcons) ArrangeIcons();
    });
}

}  // namespace main_window
