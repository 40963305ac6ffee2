#pragma once

// A font style as three toggles, the way the format toolbar shows it. Its code is the one the
// cells store (see fontStyleCode in CellFormat.h, whose table both use).

namespace vantor {

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontStyle &) const = default;

    // Codes outside 0 … 7, as a damaged file may hold, read as normal.
    static FontStyle fromCode(int code);
    int code() const;
};

} // namespace vantor
