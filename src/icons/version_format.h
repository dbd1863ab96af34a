#pragma once
// The version resource (RT_VERSION) of a PE file, by its fields' offsets.
// Every field is little-endian.
//
// The resource is one block, VS_VERSIONINFO, and every part of it is a block
// of the same shape: its byte count (children included), the length of its
// value, its type, its key (UTF-16, NUL-terminated), padding to 32 bits, the
// value, padding to 32 bits, and its children, each starting on a 32-bit
// boundary. Boundaries count from the resource's start. The tree is:
//
//   VS_VERSIONINFO "VS_VERSION_INFO"   value: VS_FIXEDFILEINFO
//     StringFileInfo "StringFileInfo"
//       StringTable "040904b0"         the language and code page, 8 hex digits
//         String "FileDescription"     value: UTF-16 text
//     VarFileInfo "VarFileInfo"
//       Var "Translation"              value: pairs of language, code page

#include <cstddef>
#include <cstdint>

namespace icons::version {

namespace block {
constexpr std::uint64_t kLength = 0;       // wLength: bytes of the block, children included
constexpr std::uint64_t kValueLength = 2;  // wValueLength: bytes of a binary value, WORDs of text
constexpr std::uint64_t kType = 4;         // wType: 1 text, 0 binary
constexpr std::uint64_t kKey = 6;          // szKey, NUL-terminated UTF-16
constexpr std::uint64_t kHeaderSize = kKey;
}  // namespace block

// A UTF-16 unit, and the WORD that a text value's length counts.
constexpr std::uint64_t kUnitBytes = 2;
// The header and an empty key's NUL: no block is shorter.
constexpr std::uint64_t kMinBlockSize = block::kHeaderSize + kUnitBytes;

// Blocks, their values and their children start on 32-bit boundaries.
constexpr std::uint64_t kAlignment = 4;

constexpr char16_t kVersionInfoKey[] = u"VS_VERSION_INFO";
constexpr char16_t kStringFileInfoKey[] = u"StringFileInfo";
constexpr char16_t kVarFileInfoKey[] = u"VarFileInfo";
constexpr char16_t kTranslationKey[] = u"Translation";
// A string table's key: the language then the code page, four hex digits each.
constexpr std::uint64_t kTableKeyUnits = 8;
constexpr std::size_t kTableLanguageUnit = 0;
constexpr std::size_t kTableCodePageUnit = 4;
constexpr std::size_t kHexDigits = 4;  // of each

// VS_FIXEDFILEINFO, the value of VS_VERSIONINFO.
namespace fixed_info {
constexpr std::uint64_t kSignature = 0;
constexpr std::uint64_t kStructVersion = 4;
constexpr std::uint64_t kFileVersionMs = 8;
constexpr std::uint64_t kFileVersionLs = 12;
constexpr std::uint64_t kProductVersionMs = 16;
constexpr std::uint64_t kProductVersionLs = 20;
constexpr std::uint64_t kFileFlagsMask = 24;
constexpr std::uint64_t kFileFlags = 28;
constexpr std::uint64_t kFileOs = 32;
constexpr std::uint64_t kFileType = 36;
constexpr std::uint64_t kFileSubtype = 40;
constexpr std::uint64_t kFileDateMs = 44;
constexpr std::uint64_t kFileDateLs = 48;
constexpr std::uint64_t kSize = 52;
}  // namespace fixed_info

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

// One entry of the Translation value.
namespace translation {
constexpr std::uint64_t kLanguage = 0;
constexpr std::uint64_t kCodePage = 2;
constexpr std::uint64_t kSize = 4;
}  // namespace translation

// Languages are LANGIDs: the primary language in the low 10 bits.
constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint16_t kLangNeutral = 0x00;
constexpr std::uint16_t kLangChinese = 0x04;
constexpr std::uint16_t kLangEnglish = 0x09;
constexpr std::uint16_t kLangChineseSimplified = 0x0804;  // zh_CN

}  // namespace icons::version
