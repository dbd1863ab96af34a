// tessel-thumbnailer: the image it draws, how it fits it, and the program run as a file manager runs it.
#include <algorithm>
#include <array>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/thumbnail.h"
#include "test_support.h"

namespace icon_tests {
namespace {

TEST(Thumbnail, ScalesDownKeepingAspectAndTransparency) {
    std::vector<Argb> pixels(64 * 32);  // left half transparent, right half opaque blue
    for (int i = 0; i < 64 * 32; ++i) pixels[i] = i % 64 < 32 ? 0 : MakeArgb(0, 0, 255);
    const Bytes file = icon_files::MakeIco({{64, 32, 0, 1, 32, icon_files::MakePng(64, 32, pixels)}});
    const cli::Thumbnail t = cli::MakeThumbnail(Source(file), 16);
    ASSERT_TRUE(t.image && t.image->width == 16 && t.image->height == 8);
    EXPECT_EQ(t.image->pixels[4 * 16 + 2], 0u);
    EXPECT_EQ(t.image->pixels[4 * 16 + 13], MakeArgb(0, 0, 255));
}

// Each run as GNOME does (an output not there yet) and as tumbler does (it makes the output, reads it back).
TEST(Thumbnailer, WritesAPngOrNothingAndSaysWhyInOneLine) {
    const std::string fx = std::string(TESSEL_ICON_FIXTURES) + "/";
    // An icon-less system library, whose icons the confined reader takes from its module.
    TempDir windows;
    std::filesystem::create_directories(windows.path() + "/System32");
    std::filesystem::create_directories(windows.path() + "/SystemResources");
    std::filesystem::copy_file(fx + "plain64.exe", windows.path() + "/System32/lib.dll");
    std::filesystem::copy_file(fx + "app64.exe", windows.path() + "/SystemResources/lib.dll.mun");
    const struct { std::string args; int status, side; } runs[] = {  // side 0: no PNG may be left
        {"-s 16 " + fx + "mixed.ico", 0, 16}, {"-s 256 " + fx + "app64.exe", 0, 32}, {"-s 48 " + fx + "plain64.exe", 1, 0},
        {"-s 48 " + fx + "none.exe", 1, 0},   {fx + "app64.exe", 2, 0},
        {"-s 256 " + windows.path() + "/System32/lib.dll", 0, 32}};
    for (const auto& r : runs) {
        for (const bool callerMadeIt : {false, true}) {
            SCOPED_TRACE(r.args + (callerMadeIt ? ", output made by the caller" : ""));
            TempDir dir;
            const std::string out = dir.path() + "/t.png";
            const int kept = callerMadeIt ? open(out.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600) : -1;
            ASSERT_EQ(kept >= 0, callerMadeIt);
            const int raw = std::system((TESSEL_THUMBNAILER " " + r.args + " " + out + " 2>" + dir.path() + "/e").c_str());
            EXPECT_EQ(WEXITSTATUS(raw), r.status);
            std::ifstream err(dir.path() + "/e");
            EXPECT_EQ(std::count(std::istreambuf_iterator<char>(err), {}, '\n'), r.status ? 1 : 0);
            const int fd = callerMadeIt ? kept : open(out.c_str(), O_RDONLY);
            unsigned char h[24] = {};  // IHDR: the width, big-endian, at byte 16; every fixture is square
            const ssize_t got = fd >= 0 ? pread(fd, h, sizeof h, 0) : -1;
            EXPECT_EQ(got == 24 && h[1] == 'P' ? h[18] << 8 | h[19] : 0, r.side);
            EXPECT_EQ(got, r.side ? 24 : callerMadeIt ? 0 : -1) << "a failed run leaves the caller's file empty";
            close(fd);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), r.side || callerMadeIt ? 2 : 1);
        }
    }
}

}  // namespace
}  // namespace icon_tests
