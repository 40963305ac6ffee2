#pragma once

// The print values kept per user in the settings store (organisation and application "Vantor"):
// the remembered rows per page of detail sheets (section "Print", keys "Rows1" and "Rows2") and
// the appraisal institution's name printed on every form (section "Print", key "Institution").

#include <optional>
#include <string>

namespace vantor {

class PrintSettingsStore {
public:
    static constexpr int InstitutionMaxLength = 40;

    // Rows per page remembered for a detail sheet id; 25 when unset or invalid.
    static int rows(int sheetId);
    static void setRows(int sheetId, int rows);
    // How 表1 was last computed: true in yuan, false in ten thousand yuan; unset until asked.
    static std::optional<bool> summaryInYuan();
    static void setSummaryInYuan(bool yuan);
    static std::string institution();
    static void setInstitution(const std::string &name);
};

} // namespace vantor
