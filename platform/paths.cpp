#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder an installation keeps the program's data in, under <prefix>/share.
const QString DataFolderName = QStringLiteral("stiftolino");

QString g_folder;
QString g_name;

bool writableFolder(const QString &path) { return ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0; }

// Makes `path` a private folder of ours, refusing one that is a link or belongs
// to someone else.
bool ensurePrivateFolder(const QString &path)
{
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {
    };
    if (::lstat(p.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 0077) != 0 && ::chmod(p.constData(), 0700) != 0)
        return false;
    return true;
}
} // namespace

namespace Paths {

QString programFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QCoreApplication::applicationDirPath();
}

QString programName()
{
    if (!g_name.isEmpty())
        return g_name;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void setProgramFolder(const QString &folder, const QString &name)
{
    g_folder = folder;
    g_name = name;
}

QString privateTempFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QDir::tempPath();
    const QString folder = base + QStringLiteral("/stiftolino-") + QString::number(::getuid());
    if (!ensurePrivateFolder(folder))
        return QString();
    return folder + u'/';
}

QString installedDataFolder()
{
    const QDir data(programFolder() + QStringLiteral("/../share/") + DataFolderName);
    if (!data.exists())
        return QString();
    return QDir::cleanPath(data.absolutePath());
}

bool isInstalled() { return !installedDataFolder().isEmpty(); }

QString picturesFolder()
{
    const QString own = programFolder() + QStringLiteral("/pics");
    if (!isInstalled() && (QFileInfo(own).isDir() ? writableFolder(own) : writableFolder(programFolder())))
        return own;
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Stiftolino");
}

QString protocolFolder()
{
    if (!isInstalled() && writableFolder(programFolder()))
        return programFolder();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString manualFile(const QString &languageCode)
{
    const QString data = installedDataFolder();
    const QString folder = (data.isEmpty() ? programFolder() : data) + QStringLiteral("/help/");
    const QString own = folder + QStringLiteral("Stiftolino.%1.html").arg(languageCode);
    if (QFileInfo(own).isFile())
        return own;
    return folder + QStringLiteral("Stiftolino.en.html");
}

} // namespace Paths
