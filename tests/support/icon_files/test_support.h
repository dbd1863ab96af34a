#pragma once
// Shared by the icon reader's tests: sources over builder output and pixel helpers.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "icon_file_builders.h"
#include "icons/icons.h"

namespace icon_tests {

using icon_files::Bytes;
using pixels::Argb;
using pixels::MakeArgb;

inline icons::MemorySource Source(const Bytes& b) { return icons::MemorySource(b.data(), b.size()); }

inline int CountOf(const Bytes& b) { return icons::CountIcons(Source(b)); }
inline std::optional<icons::Icon> IconOf(const Bytes& b, int index = 0) {
    return icons::ExtractIcon(Source(b), index);
}

// The icon drawn on a plain background, as a cell shows it.
inline pixels::Bitmap Drawn(const icons::Icon& icon, Argb background) {
    pixels::Bitmap cell(32, 32, background);
    icons::DrawIcon(cell, 0, 0, icon);
    return cell;
}

// A folder of its own for a test, removed afterwards.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/tessel-icons-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    // Writes `content` to a file of that name in the folder and returns its path.
    std::string file(const std::string& name, const Bytes& content) const {
        const std::string p = path_ + "/" + name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                                 static_cast<std::streamsize>(content.size()));
        return p;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace icon_tests
