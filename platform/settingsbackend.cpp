#include "platform/settingsbackend.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

struct IniSettingsBackend::Private {
    std::unique_ptr<QSettings> settings;
};

IniSettingsBackend::IniSettingsBackend(const QString &application) : d(std::make_unique<Private>())
{
    d->settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application, application);
}

std::unique_ptr<IniSettingsBackend> IniSettingsBackend::atPath(const QString &path)
{
    std::unique_ptr<IniSettingsBackend> b(new IniSettingsBackend());
    b->d = std::make_unique<Private>();
    b->d->settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    return b;
}

IniSettingsBackend::~IniSettingsBackend() = default;

QString IniSettingsBackend::fileName() const { return d->settings->fileName(); }

namespace {
// The key as it is stored, whatever its case; empty when missing.
QString storedKey(QSettings &s, const QString &key)
{
    const QStringList keys = s.childKeys();
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return QString();
}

// QSettings writes the file whole (a new file renamed over the old one) under a
// lock file. A run killed just as it made that lock file leaves it without the
// owner's name, and QSettings would wait 30 s for it on the next write. Only one
// copy of the program runs, so a lock file nobody can be named for is taken over.
void clearAbandonedLock(const QString &iniFile)
{
    QLockFile lock(iniFile + QStringLiteral(".lock"));
    lock.setStaleLockTime(1);
    if (lock.tryLock(0))
        lock.unlock();
}
} // namespace

std::optional<QString> IniSettingsBackend::value(const QString &section, const QString &key)
{
    QSettings &s = *d->settings;
    s.sync();
    s.beginGroup(section);
    const QString k = storedKey(s, key);
    std::optional<QString> result;
    if (!k.isEmpty())
        result = s.value(k).toString();
    s.endGroup();
    return result;
}

bool IniSettingsBackend::setValue(const QString &section, const QString &key, const QString &text)
{
    QSettings &s = *d->settings;
    s.beginGroup(section);
    // Keep one spelling of the key: the one already stored, if any.
    QString k = storedKey(s, key);
    if (k.isEmpty())
        k = key;
    s.setValue(k, text);
    s.endGroup();
    clearAbandonedLock(s.fileName());
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    // QSettings keeps the first error it met for the rest of the run (one malformed
    // line read earlier is enough), so it cannot say whether this write failed:
    // the file itself must now hold the value. It is read from a copy: a second
    // QSettings on the same file would share this one's unwritten keys and find
    // the value even when the file could not be written at all.
    if (!readable())
        return false;
    const QTemporaryDir copyFolder;
    const QString copy = copyFolder.filePath(QStringLiteral("written.ini"));
    if (!copyFolder.isValid() || !QFile::copy(s.fileName(), copy))
        return false;
    QSettings written(copy, QSettings::IniFormat);
    written.beginGroup(section);
    return written.contains(k) && written.value(k).toString() == text;
}

bool IniSettingsBackend::readable()
{
    const QFileInfo info(fileName());
    if (!info.exists())
        return true;
    QFile file(info.filePath());
    return !info.isDir() && file.open(QIODevice::ReadOnly);
}

std::optional<QString> MemorySettingsBackend::value(const QString &section, const QString &key)
{
    const auto it = m_values.constFind(section + u'/' + key.toLower());
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

bool MemorySettingsBackend::setValue(const QString &section, const QString &key, const QString &text)
{
    if (failWrites)
        return false;
    writes << section + u'/' + key + u'=' + text;
    m_values.insert(section + u'/' + key.toLower(), text);
    return true;
}
