#include "desktop_entry.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace icons {
namespace {

// A string value: a backslash and the characters a line cannot hold become escapes.
std::string Escaped(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
    }
    return out;
}

// Surrounding blanks dropped: a value that is only blanks names nothing.
std::optional<std::string> Trimmed(std::optional<std::string> s) {
    if (!s) return s;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; };
    const auto first = std::find_if_not(s->begin(), s->end(), blank);
    const auto last = std::find_if_not(s->rbegin(), s->rend(), blank).base();
    if (first >= last) return std::nullopt;
    return std::string(first, last);
}

std::optional<std::string> Value(const std::optional<VersionInfo>& version, const char* key,
                                 VersionInfo::Reader reader = VersionInfo::Reader::kNeutralOrEnglish) {
    return version ? Trimmed(version->String(key, reader)) : std::nullopt;
}

std::string Lowered(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

std::string WineExecValue(const std::string& program) {
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        // A field code starts with '%'; a literal one is doubled.
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return Escaped("wine " + quoted);
}

std::string MainCategory(const std::optional<VersionInfo>& version) {
    // Words in English only: the neutral strings are what a program's maker wrote for every reader.
    static constexpr std::pair<const char*, const char*> kSays[] = {
        {"game", "Game"},           {"media player", "AudioVideo"}, {"music player", "AudioVideo"},
        {"browser", "Network"},     {"compiler", "Development"},    {"debugger", "Development"},
    };
    const std::string text = Lowered(Value(version, "FileDescription").value_or("") + "\n" +
                                     Value(version, "ProductName").value_or(""));
    for (const auto& [words, category] : kSays) {
        if (text.find(words) != std::string::npos) return category;
    }
    return "Utility";
}

std::string DesktopEntryText(const std::string& program, const std::string& name,
                             const std::optional<VersionInfo>& version) {
    const std::filesystem::path path(program);
    // The plain Name is shown in every language, so only a neutral or English
    // string may give it; the Chinese one has a key of its own.
    const auto description = Value(version, "FileDescription", VersionInfo::Reader::kEnglishOnly);
    const auto chinese = Value(version, "FileDescription", VersionInfo::Reader::kChinese);
    const std::string shown =
        description ? *description
                    : Value(version, "ProductName", VersionInfo::Reader::kEnglishOnly).value_or(path.stem().string());

    std::ostringstream o;
    o << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Name=" << Escaped(shown) << '\n';
    if (chinese && *chinese != shown) o << "Name[zh_CN]=" << Escaped(*chinese) << '\n';
    // The description is not the name only when it is there in Chinese alone.
    if (!description && chinese && *chinese != shown) o << "Comment=" << Escaped(*chinese) << '\n';
    o << "Exec=" << WineExecValue(program) << '\n'
      << "Path=" << Escaped(path.parent_path().string()) << '\n'
      << "Icon=" << Escaped(name) << '\n'
      << "StartupWMClass=" << Escaped(path.filename().string()) << '\n'
      << "Categories=" << MainCategory(version) << ";X-Wine;\n";
    return o.str();
}

}  // namespace icons
