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

TEST_F(FormTest, NewFolderShowsEmptyBoxesAndTodayAndCannotBeConfirmed)
{
    int16_t id = store.insertFolderNode();
    auto form = NodePropertiesForm::load(store, id, "赵六", kToday);
    EXPECT_EQ(form.pmname, "");
    EXPECT_EQ(form.frdb, "");
    EXPECT_EQ(form.pgjzr, kToday);
    EXPECT_FALSE(form.isComplete());
}

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

TEST_F(FormTest, EveryOneOfTheFiveBoxesMustBeFilled)
{
    NodePropertiesForm full;
    full.pmname = "a";
    full.zczydw = "b";
    full.zcpgs = "c";
    full.xmfzr = "d";
    full.frdb = "e";
    EXPECT_TRUE(full.isComplete());
    for (std::string NodePropertiesForm::*field :
         {&NodePropertiesForm::pmname, &NodePropertiesForm::zczydw, &NodePropertiesForm::zcpgs,
          &NodePropertiesForm::xmfzr, &NodePropertiesForm::frdb}) {
        NodePropertiesForm f = full;
        f.*field = "";
        EXPECT_FALSE(f.isComplete());
    }
}

TEST_F(FormTest, TypingDropsApostrophesAndStopsAtTheLimit)
{
    EXPECT_EQ(NodePropertiesForm::filterTyped("O'Brien", 25), "OBrien");
    EXPECT_EQ(NodePropertiesForm::filterTyped("''''", 25), "");
    EXPECT_EQ(NodePropertiesForm::filterTyped("一二三四五六七八九十十一", NodePropertiesForm::kNameLength),
              "一二三四五六七八九十");
    EXPECT_EQ(NodePropertiesForm::filterTyped("张'三丰abc", NodePropertiesForm::kRepresentativeLength), "张三丰ab");
}

TEST_F(FormTest, PropertiesRoundTrip)
{
    NodePropertiesForm form;
    form.pmname = "项目";
    form.zczydw = "单位";
    form.zcpgs = "评估师";
    form.xmfzr = "负责人";
    form.frdb = "法人";
    form.pgjzr = kToday;
    store.updateNodeProperties(0, form.toProperties());
    auto back = NodePropertiesForm::load(store, 0, "x", year_month_day{year(2000), month(1), day(1)});
    EXPECT_EQ(back.pmname, form.pmname);
    EXPECT_EQ(back.xmfzr, form.xmfzr);
    EXPECT_EQ(back.pgjzr, kToday);
}

} // namespace
} // namespace vantor
