#include "version_info.h"

#include <algorithm>

#include "pe_reader.h"
#include "utf16.h"
#include "version_format.h"

namespace icons {
namespace {

using namespace version;

// Offsets stay below kMaxVersionBytes, so this never overflows.
std::uint64_t Aligned(std::uint64_t at) { return (at + kAlignment - 1) / kAlignment * kAlignment; }

// One block of the tree; offsets from the resource's start.
struct Block {
    std::uint64_t at = 0;
    std::uint64_t end = 0;           // at + wLength, never past the parent's end
    std::uint16_t valueLength = 0;   // as the block says
    bool text = false;
    ByteView key;                    // its UTF-16 units, the NUL left out
    std::uint64_t valueAt = 0;       // past the key and its padding; at most `end`
    bool cut = false;                // its length ran past its parent's end, where it was cut

    // The value's bytes: `bytes` of them, cut at the block's end.
    std::uint64_t valueBytes(std::uint64_t bytes) const { return std::min(bytes, end - valueAt); }
    // Where the first child starts: past the value as wValueLength and wType give it.
    std::uint64_t childrenAt() const {
        const std::uint64_t bytes = valueBytes(text ? kUnitBytes * valueLength : valueLength);
        return std::min(Aligned(valueAt + bytes), end);
    }
};

// The block at `at` inside [.., parentEnd), which lies within `v`. nullopt
// where it is damaged: too short for its header and a key, longer than its
// parent, or a key without its NUL inside the block. A container (a block
// whose children are read) inside a parent that was cut short is cut at the
// parent's end instead, so a resource cut short keeps the blocks before the cut.
std::optional<Block> ReadBlock(ByteView v, std::uint64_t at, std::uint64_t parentEnd, bool mayCut) {
    if (at > parentEnd || parentEnd - at < kMinBlockSize) return std::nullopt;
    std::uint64_t length = v.u16(at + block::kLength);
    if (length < kMinBlockSize) return std::nullopt;
    Block b;
    if (length > parentEnd - at) {
        if (!mayCut) return std::nullopt;
        length = parentEnd - at;
        b.cut = true;
    }
    b.at = at;
    b.end = at + length;
    b.valueLength = v.u16(at + block::kValueLength);
    b.text = v.u16(at + block::kType) == 1;
    std::uint64_t nul = at + block::kKey;
    while (nul + kUnitBytes <= b.end && v.u16(nul) != 0) nul += kUnitBytes;
    if (nul + kUnitBytes > b.end) return std::nullopt;
    b.key = v.sub(at + block::kKey, nul - (at + block::kKey));
    b.valueAt = std::min(Aligned(nul + kUnitBytes), b.end);
    if (v.failed()) return std::nullopt;
    return b;
}

// Calls `each` for the children of `parent` in order, while it returns true.
// A damaged child ends the list: what follows it has no trustworthy place.
// The parent's own length was checked, so its siblings are still read.
// `containers`: the children hold children of their own, and may be cut
// where the parent was; a leaf (a String, a Var) is read whole or not at all.
template <typename Each>
void ForEachChild(ByteView v, const Block& parent, bool containers, Each each) {
    std::uint64_t at = parent.childrenAt();
    while (at < parent.end) {
        const auto child = ReadBlock(v, at, parent.end, containers && parent.cut);
        if (!child || !each(*child)) return;
        at = Aligned(child->end);
    }
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// The key is `name`, ignoring ASCII case as Windows' version functions do.
bool KeyIs(ByteView key, const char16_t* name) {
    const std::size_t n = key.size() / kUnitBytes;
    for (std::size_t i = 0; i < n; ++i, ++name) {
        if (*name == 0 || AsciiLower(static_cast<char16_t>(key.u16(kUnitBytes * i))) != AsciiLower(*name)) return false;
    }
    return *name == 0;
}

std::optional<std::uint16_t> HexUnits(ByteView key, std::size_t first) {
    std::uint16_t out = 0;
    for (std::size_t i = first; i < first + kHexDigits; ++i) {
        const std::uint16_t c = key.u16(kUnitBytes * i);
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0) return std::nullopt;
        out = static_cast<std::uint16_t>(out << 4 | digit);
    }
    return out;
}

std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

// A String's text: its units up to the first NUL, as many as wValueLength
// counts (cut at the block's end: some writers count bytes instead).
std::string StringValue(ByteView v, const Block& s) {
    const ByteView units = v.sub(s.valueAt, s.valueBytes(kUnitBytes * s.valueLength) / kUnitBytes * kUnitBytes);
    std::size_t n = 0;
    while (kUnitBytes * n < units.size() && units.u16(kUnitBytes * n) != 0) ++n;
    return Utf16ToUtf8(units.sub(0, kUnitBytes * n));
}

void ReadStringFileInfo(ByteView v, const Block& info, VersionInfo& out) {
    ForEachChild(v, info, true, [&](const Block& table) {
        if (out.tables.size() >= kMaxVersionTables) return false;
        // A table whose key is no language and code page is one no reader looks up.
        if (table.key.size() != kUnitBytes * kTableKeyUnits) return true;
        const auto language = HexUnits(table.key, kTableLanguageUnit), codePage = HexUnits(table.key, kTableCodePageUnit);
        if (!language || !codePage) return true;
        VersionStrings strings{*language, *codePage, {}};
        ForEachChild(v, table, false, [&](const Block& s) {
            if (strings.values.size() >= kMaxVersionStrings) return false;
            strings.values.emplace_back(Utf16ToUtf8(s.key), StringValue(v, s));
            return true;
        });
        out.tables.push_back(std::move(strings));
        return true;
    });
}

void ReadVarFileInfo(ByteView v, const Block& info, VersionInfo& out) {
    ForEachChild(v, info, false, [&](const Block& var) {
        if (!KeyIs(var.key, kTranslationKey)) return true;
        const ByteView pairs = v.sub(var.valueAt, var.valueBytes(var.valueLength));
        for (std::uint64_t at = 0; pairs.has(at, translation::kSize); at += translation::kSize) {
            if (out.translations.size() >= kMaxTranslations) return false;
            out.translations.emplace_back(pairs.u16(at + translation::kLanguage), pairs.u16(at + translation::kCodePage));
        }
        return true;
    });
}

bool ReaderTakes(VersionInfo::Reader reader, std::uint16_t language) {
    const std::uint16_t primary = language & kPrimaryLanguageMask;
    if (reader == VersionInfo::Reader::kChinese) return primary == kLangChinese;
    // kNeutralOrEnglish and kEnglishOnly take the same tables; they differ in the fallback.
    return primary == kLangNeutral || primary == kLangEnglish;
}

bool SameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(static_cast<unsigned char>(x)) == AsciiLower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<VersionInfo> ParseVersionInfo(ByteView resource) {
    const ByteView v = resource.sub(0, std::min<std::uint64_t>(resource.size(), kMaxVersionBytes));
    // A resource cut short keeps what it holds: the root is cut at its end.
    const auto root = ReadBlock(v, 0, v.size(), true);
    if (!root || !KeyIs(root->key, kVersionInfoKey)) return std::nullopt;
    VersionInfo out;
    if (root->valueLength >= fixed_info::kSize && root->valueBytes(fixed_info::kSize) == fixed_info::kSize) {
        const ByteView fixed = v.sub(root->valueAt, fixed_info::kSize);
        if (fixed.u32(fixed_info::kSignature) == kFixedInfoSignature) {
            out.fileVersion = VersionText(fixed.u32(fixed_info::kFileVersionMs), fixed.u32(fixed_info::kFileVersionLs));
            out.productVersion =
                VersionText(fixed.u32(fixed_info::kProductVersionMs), fixed.u32(fixed_info::kProductVersionLs));
        }
    }
    // The fixed part is binary whatever wType says.
    Block body = *root;
    body.text = false;
    ForEachChild(v, body, true, [&](const Block& child) {
        if (KeyIs(child.key, kStringFileInfoKey)) ReadStringFileInfo(v, child, out);
        else if (KeyIs(child.key, kVarFileInfoKey)) ReadVarFileInfo(v, child, out);
        return true;
    });
    return out;
}

std::optional<VersionInfo> ReadVersionInfo(const pe::Resources& resources) {
    std::optional<VersionInfo> out;
    bool preferred = false;  // the fixed part is from a neutral or English language
    for (const auto& variant : resources.resourceLanguages(pe::kRtVersion, kMaxVersionBytes, kMaxVersionLanguages)) {
        auto info = ParseVersionInfo(ByteView(variant.bytes));
        if (!info) continue;
        const bool english = ReaderTakes(VersionInfo::Reader::kNeutralOrEnglish, static_cast<std::uint16_t>(variant.language));
        if (!out) {
            out = std::move(info);
            preferred = english;
            continue;
        }
        if (english && !preferred && !info->fileVersion.empty()) {
            out->fileVersion = info->fileVersion;
            out->productVersion = info->productVersion;
            preferred = true;
        }
        for (auto& t : info->tables)
            if (out->tables.size() < kMaxVersionTables) out->tables.push_back(std::move(t));
        for (const auto& pair : info->translations)
            if (out->translations.size() < kMaxTranslations) out->translations.push_back(pair);
    }
    return out;
}

std::optional<VersionInfo> ReadVersionInfo(const ByteSource& source) {
    const auto resources = pe::Resources::Open(source);
    if (!resources) return std::nullopt;
    return ReadVersionInfo(*resources);
}

std::optional<std::string> VersionInfo::String(const std::string& key, Reader reader) const {
    std::vector<const VersionStrings*> from;
    for (const VersionStrings& t : tables)
        if (ReaderTakes(reader, t.language)) from.push_back(&t);
    if (from.empty() && reader == Reader::kNeutralOrEnglish && !tables.empty()) from.push_back(&tables.front());
    // Simplified Chinese (zh_CN) before the other Chinese tables, which keep their order.
    if (reader == Reader::kChinese)
        std::stable_partition(from.begin(), from.end(), [](const VersionStrings* t) { return t->language == kLangChineseSimplified; });
    for (const VersionStrings* t : from)
        for (const auto& [k, value] : t->values)
            if (!value.empty() && SameKey(k, key)) return value;
    return std::nullopt;
}

std::string VersionInfo::FileVersionText(Reader reader) const {
    return !fileVersion.empty() ? fileVersion : String("FileVersion", reader).value_or("");
}

std::string VersionInfo::ProductVersionText(Reader reader) const {
    return !productVersion.empty() ? productVersion : String("ProductVersion", reader).value_or("");
}

}  // namespace icons
