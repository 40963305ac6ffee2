#pragma once

// ProjectDialogs for tests: answers come from queues filled by the test, and an
// unexpected dialog (an empty queue) fails the test instead of showing anything.

#include "app/ProjectDialogs.h"

#include <chrono>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vantor::test {

// Properties a user could confirm in dlgPmprop.
inline NodePropertiesForm filledForm(const std::string &name = "测试项目", const std::string &unit = "甲公司")
{
    NodePropertiesForm f;
    f.pmname = name;
    f.zczydw = unit;
    f.zcpgs = "张三";
    f.xmfzr = "李四";
    f.frdb = "王五";
    f.pgjzr = std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::month{6}, std::chrono::day{30}};
    return f;
}

class ScriptedProjectDialogs : public ProjectDialogs {
public:
    std::deque<ProjectKind> kinds;
    std::deque<std::optional<NodePropertiesForm>> forms;
    std::deque<std::optional<PasswordBoxes>> passwords;
    std::deque<std::string> logins; // typed passwords; "" cancels
    std::deque<std::optional<SheetListRow>> sheets;
    std::vector<std::vector<std::string>> sheetDialogKeys;

    ProjectKind chooseKind() override { return next(kinds, "dlgPmtype", ProjectKind::None); }
    std::optional<NodePropertiesForm> editNodeProperties(const NodePropertiesForm &,
                                                         const StoreFunction &store) override
    {
        auto f = next(forms, "dlgPmprop");
        if (f)
            store(f->toProperties());
        return f;
    }
    std::optional<PasswordBoxes> changePassword(bool) override { return next(passwords, "dlgpwd"); }
    LoginFunction login() override
    {
        return [this](const PasswordCheck &accept) {
            for (std::string typed = next(logins, "dlgLogin"); !typed.empty(); typed = next(logins, "dlgLogin"))
                if (accept(typed))
                    return true;
            return false;
        };
    }
    std::optional<SheetListRow> chooseSheet(const std::vector<std::string> &keys) override
    {
        sheetDialogKeys.push_back(keys);
        return next(sheets, "dlgSheetInst");
    }

private:
    template <class T> static T next(std::deque<T> &queue, const char *dialog, T none = {})
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << dialog;
            return none;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace vantor::test
