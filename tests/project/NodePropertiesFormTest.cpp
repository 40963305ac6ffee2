#include "project/NodePropertiesForm.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using namespace std::chrono;

constexpr year_month_day kToday{year(2026), month(12), day(6)};

class FormTest : public ::testing::Test {
protected:
    FormTest() : db(":memory:", Database::Mode::ReadWriteCreate), store(db) { ProjectSchema::create(db, 0); }
    Database db;
    ProjectStore store;
};

TEST_F(FormTest, PlaceholderRepresentativeIsReplacedByTheDefault)
{
    NodeProperties p;
    p.frdb = "请输入";
    p.pgjzr = year_month_day{year(2020), month(6), day(30)};
    store.updateNodeProperties(0, p);
    auto form = NodePropertiesForm::load(store, 0, "赵六", kToday);
    EXPECT_EQ(form.frdb, "赵六");
    EXPECT_EQ(form.pgjzr, p.pgjzr);
    p.frdb = "钱七";
    store.updateNodeProperties(0, p);
    EXPECT_EQ(NodePropertiesForm::load(store, 0, "赵六", kToday).frdb, "钱七");
    p.frdb = "请输入";
    store.updateNodeProperties(0, p);
    EXPECT_EQ(NodePropertiesForm::load(store, 0, "", kToday).frdb, "");
}

TEST_F(FormTest, TypingDropsApostrophesAndStopsAtTheLimit)
{
    EXPECT_EQ(NodePropertiesForm::filterTyped("O'Brien", 25), "OBrien");
    EXPECT_EQ(NodePropertiesForm::filterTyped("''''", 25), "");
    EXPECT_EQ(NodePropertiesForm::filterTyped("一二三四五六七八九十十一", NodePropertiesForm::kNameLength),
              "一二三四五六七八九十");
    EXPECT_EQ(NodePropertiesForm::filterTyped("张'三丰abc", NodePropertiesForm::kRepresentativeLength), "张三丰ab");
}

} // namespace
} // namespace vantor
