#include "output/PrintTexts.h"

#include "project/ProjectStore.h"

#include <cstdio>

namespace vantor {

std::string PrintTexts::chineseDate(const std::optional<std::chrono::year_month_day> &date)
{
    if (!date || !date->ok())
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d年%02u月%02u日", static_cast<int>(date->year()),
                  static_cast<unsigned>(date->month()), static_cast<unsigned>(date->day()));
    return buffer;
}

std::string PrintTexts::unitLineOf(int16_t sheetId, std::optional<bool> yuan)
{
    // 表1 is shown in yuan or ten thousand yuan as the user chose; every other form in yuan.
    if (sheetId != 0 || (yuan && *yuan))
        return "金额单位：人民币元";
    return yuan ? "金额单位：人民币万元" : "金额单位：人民币元/万元";
}

PrintTexts PrintTexts::labels(int16_t sheetId, const std::string &institution)
{
    PrintTexts t;
    t.baseDate = "评估基准日：";
    t.holdingUnit = "资产占有单位名称：";
    t.unitLine = unitLineOf(sheetId);
    t.institution = "评估机构：" + institution;
    t.projectLeader = "项目负责人：";
    t.signingAppraiser = "签字注册资产评估师：";
    t.legalRep = "法定代表人：";
    t.formFiller = "资产占有单位填表人：";
    t.appraisers = "评估人员：";
    t.filledDate = "填表日期：";
    return t;
}

PrintTexts PrintTexts::read(const ProjectStore &store, int16_t pmid, int16_t sheetId, const std::string &institution)
{
    PrintTexts t = labels(sheetId, institution);
    if (const auto node = store.node(pmid)) {
        const NodeProperties &p = node->properties;
        t.holdingUnit += p.zczydw.value_or("");
        t.projectLeader += p.xmfzr.value_or("");
        t.signingAppraiser += p.zcpgs.value_or("");
        // The placeholder of a legal representative never set prints as the bare label.
        if (p.frdb && *p.frdb != ProjectStore::kUnsetRepresentative)
            t.legalRep += *p.frdb;
        t.baseDate += chineseDate(p.pgjzr);
    }
    if (const auto sheet = store.sheet(sheetId)) {
        t.sheetCode = sheet->code;
        t.sheetName = sheet->name;
    }
    for (const SheetSignatories &s : store.signatories(pmid)) {
        if (s.id != sheetId)
            continue;
        t.formFiller += s.tbr;
        t.appraisers += s.pgry;
        t.filledDate += chineseDate(s.tbrq);
        break;
    }
    return t;
}

} // namespace vantor
