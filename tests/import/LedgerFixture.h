#pragma once

// A client's ledger of buildings as it arrives: a title row, two heading rows (帐面价值 over
// 账面原值 and 帐面净值), the client's own column order and names, amounts written with ¥,
// separators, parentheses, a trailing minus and full-width digits, one amount in words.
// tests/data/import/ledger.xls is this ledger saved once as an old Excel file.

#include <xlsxwriter.h>

#include <string>

namespace vantor::test {

inline void writeLedgerXlsx(const std::string &path)
{
    lxw_workbook *wb = workbook_new(path.c_str());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "房屋");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    worksheet_merge_range(ws, 0, 0, 0, 7, "房屋建筑物明细账", nullptr);
    const char *top[] = {"卡片编号", "资产名称", "建筑结构", "帐面价值", nullptr, "启用日期", "面积", "说明"};
    for (lxw_col_t c = 0; c < 8; ++c)
        if (top[c] && c != 3)
            worksheet_merge_range(ws, 1, c, 2, c, top[c], nullptr);
    worksheet_merge_range(ws, 1, 3, 1, 4, "帐面价值", nullptr);
    worksheet_write_string(ws, 2, 3, "账面原值", nullptr);
    worksheet_write_string(ws, 2, 4, "帐面净值", nullptr);
    struct Row {
        const char *no, *name, *structure, *cost, *net;
        double day; // Excel serial date
        const char *area, *note;
    };
    const Row rows[] = {{"A-001", "办公楼", "砖混", "¥12,000.00", "(1,500.00)", 37012, "1,200", "自建"},
                        {"A-002", "仓库", "钢", "１２３４．５", "1 234.50-", 37622, "300", ""},
                        {"A-003", "车棚", "木", "1 234.50", "88", 38353, "１０", ""},
                        {"A-004", "门卫室", "砖", "壹万", "5", 38718, "12.5", ""}};
    lxw_row_t r = 3;
    for (const Row &row : rows) {
        worksheet_write_string(ws, r, 0, row.no, nullptr);
        worksheet_write_string(ws, r, 1, row.name, nullptr);
        worksheet_write_string(ws, r, 2, row.structure, nullptr);
        worksheet_write_string(ws, r, 3, row.cost, nullptr);
        if (std::string(row.net) == "88" || std::string(row.net) == "5")
            worksheet_write_number(ws, r, 4, std::stod(row.net), nullptr);
        else
            worksheet_write_string(ws, r, 4, row.net, nullptr);
        worksheet_write_number(ws, r, 5, row.day, date);
        worksheet_write_string(ws, r, 6, row.area, nullptr);
        if (*row.note)
            worksheet_write_string(ws, r, 7, row.note, nullptr);
        ++r;
    }
    workbook_close(wb);
}

} // namespace vantor::test
