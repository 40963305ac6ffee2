#pragma once

// One program per user: a second start that names a project file hands the file to
// the running program through a local socket and ends; the running program brings
// its window to the front and opens the file. The socket's name carries the user id,
// so two users of one machine never reach each other's program.

#include <QObject>
#include <QString>

class QLocalServer;

namespace vantor {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    static QString defaultName();
    // The running program's side; false when the name cannot be taken.
    bool listen(const QString &name = defaultName());
    // A second start's side: true when the running program took the path.
    static bool sendFile(const QString &path, const QString &name = defaultName(), int timeoutMs = 3000);

signals:
    void fileRequested(const QString &path);

private:
    QLocalServer *m_server = nullptr;
};

} // namespace vantor
