#include "project/ProjectPassword.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using Change = ProjectPassword::Change;
using Box = ProjectPassword::Box;

TEST(ProjectPassword, HashVerifiesOnlyTheExactText)
{
    std::string hash = ProjectPassword::hash("Abc'1", PasswordCost::minimal());
    EXPECT_NE(hash, "Abc'1");
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u);
    EXPECT_TRUE(ProjectPassword::verify("Abc'1", hash));
    EXPECT_FALSE(ProjectPassword::verify("abc'1", hash)); // case matters
    EXPECT_FALSE(ProjectPassword::verify("Ａbc'1", hash)); // width matters
    EXPECT_FALSE(ProjectPassword::verify("Abc'1 ", hash));
    EXPECT_FALSE(ProjectPassword::verify("", hash));
    EXPECT_NE(hash, ProjectPassword::hash("Abc'1", PasswordCost::minimal())); // salted
}

TEST(ProjectPassword, EmptyOrDamagedHashNeverVerifies)
{
    EXPECT_FALSE(ProjectPassword::verify("", ""));
    EXPECT_FALSE(ProjectPassword::verify("secret", "secret")); // a plain-text pwd is not accepted as a hash
    std::string hash = ProjectPassword::hash("secret", PasswordCost::minimal());
    hash[hash.size() - 3] = hash[hash.size() - 3] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(ProjectPassword::verify("secret", hash));
    EXPECT_FALSE(ProjectPassword::verify("secret", std::string(500, '$')));
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
    Database db(":memory:", Database::Mode::ReadWriteCreate);
    ProjectSchema::create(db);
    ProjectStore store(db);
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
