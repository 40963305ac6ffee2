#pragma once

// The help document in a window of the program: a contents list of its chapters
// beside a text browser that follows the document's own links. Modeless; one per
// main window, brought to the front when help is asked for again.

#include <QDialog>
#include <QUrl>

class QListWidget;
class QTextBrowser;

namespace vantor {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the document (a local HTML file); false when it cannot be read.
    bool showDocument(const QUrl &url);
    QTextBrowser *browser() const { return m_browser; }
    QListWidget *contents() const { return m_contents; }

private:
    void fillContents();

    QListWidget *m_contents = nullptr;
    QTextBrowser *m_browser = nullptr;
};

} // namespace vantor
