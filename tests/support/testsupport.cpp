#include "support/testsupport.h"

#include <QFile>

#include "core/globals.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "platform/paths.h"

int ScriptedReporter::onError(const QString &module, const QString &procedure,
                              const PendingError &error)
{
    reports.append({module, procedure, error});
    return answers.isEmpty() ? fallback : answers.takeFirst();
}

CoreEnvironment::CoreEnvironment()
{
    Allgemein::ResetGlobals();
    ErrorHandling::setReporter(&reporter);
    ErrorHandling::setEndHandler([] { throw ProgramEnded{}; });
    Allgemein::SetSettingsBackend(&settings);
    Paths::setProgramFolder(folder.path(), QStringLiteral("stiftolino"));
    Allgemein::SetSoundOutput(&sound);
}

CoreEnvironment::~CoreEnvironment()
{
    Allgemein::SetSoundOutput(nullptr);
    ErrorHandling::setReporter(nullptr);
    ErrorHandling::setEndHandler({});
    Allgemein::SetSettingsBackend(nullptr);
    Paths::setProgramFolder(QString());
}

int32_t CoreEnvironment::writeLanguageTable()
{
    Allgemein::LanguageFilePath = folder.filePath(QStringLiteral("~tmp.lng"));
    return ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), Allgemein::LanguageFilePath);
}

bool ModResFiles::HasResource(int number, const QString &type)
{
    return QFile::exists(QStringLiteral(":/res/%1/%2").arg(type.toUpper()).arg(number));
}
