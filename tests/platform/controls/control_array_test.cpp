// Control arrays: elements made from the template, lookups and limits.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/controls/control_array.h"
#include "platform/controls/picture_box.h"

namespace {

using platform::ControlArray;
using platform::Failure;
using platform::PictureBox;

ControlArray<PictureBox> MakeCells() {
    auto tmpl = std::make_unique<PictureBox>("picIcon", nullptr, platform::ScreenScale{});
    tmpl->Move(240, 240, 480, 480);
    return ControlArray<PictureBox>(std::move(tmpl), [](const PictureBox& t, int) {
        auto e = std::make_unique<PictureBox>("picIcon", nullptr, t.Scale());
        e->Move(t.Left(), t.Top(), t.Width(), t.Height());
        e->setVisible(false);
        return e;
    });
}

TEST(ControlArray, LoadUnloadAndCount) {
    ControlArray<PictureBox> cells = MakeCells();
    std::vector<int> loaded, unloading;
    cells.loaded = [&](PictureBox& e) { loaded.push_back(e.Index()); };
    cells.unloading = [&](PictureBox& e) { unloading.push_back(e.Index()); };

    EXPECT_EQ(cells.Count(), 1);
    EXPECT_EQ(cells(0).Index(), 0);
    for (int i = 1; i <= 4; ++i) cells.Load(i);
    EXPECT_EQ(cells.Count(), 5);
    EXPECT_EQ(loaded, (std::vector<int>{1, 2, 3, 4}));
    for (int i = 0; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cells(i).Index(), i);
    }
    EXPECT_NE(&cells(1), &cells(2));

    cells.Unload(4);
    cells.Unload(2);
    EXPECT_EQ(unloading, (std::vector<int>{4, 2}));
    EXPECT_EQ(cells.Count(), 3);
    EXPECT_TRUE(cells.Exists(3));
    EXPECT_FALSE(cells.Exists(2));
    EXPECT_THROW(cells(2), Failure);
    EXPECT_THROW(cells(4), Failure);

    // An unloaded index can be loaded again.
    cells.Load(2);
    EXPECT_EQ(cells.Count(), 4);
    EXPECT_EQ(cells(2).Index(), 2);
}

TEST(ControlArray, LookupOfAMissingElementFails) {
    ControlArray<PictureBox> cells = MakeCells();
    cells.Load(1);
    const struct {
        const char* name;
        int index;
    } cases[] = {{"next_after_last", 2}, {"negative", -1}, {"far", 32767}, {"past_16_bits", 32768}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(cells.Exists(c.index));
        EXPECT_THROW(cells(c.index), Failure);
    }
    const ControlArray<PictureBox>& ro = cells;
    EXPECT_THROW(ro(2), Failure);
}

TEST(ControlArray, IndexesStopAt32767) {
    const struct {
        const char* name;
        int index;
        bool ok;
    } cases[] = {{"max", 32767, true}, {"max_plus_one", 32768, false}, {"negative", -1, false}, {"one", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ControlArray<PictureBox> cells = MakeCells();
        if (c.ok) {
            EXPECT_NO_THROW(cells.Load(c.index));
            EXPECT_EQ(cells.Count(), 2);
            EXPECT_EQ(cells(c.index).Index(), c.index);
        } else {
            EXPECT_THROW(cells.Load(c.index), Failure);
            EXPECT_EQ(cells.Count(), 1);
            EXPECT_FALSE(cells.Exists(c.index));
        }
    }
}

TEST(ControlArray, LoadFailsAtTheLimitAndLeavesTheArrayAsItWas) {
    ControlArray<PictureBox> cells = MakeCells();
    cells.setLimit(3);
    int loaded = 0;
    cells.loaded = [&](PictureBox&) { ++loaded; };
    cells.Load(1);
    cells.Load(2);
    EXPECT_THROW(cells.Load(3), Failure);
    EXPECT_EQ(cells.Count(), 3);
    EXPECT_FALSE(cells.Exists(3));
    EXPECT_EQ(loaded, 2);
    // Room again once one is gone.
    cells.Unload(2);
    EXPECT_NO_THROW(cells.Load(3));
    EXPECT_EQ(cells.Count(), 3);
}

TEST(ControlArray, LoadingAnElementTwiceFails) {
    ControlArray<PictureBox> cells = MakeCells();
    cells.Load(1);
    PictureBox* first = &cells(1);
    EXPECT_THROW(cells.Load(1), Failure);
    EXPECT_THROW(cells.Load(0), Failure);
    EXPECT_EQ(cells.Count(), 2);
    EXPECT_EQ(&cells(1), first);
}

TEST(ControlArray, TheTemplateCannotBeUnloadedNorAMissingElement) {
    ControlArray<PictureBox> cells = MakeCells();
    cells.Load(1);
    int unloading = 0;
    cells.unloading = [&](PictureBox&) { ++unloading; };
    EXPECT_THROW(cells.Unload(0), Failure);
    EXPECT_THROW(cells.Unload(2), Failure);
    EXPECT_THROW(cells.Unload(-1), Failure);
    EXPECT_EQ(cells.Count(), 2);
    EXPECT_TRUE(cells.Exists(0));
    EXPECT_EQ(unloading, 0);
}

TEST(ControlArray, TheUpperBoundFollowsTheHighestLoadedElement) {
    ControlArray<PictureBox> cells = MakeCells();
    cells.Load(1);
    cells.Load(5);
    EXPECT_EQ(cells.Count(), 3);
    EXPECT_EQ(cells.UBoundPlusOne(), 6);
    cells.Unload(5);
    EXPECT_EQ(cells.UBoundPlusOne(), 2);
    std::vector<int> seen;
    cells.ForEach([&](PictureBox& e) { seen.push_back(e.Index()); });
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
}

}  // namespace
