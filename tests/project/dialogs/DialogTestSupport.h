#pragma once

// A settings store redirected into a temporary folder for the length of a test.

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace vantor::test {

class ScopedSettings {
public:
    ScopedSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    ~ScopedSettings()
    {
        const QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, standard);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, standard);
    }
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

private:
    QTemporaryDir m_dir;
};

} // namespace vantor::test
