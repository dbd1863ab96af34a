// The file list: rows kept in order of the sort column's text, and display
// positions that follow every re-sort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/list_view.h"

namespace {

using platform::Failure;
using platform::ListItem;
using platform::ListView;

struct Row {
    std::string name, count;
};

void MakeColumns(ListView& lv) {
    lv.AddColumn("文件名称 (0)", 1900);
    lv.AddColumn("0", 1500);
}

// Rows as the scan adds them: the row first, its count right after.
void AddRows(ListView& lv, const std::vector<Row>& rows) {
    for (const Row& r : rows) lv.Add(r.name).setSubItem(1, r.count);
}

std::vector<std::string> Names(const ListView& lv) {
    std::vector<std::string> out;
    for (int i = 1; i <= lv.Count(); ++i) out.push_back(lv.Item(i).Text());
    return out;
}

std::vector<std::string> Counts(const ListView& lv) {
    std::vector<std::string> out;
    for (int i = 1; i <= lv.Count(); ++i) out.push_back(lv.Item(i).SubItem(1));
    return out;
}

// Item(i) is the row at display position i, and each row knows its position.
void ExpectPositionsAgree(const ListView& lv) {
    for (int i = 1; i <= lv.Count(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        EXPECT_EQ(lv.Item(i).Index(), i);
    }
}

const std::vector<Row> kRows = {{"c.exe", "3"}, {"a.dll", "30"}, {"d.ico", "1"}, {"b.cur", "12"}};

struct SortCase {
    const char* name;
    int key, order;
    std::vector<std::string> names;  // in display order
};

TEST(ListView, KeepsRowsInOrderOfTheSortColumnComparedAsText) {
    const SortCase cases[] = {
        {"names_ascending", 0, 0, {"a.dll", "b.cur", "c.exe", "d.ico"}},
        {"names_descending", 0, 1, {"d.ico", "c.exe", "b.cur", "a.dll"}},
        // Counts sort as text: 1, 12, 3, 30.
        {"counts_ascending", 1, 0, {"d.ico", "b.cur", "c.exe", "a.dll"}},
        {"counts_descending", 1, 1, {"a.dll", "c.exe", "b.cur", "d.ico"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Order set before the rows arrive...
        ListView before("File1", nullptr);
        MakeColumns(before);
        before.setSortKey(c.key);
        before.setSortOrder(c.order);
        AddRows(before, kRows);
        EXPECT_EQ(Names(before), c.names);
        ExpectPositionsAgree(before);
        // ...and after.
        ListView after("File1", nullptr);
        MakeColumns(after);
        AddRows(after, kRows);
        after.setSortKey(c.key);
        after.setSortOrder(c.order);
        EXPECT_EQ(Names(after), c.names);
        ExpectPositionsAgree(after);
    }
}

TEST(ListView, CountsAreComparedAsText) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    lv.setSortKey(1);
    AddRows(lv, {{"w", "3"}, {"x", "30"}, {"y", "1"}, {"z", "12"}});
    EXPECT_EQ(Counts(lv), (std::vector<std::string>{"1", "12", "3", "30"}));
    lv.setSortOrder(1);
    EXPECT_EQ(Counts(lv), (std::vector<std::string>{"30", "3", "12", "1"}));
}

TEST(ListView, NamesCompareWithoutRegardToCase) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    AddRows(lv, {{"Zeta.EXE", "1"}, {"alpha.dll", "1"}, {"Beta.ico", "1"}, {"beta2.ico", "1"}, {"1.cur", "1"}});
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"1.cur", "alpha.dll", "Beta.ico", "beta2.ico", "Zeta.EXE"}));
    lv.setSortOrder(1);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"Zeta.EXE", "beta2.ico", "Beta.ico", "alpha.dll", "1.cur"}));
}

TEST(ListView, EqualTextsKeepTheOrderTheyWereAddedIn) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    lv.setSortKey(1);
    AddRows(lv, {{"q.exe", "2"}, {"b.exe", "1"}, {"p.exe", "2"}, {"a.exe", "2"}, {"Q.EXE", "1"}});
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"b.exe", "Q.EXE", "q.exe", "p.exe", "a.exe"}));
    // Sorting by name and back again does not reorder the ties.
    lv.setSortKey(0);
    lv.setSortKey(1);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"b.exe", "Q.EXE", "q.exe", "p.exe", "a.exe"}));
    lv.setSortKey(0);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"a.exe", "b.exe", "p.exe", "q.exe", "Q.EXE"}));
}

