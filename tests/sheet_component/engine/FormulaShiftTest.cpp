#include "sheet_component/engine/Formula.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor {
namespace {

class EmptyContext : public FormulaContext {
public:
    CellValue value(int, int, int) const override { return {}; }
    int sheetCount() const override { return 1; }
};

Formula parsed(const std::string &text)
{
    auto f = Formula::parse(text);
    EXPECT_TRUE(f.has_value()) << text;
    return f ? *f : *Formula::parse("0");
}

enum class Edit { InsertRows, DeleteRows, InsertCols, DeleteCols };

struct ShiftCase {
    const char *formula;
    Edit edit;
    int at, count;
    const char *expected; // canonical text afterwards; same text as before: unchanged
};

bool apply(Formula &f, Edit edit, int at, int count)
{
    switch (edit) {
    case Edit::InsertRows:
        return f.insertRows(at, count);
    case Edit::DeleteRows:
        return f.deleteRows(at, count);
    case Edit::InsertCols:
        return f.insertCols(at, count);
    case Edit::DeleteCols:
        return f.deleteCols(at, count);
    }
    return false;
}

TEST(FormulaShift, RowsAndColumnsLikeASpreadsheet)
{
    // Row and column indexes are 0-based: "F4" is row 3, column 5.
    const ShiftCase cases[] = {
        // Inserting rows: at the first row moves the range, inside it grows, below it nothing.
        {"sum(F4:F28)", Edit::InsertRows, 3, 2, "sum(F6:F30)"},
        {"sum(F4:F28)", Edit::InsertRows, 4, 2, "sum(F4:F30)"},
        {"sum(F4:F28)", Edit::InsertRows, 28, 5, "sum(F4:F28)"},
        {"sum(F4:F28)", Edit::InsertCols, 5, 1, "sum(G4:G28)"},
        // Deleting rows: ranges shrink; a range deleted whole becomes #REF!.
        {"sum(F4:F28)", Edit::DeleteRows, 0, 2, "sum(F2:F26)"},
        {"sum(F4:F28)", Edit::DeleteRows, 10, 5, "sum(F4:F23)"},
        {"sum(F4:F28)", Edit::DeleteRows, 20, 20, "sum(F4:F20)"},
        {"sum(F4:F28)", Edit::DeleteRows, 3, 25, "sum(#REF!)"},
        {"sum(F4:F28)", Edit::DeleteCols, 5, 1, "sum(#REF!)"},
        {"sum(F4:F28)", Edit::DeleteCols, 2, 2, "sum(D4:D28)"},
        {"sum(C2:E2)", Edit::DeleteCols, 3, 1, "sum(C2:D2)"},
        // Single cells.
        {"c14-c15", Edit::DeleteRows, 13, 1, "#REF!-C14"},
        {"IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)", Edit::InsertCols, 7, 1,
         "if(G3<>0,round((I3-G3)/abs(G3)*100,2),0)"},
        {"IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)", Edit::DeleteCols, 6, 1,
         "if(#REF!<>0,round((G3-#REF!)/abs(#REF!)*100,2),0)"},
        // getcell names cells of other sheets by number: structural edits leave it alone.
        {"getcell(3,40,2)-c26", Edit::InsertRows, 0, 5, "getcell(3,40,2)-C31"},
        // Pushed beyond the last row a reference can name.
        {"A9999999", Edit::InsertRows, 0, 5, "#REF!"},
        {"A1+ZZZ1", Edit::InsertCols, 1, 1, "A1+#REF!"},
        // Nothing to do.
        {"a5", Edit::InsertRows, 2, -3, "A5"},
        {"#REF!+1", Edit::DeleteRows, 0, 3, "#REF!+1"},
    };
    for (const ShiftCase &c : cases) {
        Formula f = parsed(c.formula);
        const std::string before = f.text();
        const bool changed = apply(f, c.edit, c.at, c.count);
        EXPECT_EQ(f.text(), c.expected) << c.formula << " edit " << int(c.edit) << " at " << c.at;
        EXPECT_EQ(changed, before != c.expected) << c.formula << " edit " << int(c.edit) << " at " << c.at;
        auto again = Formula::parse(f.text()); // what a file stores reads back the same
        ASSERT_TRUE(again) << f.text();
        EXPECT_EQ(again->text(), f.text());
    }
    // A reference deleted whole evaluates to #REF! and is no longer a dependency.
    Formula f = parsed("IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)");
    f.deleteCols(6, 1);
    EXPECT_EQ(f.evaluate(EmptyContext(), 0), CellValue::error(CellError::Ref));
    EXPECT_EQ(f.references(), (std::vector<RangeRef>{{6, 2, 6, 2}})); // only the old H3, now G3
}

TEST(FormulaShift, OffsetMovesACopiedFormula)
{
    struct Case {
        const char *formula;
        int dc, dr;
        const char *expected;
    } cases[] = {
        {"sum(A1:A5)+B2", 1, 3, "sum(B4:B8)+C5"},
        {"sum(A1:A5)+B3", 0, -2, "sum(#REF!)+B1"}, // a range cut by the sheet's edge is gone whole
        {"c14-c15", -3, 0, "#REF!-#REF!"},
        {"getcell(3,40,2)", 5, 5, "getcell(3,40,2)"},
        {"A9999999", 0, 2, "#REF!"},
    };
    for (const Case &c : cases) {
        Formula f = parsed(c.formula);
        f.offset(c.dc, c.dr);
        EXPECT_EQ(f.text(), c.expected) << c.formula << " by " << c.dc << "," << c.dr;
    }
    Formula f = parsed("A1");
    EXPECT_FALSE(f.offset(0, 0));
    EXPECT_TRUE(f.offset(0, 1));
    EXPECT_EQ(f.references(), (std::vector<RangeRef>{{0, 1, 0, 1}}));
}

TEST(FormulaShift, InsertThenDeleteRestores)
{
    const char *texts[] = {"sum(F4:F28)", "c14-c15", "IF(K3<>0,ROUND((N3-K3)/ABS(K3)*100,2),0)", "sum(a1:z100)"};
    for (const char *text : texts) {
        for (int at = 0; at < 30; ++at) {
            Formula f = parsed(text);
            const std::string before = f.text();
            f.insertRows(at, 3);
            f.deleteRows(at, 3);
            EXPECT_EQ(f.text(), before) << text << " at " << at;
            f.insertCols(at, 2);
            f.deleteCols(at, 2);
            EXPECT_EQ(f.text(), before) << text << " at " << at;
        }
    }
}

} // namespace
} // namespace vantor
