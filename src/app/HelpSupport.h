#pragma once

// Help and About: where the help document lives, opening it, and the About text.

#include <QString>
#include <QUrl>

#include <functional>

namespace vantor {

class Prompter;

inline constexpr const char *noHelpMessage = "您的计算机系统中没有安装帮助系统。";

// programFolder/help/index.html
QString helpFilePath(const QString &programFolder);

// Opens the help document with `opener` (the program's help window); when
// the document is missing, or the viewer cannot be started, tells the user so.
void openHelp(const QString &programFolder, Prompter &prompter, const std::function<bool(const QUrl &)> &opener);

QString aboutTitle();
QString aboutText();

} // namespace vantor
