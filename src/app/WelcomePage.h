#pragma once

// The page shown in the spreadsheet while no project is open: a greeting that names
// the product and three short notes, drawn into the first sheet of the workbook.

namespace vantor {

class Workbook;

struct WelcomeLine {
    int row;
    const char *text;
};

inline constexpr WelcomeLine welcomeLines[] = {
    {0, "欢迎使用 Vantor 资产评估软件"},
    {1, "●本软件是基于关系数据库技术和电子表格技术开发的，实现了数据管理和项目汇总功能；"},
    {3, "●软件的升级版本和帮助文档随安装包一同发布：程序目录中的 help 文件夹即为帮助文档，"
        "也可以通过“帮助 > 目录”菜单打开；"},
    {5, "●如需技术支持，请与向您提供本软件的单位联系，并说明所用的版本号和出现问题时的操作步骤。"},
};

inline constexpr int welcomeColumnWidth = 450;
inline constexpr int welcomeRowHeight = 48;

void drawWelcomePage(Workbook &wb);

} // namespace vantor
