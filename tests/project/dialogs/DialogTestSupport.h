#pragma once

// Pieces shared by the dialog tests: a settings store redirected into a
// temporary folder for the length of a test, and the folder the rendered
// dialogs are written to.

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vantor::test
{

class ScopedSettings
{
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

// Renders a dialog into <temp>/vantor-dialog-shots/<name>.png for a person to look at.
inline void renderToPng(QWidget &widget, const std::string &name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantor-dialog-shots";
    std::filesystem::create_directories(folder);
    widget.adjustSize();
    widget.show();
    const QString file = QString::fromStdString((folder / (name + ".png")).string());
    EXPECT_TRUE(widget.grab().save(file)) << file.toStdString();
    widget.hide();
}

} // namespace vantor::test
