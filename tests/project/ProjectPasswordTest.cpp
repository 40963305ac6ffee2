#include "project/ProjectPassword.h"

#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using Change = ProjectPassword::Change;
using Box = ProjectPassword::Box;

// Only the exact text verifies against a salted hash; an empty, plain or damaged hash never does.
TEST(ProjectPassword, HashVerifiesOnlyTheExactText)
{
    const std::string hash = ProjectPassword::hash("Abc'1", PasswordCost::minimal());
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u);
    EXPECT_TRUE(ProjectPassword::verify("Abc'1", hash));
    EXPECT_NE(hash, ProjectPassword::hash("Abc'1", PasswordCost::minimal())); // salted
    std::string damaged = hash;
    damaged[hash.size() - 3] = hash[hash.size() - 3] == 'A' ? 'B' : 'A';
    const std::pair<const char *, std::string> refused[] = {
        {"abc'1", hash}, {"Ａbc'1", hash},   {"Abc'1 ", hash},   {"", hash}, // case, width, space, empty
        {"", ""},        {"Abc'1", "Abc'1"}, {"Abc'1", damaged}, {"Abc'1", std::string(500, '$')},
    };
    for (const auto &[text, stored] : refused)
        EXPECT_FALSE(ProjectPassword::verify(text, stored)) << text << " against " << stored;
}

TEST(ProjectPassword, SevenCharactersNotBytesIsTheLimit)
{
    EXPECT_NO_THROW(ProjectPassword::hash("1234567", PasswordCost::minimal()));
    EXPECT_NO_THROW(ProjectPassword::hash("密码密码密码密", PasswordCost::minimal())); // 7 characters, 21 bytes
    EXPECT_THROW(ProjectPassword::hash("12345678", PasswordCost::minimal()), std::invalid_argument);
    EXPECT_THROW(ProjectPassword::hash("密码密码密码密码", PasswordCost::minimal()), std::invalid_argument);
}

TEST(ProjectPassword, ApplyStoresAHashKeepsOrRemoves)
{
    test::MemoryProject project;
    ProjectStore &store = project.store;
    auto cost = PasswordCost::minimal();

    EXPECT_EQ(ProjectPassword::apply(store, "o'k", "o'k", cost), Change::Replace);
    std::string hash = store.passwordHash();
    EXPECT_TRUE(ProjectPassword::verify("o'k", hash));

    EXPECT_EQ(ProjectPassword::apply(store, std::nullopt, std::nullopt, cost), Change::Keep);
    EXPECT_EQ(store.passwordHash(), hash);
    EXPECT_EQ(ProjectPassword::apply(store, "x", "y", cost), Change::Mismatch);
    EXPECT_EQ(store.passwordHash(), hash);

    EXPECT_EQ(ProjectPassword::apply(store, "", "", cost), Change::Remove);
    EXPECT_EQ(store.passwordHash(), "");
}

} // namespace
} // namespace vantor
