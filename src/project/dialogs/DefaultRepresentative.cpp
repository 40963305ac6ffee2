#include "project/dialogs/DefaultRepresentative.h"

#include <QSettings>

namespace vantor {

namespace {
constexpr const char *kOrganisation = "Vantor";
constexpr const char *kApplication = "Vantor";
constexpr const char *kKey = "Default/name";
} // namespace

QString DefaultRepresentative::read()
{
    QSettings settings(kOrganisation, kApplication);
    return settings.value(kKey).toString();
}

void DefaultRepresentative::write(const QString &name)
{
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kKey, name);
    settings.sync();
}

} // namespace vantor
