#include "browsing_fixture.h"

#include "browsing/browsing.h"

namespace browsing_tests {

using namespace icon_files;

Bytes PeWithIcons(const std::vector<Argb>& colours, bool dll) {
    std::vector<IconGroupSpec> groups;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const auto id = static_cast<std::uint16_t>(i + 1);
        GroupImage image;
        image.id = id;
        image.bitCount = 24;
        image.image = MakeDib(SolidDib(32, 32, 24, colours[i]));
        groups.push_back({ResName{id, {}}, {image}});
    }
    PeSpec pe;
    pe.dll = dll;
    pe.resources = IconResources(groups);
    return MakePe(pe).bytes;
}

Bytes PeWithIcons(int file, int groups) {
    std::vector<Argb> colours;
    for (int i = 0; i < groups; ++i) colours.push_back(IconColour(file, i));
    return PeWithIcons(colours);
}

Bytes PeWithCursorsOnly(int file) {
    GroupImage image{1, 32, 32, 24, MakeDib(SolidDib(32, 32, 24, IconColour(file, 0))), 4, 4};
    PeSpec pe;
    pe.dll = true;
    pe.resources = icon_files::CursorResources({{ResName{1, {}}, {image}}});
    return MakePe(pe).bytes;
}

Bytes PeWithoutIcons() {
    PeSpec pe;
    pe.resourceSection = false;
    return MakePe(pe).bytes;
}

Bytes IconFile(const std::vector<Argb>& colours, std::uint16_t type) {
    std::vector<IcoEntry> entries;
    for (Argb c : colours) {
        IcoEntry e;
        e.bitCount = type == 2 ? 0 : 24;
        e.planes = type == 2 ? 0 : 1;
        e.image = MakeDib(SolidDib(32, 32, 24, c));
        entries.push_back(e);
    }
    return MakeIco(entries, type);
}

const test_support::TempFolder& BrowsingTest::Folder(const std::vector<FixtureFile>& files) {
    folders.push_back(std::make_unique<test_support::TempFolder>());
    for (const FixtureFile& file : files) folders.back()->write(file.name, file.bytes);
    return *folders.back();
}

Rows BrowsingTest::DisplayedRows() {
    Rows rows;
    for (int i = 1; i <= f().File1.Count(); ++i) rows.emplace_back(f().File1.Item(i).Text(), f().File1.Item(i).SubItem(1));
    return rows;
}

std::vector<std::string> BrowsingTest::DisplayedNames() {
    std::vector<std::string> names;
    for (const auto& row : DisplayedRows()) names.push_back(row.first);
    return names;
}

std::vector<Argb> BrowsingTest::CellColours(int n) {
    std::vector<Argb> colours;
    for (int i = 0; i < n && f().picIcon.Exists(i); ++i) colours.push_back(f().picIcon(i).Image().at(16, 16) & 0xFFFFFFu);
    return colours;
}

void BrowsingTest::ExpectCompletedScan(const Rows& rows, int total) {
    EXPECT_EQ(DisplayedRows(), rows);
    EXPECT_EQ(f().File1.ColumnText(1), browsing::FileColumnHeader(static_cast<int>(rows.size())));
    EXPECT_EQ(f().File1.ColumnText(2), std::to_string(total));
    EXPECT_EQ(f().TotalIcons, total);
    EXPECT_EQ(f().fraNoFiles.Visible(), rows.empty());
    EXPECT_EQ(f().lblStatus.Caption(), "");
    EXPECT_FALSE(f().progbar.Visible());
}

void BrowsingTest::RecordCounts(std::function<std::optional<int>(const std::string&)> override) {
    sys.count = [this, override](const std::string& path) {
        counted.push_back(path);
        if (override)
            if (std::optional<int> n = override(path)) return *n;
        return icons::CountIconsInFile(path);
    };
}

}  // namespace browsing_tests
