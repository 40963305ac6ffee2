#include "project/ProjectPassword.h"

#include "common/Utf8Text.h"
#include "project/ProjectStore.h"

#include <sodium.h>
#include <stdexcept>

namespace vantor {

namespace {

void ensureSodium()
{
    // sodium_init is idempotent and thread-safe; -1 means the library cannot work at all.
    if (sodium_init() < 0)
        throw std::runtime_error("密码库初始化失败");
}

} // namespace

PasswordCost PasswordCost::interactive()
{
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

PasswordCost PasswordCost::minimal()
{
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

std::string ProjectPassword::hash(std::string_view password, PasswordCost cost)
{
    if (Utf8Text::length(password) > kMaxLength)
        throw std::invalid_argument("密码不能超过7个字符");
    ensureSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), cost.opsLimit, cost.memLimit,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("内存不足，无法设置密码");
    return out;
}

bool ProjectPassword::verify(std::string_view password, const std::string &storedHash)
{
    if (storedHash.empty() || storedHash.size() >= crypto_pwhash_STRBYTES)
        return false;
    ensureSodium();
    return crypto_pwhash_str_verify(storedHash.c_str(), password.data(), password.size()) == 0;
}

ProjectPassword::Change ProjectPassword::decideChange(const Box &first, const Box &second)
{
    if (!first && !second)
        return Change::Keep;
    if (!first || !second || *first != *second)
        return Change::Mismatch;
    if (first->empty())
        return Change::Remove;
    if (Utf8Text::length(*first) > kMaxLength)
        return Change::TooLong;
    return Change::Replace;
}

ProjectPassword::Change ProjectPassword::apply(ProjectStore &store, const Box &first, const Box &second,
                                               PasswordCost cost)
{
    Change change = decideChange(first, second);
    if (change == Change::Replace)
        store.setPasswordHash(hash(*first, cost));
    else if (change == Change::Remove)
        store.setPasswordHash("");
    return change;
}

} // namespace vantor
