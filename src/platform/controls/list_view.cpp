#include "list_view.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
const std::string kEmpty;

// Texts compare as text, letter case aside, the way a file list sorts names;
// "12" therefore comes before "3".
int CompareText(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
}  // namespace

void ListItem::setText(std::string t) {
    text_ = std::move(t);
    if (owner_) owner_->place(static_cast<std::size_t>(position_));
}

const std::string& ListItem::SubItem(int i) const {
    if (i < 1) throw Failure("invalid property value");
    const auto k = static_cast<std::size_t>(i - 1);
    return k < subItems_.size() ? subItems_[k] : kEmpty;
}

void ListItem::setSubItem(int i, std::string t) {
    if (i < 1 || (owner_ && i >= std::max(owner_->ColumnCount(), 2))) throw Failure("invalid property value");
    const auto k = static_cast<std::size_t>(i - 1);
    if (subItems_.size() <= k) subItems_.resize(k + 1);
    subItems_[k] = std::move(t);
    if (owner_) owner_->place(static_cast<std::size_t>(position_));
}

ListItem& ListView::Add(std::string text) {
    std::unique_ptr<ListItem> item(new ListItem(this, std::move(text)));
    item->serial_ = nextSerial_++;
    rows_.push_back(std::move(item));
    rows_.back()->position_ = static_cast<int>(rows_.size() - 1);
    ListItem& added = *rows_.back();
    place(rows_.size() - 1);
    return added;
}

void ListView::Clear() {
    rows_.clear();
    selected_ = nullptr;
    changed();
}

ListItem& ListView::Item(int displayPosition) {
    if (displayPosition < 1 || displayPosition > Count()) throw Failure("index out of bounds");
    return *rows_[static_cast<std::size_t>(displayPosition - 1)];
}

const ListItem& ListView::Item(int displayPosition) const {
    return const_cast<ListView*>(this)->Item(displayPosition);
}

ColumnHeader& ListView::column(int n) {
    if (n < 1 || n > ColumnCount()) throw Failure("index out of bounds");
    return columns_[static_cast<std::size_t>(n - 1)];
}
const ColumnHeader& ListView::column(int n) const { return const_cast<ListView*>(this)->column(n); }

void ListView::setSortKey(int k) {
    if (k < 0 || k >= std::max(ColumnCount(), 1)) throw Failure("invalid property value");
    sortKey_ = k;
    resort();
}

void ListView::setSortOrder(int o) {
    if (o != 0 && o != 1) throw Failure("invalid property value");
    sortOrder_ = o;
    resort();
}

void ListView::setSorted(bool s) {
    sorted_ = s;
    resort();
}

bool ListView::before(const ListItem& a, const ListItem& b) const {
    const std::string& ta = sortKey_ == 0 ? a.text_ : a.SubItem(sortKey_);
    const std::string& tb = sortKey_ == 0 ? b.text_ : b.SubItem(sortKey_);
    const int c = CompareText(ta, tb);
    if (c != 0) return sortOrder_ == 0 ? c < 0 : c > 0;
    return a.serial_ < b.serial_;
}

void ListView::resort() {
    if (sorted_)
        std::stable_sort(rows_.begin(), rows_.end(),
                         [this](const auto& a, const auto& b) { return before(*a, *b); });
    renumber(0);
    changed();
}

// Moves the row at `at`, whose text just changed, to where the order wants it.
void ListView::place(std::size_t at) {
    if (sorted_ && rows_.size() > 1) {
        std::unique_ptr<ListItem> row = std::move(rows_[at]);
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
        auto pos = std::upper_bound(rows_.begin(), rows_.end(), row,
                                    [this](const auto& a, const auto& b) { return before(*a, *b); });
        const std::size_t to = static_cast<std::size_t>(pos - rows_.begin());
        rows_.insert(pos, std::move(row));
        renumber(std::min(at, to));
    }
    changed();
}

void ListView::renumber(std::size_t from) {
    for (std::size_t i = from; i < rows_.size(); ++i) rows_[i]->position_ = static_cast<int>(i);
}

}  // namespace platform
