#pragma once

// The properties of one project node (项目基本信息). The dialog shows a
// NodePropertiesForm, and OK hands the edited properties to `store` (the main
// window passes ProjectSession::storeNodeProperties). It cannot be confirmed
// nor closed while one of the five text boxes is empty; a store that throws
// keeps the dialog open with the error in front of the message. After exec()
// the caller reads form() for the status bar and the tree entry.

#include <QDialog>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/NodePropertiesForm.h"
#include <functional>
#endif

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace vantor {

class Prompter;
class ProjectStore;

class dlgPmprop : public QDialog {
    Q_OBJECT
public:
    using StoreFunction = std::function<void(const NodeProperties &)>;

    dlgPmprop(const NodePropertiesForm &form, StoreFunction store, Prompter &prompter, QWidget *parent = nullptr);

    // The form of a node as the dialog opens on it: stored values, today where
    // no date is stored, the default legal representative of the settings
    // store in place of the placeholder.
    static NodePropertiesForm loadForm(const ProjectStore &store, int16_t pmid);

    // What the boxes hold now.
    NodePropertiesForm form() const;

    QLineEdit *txtpm;
    QLineEdit *txtdw;
    QLineEdit *txtpgs;
    QLineEdit *txtfzr;
    QDateEdit *DTPicker1;
    QLineEdit *txtfrdb;
    QPushButton *cmdRight;
    QPushButton *cmdCancel;

public slots:
    void accept() override;
    // Also reached by the window's close button and Escape (QDialog routes
    // them here), so every way out passes the same check.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // False (after telling the user) while a box is empty.
    bool mayClose();

    StoreFunction m_store;
    Prompter &m_prompter;
};

} // namespace vantor
