#pragma once

// The texts a printed form carries besides the sheet itself: the title (sheet name and code),
// the base-date line, the unit line and the signature lines, each a label followed by its value
// from the project file. An empty or missing value leaves the bare label.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

class ProjectStore;

struct PrintTexts {
    std::string sheetName;
    std::string sheetCode;
    std::string baseDate;         // 评估基准日：…
    std::string holdingUnit;      // 资产占有单位名称：…
    std::string unitLine;         // 金额单位：…
    std::string institution;      // 评估机构：…
    std::string projectLeader;    // 项目负责人：…
    std::string signingAppraiser; // 签字注册资产评估师：…
    std::string legalRep;         // 法定代表人：…
    std::string formFiller;       // 资产占有单位填表人：…
    std::string appraisers;       // 评估人员：…
    std::string filledDate;       // 填表日期：…

    // The texts of sheet `sheetId` for node `pmid`; `institution` is the appraisal institution's
    // name kept by the program. Summary sheets (ids 0 … 9) get the summary unit line.
    static PrintTexts read(const ProjectStore &store, int16_t pmid, int16_t sheetId, const std::string &institution);
    // Only the labels (no project values), for sheets printed without a project.
    static PrintTexts labels(int16_t sheetId, const std::string &institution = {});
    // "yyyy年mm月dd日"; empty without a date.
    static std::string chineseDate(const std::optional<std::chrono::year_month_day> &date);
    // `yuan`: how 表1 was computed (true yuan, false ten thousand yuan), when known.
    static std::string unitLineOf(int16_t sheetId, std::optional<bool> yuan = std::nullopt);
};

} // namespace vantor
