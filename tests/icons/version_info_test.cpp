// The version resource: its fixed part, string tables and translations read
// back from PE files the builders write, each well-formed or broken seed of
// the version fuzz target a row; the strings as each reader sees them; and
// Wine's own resources as wrestool cut them out of regedit.exe and shell32.dll.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "icons/icon_file.h"
#include "icons/version_info.h"
#include "test_support.h"

namespace icons {
void PrintTo(const VersionInfo& v, std::ostream* os) {
    *os << "{" << v.fileVersion << " / " << v.productVersion << ", tables:";
    for (const VersionStrings& t : v.tables) {
        *os << " [" << std::hex << t.language << "/" << std::dec << t.codePage;
        for (const auto& [k, value] : t.values) *os << " " << k << "=" << value;
        *os << "]";
    }
    *os << ", translations:";
    for (const auto& [l, c] : v.translations) *os << " " << std::hex << l << "/" << std::dec << c;
    *os << "}";
}
}  // namespace icons

namespace icon_tests {
namespace {

using icons::VersionInfo;
using icons::VersionStrings;
using Reader = VersionInfo::Reader;

const std::map<std::string, Bytes>& Seeds() {
    static const std::map<std::string, Bytes> seeds = [] {
        std::map<std::string, Bytes> m;
        for (auto& [name, bytes] : icon_files::VersionSeeds()) m.emplace(name, bytes);
        return m;
    }();
    return seeds;
}

// A raw seed is put in a PE beside an icon, as a resource compiler would; a "pe-" seed is one already.
Bytes FileOf(const std::string& seed) {
    const Bytes& b = Seeds().at(seed);
    if (seed.rfind("pe-", 0) == 0) return b;
    icon_files::PeSpec s;
    s.resources = icon_files::IconResources({{{1, {}}, {{1, 16, 16, 32, icon_files::MakeDib(icon_files::SolidDib(16, 16, 32, 0xFF2040C0))}}}});
    s.resources.push_back(icon_files::VersionResource(b));
    return icon_files::MakePe(s).bytes;
}

const VersionStrings kEnglish{0x409, 1200, {{"CompanyName", "Microsoft Corporation"}, {"FileDescription", "Wine Registry Editor"},
                                            {"FileVersion", "5.2.3790.0"}, {"ProductName", "Wine"}}};
const VersionStrings kChinese{0x804, 1200, {{"FileDescription", "注册表编辑器"}, {"ProductName", "Wine 程序"}}};
const VersionStrings kGerman{0x407, 1252, {{"FileDescription", "Registrierungs-Editor"}}};
const VersionStrings kNeutral{0x000, 1200, {{"FileDescription", "Registry Editor"}}};
const VersionStrings kTraditional{0x404, 1200, {{"FileDescription", "登錄編輯程式"}}};

VersionInfo Info(std::vector<VersionStrings> tables, bool translations = true, bool fixed = true) {
    VersionInfo v;
    if (fixed) {
        v.fileVersion = "10.0.19041.1";
        v.productVersion = "10.0.19041.0";
    }
    v.tables = std::move(tables);
    if (translations) v.translations = {{0x409, 1200}, {0x804, 1200}};
    return v;
}

VersionStrings With(VersionStrings t, std::size_t k, std::string value) {
    t.values[k].second = std::move(value);
    return t;
}
VersionStrings Only(VersionStrings t, std::size_t first, std::size_t end) {
    t.values = {t.values.begin() + static_cast<std::ptrdiff_t>(first), t.values.begin() + static_cast<std::ptrdiff_t>(end)};
    return t;
}

struct VersionCase {
    const char* seed;
    std::optional<VersionInfo> info;                // nullopt: the file has no version resource we read
    std::optional<std::string> english, chinese;   // FileDescription for each reader
};
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.seed; }

std::vector<VersionCase> VersionCases() {
    std::vector<VersionStrings> many;
    for (std::uint16_t i = 0; i < icons::kMaxVersionTables; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04x", i);
        many.push_back({static_cast<std::uint16_t>(0x400 + i), 1200, {{"N", hex}}});
    }
    const VersionInfo two = Info({kEnglish, kChinese});
    VersionInfo oneTranslation = two;
    oneTranslation.translations.pop_back();
    VersionInfo badSignature = two;
    badSignature.fileVersion = badSignature.productVersion = "";
    VersionInfo twoLanguages = Info({kTraditional, kEnglish, kChinese});
    twoLanguages.translations.insert(twoLanguages.translations.end(), two.translations.begin(), two.translations.end());
    // The fixed part of the English language, though the Arabic comes first.
    VersionInfo manyLanguages = Info({{0x401, 1200, {{"FileDescription", "محرر السجل"}}}, kChinese, kEnglish});
    manyLanguages.fileVersion = manyLanguages.productVersion = "2.0.0.5";
    manyLanguages.translations = {{0x401, 1200}, {0x409, 1200}, {0x804, 1200}, {0x409, 1200}};
    VersionInfo deep;
    deep.fileVersion = deep.productVersion = "0.0.0.0";
    deep.tables = {{0x409, 0x4b0, {{"FileDescription", "Wine Registry Editor"}}}};
    return {
        // Well-formed.
        {"two-tables", two, "Wine Registry Editor", "注册表编辑器"},
        {"chinese-first", Info({kChinese, kEnglish}), "Wine Registry Editor", "注册表编辑器"},
        {"german-and-neutral", Info({kGerman, kNeutral}), "Registry Editor", std::nullopt},
        {"german-only", Info({kGerman}), "Registrierungs-Editor", std::nullopt},
        {"traditional-chinese-only", Info({kTraditional}), "登錄編輯程式", "登錄編輯程式"},
        {"no-string-tables", Info({}), std::nullopt, std::nullopt},
        {"no-fixed-info", Info({kEnglish, kChinese}, true, false), "Wine Registry Editor", "注册表编辑器"},
        {"empty-description", Info({With(kEnglish, 1, ""), kChinese}), std::nullopt, "注册表编辑器"},
        {"too-many-tables", Info(many), std::nullopt, std::nullopt},
        {"deep-nesting", deep, "Wine Registry Editor", std::nullopt},
        // Broken: what lies before the damage is kept, and the blocks whose
        // places do not depend on the damaged one.
        {"bad-fixed-signature", badSignature, "Wine Registry Editor", "注册表编辑器"},
        {"unpaired-surrogates", Info({With(kEnglish, 1, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xF0\x9F\x98\x80")}),
         "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xF0\x9F\x98\x80", std::nullopt},
        {"truncated", Info({kEnglish, Only(kChinese, 0, 1)}, false), "Wine Registry Editor", "注册表编辑器"},
        {"child-longer-than-parent", Info({Only(kEnglish, 0, 1), kChinese}), std::nullopt, "注册表编辑器"},
        {"table-past-its-parent", Info({kEnglish}), "Wine Registry Editor", std::nullopt},
        {"root-past-the-resource", two, "Wine Registry Editor", "注册表编辑器"},
        {"zero-length", Info({Only(kEnglish, 0, 1), kChinese}), std::nullopt, "注册表编辑器"},
        {"odd-length", two, "Wine Registry Editor", "注册表编辑器"},
        {"value-length-in-bytes", two, "Wine Registry Editor", "注册表编辑器"},
        {"value-length-zero", Info({With(kEnglish, 1, ""), kChinese}), std::nullopt, "注册表编辑器"},
        {"translation-odd-length", oneTranslation, "Wine Registry Editor", "注册表编辑器"},
        // No reader looks a table up by a key that is no language: the first table is then the Chinese one.
        {"bad-table-key", Info({kChinese}), "注册表编辑器", "注册表编辑器"},
        {"not-version-info", std::nullopt, std::nullopt, std::nullopt},
        {"too-short", std::nullopt, std::nullopt, std::nullopt},
        // Whole files: number 1 whatever comes before it, else the first; every language's tables.
        {"pe-two-tables", two, "Wine Registry Editor", "注册表编辑器"},
        {"pe-no-version", std::nullopt, std::nullopt, std::nullopt},
        {"pe-named-and-numbered", two, "Wine Registry Editor", "注册表编辑器"},
        {"pe-numbered-2-only", Info({kNeutral}), "Registry Editor", std::nullopt},
        // zh_CN's table before zh_TW's, though it comes second.
        {"pe-two-languages", twoLanguages, "Wine Registry Editor", "注册表编辑器"},
        {"pe-many-languages", manyLanguages, "Wine Registry Editor", "注册表编辑器"},
    };
}

class VersionTest : public testing::TestWithParam<VersionCase> {};

TEST_P(VersionTest, ReadsWhatTheResourceHolds) {
    const VersionCase& c = GetParam();
    const Bytes file = FileOf(c.seed);
    const auto source = Source(file);
    const auto info = icons::ReadVersionInfo(source);
    EXPECT_EQ(info, c.info);
    // One opening serves the icons and the version.
    const icons::IconFile opened(source);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.versionInfo(), c.info);
    if (c.seed[0] != 'p') {
        EXPECT_EQ(icons::ParseVersionInfo(icons::ByteView(Seeds().at(c.seed))), c.info) << "the raw resource";
    }
    if (!info) return;
    EXPECT_EQ(info->String("FileDescription"), c.english);
    EXPECT_EQ(info->String("FileDescription", Reader::kNeutralOrEnglish), c.english);
    EXPECT_EQ(info->String("FileDescription", Reader::kChinese), c.chinese);
    EXPECT_EQ(info->String("filedescription"), c.english) << "keys ignore ASCII case";
    EXPECT_EQ(info->String("NoSuchKey"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Seeds, VersionTest, testing::ValuesIn(VersionCases()), [](const auto& info) {
    std::string name = info.param.seed;
    for (char& ch : name)
        if (ch == '-') ch = '_';
    return name;
});

TEST(Version, EverySeedHasItsRow) {
    std::set<std::string> rows;
    for (const VersionCase& c : VersionCases()) rows.insert(c.seed);
    for (const auto& [name, bytes] : Seeds()) EXPECT_TRUE(rows.count(name)) << name;
    EXPECT_EQ(rows.size(), Seeds().size());
}

TEST(Version, StringsOfOtherKeysAndTheVersionsToShow) {
    const auto info = icons::ReadVersionInfo(Source(FileOf("two-tables")));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->String("ProductName"), "Wine");
    EXPECT_EQ(info->String("ProductName", Reader::kChinese), "Wine 程序");
    EXPECT_EQ(info->String("CompanyName", Reader::kChinese), std::nullopt) << "not in the Chinese table";
    EXPECT_EQ(info->FileVersionText(), "10.0.19041.1") << "the fixed part first";
    EXPECT_EQ(info->ProductVersionText(), "10.0.19041.0");
    const auto noFixed = icons::ReadVersionInfo(Source(FileOf("no-fixed-info")));
    ASSERT_TRUE(noFixed);
    EXPECT_EQ(noFixed->FileVersionText(), "5.2.3790.0") << "the table's string without a fixed part";
    EXPECT_EQ(noFixed->ProductVersionText(), "");
}

// Only PE files have a version resource we read: not NE files, icon files or animated cursors.
TEST(Version, OnlyPeFiles) {
    icon_files::NeSpec ne;
    ne.resources = icon_files::NeIconResources({{{1, 16, 16, 32, icon_files::MakeDib(icon_files::SolidDib(16, 16, 32, 0))}}});
    ne.resources.push_back({0x8010, 0x8001, Seeds().at("two-tables")});
    const Bytes ico = icon_files::MakeIco({{16, 16, 0, 1, 32, icon_files::MakeDib(icon_files::SolidDib(16, 16, 32, 0))}});
    const Bytes ani = icon_files::MakeList("ACON", {icon_files::MakeList("fram", {icon_files::MakeChunk("icon", ico)})}, "RIFF");
    for (const Bytes& b : {icon_files::MakeNe(ne).bytes, ico, ani, Seeds().at("two-tables")}) {
        const auto source = Source(b);
        EXPECT_EQ(icons::ReadVersionInfo(source), std::nullopt);
        EXPECT_EQ(icons::IconFile(source).versionInfo(), std::nullopt);
    }
}

// The reader reads the resource's first 64 KiB, however large the data entry says it is.
TEST(Version, ReadsAtMost64KiBOfTheResource) {
    class Counting : public icons::ByteSource {
    public:
        explicit Counting(const Bytes& b) : inner_(b.data(), b.size()) {}
        std::uint64_t size() const override { return inner_.size(); }
        bool read(std::uint64_t offset, void* dst, std::size_t n) const override {
            largest = std::max(largest, n);
            return inner_.read(offset, dst, n);
        }
        mutable std::size_t largest = 0;

    private:
        icons::MemorySource inner_;
    };
    Bytes resource = Seeds().at("two-tables");
    resource.resize(1u << 20, 0);
    icon_files::PeSpec s;
    s.resources = {icon_files::VersionResource(resource)};
    const Bytes file = icon_files::MakePe(s).bytes;
    const Counting source(file);
    const auto info = icons::ReadVersionInfo(source);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->tables.size(), 2u);
    EXPECT_EQ(source.largest, icons::kMaxVersionBytes);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Wine 8.0's own resources, cut out of its files with `wrestool -x --raw --type=16`:
// what Wine's version.dll and a Windows file dialog show for them.
TEST(Version, WinesOwnResources) {
    const std::string corpus = std::string(TESSEL_FUZZ_CORPUS) + "/version/";
    const Bytes regedit = ReadFile(corpus + "wine-regedit.res"), shell32 = ReadFile(corpus + "wine-shell32.res");
    ASSERT_EQ(regedit.size(), 856u);
    ASSERT_EQ(shell32.size(), 896u);
    const auto r = icons::ParseVersionInfo(icons::ByteView(regedit));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->fileVersion, "5.2.3790.0");
    EXPECT_EQ(r->productVersion, "5.2.3790.0");
    ASSERT_EQ(r->tables.size(), 1u);
    EXPECT_EQ(r->tables[0].language, 0x409);
    EXPECT_EQ(r->tables[0].codePage, 0x4b0);
    EXPECT_EQ(r->tables[0].values.size(), 8u);
    EXPECT_EQ(r->String("FileDescription"), "Wine Registry Editor");
    EXPECT_EQ(r->String("ProductName"), "Wine");
    EXPECT_EQ(r->String("ProductVersion"), "5.2");
    EXPECT_EQ(r->String("OriginalFilename"), "REGEDIT.EXE");
    EXPECT_EQ(r->String("FileDescription", Reader::kChinese), std::nullopt);
    EXPECT_EQ(r->translations, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x409, 0x4b0}}));

    const auto s = icons::ParseVersionInfo(icons::ByteView(shell32));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->fileVersion, "6.0.2900.6242");
    EXPECT_EQ(s->String("FileDescription"), "Wine core dll");
    EXPECT_EQ(s->String("InternalName"), std::nullopt) << "an empty value";
    EXPECT_EQ(s->String("OLESelfRegister"), std::nullopt);
    ASSERT_EQ(s->tables.size(), 1u);
    EXPECT_EQ(s->tables[0].values.back(), (std::pair<std::string, std::string>{"OLESelfRegister", ""}));
}

}  // namespace
}  // namespace icon_tests
