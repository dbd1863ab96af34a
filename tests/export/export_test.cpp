// The icon menu, copy and save, and the picture files the save writes, each
// read back by a decoder that is not ours.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/tessel_window.h"
#include "fake_services.h"
#include "icon_file_builders.h"
#include "icons/icons.h"
#include "platform/failure.h"
#include "icons/whole_icon.h"
#include "system/picture_files.h"
#include "system/system_services.h"
#include "qt/qt_desktop.h"

namespace {

using pixels::Argb;
using pixels::Bitmap;
using test_support::FakeScreen;
using test_support::TempFolder;

constexpr const char* kFilter = "GIF (*.gif)|*.gif|JPEG (*.jpeg)|*.jpeg|ICO (*.ico)|*.ico|BMP (*.bmp)|*.bmp|PNG (*.png)|*.png";

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

std::size_t DistinctColours(const Bitmap& b) {
    std::set<Argb> s;
    for (Argb c : b.pixels) s.insert(c & 0xFFFFFFu);
    return s.size();
}

// ---- the icons the cells show ----

// Four blocks of colour with a diagonal: few colours, sharp edges.
std::vector<std::uint32_t> Blocks(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    std::vector<std::uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            px[static_cast<std::size_t>(y) * 32 + x] = x == y ? 0x000000u : (y < 16 ? (x < 16 ? a : b) : (x < 16 ? c : d));
    return px;
}

// Every pixel a colour of its own: more than a GIF palette holds.
std::vector<std::uint32_t> Gradient() {
    std::vector<std::uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            px[static_cast<std::size_t>(y) * 32 + x] =
                (static_cast<std::uint32_t>(x * 8) << 16) | (static_cast<std::uint32_t>(y * 8) << 8) | 0x40u;
    return px;
}

icon_files::Bytes ThreeIconExe() {
    using namespace icon_files;
    const auto image = [](std::vector<std::uint32_t> px) {
        DibSpec d;
        d.bpp = 24;
        d.pixels = std::move(px);
        return MakeDib(d);
    };
    std::vector<IconGroupSpec> groups{
        {ResName{1, {}}, {GroupImage{1, 32, 32, 24, image(Blocks(0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00))}}},
        {ResName{2, {}}, {GroupImage{2, 32, 32, 24, image(Blocks(0x804020, 0x20A0C0, 0xC0C0C0, 0x602080))}}},
        {ResName{3, {}}, {GroupImage{3, 32, 32, 24, image(Gradient())}}},
    };
    PeSpec pe;
    pe.resources = IconResources(groups);
    return MakePe(pe).bytes;
}

// ---- independent decoders ----

struct Decoded {
    std::string format;  // "gif", "jpeg", "ico", "png", "bmp" as the decoder names it
    Bitmap image;
};

// Decides the format by content alone; the name the file carries does not count.
Decoded DecodeWithQt(const std::string& path) {
    const std::vector<char> bytes = ReadBytes(path);
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    Decoded out;
    out.format = reader.format().toStdString();
    const QImage img = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) return out;
    out.image = Bitmap(img.width(), img.height(), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) out.image.at(x, y) = img.pixel(x, y);
    return out;
}

