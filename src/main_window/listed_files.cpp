#include "listed_files.h"

#include "platform/failure.h"

namespace main_window {

platform::ListItem& ListedFiles::Add(ListedFile file) {
    platform::ListItem& row = list_.Add(file.name);
    row.setSubItem(1, std::to_string(file.icons));
    files_[&row] = std::move(file);
    return row;
}

void ListedFiles::Clear() {
    list_.Clear();
    files_.clear();
}

const ListedFile& ListedFiles::At(int position) const {
    const auto it = files_.find(&list_.Item(position));
    if (it == files_.end()) throw platform::Failure("no file behind the row");
    return it->second;
}

}  // namespace main_window
