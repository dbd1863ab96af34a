// A system library without icons of its own is read from its resource module
// in SystemResources, as Windows 10 and 11 read it; nothing else is.
#include <filesystem>

#include "icons/system_resources.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using namespace icon_files;

Bytes Library(int icons) {
    std::vector<IconGroupSpec> groups;
    for (int g = 0; g < icons; ++g)
        groups.push_back({ResName{static_cast<std::uint32_t>(g + 1), {}},
                          {{static_cast<std::uint16_t>(g + 1), 16, 16, 32, MakeDib(SolidDib(16, 16, 32, MakeArgb(9, 9, 9)))}}});
    PeSpec spec;
    spec.dll = true;
    spec.resources = IconResources(groups);
    return MakePe(spec).bytes;
}

TEST(SystemResources, AnIconlessSystemLibraryIsReadFromItsModule) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, Bytes>> files;  // below the test's folder
        std::string opened;
        int count;
        std::string from;
    } cases[] = {
        {"system32", {{"Windows/System32/shell32.dll", Library(0)}, {"Windows/SystemResources/shell32.dll.mun", Library(3)}},
         "Windows/System32/shell32.dll", 3, "SystemResources/shell32.dll.mun"},
        {"names_in_any_case", {{"WINDOWS/system32/Shell32.DLL", Library(0)}, {"WINDOWS/systemresources/shell32.dll.MUN", Library(2)}},
         "WINDOWS/system32/Shell32.DLL", 2, "SystemResources/shell32.dll.MUN"},
        {"syswow64", {{"w/SysWOW64/a.dll", Library(0)}, {"w/SystemResources/a.dll.mun", Library(1)}}, "w/SysWOW64/a.dll", 1,
         "SystemResources/a.dll.mun"},
        {"own_icons_win", {{"w/System32/a.dll", Library(1)}, {"w/SystemResources/a.dll.mun", Library(4)}}, "w/System32/a.dll", 1, ""},
        {"elsewhere", {{"w/Other/a.dll", Library(0)}, {"w/SystemResources/a.dll.mun", Library(4)}}, "w/Other/a.dll", 0, ""},
        {"no_module", {{"w/System32/a.dll", Library(0)}, {"w/SystemResources/b.dll.mun", Library(4)}}, "w/System32/a.dll", 0, ""},
        {"not_a_library", {{"w/System32/a.dll", Bytes(64, 'x')}, {"w/SystemResources/a.dll.mun", Library(4)}}, "w/System32/a.dll", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const auto& [name, bytes] : c.files) {
            std::filesystem::create_directories(std::filesystem::path(dir.path() + "/" + name).parent_path());
            dir.file(name, bytes);
        }
        const std::string path = dir.path() + "/" + c.opened;
        const icons::IconFileAt file(path);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file.icons().count(), c.count);
        EXPECT_EQ(file.from(), c.from);
        EXPECT_EQ(icons::CountIconsInFile(path), c.count);
        EXPECT_EQ(icons::ExtractIconFromFile(path, 0).has_value(), c.count > 0);
    }
}

}  // namespace
}  // namespace icon_tests
