#pragma once

// Pieces of the start procedure that can be checked on their own: the places in
// the user's runtime folder, the guard that lets only one program run per user,
// the MyFiles folder, and the Chinese the program speaks whatever the system's
// language.

#include <QLockFile>
#include <QString>

class QCoreApplication;

namespace vantor {

// The lock and the socket of the running program, in the user's runtime folder
// (XDG_RUNTIME_DIR).
struct RuntimePlaces {
    QString lockPath;
    QString socketPath;

    // Inside `runtimeFolder`, which must be a folder of the user's own; a lock or
    // socket that is a link or another user's is refused. Throws PrivateFolderError.
    static RuntimePlaces in(const QString &runtimeFolder);
};

// Holds a lock file for as long as it lives. A second process (or a second guard in
// the same process) fails to acquire the same path; a lock left behind by a crashed
// process is recognised as stale and taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockPath);
    bool acquire();
    bool isHeld() const { return m_held; }
    // Why acquire() failed: LockFailedError when another program holds the lock.
    QLockFile::LockError error() const { return m_lock.error(); }

private:
    QLockFile m_lock;
    bool m_held = false;
};

// Creates base/MyFiles when missing and returns it; when that folder cannot be
// created or written, fallbackBase/MyFiles instead (the per-user data folder).
// Returns an empty string when neither can be made.
QString ensureMyFiles(const QString &base, const QString &fallbackBase);

// Maps the Song-style face name the sheets use to an installed CJK serif font.
void installFontSubstitutions();

// The program's locale is Simplified Chinese: dates, sizes and file types in the
// file dialogs included. Runs before the application object is made, as the
// system locale is read from the environment then.
void useChineseLocale();

// Qt's own texts (file dialogs, standard buttons) in Simplified Chinese; false when the
// translations are not installed.
bool installChineseTranslations(QCoreApplication &app);

} // namespace vantor
