// The Qt prompter's buttons, defaults and answers, driven through real dialogs.
#include "app/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vantor {
namespace {

// Runs `act` on the next modal dialog as soon as it is shown.
void whenDialogShows(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

// Each button gives its answer; Enter (the default button) and Escape both give the safe
// one: a question never goes ahead unless a button saying so is pressed.
TEST(QtPrompter, EachButtonGivesItsAnswerAndEnterOrEscapeTheSafeOne)
{
    QtPrompter prompter(nullptr);
    const struct {
        QuestionButtons buttons;
        MessageIcon icon;
        const char *defaultText;
        Answer safe;
    } cases[] = {{QuestionButtons::YesNo, MessageIcon::Question, "否(&N)", Answer::No},
                 {QuestionButtons::YesNoCancel, MessageIcon::Warning, "取消", Answer::Cancel},
                 {QuestionButtons::OkCancel, MessageIcon::Warning, "取消", Answer::Cancel}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.defaultText);
        QString defaultText;
        whenDialogShows([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            defaultText = box->defaultButton()->text();
            box->defaultButton()->click();
        });
        EXPECT_EQ(prompter.question("此操作将删除全部数据", "Vantor", c.buttons, c.icon), c.safe);
        EXPECT_EQ(defaultText, c.defaultText);
        whenDialogShows([](QWidget *w) { qobject_cast<QMessageBox *>(w)->reject(); });
        EXPECT_EQ(prompter.question("删除？", "", c.buttons, c.icon), c.safe);
    }
    // Alt+Y and Alt+N answer, as in the system's own boxes.
    for (const auto &[text, expected] : std::vector<std::pair<QString, Answer>>{
             {"是(&Y)", Answer::Yes}, {"否(&N)", Answer::No}, {"取消", Answer::Cancel}}) {
        whenDialogShows([text = text](QWidget *w) {
            for (QAbstractButton *b : qobject_cast<QMessageBox *>(w)->buttons())
                if (b->text() == text)
                    b->click();
        });
        EXPECT_EQ(prompter.question("项目文件数据已经改动，是否保存改变？", "", QuestionButtons::YesNoCancel), expected)
            << text.toStdString();
    }
}

} // namespace
} // namespace vantor
