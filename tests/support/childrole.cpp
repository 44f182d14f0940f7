#include "support/childrole.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace ChildRole {

namespace {
const char RoleOption[] = "--role";
} // namespace

std::optional<int> play(int argc, char **argv, const Parts &parts)
{
    if (argc < 3 || std::strcmp(argv[1], RoleOption) != 0)
        return std::nullopt;
    QStringList args;
    for (int i = 3; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (const auto &[name, part] : parts) {
        if (std::strcmp(argv[2], name) == 0)
            return part(argc, argv, args);
    }
    std::fprintf(stderr, "no part \"%s\" in this test program\n", argv[2]);
    return 2;
}

void start(QProcess &child, const QString &role, const QStringList &args, const QProcessEnvironment &env)
{
    if (!env.isEmpty())
        child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(RoleOption), role} + args);
}

Ended run(const QString &role, const QStringList &args, const QProcessEnvironment &env, int timeoutMs)
{
    QProcess child;
    start(child, role, args, env);
    return waitForEnd(child, timeoutMs);
}

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace ChildRole
