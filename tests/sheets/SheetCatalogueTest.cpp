#include "sheets/SheetCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace vantor {
namespace {

// The catalogue is checked by what must hold for every entry, not copied row by row.
TEST(SheetCatalogue, DetailSheetsAreUniqueContiguousAndCaptionsSplitBack)
{
    std::set<std::string> codes, names;
    int expectedId = 10;
    for (const CatalogueEntry &e : SheetCatalogue::detailSheets()) {
        SCOPED_TRACE(e.id);
        EXPECT_EQ(e.id, expectedId++);
        EXPECT_EQ(SheetCatalogue::entry(e.id), &e);
        EXPECT_TRUE(codes.insert(std::string(e.code)).second) << "code twice: " << e.code;
        EXPECT_TRUE(names.insert(std::string(e.name)).second) << "name twice: " << e.name;
        auto [code, name] = SheetCatalogue::splitDetailCaption(SheetCatalogue::defaultCaption(e.id));
        EXPECT_EQ(code, e.code);
        EXPECT_EQ(name, e.name);
        EXPECT_EQ(SheetCatalogue::idOfLabel(SheetCatalogue::label(e.id)), e.id);
    }
    EXPECT_EQ(expectedId, 79);
    for (int id : {-1, 0, 9, 79, 32767, -32768}) {
        EXPECT_EQ(SheetCatalogue::entry(id), nullptr);
        EXPECT_EQ(SheetCatalogue::codeAndName(id).first, "");
    }
    ASSERT_EQ(SheetCatalogue::summarySheets().size(), 10u);
    for (int id = 0; id < 10; ++id) {
        const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->cols > 0 && s->cols <= 26 && s->rows > 0) << id;
    }
}

TEST(SheetCatalogue, CaptionsPadOrCutTheCodeField)
{
    EXPECT_EQ(SheetCatalogue::defaultCaption(5), "表3-10 存货清查评估汇总表");
    EXPECT_EQ(SheetCatalogue::defaultCaption(31), "表3-10-10  存货-委托代销商品清查评估明细表");
    // A user's code longer than the field is cut so that the name stays in place.
    EXPECT_EQ(SheetCatalogue::caption("表3-10-10-1X", "名", 10), "表3-10-10-1名");
    // A name that starts with spaces keeps them; only the code field is trimmed.
    auto [code, name] = SheetCatalogue::splitDetailCaption(SheetCatalogue::caption("表X", " 名 ", 10));
    EXPECT_EQ(code, "表X");
    EXPECT_EQ(name, " 名 ");
    for (const char *bad : {"b", "", "print", "b99999999999"})
        EXPECT_EQ(SheetCatalogue::idOfLabel(bad), std::nullopt) << bad;
}

TEST(SheetCatalogue, GroupsNestAndAgreeWithTheirMembership)
{
    for (int g = 0; g <= static_cast<int>(SheetGroup::AllLiabilities); ++g) {
        const auto group = static_cast<SheetGroup>(g);
        SCOPED_TRACE(g);
        auto ids = SheetCatalogue::groupIds(group);
        EXPECT_FALSE(ids.empty());
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        for (int id = -1; id <= 80; ++id)
            EXPECT_EQ(SheetCatalogue::inGroup(group, id), std::count(ids.begin(), ids.end(), id) == 1) << id;
        // Assets and liabilities never mix; every member is a known sheet.
        const bool liabilities = SheetCatalogue::inGroup(SheetGroup::AllLiabilities, ids.front());
        for (int id : ids)
            EXPECT_TRUE((id < 10 || SheetCatalogue::entry(id)) &&
                        SheetCatalogue::inGroup(SheetGroup::AllLiabilities, id) == liabilities &&
                        SheetCatalogue::inGroup(SheetGroup::AllAssets, id) == !liabilities)
                << id;
    }
    for (SheetGroup inner : {SheetGroup::CashFunds, SheetGroup::ShortTermInvestments, SheetGroup::Inventories})
        for (int id : SheetCatalogue::groupIds(inner))
            EXPECT_TRUE(SheetCatalogue::inGroup(SheetGroup::CurrentAssets, id)) << id;
}

TEST(SheetCatalogue, LiabilitiesAndContraRowsAreStoredNegated)
{
    for (int id = 10; id <= 78; ++id)
        EXPECT_EQ(SheetCatalogue::isStoredNegated(id), SheetCatalogue::inGroup(SheetGroup::AllLiabilities, id)) << id;
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(SheetCatalogue::contraRowId(row), row + 2);
        EXPECT_TRUE(SheetCatalogue::isStoredNegated(row + 2));
    }
    EXPECT_EQ(SheetCatalogue::contraRowId(5), 0);
}

} // namespace
} // namespace vantor