Decoded DecodeGif(const std::string& path) {
    Decoded out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        const int w = frame.ImageDesc.Width, h = frame.ImageDesc.Height;
        if (map && frame.ImageDesc.Left == 0 && frame.ImageDesc.Top == 0 && !frame.ImageDesc.Interlace) {
            out.format = "gif";
            out.image = Bitmap(w, h, 0);
            for (int i = 0; i < w * h; ++i) {
                const int index = frame.RasterBits[i];
                const GifColorType c = index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
                out.image.pixels[static_cast<std::size_t>(i)] = pixels::MakeArgb(c.Red, c.Green, c.Blue);
            }
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

Decoded Decode(const std::string& path) {
    const std::vector<char> bytes = ReadBytes(path);
    if (bytes.size() >= 4 && std::string(bytes.begin(), bytes.begin() + 4) == "GIF8") return DecodeGif(path);
    return DecodeWithQt(path);
}

struct PixelError {
    int max = 0;
    double mean = 0;
};

PixelError Compare(const Bitmap& a, const Bitmap& b) {
    PixelError e;
    long total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const int d[3] = {std::abs(pixels::RedOf(a.pixels[i]) - pixels::RedOf(b.pixels[i])),
                          std::abs(pixels::GreenOf(a.pixels[i]) - pixels::GreenOf(b.pixels[i])),
                          std::abs(pixels::BlueOf(a.pixels[i]) - pixels::BlueOf(b.pixels[i]))};
        for (int v : d) {
            e.max = std::max(e.max, v);
            total += v;
        }
    }
    e.mean = a.pixels.empty() ? 0 : static_cast<double>(total) / (3.0 * static_cast<double>(a.pixels.size()));
    return e;
}

// ---- the window with three icons in its cells ----

// The system's test double, except that pictures are written for real.
class WritingSystem : public test_support::FakeSystem {
public:
    void SavePicture(const Bitmap& image, const std::string& path) override { platform::WritePictureFile(image, path, desktop_); }

private:
    platform_qt::QtDesktop desktop_;
};

class ExportTest : public ::testing::Test {
protected:
    // Tables of cases call it again for a fresh window over fresh services.
    void SetUp() override {
        w.reset();
        screen = std::make_unique<FakeScreen>();
        system = std::make_unique<WritingSystem>();
        icons.write("three.exe", ThreeIconExe());
        w = std::make_unique<app::TesselWindow>(*screen, *system);
        f().Me.Load.raise();
        f().Dir1.setPath(icons.path());
        ASSERT_EQ(f().File1.Count(), 1);
        f().File1.UserClickItem(1);
        ASSERT_EQ(f().IconCount, 3);
        ASSERT_EQ(f().SelectedIcon, 0);
        // What follows tells cells apart by their pictures.
        ASSERT_NE(Cell(0), Cell(1));
        ASSERT_NE(Cell(1), Cell(2));
        ASSERT_EQ(Cell(0).width, 32);
        ASSERT_EQ(Cell(0).height, 32);
    }

    main_window::frmMain& f() { return w->form; }
    Bitmap Cell(int i) { return f().picIcon(i).Image(); }
    void Select(int i) { f().picIcon(i).Click.raise(); }
    // Opens the icon menu and chooses `item` in it, if it opens.
    void ChooseOnRelease(int item) {
        screen->choose = [this, item](platform::Menu&) { return &f().mnuIcons(item); };
    }
    void Save(const std::string& path) {
        screen->saveAnswer = path;
        w->panel.mnuIcons_Click(1);
    }

    std::unique_ptr<FakeScreen> screen;
    std::unique_ptr<WritingSystem> system;
    TempFolder icons, out;
    std::unique_ptr<app::TesselWindow> w;
};

// ---- the menu ----

TEST_F(ExportTest, IconMenuOpensOnlyOnAPlainRightReleaseWhileACellIsSelected) {
    enum Where { kSelectedCell, kOtherCell, kCanvas };
    struct Case {
        const char* name;
        Where where;
        int button, shift;
        bool selection;
        bool opens;
    };
    using namespace platform::mouse;
    const Case cases[] = {
        {"right on the selected cell", kSelectedCell, kRight, 0, true, true},
        {"right on another cell", kOtherCell, kRight, 0, true, true},
        {"right on the canvas background", kCanvas, kRight, 0, true, true},
        {"right with Shift", kOtherCell, kRight, kShift, true, false},
        {"right with Ctrl", kOtherCell, kRight, kCtrl, true, false},
        {"right with Alt", kCanvas, kRight, kAlt, true, false},
        {"right with Shift and Ctrl", kSelectedCell, kRight, kShift | kCtrl, true, false},
        {"left", kSelectedCell, kLeft, 0, true, false},
        {"middle", kCanvas, kMiddle, 0, true, false},
        {"left and right together", kOtherCell, kLeft | kRight, 0, true, false},
        {"right on a cell with no selection", kOtherCell, kRight, 0, false, false},
        {"right on the canvas with no selection", kCanvas, kRight, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (!c.selection) w->panel.ClearIcons();
        else Select(1);
        const int before = f().SelectedIcon;
        screen->popups.clear();
        if (c.where == kCanvas) f().fraIcons.MouseUp.raise(c.button, c.shift, 700.0f, 2000.0f);
        else f().picIcon(c.where == kSelectedCell ? 1 : 2).MouseUp.raise(c.button, c.shift, 10.0f, 10.0f);
        if (c.opens) {
            ASSERT_EQ(screen->popups.size(), 1u);
            EXPECT_EQ(screen->popups[0], &f().mnuTop(1));
        } else {
            EXPECT_TRUE(screen->popups.empty());
        }
        // The release never selects what is under the pointer.
        EXPECT_EQ(f().SelectedIcon, before);
        EXPECT_EQ(screen->clipboardClears, 0);
        EXPECT_TRUE(screen->saveDialogs.empty());
    }
}

TEST_F(ExportTest, MenuCommandsActOnTheSelectedCellNotTheClickedOne) {
    struct Case {
        const char* name;
        int selected, clicked;
        bool onCanvas;
    };
    const Case cases[] = {
        {"cell 1 selected, cell 2 clicked", 1, 2, false},
        {"cell 2 selected, cell 0 clicked", 2, 0, false},
        {"cell 0 selected, canvas clicked", 0, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Select(c.selected);

        ChooseOnRelease(0);
        const auto release = [&] {
            if (c.onCanvas) f().fraIcons.MouseUp.raise(platform::mouse::kRight, 0, 600.0f, 1500.0f);
            else f().picIcon(c.clicked).MouseUp.raise(platform::mouse::kRight, 0, 5.0f, 5.0f);
        };
        release();
        ASSERT_TRUE(screen->clipboard.has_value());
        EXPECT_EQ(*screen->clipboard, Cell(c.selected));

        ChooseOnRelease(1);
        screen->saveAnswer = out.file(std::string("selected") + std::to_string(c.selected) + ".png");
        release();
        const Decoded d = Decode(*screen->saveAnswer);
        ASSERT_EQ(d.format, "png");
        EXPECT_EQ(Compare(d.image, Cell(c.selected)).max, 0);
        EXPECT_EQ(f().SelectedIcon, c.selected);
    }
}

// ---- copy ----

TEST_F(ExportTest, CopyEmptiesTheClipboardThenPutsExactlyTheCellImage) {
    screen->clipboard = Bitmap(64, 64, pixels::MakeArgb(1, 2, 3));
    Select(2);
    w->panel.mnuIcons_Click(0);
    EXPECT_EQ(screen->clipboardClears, 1);
    ASSERT_TRUE(screen->clipboard.has_value());
    EXPECT_EQ(screen->clipboard->width, 32);
    EXPECT_EQ(screen->clipboard->height, 32);
    EXPECT_EQ(*screen->clipboard, Cell(2));
}

TEST_F(ExportTest, CopyAndSaveDoNothingWithoutASelection) {
    struct Case {
        const char* name;
        std::int16_t command;
    };
    const Case cases[] = {{"copy", 0}, {"save", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        w->panel.ClearIcons();
        const Bitmap sentinel(8, 8, pixels::MakeArgb(9, 9, 9));
        screen->clipboard = sentinel;
        screen->saveAnswer = out.file("never.bmp");
        // As the shortcut would deliver it, with no menu open.
        w->panel.mnuIcons_Click(c.command);
        EXPECT_EQ(screen->clipboardClears, 0);
        ASSERT_TRUE(screen->clipboard.has_value());
        EXPECT_EQ(*screen->clipboard, sentinel);
        EXPECT_TRUE(screen->saveDialogs.empty());
        EXPECT_TRUE(screen->boxes.empty());
        EXPECT_TRUE(FolderEntries(out.path()).empty());
    }
}

// ---- the Save dialog ----

TEST_F(ExportTest, FirstSaveStartsInThePicturesFolderTheNextAtTheLastName) {
    system->appPath = "/opt/tessel icons";
    screen->picturesFolder = "/home/u/图片";
    const std::string first = out.file("first.gif");
    Save(first);
    Select(1);
    Save(out.file("second.bmp"));
    ASSERT_EQ(screen->saveDialogs.size(), 2u);
    EXPECT_EQ(screen->saveDialogs[0].fileName, "/home/u/图片");
    EXPECT_EQ(screen->saveDialogs[0].filter, kFilter);
    EXPECT_EQ(screen->saveDialogs[1].fileName, first);
    EXPECT_EQ(screen->saveDialogs[1].filter, kFilter);
    EXPECT_TRUE(screen->boxes.empty());
    EXPECT_EQ(Decode(first).format, "gif");
    EXPECT_EQ(Decode(out.file("second.bmp")).format, "bmp");
}

TEST_F(ExportTest, CancelEndsTheSaveSilently) {
    screen->saveAnswer = std::nullopt;
    w->panel.mnuIcons_Click(1);
    ASSERT_EQ(screen->saveDialogs.size(), 1u);
    EXPECT_TRUE(screen->boxes.empty());
    EXPECT_TRUE(FolderEntries(out.path()).empty());
    // Nothing was chosen, so the next save starts where this one did.
    w->panel.mnuIcons_Click(1);
    ASSERT_EQ(screen->saveDialogs.size(), 2u);
    EXPECT_EQ(screen->saveDialogs[1].fileName, screen->picturesFolder);
}

// ---- a file that cannot be written ----

// Files larger than the limit cannot be written, by root either.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

TEST_F(ExportTest, AnUnwritableNameShowsErrorOnceAndLeavesWhatWasThere) {
    struct Case {
        const char* name;
        std::string target;
        bool existingFile;  // a file of that name is there before
        bool limitSize;
        bool needsPermissions;  // root writes anyway
    };
    std::filesystem::create_directory(out.file("folder.bmp"));
    out.write("folder.bmp/inside.txt", std::string("kept"));
    std::filesystem::create_directory(out.file("locked"));
    const Case cases[] = {
        {"a folder that is missing", out.file("missing/icon.bmp"), false, false, false},
        {"a name that is a folder", out.file("folder.bmp"), false, false, false},
        {"an existing file, the disk refusing more bytes", out.file("old.ico"), true, true, false},
        {"an existing gif, the disk refusing more bytes", out.file("old.gif"), true, true, false},
        {"an existing file in a read-only folder", out.file("locked/old.bmp"), true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsPermissions && ::geteuid() == 0) continue;
        SetUp();
        const std::string oldContent = "the picture the user had before";
        if (c.existingFile) {
            std::ofstream(c.target, std::ios::binary) << oldContent;
        }
        const std::string folder = std::filesystem::path(c.target).parent_path().string();
        if (c.needsPermissions) ::chmod(folder.c_str(), 0555);
        std::vector<std::string> entriesBefore;
        if (std::filesystem::is_directory(folder)) entriesBefore = FolderEntries(folder);
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.limitSize) limit = std::make_unique<FileSizeLimit>(64);
            Save(c.target);
        }
        if (c.needsPermissions) ::chmod(folder.c_str(), 0755);

        ASSERT_EQ(screen->boxes.size(), 1u);
        EXPECT_EQ(screen->boxes[0].prompt, "错误");
        EXPECT_EQ(screen->boxes[0].style, 0);
        if (c.existingFile) {
            const std::vector<char> now = ReadBytes(c.target);
            EXPECT_EQ(std::string(now.begin(), now.end()), oldContent);
        }
        if (std::filesystem::is_directory(folder)) {
            // No half-written temporary left beside it either.
            EXPECT_EQ(FolderEntries(folder), entriesBefore);
        }
        // The dialog keeps the name for the next try.
        screen->saveAnswer = std::nullopt;
        w->panel.mnuIcons_Click(1);
        ASSERT_EQ(screen->saveDialogs.size(), 2u);
        EXPECT_EQ(screen->saveDialogs[1].fileName, c.target);
    }
    EXPECT_EQ(ReadBytes(out.file("folder.bmp/inside.txt")).size(), 4u);
}

TEST_F(ExportTest, ASaveOverAnExistingFileReplacesIt) {
    const std::string target = out.file("icon.bmp");
    std::ofstream(target, std::ios::binary) << "old";
    Save(target);
    EXPECT_TRUE(screen->boxes.empty());
    const Decoded d = Decode(target);
    EXPECT_EQ(d.format, "bmp");
    EXPECT_EQ(Compare(d.image, Cell(0)).max, 0);
    EXPECT_EQ(FolderEntries(out.path()), std::vector<std::string>{"icon.bmp"});
}

// ---- the formats ----

TEST_F(ExportTest, EachNameGetsTheFormatItAsksFor) {
    struct Case {
        const char* name;
        const char* file;
        int cell;
        const char* format;
        double meanError;  // per channel; 0: every pixel exact
    };
    const Case cases[] = {
        {"gif", "icon.gif", 0, "gif", 0},
        {"gif in capitals", "ICON.GIF", 1, "gif", 0},
        {"gif of more than 256 colours", "rich.gif", 2, "gif", 6},
        {"jpeg", "icon.jpeg", 0, "jpeg", 10},
        {"jpg", "icon.jpg", 2, "jpeg", 4},
        {"jpg in capitals", "ICON.JPG", 1, "jpeg", 10},
        {"ico", "icon.ico", 0, "ico", 0},
        {"ico in mixed case", "icon.Ico", 2, "ico", 0},
        {"png", "icon.png", 2, "png", 0},
        {"bmp", "icon.bmp", 1, "bmp", 0},
        {"an unknown ending", "icon.txt", 0, "bmp", 0},
        {"no ending", "icon", 2, "bmp", 0},
        {"gif before the last dot", "icon.gif.bmp", 0, "bmp", 0},
        {"gif after a bmp", "icon.bmp.gif", 1, "gif", 0},
        {"a bare ending", ".png", 1, "png", 0},
        {"a Chinese name with a blank", "图标 一.ICO", 1, "ico", 0},
    };
    ASSERT_LE(DistinctColours(Cell(0)), 256u);
    ASSERT_LE(DistinctColours(Cell(1)), 256u);
    ASSERT_GT(DistinctColours(Cell(2)), 256u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.cell);
        const std::string path = out.file(c.file);
        Save(path);
        EXPECT_TRUE(screen->boxes.empty());
        const Decoded d = Decode(path);
        EXPECT_EQ(d.format, c.format);
        ASSERT_EQ(d.image.width, 32);
        ASSERT_EQ(d.image.height, 32);
        const PixelError e = Compare(d.image, Cell(c.cell));
        if (c.meanError == 0) {
            EXPECT_EQ(e.max, 0);
        } else {
            EXPECT_LE(e.mean, c.meanError);
            // Lossy, but unmistakably the selected cell's picture.
            for (int other = 0; other < 3; ++other) {
                if (other == c.cell) continue;
                EXPECT_GT(Compare(d.image, Cell(other)).mean, 4 * e.mean) << "cell " << other;
            }
        }
        if (std::string(c.format) == "ico") {
            // Our own reader takes it as one icon of the cell's picture.
            EXPECT_EQ(icons::CountIconsInFile(path), 1);
            const auto icon = icons::ExtractIconFromFile(path, 0);
            ASSERT_TRUE(icon.has_value());
            Bitmap drawn(32, 32, pixels::MakeArgb(0x12, 0x34, 0x56));
            icons::DrawIcon(drawn, 0, 0, *icon);
            EXPECT_EQ(Compare(drawn, Cell(c.cell)).max, 0);
        }
    }
}

// A picture of a few colours keeps each of them exactly, with a palette no
// larger than a power of two above their count.
TEST(PictureFiles, GifKeepsEveryColourOfASmallPalette) {
    struct Case {
        const char* name;
        int colours;
    };
    const Case cases[] = {{"one colour", 1}, {"two", 2}, {"three", 3}, {"129", 129}, {"256, the most", 256}};
    TempFolder out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap b(32, 32, 0);
        for (std::size_t i = 0; i < b.pixels.size(); ++i) {
            const int k = static_cast<int>(i) % c.colours;
            b.pixels[i] = pixels::MakeArgb(k, 255 - k, (k * 37) & 0xFF);
        }
        const std::string path = out.file(std::string("p") + std::to_string(c.colours) + ".gif");
        platform_qt::QtDesktop desktop;
        platform::WritePictureFile(b, path, desktop);
        const Decoded d = DecodeGif(path);
        ASSERT_EQ(d.format, "gif");
        EXPECT_EQ(Compare(d.image, b).max, 0);
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        ASSERT_NE(gif, nullptr);
        int mapSize = gif->SColorMap ? gif->SColorMap->ColorCount : 0;
        DGifCloseFile(gif, &error);
        EXPECT_GE(mapSize, std::max(2, c.colours));
        EXPECT_LT(mapSize, std::max(4, 2 * c.colours));
    }
}

}  // namespace

