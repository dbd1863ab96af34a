#pragma once
// The icon panel: the cells and the selection, extraction of a file's icons
// into cells, the grid and its scrolling, and the icon menu that exports the
// selected icon.

#include <cstdint>

#include "main_window/frm_main.h"

namespace icon_panel {

// The Save dialog's filter, display text and pattern in pairs.
inline constexpr const char* kSaveFilter = "GIF (*.gif)|*.gif|JPEG (*.jpeg)|*.jpeg|ICO (*.ico)|*.ico|BMP (*.bmp)|*.bmp";
inline constexpr const char* kSaveError = "错误";
inline constexpr const char* kLoadingText = "读取窗体 ";
inline constexpr const char* kArrangingText = "定位图标";

// Grid constants, in twips.
inline constexpr int kGap = 200;
inline constexpr int kRightMargin = 50;
inline constexpr int kFrameMargin = 18;

class IconPanel {
public:
    explicit IconPanel(main_window::frmMain& form);

    // Cells and selection
    void ClearIcons();
    void SelectIcon(std::int32_t index);
    void picIcon_Click(std::int16_t index);

    // Appends the icons of the file at list position `itemIndex` to the cells.
    void LoadIconsOfFile(std::int16_t itemIndex, bool hideCanvas);

    // Grid and scrolling
    void ArrangeIcons();
    void VS_Change();
    void VS_Scroll();
    void VS_GotFocus();

    // The icon menu and export
    void picIcon_MouseUp(std::int16_t index, int button, int shift, float x, float y);
    void fraIcons_MouseUp(int button, int shift, float x, float y);
    void mnuIcons_Click(std::int16_t index);

    // Every clear, and every command that refills the panel, starts a new
    // generation. A load that finds a newer generation after it yielded has
    // been superseded by what ran inside the yield: it stops and leaves the
    // panel to the newer command.
    std::uint64_t Generation() const { return generation_; }
    std::uint64_t Supersede() { return ++generation_; }

private:
    void OpenIconMenu(int button, int shift);
    void CopySelected();
    void SaveSelected();

    main_window::frmMain& f;
    // Twips the canvas moves for one step of the scroll bar. One, unless the
    // grid is taller than the bar's 16-bit range can reach in twips: then the
    // bar counts coarser steps, so the last rows can still be scrolled to.
    std::int32_t scrollUnit_ = 1;
    std::int32_t scrollRange_ = 0;  // how far the canvas can move up, in twips
    std::uint64_t generation_ = 0;
    std::uint64_t arrangement_ = 0;
};

}  // namespace icon_panel
