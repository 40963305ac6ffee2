#pragma once

// Pieces of the start procedure that can be checked on their own: the guard that
// lets only one instance of the program run per user, and the MyFiles folder.

#include <QLockFile>
#include <QString>

class QCoreApplication;

namespace vantor {

// Holds a lock file for as long as it lives. A second process (or a second guard in
// the same process) fails to acquire the same path; a lock left behind by a crashed
// process is recognised as stale and taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockPath);
    bool acquire();
    bool isHeld() const { return m_held; }

    // vantor.lock in the per-user runtime folder, or vantor-<uid>.lock in the
    // temporary folder without one.
    static QString defaultLockPath();

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

// Qt's own texts (file dialogs, standard buttons) in Simplified Chinese; false when the
// translations are not installed.
bool installChineseTranslations(QCoreApplication &app);

} // namespace vantor
