#include "app/HelpSupport.h"

#include "common/Prompter.h"
#include "project/ProjectPaths.h"

#include <QDir>
#include <QFileInfo>

#ifndef VANTOR_VERSION
#define VANTOR_VERSION "0.1.0"
#endif

namespace vantor {

QString helpFilePath(const QString &programFolder)
{
    const QString data = QString::fromStdString(ProjectPaths::dataFolder(programFolder.toStdString()));
    const QString installed = QDir(data).filePath("help/index.html");
    return QFileInfo::exists(installed) ? installed : QDir(programFolder).filePath("help/index.html");
}

void openHelp(const QString &programFolder, Prompter &prompter, const std::function<bool(const QUrl &)> &opener)
{
    const QString path = helpFilePath(programFolder);
    if (!QFileInfo(path).isFile()) {
        prompter.message(noHelpMessage, "Vantor", MessageIcon::Information);
        return;
    }
    if (!opener || !opener(QUrl::fromLocalFile(path)))
        prompter.message("无法读取帮助文档：" + QDir::toNativeSeparators(path).toStdString(), "Vantor",
                         MessageIcon::Information);
}

QString aboutTitle()
{
    return QStringLiteral("关于 Vantor");
}

QString aboutText()
{
    return QStringLiteral("<h3>Vantor 资产评估软件</h3>"
                          "<p>版本 %1</p>"
                          "<p>用于资产评估项目的明细表录入、汇总计算、报表打印与导出。</p>"
                          "<p>本软件基于关系数据库技术和电子表格技术开发。</p>")
        .arg(QStringLiteral(VANTOR_VERSION));
}

} // namespace vantor
