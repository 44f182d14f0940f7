#pragma once
// The error frame every procedure runs its numbered statements under.
//
//     ErrorFrame f("frmDraw", "vbeButton_Click");
//     f.run([&] {
//         f.line(10, [&] { Allgemein::PlayEffect(Allgemein::Effect::Click); });
//         f.line(20, [&] { ... });
//     });
//
// A statement that fails raises a RuntimeError. The frame asks the error reporter
// what to do and then repeats the statement (Retry), goes on with the next one
// (Ignore), leaves the procedure (Cancel; a function returns what its result held
// so far) or ends the program at once (End).

#include <QString>

#include <functional>
#include <new>

struct RuntimeError {
    int number = 0;
    QString description;
};

// The error as the reporter sees it: what failed and on which numbered statement.
struct PendingError {
    int number = 0;
    QString description;
    int line = 0;
};

// The classic run-time error numbers the program raises.
namespace Err {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int DiskFull = 61;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int ResourceNotFound = 326;
constexpr int InvalidPropertyValue = 380;
constexpr int InvalidPicture = 481;
constexpr int PrinterError = 482;
} // namespace Err

// The usual text for an error number.
QString errorDescription(int number);

// Raises a run-time error; with no description the usual text for the number.
[[noreturn]] void raiseError(int number, const QString &description = QString());

enum class ErrorChoice { Retry = 0, Ignore = 1, Cancel = 2, End = 3 };

class ErrorReporter
{
public:
    virtual ~ErrorReporter() = default;
    // Returns 0 Retry, 1 Ignore, 2 Cancel, 3 End; any other number counts as Cancel.
    virtual int onError(const QString &module, const QString &procedure, const PendingError &error) = 0;
};

namespace ErrorHandling {
// The reporter the frames ask; null means every error is cancelled silently.
void setReporter(ErrorReporter *reporter);
ErrorReporter *reporter();
// What End does; the program ends the process at once, tests record it instead.
void setEndHandler(std::function<void()> handler);
[[noreturn]] void endProgram();
} // namespace ErrorHandling

class ErrorFrame
{
public:
    ErrorFrame(const char *module, const char *procedure)
        : m_module(QString::fromLatin1(module)), m_procedure(QString::fromLatin1(procedure))
    {
    }

    // Runs the procedure's body; a Cancel (or exit()) leaves it here.
    template <class Body> void run(Body &&body)
    {
        try {
            body();
        } catch (const Leave &leave) {
            if (leave.frame != this)
                throw;
        }
    }

    // Runs one numbered statement under the frame.
    template <class Statement> void line(int number, Statement &&statement)
    {
        for (;;) {
            PendingError pending;
            try {
                statement();
                return;
            } catch (const RuntimeError &e) {
                pending = {e.number, e.description, number};
            } catch (const std::bad_alloc &) {
                pending = {Err::OutOfMemory, errorDescription(Err::OutOfMemory), number};
            }
            switch (ask(pending)) {
            case ErrorChoice::Retry:
                continue;
            case ErrorChoice::Ignore:
                return;
            case ErrorChoice::End:
                ErrorHandling::endProgram();
            case ErrorChoice::Cancel:
                throw Leave{this};
            }
        }
    }

    // Leaves the procedure from inside a statement, as a plain "stop here".
    [[noreturn]] void exit() { throw Leave{this}; }

    const QString &module() const { return m_module; }
    const QString &procedure() const { return m_procedure; }

private:
    struct Leave {
        const ErrorFrame *frame;
    };
    ErrorChoice ask(const PendingError &pending) const;

    QString m_module;
    QString m_procedure;
};

// Runs a statement and swallows any run-time error: for the few procedures that
// ignore every failure (the quit routine) or leave silently (printer margins).
template <class Statement> bool tryQuietly(Statement &&statement)
{
    try {
        statement();
        return true;
    } catch (const RuntimeError &) {
        return false;
    } catch (const std::bad_alloc &) {
        return false;
    }
}
