#pragma once

// The default legal representative (单位法人代表) kept in the user's settings
// store (organisation and application "Vantor", section "Default", key
// "name"). dlgFrdb sets it; dlgPmprop offers it for a node whose frdb is still
// the placeholder.

#include <QString>

namespace vantor {

class DefaultRepresentative {
public:
    static constexpr int kMaxLength = 5;

    // Empty when the value was never set.
    static QString read();
    static void write(const QString &name);
};

} // namespace vantor
