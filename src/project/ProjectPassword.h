#pragma once

// The project's own password, kept as a salted Argon2id hash in pwd of pmprop
// row 0 (empty: no password). The password dialog cannot show the old text:
// its boxes start with a placeholder that means "unchanged", and
// decideChange() turns the two boxes into what happens to the stored hash.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

class ProjectStore;

// Cost of the hash. interactive() for the program; minimal() keeps tests fast.
// Verification reads the cost from the stored hash, so either verifies.
struct PasswordCost {
    unsigned long long opsLimit;
    std::size_t memLimit;
    static PasswordCost interactive();
    static PasswordCost minimal();
};

class ProjectPassword {
public:
    // Characters (not bytes) a password may have.
    static constexpr int kMaxLength = 7;

    // Throws std::invalid_argument for a password longer than kMaxLength
    // characters and std::runtime_error when hashing fails (out of memory).
    static std::string hash(std::string_view password, PasswordCost cost);
    // True when `password` is the one `storedHash` was made from. An empty or
    // damaged hash never verifies.
    static bool verify(std::string_view password, const std::string &storedHash);

    // A box of the password dialog: nullopt while it still shows the
    // "unchanged" placeholder, else the typed text.
    using Box = std::optional<std::string>;

    enum class Change {
        Keep,     // both boxes unchanged
        Replace,  // equal new texts
        Remove,   // both boxes emptied
        Mismatch, // the boxes differ (one changed, or different texts): stay in the dialog
        TooLong,  // more than kMaxLength characters
    };
    static Change decideChange(const Box &first, const Box &second);

    // Applies the dialog's OK to the open project and returns what it did;
    // the store is left alone for Keep, Mismatch and TooLong.
    static Change apply(ProjectStore &store, const Box &first, const Box &second, PasswordCost cost);
};

} // namespace vantor
