#pragma once

// The number and title of the current detail sheet (表编号标题). OK hands
// both texts to `store` (the main window passes ProjectStore::updateSheetName
// for the sheet) and closes; with an empty box, or when the store throws, the
// dialog tells the user and stays open. After exec() the caller puts
// caption() into the selected tree entry and panel 1 of the status bar.

#include <QDialog>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/ProjectRecords.h"
#include <functional>
#include <string>
#endif

class QLineEdit;
class QPushButton;

namespace vantor {

class Prompter;

class dlgSheetName : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCodeLength = 9;
    static constexpr int kNameLength = 25;
    static constexpr const char *kEmpty = "编号和标题都必须输入内容。";

    using StoreFunction = std::function<void(const std::string &code, const std::string &name)>;

    dlgSheetName(const SheetListRow &sheet, StoreFunction store, Prompter &prompter, QWidget *parent = nullptr);

    std::string code() const;
    std::string name() const;
    // The tree entry text: code padded or cut to ten characters, then the name.
    std::string caption() const;

    QLineEdit *txtcode;
    QLineEdit *txtname;
    QPushButton *cmdRight;
    QPushButton *cmdCancel;

public slots:
    void accept() override;

private:
    StoreFunction m_store;
    Prompter &m_prompter;
};

} // namespace vantor
