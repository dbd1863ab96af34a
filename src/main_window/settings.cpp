#include "settings.h"

#include <sstream>

namespace main_window {

namespace {

// The line's value when it sets `key`.
std::optional<std::string> ValueIn(std::string line, const std::string& key) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 || line[key.size()] != '=') return std::nullopt;
    return line.substr(key.size() + 1);
}

}  // namespace

std::optional<std::string> SettingOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::optional<std::string> value;
    // The last line that sets a key wins, as a later edit would.
    for (std::string line; std::getline(lines, line);)
        if (auto v = ValueIn(line, key)) value = std::move(v);
    return value;
}

std::string WithSetting(const std::string& text, const std::string& key, const std::string& value) {
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);)
        if (!ValueIn(line, key) && !line.empty()) out += line + '\n';
    return out + key + '=' + value + '\n';
}

}  // namespace main_window
