#include "app/StartUp.h"

#include "project/PrivateFolder.h"
#include "project/ProjectPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <QTranslator>

namespace vantor {

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(lockPath)
{
    // A live program never holds the lock long enough to be taken for stale; only a
    // lock whose process is gone is.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    if (!m_held)
        m_held = m_lock.tryLock(0);
    return m_held;
}

RuntimePlaces RuntimePlaces::in(const QString &runtimeFolder)
{
    PrivateFolder::ensure(runtimeFolder.toStdString());
    const QDir folder(runtimeFolder);
    RuntimePlaces places{folder.filePath("vantor.lock"), folder.filePath("vantor.socket")};
    PrivateFolder::checkEntry(places.lockPath.toStdString());
    PrivateFolder::checkEntry(places.socketPath.toStdString());
    return places;
}

namespace {

bool usableFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    // Permission bits do not tell everything (read-only mounts, ACLs): try a write.
    QTemporaryFile probe(QDir(path).filePath("probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString ensureMyFiles(const QString &base, const QString &fallbackBase)
{
    const QString primary = QDir(base).filePath("MyFiles");
    if (!base.isEmpty() && usableFolder(primary))
        return QDir::cleanPath(primary);
    const QString fallback = QDir(fallbackBase).filePath("MyFiles");
    if (!fallbackBase.isEmpty() && usableFolder(fallback))
        return QDir::cleanPath(fallback);
    return QString();
}

void useChineseLocale()
{
    // Qt reads the system locale from these variables; the file dialogs format dates,
    // sizes and file types with it, not with the default locale.
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qunsetenv("LANGUAGE");
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

bool installChineseTranslations(QCoreApplication &app)
{
    // The copy installed with the program first, then Qt's own.
    const QString installed = QString::fromStdString(
        ProjectPaths::dataFolder(QCoreApplication::applicationDirPath().toStdString()) + "/translations");
    for (const QString &dir : {installed, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_", dir))
            return QCoreApplication::installTranslator(translator);
        delete translator;
    }
    return false;
}

void installFontSubstitutions()
{
    const QStringList families = QFontDatabase::families();
    for (const char *candidate : {"Noto Serif CJK SC", "Noto Serif CJK", "AR PL UMing CN", "Noto Sans CJK SC"}) {
        if (families.contains(candidate)) {
            QFont::insertSubstitution("宋体", candidate);
            return;
        }
    }
}

} // namespace vantor