// The system writes a whole icon as the name asks, read back by Qt's own
// decoder for the .png, and whole or not at all.
TEST(WholeIconFiles, WrittenAsTheNameAsksWholeOrNotAtAll) {
    TempFolder in, out;
    icon_files::PeSpec pe;
    pe.resources = icon_files::IconResources(
        {{icon_files::ResName{1, {}},
          {{1, 16, 16, 4, icon_files::MakeDib(icon_files::SolidDib(16, 16, 4, pixels::MakeArgb(255, 0, 0)))},
           {2, 48, 48, 32, icon_files::MakeDib(icon_files::SolidDib(48, 48, 32, pixels::MakeArgb(0, 0, 255, 200)))}}}});
    in.write("lib.dll", icon_files::MakePe(pe).bytes);
    const icons::FileSource source(in.file("lib.dll"));
    const auto ico = icons::IconFileBytes(source, 0);
    ASSERT_TRUE(ico.has_value());
    const std::string old = "the file the user had";
    out.write("old.ico", old);
    struct Case {
        const char* name;
        std::string target;
        bool fits;
        bool png;
    } cases[] = {
        {"ico", out.file("whole.ico"), true, false},
        {"any_other_ending_is_ico", out.file("whole.bin"), true, false},
        {"png_whatever_the_case", out.file("large.PNG"), true, true},
        {"missing_folder", out.file("missing/whole.ico"), false, false},
        {"disk_refuses_over_an_existing_file", out.file("old.ico"), false, false},
    };
    platform_qt::QtDesktop desktop;
    platform::SystemServices system{desktop};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fits) {
            system.SaveWholeIcon(in.file("lib.dll"), 0, c.target);
        } else {
            FileSizeLimit limit(64);
            EXPECT_THROW(system.SaveWholeIcon(in.file("lib.dll"), 0, c.target), platform::Failure);
            continue;
        }
        const std::vector<char> bytes = ReadBytes(c.target);
        if (!c.png) {
            EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), *ico);
            continue;
        }
        // The largest image, at its own size, with its alpha.
        const QImage image = QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "PNG");
        ASSERT_EQ(image.width(), 48);
        EXPECT_EQ(image.pixel(5, 5), qRgba(0, 0, 255, 200));
    }
    EXPECT_EQ(std::string(ReadBytes(out.file("old.ico")).data(), old.size()), old);
    EXPECT_EQ(ReadBytes(out.file("old.ico")).size(), old.size());
    EXPECT_THROW(system.SaveWholeIcon(in.file("missing.dll"), 0, out.file("x.ico")), platform::Failure);
}

