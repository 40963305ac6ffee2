#include "app/QtPrompter.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTreeView>

namespace vantor {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

QString titleOr(const std::string &title)
{
    return title.empty() ? QStringLiteral("Vantor") : q(title);
}

// Alt+Y and Alt+N answer a question, as Y and N do in the system's own boxes.
constexpr const char *kYes = "是(&Y)";
constexpr const char *kNo = "否(&N)";

} // namespace

void QtPrompter::message(const std::string &text, const std::string &title, MessageIcon icon)
{
    QMessageBox box(qtIcon(icon), titleOr(title), q(text), QMessageBox::Ok, m_owner);
    box.button(QMessageBox::Ok)->setText("确定");
    box.exec();
}

Answer QtPrompter::question(const std::string &text, const std::string &title, QuestionButtons buttons,
                            MessageIcon icon)
{
    QMessageBox box(qtIcon(icon), titleOr(title), q(text), QMessageBox::NoButton, m_owner);
    switch (buttons) {
    case QuestionButtons::YesNo:
        box.addButton(QMessageBox::Yes)->setText(kYes);
        box.addButton(QMessageBox::No)->setText(kNo);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case QuestionButtons::YesNoCancel:
        box.addButton(QMessageBox::Yes)->setText(kYes);
        box.addButton(QMessageBox::No)->setText(kNo);
        box.addButton(QMessageBox::Cancel)->setText("取消");
        // A destructive question (warning icon) never goes ahead on a bare Enter.
        box.setDefaultButton(icon == MessageIcon::Warning ? QMessageBox::Cancel : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case QuestionButtons::OkCancel:
        box.addButton(QMessageBox::Ok)->setText("确定");
        box.addButton(QMessageBox::Cancel)->setText("取消");
        box.setDefaultButton(icon == MessageIcon::Warning ? QMessageBox::Cancel : QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        break;
    }
    // Closed by the window's close button: the safe answer of each kind.
    return buttons == QuestionButtons::YesNo ? Answer::No : Answer::Cancel;
}

namespace {
// File names on this system are case-sensitive, the files our users receive often
// are not: "*.mdb" also lists "*.MDB".
QString anyCaseFilter(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    QString out;
    qsizetype last = 0;
    for (auto it = pattern.globalMatch(filter); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += filter.mid(last, m.capturedStart() - last);
        const QString ext = m.captured(1);
        out += "*." + ext.toLower();
        if (ext.toUpper() != ext.toLower())
            out += " *." + ext.toUpper();
        last = m.capturedEnd();
    }
    return out + filter.mid(last);
}
} // namespace

namespace {
// Qt's own dialog, not the desktop's: it speaks the program's Chinese whatever the
// system's language, and opens wide enough for its name, size, type and date columns.
std::optional<std::string> runFileDialog(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(900, 540);
    if (auto *places = dialog.findChild<QSplitter *>())
        places->setSizes({170, 730});
    if (auto *list = dialog.findChild<QTreeView *>()) {
        // Name, size, type, date modified.
        int column = 0;
        for (const int width : {300, 110, 140, 150})
            list->header()->resizeSection(column++, width);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}
} // namespace

std::optional<std::string> QtPrompter::openFileName(const FileDialogRequest &request)
{
    QFileDialog dialog(m_owner, request.title.empty() ? "打开" : q(request.title), q(request.directory),
                       anyCaseFilter(q(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

std::optional<std::string> QtPrompter::saveFileName(const FileDialogRequest &request)
{
    QString start = q(request.directory);
    if (!request.fileName.empty())
        start = start.isEmpty() ? q(request.fileName) : start + "/" + q(request.fileName);
    QFileDialog dialog(m_owner, request.title.empty() ? "保存" : q(request.title), start, q(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog);
}

std::optional<std::string> QtPrompter::inputText(const std::string &prompt, const std::string &title,
                                                 const std::string &initial)
{
    QInputDialog dlg(m_owner);
    dlg.setWindowTitle(titleOr(title));
    dlg.setLabelText(q(prompt));
    dlg.setTextValue(q(initial));
    dlg.setOkButtonText("确定");
    dlg.setCancelButtonText("取消");
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue().toStdString();
}

} // namespace vantor
