#pragma once
// The few choices the window keeps between runs, as "key=value" lines.

#include <optional>
#include <string>

namespace main_window {

// The folder menu's "所有程序文件": "true" or "false".
inline constexpr const char* kAllProgramFilesKey = "all-program-files";
// The folder menu's "包括子文件夹": "true" or "false".
inline constexpr const char* kIncludeSubfoldersKey = "include-subfolders";
// The folder menu's "包括光标": "true" or "false".
inline constexpr const char* kIncludeCursorsKey = "include-cursors";
// The icon menu's "图标大小": the cells' side in pixels, one of kCellSizes.
inline constexpr const char* kCellSizeKey = "cell-size";

// The value of `key` in the settings text; nullopt when no line sets it.
std::optional<std::string> SettingOf(const std::string& text, const std::string& key);

// The settings text with `key` set to `value`; every other line stays, so
// that a choice this version does not know survives it.
std::string WithSetting(const std::string& text, const std::string& key, const std::string& value);

}  // namespace main_window
