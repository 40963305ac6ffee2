#include "sheets/DetailLayouts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vantor {
namespace {

// The layout table is checked by what must hold for every kind, not copied from the forms.
TEST(DetailLayouts, EveryDetailKindHasOneLayoutWhoseColumnsLieInsideTheSheet)
{
    std::set<int> seen;
    for (const DetailLayout &l : DetailLayouts::layouts()) {
        SCOPED_TRACE(l.ids.front());
        for (int id : l.ids) {
            EXPECT_TRUE(seen.insert(id).second) << id << " has two layouts";
            EXPECT_EQ(DetailLayouts::layout(id), &l);
            EXPECT_EQ(DetailLayouts::dataColumnCount(id), l.dataColumns);
        }
        EXPECT_LE(l.columnCount(), DetailLayouts::MaxColumns);
        EXPECT_EQ(l.headings.size(), static_cast<std::size_t>(l.dataColumns));
        EXPECT_EQ(l.heading(0), DetailLayouts::SequenceHeading);
        EXPECT_EQ(l.heading(l.remarksColumn()), "备注");
        EXPECT_EQ(l.heading(l.columnCount()), "");
        for (int c = 1; c <= l.dataColumns; ++c)
            EXPECT_FALSE(l.heading(c).empty()) << "column " << c;
        for (const HeadingGroup &g : l.groups)
            EXPECT_TRUE(g.first >= 1 && g.first < g.last && g.last <= l.dataColumns);

        // Money columns ascend book < adjusted < appraised inside the data columns, and are summed.
        const ColumnRoles &r = l.roles;
        EXPECT_TRUE(0 < r.book && r.book < r.adjusted && r.adjusted < r.appraised && r.appraised <= l.dataColumns);
        const std::vector<int> summed = l.summedColumns();
        EXPECT_TRUE(std::is_sorted(summed.begin(), summed.end()));
        for (int c : {r.book, r.adjusted, r.appraised, r.costBook, r.costAdjusted, r.costAppraised})
            if (c > 0)
                EXPECT_TRUE(l.isSummed(c)) << "column " << c;
        for (int c : summed)
            EXPECT_TRUE(c >= 1 && c <= l.dataColumns) << "summed column " << c << " outside the sheet";
        EXPECT_FALSE(l.isSummed(0) || l.isSummed(l.remarksColumn()));
        if (l.rateColumn > 0) {
            EXPECT_TRUE(l.rateColumn > r.appraised && l.rateColumn <= l.dataColumns);
            EXPECT_FALSE(l.isSummed(l.rateColumn));
        }
        EXPECT_EQ(l.prefilled.empty(), l.ids.front() != 54);
    }
    EXPECT_EQ(seen.size(), 68u);
    EXPECT_EQ(*seen.begin(), 10);
    EXPECT_EQ(*seen.rbegin(), 77);
}

// The contra sheet has four data columns and no layout; unknown ids have nothing.
TEST(DetailLayouts, UnknownKindsAndTheContraSheetHaveNoLayout)
{
    EXPECT_TRUE(DetailLayouts::dataColumnCount(78) == 4 && !DetailLayouts::layout(78));
    for (int id : {-1, 0, 9, 79, 1000})
        EXPECT_TRUE(DetailLayouts::dataColumnCount(id) == 0 && DetailLayouts::columnRoles(id) == ColumnRoles{} &&
                    !DetailLayouts::isSummedColumn(id, 5) && DetailLayouts::rateColumn(id) == 0)
            << id;
}

} // namespace
} // namespace vantor
