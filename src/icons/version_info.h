#pragma once
// The strings a program's version resource carries (its description, product
// and version), as the desktop names the program by them.
//
// A stand-in until the version-resource reader lands: it reads nothing, so
// every program is named by its file's name.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "byte_source.h"

namespace icons {

struct VersionStrings {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
    std::vector<std::pair<std::string, std::string>> values;
};

struct VersionInfo {
    std::string fileVersion, productVersion;
    std::vector<VersionStrings> tables;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
    enum class Reader { kNeutralOrEnglish, kChinese };
    std::optional<std::string> String(const std::string& key, Reader reader = Reader::kNeutralOrEnglish) const {
        // The stand-in takes the first table whose language family fits.
        for (const VersionStrings& t : tables) {
            const int primary = t.language & 0x3FF;
            const bool fits = reader == Reader::kChinese ? primary == 0x04 : primary == 0x00 || primary == 0x09;
            if (!fits) continue;
            for (const auto& [k, v] : t.values) {
                if (k == key) return v;
            }
        }
        return std::nullopt;
    }
};

inline std::optional<VersionInfo> ReadVersionInfo(const ByteSource&) { return std::nullopt; }

}  // namespace icons
