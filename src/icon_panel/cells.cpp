// The cells and the selection frame.
#include <algorithm>

#include "icon_panel.h"
#include "platform/guarded.h"

namespace icon_panel {

IconPanel::IconPanel(main_window::frmMain& form) : f(form) {}

void IconPanel::ClearIcons() {
    run_.Clear();
    const std::int16_t last = platform::ToInt16(f.picIcon.Count() - 1);
    for (std::int32_t i = 0; i <= last; ++i) {
        f.picIcon(i).Cls();
        Forget(i);
    }
    f.fraIcons.setTop(0);
    scrollUnit_ = 1;
    f.VS.setMin(0);
    f.VS.setMax(0);
    f.VS.setValue(0);
    f.IconCount = 0;
    f.SelectedIcon = -1;
    f.ShowSelectionFrame(false);
}

void IconPanel::SelectIcon(std::int32_t index) {
    platform::PictureBox& cell = f.picIcon(platform::ToInt16(index));
    const auto frameLine = [&](int line, double x1, double y1, double x2, double y2) {
        f.SetFrameLine(f.lnFrame(line), platform::ToInt32(x1), platform::ToInt32(y1), platform::ToInt32(x2),
                       platform::ToInt32(y2));
    };
    // Each line reads the cell afresh, as the cell may move in between.
    const auto L = [&] { return static_cast<double>(cell.Left()); };
    const auto T = [&] { return static_cast<double>(cell.Top()); };
    const auto W = [&] { return static_cast<double>(cell.Width()); };
    const auto H = [&] { return static_cast<double>(cell.Height()); };
    const double m = kFrameMargin;
    frameLine(0, L() - m, T() - m, L() + W() + m, T() - m);
    frameLine(1, L() - m, T() - m, L() - m, T() + H() + m);
    frameLine(2, L() + W(), T() - m, L() + W(), T() + H() + m);
    frameLine(3, L() - m, T() + H(), L() + W() + m, T() + H());
}

void IconPanel::picIcon_Click(std::int16_t index) {
    f.SelectedIcon = index;
    SelectIcon(index);
}

std::optional<CellOrigin> IconPanel::OriginOf(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= origins_.size()) return std::nullopt;
    return origins_[static_cast<std::size_t>(index)];
}

void IconPanel::Remember(std::int32_t cell, CellOrigin origin) {
    if (cell < 0) return;
    if (static_cast<std::size_t>(cell) >= origins_.size()) origins_.resize(static_cast<std::size_t>(cell) + 1);
    origins_[static_cast<std::size_t>(cell)] = std::move(origin);
}

// A cell that is cleared or filled anew no longer shows what it came from.
void IconPanel::Forget(std::int32_t cell) {
    if (cell >= 0 && static_cast<std::size_t>(cell) < origins_.size()) origins_[static_cast<std::size_t>(cell)].reset();
    if (f.picIcon.Exists(cell)) f.picIcon(platform::ToInt16(cell)).setToolTipText("");
}

void IconPanel::BlankCells(std::int32_t first, std::int32_t end) {
    for (std::int32_t k = std::max(first, 0); k < std::min(end, f.picIcon.Count()); ++k) platform::Guarded([&] {
            f.picIcon(platform::ToInt16(k)).Cls();
            Forget(k);
        });
}

void IconPanel::picIcon_MouseMove(std::int16_t index, int, int, float, float) {
    platform::PictureBox& cell = f.picIcon(index);
    if (!cell.ToolTipText().empty()) return;
    const auto origin = OriginOf(index);
    if (!origin) return;
    // Read once per cell, not on every move: the text stays until the cell forgets its origin.
    std::optional<icons::IconDescription> icon;
    // The image marked shown is the one the screen shows at the cell's size.
    platform::Guarded([&] { icon = f.system.DescribeIcon(origin->file, origin->index, ShownPixels()); });
    // The program itself is told of on its first icon, the one Explorer shows for it.
    std::optional<icons::VersionInfo> version;
    if (origin->index == 0) platform::Guarded([&] { version = f.system.ReadVersionInfo(origin->file); });
    std::string from;
    platform::Guarded([&] { from = f.system.IconsFrom(origin->file); });
    cell.setToolTipText(CellToolTip(*origin, icon, version, from));
}

std::string ImageText(const icons::ImageDescription& image) {
    return std::to_string(image.width) + "×" + std::to_string(image.height) +
           (image.png ? std::string(" PNG") : " " + std::to_string(image.depth) + "位");
}

namespace {

// One line of the tooltip: a value's own line breaks and tabs become spaces.
std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return s;
}

}  // namespace

std::string ProgramText(const icons::VersionInfo& version) {
    using Reader = icons::VersionInfo::Reader;
    const auto text = [&](const char* key) {
        auto s = version.String(key, Reader::kChinese);
        return s ? s : version.String(key);
    };
    std::string out;
    const auto add = [&](const char* label, const std::optional<std::string>& value) {
        if (!value || value->empty()) return;
        if (!out.empty()) out += "  ";
        out += label + OneLine(*value);
    };
    add("说明：", text("FileDescription"));
    add("产品：", text("ProductName"));
    std::string number = version.FileVersionText(Reader::kChinese);
    if (number.empty()) number = version.FileVersionText();
    add("版本：", number);
    return out;
}

std::string CellToolTip(const CellOrigin& origin, const std::optional<icons::IconDescription>& icon,
                        const std::optional<icons::VersionInfo>& version, const std::string& from) {
    std::string text = icons::FileNameOf(origin.file);
    if (!from.empty()) text += "\n来自 " + from;
    if (const std::string program = version ? ProgramText(*version) : std::string(); !program.empty())
        text += "\n" + program;
    text += "\n图标 " + std::to_string(origin.index);
    if (!icon || icon->images.empty()) return text;
    text += "\n";
    for (std::size_t k = 0; k < icon->images.size(); ++k) {
        if (k != 0) text += " · ";
        text += ImageText(icon->images[k]);
        if (static_cast<int>(k) == icon->shown) text += "（显示）";
    }
    return text;
}

}  // namespace icon_panel
