#pragma once
// The files behind the rows of the file list. The scan finds each file's path
// and icon count once; the list shows its name and the count as text, and
// whoever needs the file itself (the panel, show-all, a file opened from
// outside) takes it from here rather than joining the folder and parsing the
// row's text again. Entries belong to rows, not to positions, so the list can
// sort its rows as it likes.

#include <string>
#include <unordered_map>

#include "platform/controls/list_view.h"

namespace main_window {

struct ListedFile {
    // The folder shown, one separator and the name: at the root the separator
    // is doubled, which the system reads as one.
    std::string path;
    // The row's text: the file's name, after the subfolders below the shown folder.
    std::string name;
    int icons = 0;
    bool operator==(const ListedFile&) const = default;
};

class ListedFiles {
public:
    explicit ListedFiles(platform::ListView& list) : list_(list) {}

    // A row for the file: its name, and its count as decimal text.
    platform::ListItem& Add(ListedFile file);
    // Empties the list with its files; rows go only this way.
    void Clear();
    // The file of the row at one-based display position `position`; fails as
    // the list does for a missing row, and for a row this did not add.
    const ListedFile& At(int position) const;

private:
    platform::ListView& list_;
    std::unordered_map<const platform::ListItem*, ListedFile> files_;
};

}  // namespace main_window
