#include "output/print/PrintSettingsStore.h"

#include "output/PrintOptions.h"

#include <QSettings>

namespace vantor {

namespace {

constexpr const char *Organisation = "Vantor";
constexpr const char *Application = "Vantor";
constexpr const char *InstitutionKey = "Print/Institution";
constexpr const char *SummaryUnitKey = "Print/SummaryInYuan";

} // namespace

int PrintSettingsStore::rows(int sheetId)
{
    QSettings settings(Organisation, Application);
    const QString key = QString::fromStdString(PrintOptions::settingsKey(sheetId));
    return PrintOptions::remembered(settings.value(key).toString().toStdString());
}

void PrintSettingsStore::setRows(int sheetId, int rows)
{
    QSettings settings(Organisation, Application);
    settings.setValue(QString::fromStdString(PrintOptions::settingsKey(sheetId)), rows);
    settings.sync();
}

std::optional<bool> PrintSettingsStore::summaryInYuan()
{
    QSettings settings(Organisation, Application);
    const QVariant value = settings.value(SummaryUnitKey);
    return value.isValid() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

void PrintSettingsStore::setSummaryInYuan(bool yuan)
{
    QSettings settings(Organisation, Application);
    settings.setValue(SummaryUnitKey, yuan);
    settings.sync();
}

std::string PrintSettingsStore::institution()
{
    QSettings settings(Organisation, Application);
    return settings.value(InstitutionKey).toString().left(InstitutionMaxLength).toStdString();
}

void PrintSettingsStore::setInstitution(const std::string &name)
{
    QSettings settings(Organisation, Application);
    settings.setValue(InstitutionKey, QString::fromStdString(name).trimmed().left(InstitutionMaxLength));
    settings.sync();
}

} // namespace vantor
