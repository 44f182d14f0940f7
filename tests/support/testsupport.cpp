#include "support/testsupport.h"

#include <QFile>
#include <QMetaMethod>
#include <QTest>

#include "core/globals.h"
#include "core/language.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "platform/paths.h"

int ScriptedReporter::onError(const QString &module, const QString &procedure, const PendingError &error)
{
    reports.append({module, procedure, error});
    return answers.isEmpty() ? fallback : answers.takeFirst();
}

QStringList ScriptedReporter::said() const
{
    QStringList lines;
    for (const Report &r : reports)
        lines << QStringLiteral("%1.%2 %3: %4").arg(r.module, r.procedure).arg(r.error.line).arg(r.error.number);
    return lines;
}

CoreEnvironment::CoreEnvironment()
{
    Allgemein::ResetGlobals();
    Allgemein::ForgetLanguageTable();
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

int inkedPixels(const QImage &img)
{
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            n += (line[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return n;
}

bool ModResFiles::HasResource(int number, const QString &type)
{
    return QFile::exists(QStringLiteral(":/res/%1/%2").arg(type.toUpper()).arg(number));
}

int runTestProgram(QObject *test, int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QStringList separate = qEnvironmentVariable("STIFTOLINO_E2E_SEPARATE").split(u',', Qt::SkipEmptyParts);
    if (!separate.isEmpty()) {
        // Every other test function by name, in the order Qt Test would run them.
        static const QStringList fixtures = {QStringLiteral("initTestCase"), QStringLiteral("cleanupTestCase"),
                                             QStringLiteral("init"), QStringLiteral("cleanup")};
        const QMetaObject *meta = test->metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod m = meta->method(i);
            const QString name = QString::fromLatin1(m.name());
            if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Private && m.parameterCount() == 0
                && !name.endsWith(u"_data") && !fixtures.contains(name) && !separate.contains(name))
                arguments << name;
        }
    }
    return QTest::qExec(test, arguments);
}
