#pragma once
// A report-view list of rows with two or more columns, kept sorted by the text
// of column SortKey in direction SortOrder. ListItems(i) is the row at
// one-based display position i.

#include <memory>
#include <string>
#include <vector>

#include "../event.h"
#include "control.h"

namespace platform {

class ListView;

class ListItem {
public:
    const std::string& Text() const { return text_; }
    void setText(std::string t);
    // SubItems(1) is the second column; a missing sub-item reads empty.
    const std::string& SubItem(int i) const;
    void setSubItem(int i, std::string t);
    // The row's one-based display position.
    int Index() const { return position_ + 1; }

private:
    friend class ListView;
    ListItem(ListView* owner, std::string text) : owner_(owner), text_(std::move(text)) {}
    ListView* owner_;
    std::string text_;
    std::vector<std::string> subItems_;  // [0] is SubItems(1)
    int position_ = 0;
    std::uint64_t serial_ = 0;  // insertion order, which breaks ties between equal texts
};

struct ColumnHeader {
    std::string text;
    Twips width = 0;
};

class ListView : public Control {
public:
    using Control::Control;

    // Rows
    ListItem& Add(std::string text);
    void Clear();
    int Count() const { return static_cast<int>(rows_.size()); }
    ListItem& Item(int displayPosition);  // one-based; a missing row fails
    const ListItem& Item(int displayPosition) const;

    // Columns, one-based like the rows
    void AddColumn(std::string text, Twips width) { columns_.push_back({std::move(text), width}); changed(); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& ColumnText(int n) const { return column(n).text; }
    void setColumnText(int n, std::string text) {
        column(n).text = std::move(text);
        changed();
    }
    Twips ColumnWidth(int n) const { return column(n).width; }

    int SortKey() const { return sortKey_; }
    int SortOrder() const { return sortOrder_; }
    void setSortKey(int k);
    void setSortOrder(int o);
    bool Sorted() const { return sorted_; }
    void setSorted(bool s);

    // The row shown selected: the one last clicked, or one the window chose;
    // nullptr for none.
    ListItem* SelectedItem() const { return selected_; }
    void setSelectedItem(ListItem& item) {
        selected_ = &item;
        changed();
    }

    // From the view
    void UserClickItem(int displayPosition) {
        ListItem& item = Item(displayPosition);
        selected_ = &item;
        ItemClick.raise(item);
    }
    void UserClickColumn(int n) { ColumnClick.raise(n); }

    Event<ListItem&> ItemClick;
    Event<int> ColumnClick;  // one-based header index

private:
    friend class ListItem;
    ColumnHeader& column(int n);
    const ColumnHeader& column(int n) const;
    bool before(const ListItem& a, const ListItem& b) const;
    void resort();
    void place(std::size_t at);
    void renumber(std::size_t from);

    std::vector<std::unique_ptr<ListItem>> rows_;  // in display order
    ListItem* selected_ = nullptr;
    std::vector<ColumnHeader> columns_;
    int sortKey_ = 0, sortOrder_ = 0;
    bool sorted_ = true;
    std::uint64_t nextSerial_ = 0;
};

}  // namespace platform
