#include "app/allgemein.h"

#include "about/frminfo.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/languages.h"
#include "core/qttexts.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "draw/frmdraw.h"
#include "errors/errptnr.h"
#include "platform/instancelock.h"
#include "platform/memory.h"
#include "platform/settingsbackend.h"

#include <QApplication>
#include <QIcon>
#include <QList>
#include <QPointer>

#include <cstdio>

namespace Allgemein {

namespace {
struct LoadedForm {
    QPointer<QWidget> form;
    std::function<void()> unload;
};
QList<LoadedForm> g_forms;

// The error dialog as the frames' reporter, created on the first error.
class DialogReporter : public ErrorReporter
{
public:
    int onError(const QString &module, const QString &procedure, const PendingError &error) override
    {
        return ErrPtnr::instance().OnError(module, procedure, error);
    }
};

// Answers every error with Ignore, for the quit routine.
class IgnoreAll : public ErrorReporter
{
public:
    int onError(const QString &, const QString &, const PendingError &) override { return 1; }
};
} // namespace

void RegisterForm(QWidget *form, std::function<void()> unload)
{
    UnregisterForm(form);
    g_forms.append({form, std::move(unload)});
}

void UnregisterForm(QWidget *form)
{
    g_forms.removeIf([form](const LoadedForm &f) { return f.form == form || f.form.isNull(); });
}

int LoadedFormCount()
{
    g_forms.removeIf([](const LoadedForm &f) { return f.form.isNull(); });
    return int(g_forms.size());
}

frmDraw &MainWindow()
{
    const bool first = !frmDraw::exists();
    frmDraw &w = frmDraw::instance();
    if (first) {
        RegisterForm(&w, [&w] { w.Unload(); });
        w.setQuitProgram(QuitProgram);
    }
    return w;
}

namespace {
// Qt aborts the process when it cannot open a display. While the application
// object is made, its messages are held back; a fatal one becomes one clear
// line and exit code 1, before the program has written anything.
QtMessageHandler g_passOn = nullptr;
struct HeldMessage {
    QtMsgType type;
    const char *file;
    int line;
    const char *function;
    const char *category;
    QString message;
};
QList<HeldMessage> g_heldBack;

void holdBackStartMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_heldBack.append({type, context.file, context.line, context.function, context.category, message});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    QByteArray why;
    if (display.isEmpty() && wayland.isEmpty())
        why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    else if (!display.isEmpty())
        why = "the display \"" + display + "\" cannot be opened";
    else
        why = "the display \"" + wayland + "\" cannot be opened";
    std::fprintf(stderr, "Stiftolino cannot start: %s. It needs a graphical desktop (X11 or Wayland).\n",
                 why.constData());
    std::fflush(stderr);
    std::_Exit(1);
}

void passOnStartMessages()
{
    qInstallMessageHandler(g_passOn);
    for (const HeldMessage &m : std::as_const(g_heldBack))
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.message);
    g_heldBack.clear();
}
} // namespace

int Main(int argc, char *argv[])
{
    Memory::keepHeapSmall();
    g_passOn = qInstallMessageHandler(holdBackStartMessages);
    QApplication app(argc, argv);
    passOnStartMessages();

    // A second copy ends at once, before it opens anything on the screen. A lock
    // that cannot be had for any other reason (a network home folder without
    // locks, something else where the lock file belongs) does not keep the child
    // from drawing: the program runs without the check, and says so.
    const InstanceLock::Result lock = InstanceLock::acquire();
    if (lock.outcome == InstanceLock::Outcome::RunningCopy)
        return 0;
    if (lock.outcome == InstanceLock::Outcome::Unavailable) {
        std::fprintf(stderr, "Stiftolino runs without the check for a second copy: the lock file %s.\n",
                     qPrintable(lock.why));
        std::fflush(stderr);
    }

    if (!StartUp())
        return 0;
    return QApplication::exec();
}

bool StartUp()
{
    QApplication::setApplicationName(AppTitle);
    QApplication::setOrganizationName(AppTitle);
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(STIFTOLINO_VERSION_MAJOR)
                                            .arg(STIFTOLINO_VERSION_MINOR)
                                            .arg(STIFTOLINO_VERSION_PATCH));
    QApplication::setWindowIcon(ModResFiles::ReadIcon(QStringLiteral(":/art/icon.png")));
    // The desktop entry's id, so that the desktop matches the windows to the menu
    // entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.vorbexa.Stiftolino"));

    // The sound output opens after the first frame; sounds asked for before wait.
    DeferSoundOutput();
    static IniSettingsBackend settings(AppTitle);
    SetSettingsBackend(&settings);
    static DialogReporter reporter;
    ErrorHandling::setReporter(&reporter);

    ErrorFrame f("Allgemein", "Main");
    f.run([&] {
        f.line(20, [&] { LoadConfig(); });
        // A first start speaks the desktop's language; a stored one always wins.
        f.line(30, [&] { LanguageOffset = StartLanguageOffset(); });
        // Qt's own texts (Yes, No) follow; a language Qt has no words for keeps English.
        UseQtTexts(LanguageOffset);
        f.line(40, [&] { LanguageFilePath = GetTempDir() + QStringLiteral("~tmp.lng"); });
        f.line(50, [&] { ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), LanguageFilePath); });
        // Cannot fail; under the frame all the same, so Main's numbering stays whole.
        f.line(60, [&] { StartingUp = True; });
        // The start screen comes first and brings up the main window when it
        // closes; the main window loads hidden behind it meanwhile. The busy
        // pointer says so until the main window is on the screen.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        f.line(70, [&] {
            frmInfo::setMainWindow({[] { return frmDraw::exists() && MainWindow().isVisible(); },
                                    [] {
                                        MainWindow().showCentred();
                                        QApplication::restoreOverrideCursor();
                                    }});
            frmInfo::ShowModeless();
        });
        // Loads the main window without showing it; the start screen shows it.
        f.line(80, [&] { MainWindow(); });
    });
    return frmDraw::exists() || frmInfo::loaded();
}

void QuitProgram()
{
    IgnoreAll ignore;
    ErrorReporter *previous = ErrorHandling::reporter();
    ErrorHandling::setReporter(&ignore);
    tryQuietly([] { SaveConfig(); });
    const QList<LoadedForm> forms = g_forms;
    for (qsizetype i = forms.size() - 1; i >= 0; --i) {
        const LoadedForm &form = forms.at(i);
        tryQuietly([&] {
            if (!form.form.isNull() && form.unload)
                form.unload();
        });
        UnregisterForm(form.form);
    }
    ErrorHandling::setReporter(previous);
    if (LoadedFormCount() > 0)
        std::_Exit(0);
}

} // namespace Allgemein
