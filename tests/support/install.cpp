#include "support/install.h"

#include <QProcess>

QString installBuild(const QString &prefix)
{
    const QString build = qEnvironmentVariable("STIFTOLINO_BUILD_DIR");
    const QString cmake = qEnvironmentVariable("STIFTOLINO_CMAKE");
    if (build.isEmpty() || cmake.isEmpty())
        return QStringLiteral("STIFTOLINO_BUILD_DIR or STIFTOLINO_CMAKE is not set (run through ctest)");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(cmake, {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix});
    if (!p.waitForFinished(120000))
        return QStringLiteral("cmake --install did not finish");
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("cmake --install failed: ") + QString::fromLocal8Bit(p.readAll());
    return QString();
}
