#pragma once
// A test program that also plays parts for its own tests: a test starts this
// same executable in a child process with "--role <name>" and the part's
// arguments, and main hands those to the part instead of running the tests.
// The part makes its own application object, as a program of its own would.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTest>

#include "support/testsupport.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace ChildRole {

// A part: gets the process's argc and argv (for its application object) and the
// arguments after the part's name; returns the exit code.
using Part = std::function<int(int argc, char **argv, const QStringList &args)>;
using Parts = std::vector<std::pair<const char *, Part>>;

// In main: when the process was started for one of `parts`, plays it and returns
// its exit code; otherwise nothing.
std::optional<int> play(int argc, char **argv, const Parts &parts);

// Starts this executable as `role` with `args` (in `env` when given, or the
// test's own environment).
void start(QProcess &child, const QString &role, const QStringList &args = {},
           const QProcessEnvironment &env = QProcessEnvironment());

using ::Ended;
// Runs this executable as `role` with `args` to its end, at most `timeoutMs`.
Ended run(const QString &role, const QStringList &args = {}, const QProcessEnvironment &env = QProcessEnvironment(),
          int timeoutMs = 60000);

// Writes a line to standard output at once, for the parent to read while the
// child still runs.
void say(const QByteArray &line);

} // namespace ChildRole

// main() for a test class whose program also plays `parts` ({"name", function},
// ...); the tests run in an `Application` (QApplication, or QCoreApplication for
// a test without widgets).
#define QTEST_MAIN_WITH_ROLES(TestObject, Application, ...)                                                            \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        if (const std::optional<int> played = ChildRole::play(argc, argv, {__VA_ARGS__}))                              \
            return *played;                                                                                            \
        Application app(argc, argv);                                                                                   \
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);                                                         \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return runTestProgram(&tc, argc, argv);                                                                        \
    }