// The file a load keeps open is read as it is now when the next load starts or an icon comes out of turn.
TEST(SystemIconFiles, AFileRewrittenBetweenLoadsIsReadAfresh) {
    TempFolder in;
    const auto library = [](pixels::Argb colour, std::uint16_t icons) {
        std::vector<icon_files::IconGroupSpec> groups;
        for (std::uint16_t g = 1; g <= icons; ++g)
            groups.push_back({icon_files::ResName{g, {}},
                              {{g, 32, 32, 24, icon_files::MakeDib(icon_files::SolidDib(32, 32, 24, colour))}}});
        icon_files::PeSpec pe;
        pe.resources = icon_files::IconResources(groups);
        return icon_files::MakePe(pe).bytes;
    };
    const pixels::Argb red = pixels::MakeArgb(255, 0, 0), blue = pixels::MakeArgb(0, 0, 255);
    const std::string path = in.file("lib.dll");
    struct Step {
        const char* name;
        std::uint16_t rewriteWith;  // the file is first rewritten with this many icons of the expected colour; 0: not
        int index;
        pixels::Argb expected;
    } steps[] = {
        {"first_load", 0, 0, red},
        {"its_next_icon", 0, 1, red},
        {"a_new_load_after_a_rewrite", 3, 0, blue},
        {"next_icon_of_the_new_file", 0, 1, blue},
        {"an_icon_out_of_turn_after_a_rewrite", 2, 1, red},
    };
    in.write("lib.dll", library(red, 2));
    platform_qt::QtDesktop desktop;
    platform::SystemServices system{desktop};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.rewriteWith != 0) in.write("lib.dll", library(s.expected, s.rewriteWith));
        const auto icon = system.ExtractIcon(path, s.index, icons::kStandardIconSize);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->color[100] & 0xFFFFFFu, s.expected & 0xFFFFFFu);
    }
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
