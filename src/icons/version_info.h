#pragma once
// The version resource (RT_VERSION) of a PE executable or library: the
// numbers of its fixed part, its string tables (FileDescription, ProductName
// ...) and its translations. Bounded like the rest of the reader: at most
// kMaxVersionBytes of the resource are read, every length is checked against
// the block that holds it, and the counts are capped. Never throws; a
// malformed resource gives nullopt or what was read before the damage.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "byte_source.h"
#include "byte_view.h"

namespace icons {

namespace pe {
class Resources;
}

// A version resource is one block of at most 64 KiB (its length is a 16-bit field).
constexpr std::uint64_t kMaxVersionBytes = 64u << 10;
// More than these is no real resource; they only cost memory.
constexpr std::size_t kMaxVersionTables = 64;  // of all its languages together
// Wine's own libraries carry one version resource per language, three dozen of them.
constexpr std::size_t kMaxVersionLanguages = 64;
constexpr std::size_t kMaxVersionStrings = 256;  // in one table
constexpr std::size_t kMaxTranslations = 64;

struct VersionStrings {
    std::uint16_t language = 0;   // e.g. 0x0409
    std::uint16_t codePage = 0;   // e.g. 1200 (0x04b0)
    std::vector<std::pair<std::string, std::string>> values;  // key, value, UTF-8, in file order
    bool operator==(const VersionStrings&) const = default;
};

struct VersionInfo {
    std::string fileVersion;     // "10.0.19041.1" from VS_FIXEDFILEINFO's MS/LS words; empty without one
    std::string productVersion;
    std::vector<VersionStrings> tables;                          // StringFileInfo's, in file order
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;  // VarFileInfo's
    // The value of `key` (FileDescription, ProductName, ProductVersion ...) as a reader of
    // that language would see it: kNeutralOrEnglish takes a table of language 0 or of primary
    // language English (0x09), else the first table; kChinese only a table of primary
    // language Chinese (0x04: 0x0804, 0x0404 ...); kEnglishOnly as kNeutralOrEnglish but
    // without the first table to fall back on, for a text shown in every language
    // (a menu entry's plain Name). nullopt when there is none or it is empty.
    // Keys compare as Windows compares them, ignoring ASCII case. Where several
    // tables qualify, the first that holds a non-empty value gives it, in file
    // order, except that for kChinese a 0x0804 (zh_CN) table comes first.
    enum class Reader { kNeutralOrEnglish, kChinese, kEnglishOnly };
    std::optional<std::string> String(const std::string& key, Reader reader = Reader::kNeutralOrEnglish) const;

    // The version to show: fileVersion (productVersion), else the table's
    // FileVersion (ProductVersion) string for `reader`; empty without either.
    std::string FileVersionText(Reader reader = Reader::kNeutralOrEnglish) const;
    std::string ProductVersionText(Reader reader = Reader::kNeutralOrEnglish) const;

    bool operator==(const VersionInfo&) const = default;
};

// The version resource of a PE file: the one numbered 1 (VS_VERSION_INFO),
// else the first. A file may hold it in several languages, each with the
// string table of its own: the tables and translations of every language
// are kept, in the tree's order, and the fixed part is that of the first
// language-neutral or English one (else of the first). At most
// kMaxVersionBytes are read in all. nullopt for a file that is no PE file or
// has none, and when not one of its languages is a VS_VERSIONINFO.
std::optional<VersionInfo> ReadVersionInfo(const ByteSource& source);
// The same from resources already opened.
std::optional<VersionInfo> ReadVersionInfo(const pe::Resources& resources);
// A version resource's own bytes (as `wrestool -x --raw --type=16` writes them);
// only the first kMaxVersionBytes are looked at.
std::optional<VersionInfo> ParseVersionInfo(ByteView resource);

}  // namespace icons
