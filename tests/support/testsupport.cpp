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
        lines << u"%1.%2 %3: %4"_qs.arg(r.module, r.procedure).arg(r.error.line).arg(r.error.number);
    return lines;
}

CoreEnvironment::CoreEnvironment()
{
    Allgemein::ResetGlobals();
    Allgemein::ForgetLanguageTable();
    ErrorHandling::setReporter(&reporter);
    ErrorHandling::setEndHandler([] { throw ProgramEnded{}; });
    Allgemein::SetSettingsBackend(&settings);
    Paths::setProgramFolder(folder.path(), u"stiftolino"_qs);
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
    Allgemein::LanguageFilePath = folder.filePath(u"~tmp.lng"_qs);
    return ModResFiles::SaveResItemToDisk(1000, u"CUSTOM"_qs, Allgemein::LanguageFilePath);
}

Ended waitForEnd(QProcess &p, int timeoutMs)
{
    const bool finished = p.waitForFinished(timeoutMs);
    if (!finished) {
        p.kill();
        p.waitForFinished(1000);
    }
    return {finished, p.exitStatus(), p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
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
    return QFile::exists(u":/res/%1/%2"_qs.arg(type.toUpper()).arg(number));
}

int runTestProgram(QObject *test, int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QStringList separate = qEnvironmentVariable("STIFTOLINO_E2E_SEPARATE").split(u',', Qt::SkipEmptyParts);
    if (!separate.isEmpty()) {
        // Every other test function by name, in the order Qt Test would run them.
        static const QStringList fixtures = {u"initTestCase"_qs, u"cleanupTestCase"_qs, u"init"_qs, u"cleanup"_qs};
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
