#pragma once

// One program per user: a second start hands the project file it was given to
// the running program through a local socket and ends; the running program
// brings its window to the front and opens the file. A second start without a
// file only brings the window to the front. The socket lives in the user's
// runtime folder, so two users of one machine never reach each other's program.

#include <QObject>
#include <QString>

class QLocalServer;

namespace vantor {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    // The running program's side; false when the name cannot be taken.
    bool listen(const QString &name);
    // A second start's side: true when the running program took the path
    // (an empty path asks for the window only).
    static bool sendFile(const QString &path, const QString &name, int timeoutMs = 3000);

signals:
    // Emitted from the event loop, never from inside the socket's handler: a
    // receiver may run modal prompts while the second start hangs up.
    void fileRequested(const QString &path);
    void activationRequested();

private:
    QLocalServer *m_server = nullptr;
};

} // namespace vantor