TEST(ListView, IndexFollowsTheRowThroughEveryResort) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    AddRows(lv, kRows);
    std::vector<ListItem*> rows;
    for (int i = 1; i <= lv.Count(); ++i) rows.push_back(&lv.Item(i));
    const struct {
        const char* name;
        int key, order;
    } steps[] = {{"by_count", 1, 0}, {"by_count_descending", 1, 1}, {"by_name_descending", 0, 1}, {"by_name", 0, 0}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        lv.setSortKey(s.key);
        lv.setSortOrder(s.order);
        for (ListItem* r : rows) EXPECT_EQ(&lv.Item(r->Index()), r);
        ExpectPositionsAgree(lv);
    }
}

TEST(ListView, ASubItemSetAfterAddPlacesTheRowAgain) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    lv.setSortKey(1);
    // Without a count a row sorts first, on an empty text.
    ListItem& late = lv.Add("late.exe");
    AddRows(lv, {{"a.exe", "2"}, {"b.exe", "5"}});
    EXPECT_EQ(late.Index(), 1);
    late.setSubItem(1, "4");
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"a.exe", "late.exe", "b.exe"}));
    EXPECT_EQ(late.Index(), 2);
    late.setSubItem(1, "9");
    EXPECT_EQ(late.Index(), 3);
    ExpectPositionsAgree(lv);
    // A new text moves a row too, when the list is ordered by name.
    lv.setSortKey(0);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"a.exe", "b.exe", "late.exe"}));
    late.setText("0.exe");
    EXPECT_EQ(late.Index(), 1);
    ExpectPositionsAgree(lv);
}

TEST(ListView, DisplayPositionsOutsideTheRowsFail) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    EXPECT_THROW(lv.Item(1), Failure);
    AddRows(lv, kRows);
    const struct {
        const char* name;
        int i;
        bool ok;
    } cases[] = {{"zero", 0, false}, {"first", 1, true}, {"last", 4, true}, {"count_plus_one", 5, false}, {"negative", -1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.ok)
            EXPECT_EQ(lv.Item(c.i).Index(), c.i);
        else
            EXPECT_THROW(lv.Item(c.i), Failure);
    }
}

TEST(ListView, ClearRemovesEveryRow) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    lv.setSortKey(1);
    lv.setSortOrder(1);
    AddRows(lv, kRows);
    lv.Clear();
    EXPECT_EQ(lv.Count(), 0);
    EXPECT_THROW(lv.Item(1), Failure);
    // The order outlives the rows.
    AddRows(lv, {{"x", "3"}, {"y", "30"}});
    EXPECT_EQ(lv.Count(), 2);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"y", "x"}));
    ExpectPositionsAgree(lv);
}

TEST(ListView, ItemClickHandsOverTheRowAtThatPosition) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    AddRows(lv, kRows);
    lv.setSortKey(1);
    std::vector<std::string> clicked;
    lv.ItemClick.connect([&](ListItem& r) { clicked.push_back(r.Text()); });
    std::vector<int> headers;
    lv.ColumnClick.connect([&](int n) { headers.push_back(n); });
    lv.UserClickItem(1);
    lv.UserClickItem(4);
    lv.UserClickColumn(2);
    EXPECT_EQ(clicked, (std::vector<std::string>{"d.ico", "a.dll"}));
    EXPECT_EQ(headers, (std::vector<int>{2}));
    EXPECT_THROW(lv.UserClickItem(5), Failure);
}

TEST(ListView, SortKeyAndOrderRefuseWhatTheListDoesNotHave) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    AddRows(lv, kRows);
    EXPECT_THROW(lv.setSortKey(2), Failure);
    EXPECT_THROW(lv.setSortKey(-1), Failure);
    EXPECT_THROW(lv.setSortOrder(2), Failure);
    EXPECT_EQ(lv.SortKey(), 0);
    EXPECT_EQ(lv.SortOrder(), 0);
    EXPECT_EQ(Names(lv), (std::vector<std::string>{"a.dll", "b.cur", "c.exe", "d.ico"}));
}

TEST(ListView, ColumnHeadersAreOneBased) {
    ListView lv("File1", nullptr);
    MakeColumns(lv);
    EXPECT_EQ(lv.ColumnText(1), "文件名称 (0)");
    EXPECT_EQ(lv.ColumnText(2), "0");
    lv.setColumnText(1, "文件名称 (4)");
    EXPECT_EQ(lv.ColumnText(1), "文件名称 (4)");
    EXPECT_THROW(lv.ColumnText(0), Failure);
    EXPECT_THROW(lv.ColumnText(3), Failure);
}

}  // namespace
