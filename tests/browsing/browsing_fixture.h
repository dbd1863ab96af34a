#pragma once
#include <cstdio>
// The window's logic over real temporary folders: fixture files written by
// the icon file builders, services that read them for real and yield to what
// a test queued.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/tessel_window.h"
#include "fake_services.h"
#include "icon_file_builders.h"

namespace browsing_tests {

using icon_files::Bytes;
using pixels::Argb;

// A distinct colour for icon `index` of file number `file`.
inline Argb IconColour(int file, int index) { return pixels::MakeArgb(40 * file + 20, 10 * index + 5, 200 - 3 * index); }

// A PE whose icon groups, one image each, are solid in the given colours.
Bytes PeWithIcons(const std::vector<Argb>& colours, bool dll = false);
// A PE with `groups` icon groups, file number `file` in IconColour.
Bytes PeWithIcons(int file, int groups);
// A PE without a resource section.
Bytes PeWithoutIcons();
// A library whose one group is a cursor: counted only when cursors are.
Bytes PeWithCursorsOnly(int file);
// An .ico (type 1) or .cur (type 2) of one solid image per colour.
Bytes IconFile(const std::vector<Argb>& colours, std::uint16_t type = 1);

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct FixtureFile {
    std::string name;
    Bytes bytes;
};

// Row text and count text, in display order.
using Rows = std::vector<std::pair<std::string, std::string>>;

// The real enumeration, except for folders a test lists itself (the root,
// which a test cannot fill). Records every scan's start.
class ListingSystem : public test_support::FakeSystem {
public:
    std::map<std::string, std::vector<std::string>> listings;
    std::vector<std::string> scans;  // the folder given to each Dir(folder)

    std::string Dir(const std::string& folder) override {
        scans.push_back(folder);
        const auto it = listings.find(folder);
        if (it == listings.end()) {
            listed_ = nullptr;
            return FakeSystem::Dir(folder);
        }
        listed_ = &it->second;
        next_ = 0;
        return Dir();
    }
    std::string Dir() override {
        if (!listed_) return FakeSystem::Dir();
        return next_ < listed_->size() ? (*listed_)[next_++] : "";
    }

private:
    const std::vector<std::string>* listed_ = nullptr;
    std::size_t next_ = 0;
};

class BrowsingTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<app::TesselWindow>(screen, sys);
        // Start-up sizes the cells and leaves the status bar empty and the bar hidden.
        f().Form_Load();
        screen.yields = 0;
    }

    main_window::frmMain& f() { return window->form; }
    icon_panel::IconPanel& panel() { return window->panel; }
    browsing::Browsing& browsing() { return window->browsing; }

    // A new temporary folder holding `files`; it lives as long as the test.
    const test_support::TempFolder& Folder(const std::vector<FixtureFile>& files);

    // Moves the folder view, which scans the folder.
    void Open(const std::string& folder) { f().Dir1.setPath(folder); }
    // Rows "r00001.exe" .. of one icon each, more than a 16-bit position holds
    // when n passes 32767; no files behind them.
    void AddRows(int n) {
        char name[32];
        for (int i = 1; i <= n; ++i) {
            std::snprintf(name, sizeof name, "r%05d.exe", i);
            f().listedFiles.Add({f().Dir1.Path() + "/" + name, name, 1});
        }
    }

    Rows DisplayedRows();
    std::vector<std::string> DisplayedNames();
    // The colour at the middle of each of the first `n` cells, without alpha.
    std::vector<Argb> CellColours(int n);
    // What a completed scan leaves, checked together.
    void ExpectCompletedScan(const Rows& rows, int total);

    // Records every icon count asked for, answering from the real file
    // unless `override` gives a count for it.
    void RecordCounts(std::function<std::optional<int>(const std::string&)> override = {});
    std::vector<std::string> counted;

    test_support::FakeScreen screen;
    ListingSystem sys;
    std::unique_ptr<app::TesselWindow> window;
    std::vector<std::unique_ptr<test_support::TempFolder>> folders;
};

}  // namespace browsing_tests
