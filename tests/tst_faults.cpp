// Faults while the program runs: files that go away or cannot be read, a home
// folder that cannot be written, pictures that change after they were listed, a
// lock that cannot be had, no display, two starts at once, a kill while the
// settings are written and a print queue that does not take the page. Each
// keeps the program running with nothing lost; what the user sees is checked.

#include "app/allgemein.h"
#include "controls/canvas.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "platform/instancelock.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/settingsbackend.h"
#include "support/childrole.h"
#include "support/fixtures.h"
#include "support/permissionscount.h"
#include "support/printspooler.h"
#include "support/programcopy.h"
#include "support/pulseserver.h"
#include "support/testsupport.h"
#include "support/waitfor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

using namespace Allgemein;

namespace {

// The child role of the kill test: writes the settings to <path> over and over,
// each round all seven keys with the round's number (counting on from <first>),
// until it is killed.
int writeSettingsForParent(int argc, char **argv, const QStringList &args)
{
    QCoreApplication app(argc, argv);
    const int16_t first = int16_t(args.value(1).toInt());
    std::unique_ptr<IniSettingsBackend> store = IniSettingsBackend::atPath(args.value(0));
    SetSettingsBackend(store.get());
    for (int16_t round = first;; ++round) {
        SoundOn = TemplateIndex = PenWidth = PreviewLarge = PenWindowShown = GridShown = round;
        PenColor = round;
        SaveConfig();
    }
}

// The child role of the sound test: plays the sweep every 40 ms through the real
// sound output, as a child clicking away would, and says after each one, <total>
// times.
int playForParent(int argc, char **argv, const QStringList &args)
{
    QCoreApplication app(argc, argv);
    SoundOn = True;
    const int total = args.value(0).toInt();
    int played = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        PlayEffect(Effect::Sweep);
        ChildRole::say("played " + QByteArray::number(++played));
        if (played == total)
            app.quit();
    });
    tick.start(40);
    return app.exec();
}
} // namespace

class tst_Faults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void languageTableGoneWhileRunning_data();
    void languageTableGoneWhileRunning();
    void settingsFileFaults_data();
    void settingsFileFaults();
    void pictureChangedBetweenListAndOk_data();
    void pictureChangedBetweenListAndOk();
    void instanceLock_data();
    void instanceLock();
    void noDisplay();
    void twoStartsAtOnce();
    void killedWhileWritingSettings();
    void soundServerKilled();
    void printQueueFaults_data();
    void printQueueFaults();

private:
    std::optional<TestEnvironment> m_env;
    std::unique_ptr<PrintSpooler> m_spooler;
    QString m_why; // why there is no spooler
};

void tst_Faults::init()
{
    m_env.emplace();
    SoundOn = False;
}

void tst_Faults::cleanup()
{
    endMainWindow();
    InstanceLock::setLockCall({});
    m_env.reset();
}

void tst_Faults::languageTableGoneWhileRunning_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("made unreadable") << "unreadable";
    QTest::newRow("a folder in its place") << "folder";
}

// The copy of the language table goes while the program runs: the texts stay,
// read from the table the program carries; no error dialog.
void tst_Faults::languageTableGoneWhileRunning()
{
    QFETCH(QString, fault);
    LanguageFilePath = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    QCOMPARE(ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), LanguageFilePath), 0);
    frmDraw &w = frmDraw::instance();
    w.Sprache(); // as every activation of the window does
    QCOMPARE(w.vbeButton(9)->toolTip(), QStringLiteral("Beenden"));

    PermissionsCount permissions;
    QVERIFY(permissions.ok());
    if (fault == QLatin1String("deleted")) {
        QVERIFY(QFile::remove(LanguageFilePath));
    } else if (fault == QLatin1String("unreadable")) {
        QVERIFY(QFile::setPermissions(LanguageFilePath, QFile::WriteOwner));
        QFile probe(LanguageFilePath);
        QVERIFY(!probe.open(QIODevice::ReadOnly));
    } else {
        QVERIFY(QFile::remove(LanguageFilePath));
        QVERIFY(QDir().mkdir(LanguageFilePath));
    }
    LanguageOffset = 1000;
    w.Sprache();
    QCOMPARE(w.vbeButton(9)->toolTip(), QStringLiteral("End program"));
    QCOMPARE(GetLang(6114), QStringLiteral("Voulez vous vraiment terminer?"));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Faults::settingsFileFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("loadErrors");
    QTest::addColumn<int>("saveErrors");
    QTest::newRow("a folder in its place") << "folder" << 8 << 7;
    QTest::newRow("cannot be read") << "unreadable" << 8 << 7;
    // Nothing to read, and no folder for the file can be made.
    QTest::newRow("the home folder cannot be written") << "home" << 0 << 7;
}

// The settings file cannot be read or written: each setting the load reads
// (eight) reports error 75 (the settings could not be read) at its own
// statement, Ignore keeps the value the program had; a save reports 75 for each
// key it writes (seven: the parents' switch for the live strokes is only read);
// the quit routine saves nothing, shows nothing and ends the windows. What the
// file held is not written over, so the settings come back once it can be read
// again, and nothing else is written.
void tst_Faults::settingsFileFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, loadErrors);
    QFETCH(int, saveErrors);
    const QString home = m_env->folder.filePath(QStringLiteral("home"));
    const QString path = home + QStringLiteral("/.config/Stiftolino/Stiftolino.ini");
    QVERIFY(QDir().mkpath(fault == u"home" ? home : QFileInfo(path).path()));
    if (fault == u"folder")
        QVERIFY(QDir().mkpath(path + QStringLiteral("/keep")));
    else if (fault == u"unreadable")
        QVERIFY(writeFile(path, "[Optionen]\nWidth=9\nImage=7\n") && QFile::setPermissions(path, QFile::WriteOwner));
    else
        QVERIFY(QFile::setPermissions(home, QFile::ReadOwner | QFile::ExeOwner));
    {
        PermissionsCount permissions;
        QVERIFY(permissions.ok());
        QVERIFY(showMainWindow());
        std::unique_ptr<IniSettingsBackend> store = IniSettingsBackend::atPath(path);
        SetSettingsBackend(store.get());
        const auto back = qScopeGuard([&] { SetSettingsBackend(&m_env->settings); });
        m_env->reporter.fallback = 1; // Ignore: every statement is tried
        PenWidth = 30;
        for (const auto &[run, procedure, reports] : {std::tuple{&LoadConfig, "LoadConfig", loadErrors},
                                                      {&SaveConfig, "SaveConfig", saveErrors},
                                                      {&QuitProgram, "", 0}}) {
            run();
            QCOMPARE(m_env->reporter.reports.size(), reports);
            for (int i = 0; i < reports; ++i) {
                QCOMPARE(m_env->reporter.reports[i].procedure, QLatin1String(procedure));
                QCOMPARE(m_env->reporter.reports[i].error.number, 75);
                QCOMPARE(m_env->reporter.reports[i].error.line, 20 + 10 * i);
            }
            m_env->reporter.reports.clear();
        }
        QCOMPARE(LoadedFormCount(), 0);
        // Ignore kept the value the program had; with nothing stored, the default.
        QCOMPARE(PenWidth, loadErrors ? int16_t(30) : Defaults::PenWidth);
    }
    if (fault == u"folder") {
        QVERIFY(QFileInfo(path + QStringLiteral("/keep")).isDir());
    } else if (fault == u"unreadable") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        std::unique_ptr<IniSettingsBackend> again = IniSettingsBackend::atPath(path);
        SetSettingsBackend(again.get());
        LoadConfig();
        SetSettingsBackend(&m_env->settings);
        QCOMPARE(PenWidth, int16_t(9));
        QCOMPARE(TemplateIndex, int16_t(7));
    } else {
        QVERIFY(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
}

void tst_Faults::pictureChangedBetweenListAndOk_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("error");
    QTest::newRow("deleted") << "deleted" << 53;
    // Too large a picture, which is refused the same way, is one of tst_picker's files.
    QTest::newRow("replaced by a letter") << "letter" << 481;
}

// A picture picked in the file list changes before OK: OK reads it again and
// reports it through the error dialog (53 file not found, 481 invalid picture)
// and the drawing on the canvas stays; Ignore goes back to the lesson step.
void tst_Faults::pictureChangedBetweenListAndOk()
{
    QFETCH(QString, change);
    QFETCH(int, error);
    QVERIFY(showMainWindow());
    frmDraw &w = MainWindow();
    frmPreview *p = w.preview();
    QVERIFY(p);
    const QString folder = Paths::picturesFolder();
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/Haus.bmp");
    QImage picture(60, 45, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(file, "BMP"));
    w.picBild()->line(QPointF(10, 10), QPointF(200, 150));
    const QImage drawn = w.picBild()->image();

    p->ShowFilePanel();
    QCOMPARE(p->pictureNames(), QStringList{QStringLiteral("Haus.bmp")});
    p->filPics->setCurrentRow(0);
    p->filPics_Click();
    QVERIFY(m_env->reporter.reports.isEmpty());
    if (change == QLatin1String("deleted")) {
        QVERIFY(QFile::remove(file));
    } else {
        QVERIFY(writeFile(file, "this is a letter, not a picture\n"));
    }
    m_env->reporter.fallback = 1; // Ignore
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    QCOMPARE(m_env->reporter.said(), QStringList{QStringLiteral("frmPreview.vbeButton_Click 360: %1").arg(error)});
    QVERIFY(w.picBild()->image() == drawn);
    QVERIFY(p->picPanel[0]->isVisible());
    QVERIFY(!p->picPanel[2]->isVisible());
}

void tst_Faults::instanceLock_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<InstanceLock::Outcome>("outcome");
    QTest::addColumn<QString>("why"); // the end of what a start without the lock says
    using InstanceLock::Outcome;
    QTest::newRow("free") << QString() << Outcome::Held << QString();
    QTest::newRow("held by a running copy") << "held" << Outcome::RunningCopy << QString();
    // The other failures start the program without the check, saying why.
    QTest::newRow("no locks on a network home")
        << "ENOLCK" << Outcome::Unavailable << " cannot be locked: " + qt_error_string(ENOLCK);
    QTest::newRow("a folder in the lock file's place")
        << "folder" << Outcome::Unavailable << " cannot be made or opened: " + qt_error_string(EISDIR);
    QTest::newRow("a file in its folder's place")
        << "file" << Outcome::Unavailable << QStringLiteral(" cannot be made: its folder cannot be made");
}

// The lock that keeps a second copy from running: only a lock that a running
// copy holds refuses the start.
void tst_Faults::instanceLock()
{
    QFETCH(QString, fault);
    QFETCH(InstanceLock::Outcome, outcome);
    QFETCH(QString, why);
    const QString folder = m_env->folder.filePath(QStringLiteral("config/Stiftolino"));
    const QString file = folder + QStringLiteral("/stiftolino.lock");
    if (fault == u"held")
        QCOMPARE(InstanceLock::acquire(file).outcome, InstanceLock::Outcome::Held);
    else if (fault == u"ENOLCK")
        InstanceLock::setLockCall([](int) {
            errno = ENOLCK;
            return -1;
        });
    else if (fault == u"folder")
        QVERIFY(QDir().mkpath(file));
    else if (fault == u"file")
        QVERIFY(QDir().mkpath(QFileInfo(folder).path()) && QFile(folder).open(QIODevice::WriteOnly));
    const InstanceLock::Result result = InstanceLock::acquire(file);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.why, why.isEmpty() ? QString() : file + why);
}

// No display: one clear line on stderr, exit code 1, no file written anywhere.
void tst_Faults::noDisplay()
{
    ProgramCopy in;
    QVERIFY(in.install());
    QProcessEnvironment env = in.environment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(in.binary);
    QVERIFY(app.waitForFinished(20000));
    const QByteArray err = app.readAllStandardError();
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 1);
    QVERIFY2(err.startsWith("Stiftolino cannot start: neither DISPLAY nor WAYLAND_DISPLAY is set. "
                            "It needs a graphical desktop (X11 or Wayland).\n"),
             err.constData());
    QCOMPARE(err.count('\n'), 1);
    QDirIterator written(in.dir.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    QStringList files;
    while (written.hasNext())
        files << written.next();
    QCOMPARE(files, QStringList{in.binary});
}

// Two starts in the same moment, ten times over: each time exactly one runs and
// the other ends at once, quietly.
void tst_Faults::twoStartsAtOnce()
{
    ProgramCopy in;
    QVERIFY(in.install());
    const QString table = in.runtime() + QStringLiteral("/stiftolino-%1/~tmp.lng").arg(::getuid());
    QProcessEnvironment env = in.environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")); // on no screen at all
    for (int round = 0; round < 10; ++round) {
        QFile::remove(table);
        QProcess a;
        QProcess b;
        for (QProcess *p : {&a, &b}) {
            p->setProcessEnvironment(env);
            p->setProgram(in.binary);
        }
        a.start();
        b.start();
        QVERIFY(a.waitForStarted() && b.waitForStarted());
        QVERIFY2(waitFor([&] { return a.state() == QProcess::NotRunning || b.state() == QProcess::NotRunning; }, 20000),
                 qPrintable(QStringLiteral("round %1: neither start ended").arg(round)));
        QProcess &ended = a.state() == QProcess::NotRunning ? a : b;
        QProcess &running = &ended == &a ? b : a;
        QCOMPARE(ended.exitStatus(), QProcess::NormalExit);
        QCOMPARE(ended.exitCode(), 0);
        // The one that runs gets as far as writing its language table, and stays.
        QVERIFY(waitFor([&] { return QFile::exists(table); }, 20000));
        QCOMPARE(running.state(), QProcess::Running);
        running.kill();
        running.waitForFinished();
    }
}

// Killed while the settings are written, again and again: the file that is left
// is always whole, and every key holds the value of the round that was being
// written or of the round before.
void tst_Faults::killedWhileWritingSettings()
{
    const QString path = m_env->folder.filePath(QStringLiteral("Stiftolino.ini"));
    static const char *const keys[] = {"Sound", "Width", "Image", "Color", "PSize", "CShow", "Gitter"};
    // The round of each key, in the order they are written; none when the file is not whole.
    auto roundsIn = [&] {
        const QByteArray text = readFile(path);
        QSettings s(path, QSettings::IniFormat);
        QList<int> values;
        if (!text.startsWith("[Optionen]\n") || !text.endsWith('\n') || s.status() != QSettings::NoError)
            return values;
        for (const char *k : keys)
            values << s.value(QStringLiteral("Optionen/") + QLatin1String(k), -1).toInt();
        return values;
    };
    {
        // The settings of an earlier run: round 0.
        QSettings before(path, QSettings::IniFormat);
        for (const char *k : keys)
            before.setValue(QStringLiteral("Optionen/") + QLatin1String(k), 0);
    }
    int lastRound = 0;
    for (int kill = 0; kill < 20; ++kill) {
        QProcess child;
        ChildRole::start(child, QStringLiteral("write-settings"), {path, QString::number(lastRound + 1)});
        QVERIFY(child.waitForStarted());
        // Kill it at a different point each time: after a few more rounds.
        const int target = lastRound + 1 + kill % 5;
        QVERIFY(waitFor([&] { return roundsIn().value(0, -1) >= target; }, 20000));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        const QList<int> v = roundsIn();
        QVERIFY2(!v.isEmpty(), qPrintable(QStringLiteral("torn settings file after kill %1").arg(kill)));
        // Written in order: a key is of the round being written or the one before,
        // and no key written later is newer than one written earlier.
        QStringList rounds;
        for (int r : v)
            rounds << QString::number(r);
        for (qsizetype i = 1; i < v.size(); ++i)
            QVERIFY2(v[i] <= v[i - 1] && v[i] >= v.first() - 1,
                     qPrintable(QStringLiteral("kill %1: rounds %2").arg(kill).arg(rounds.join(u' '))));
        lastRound = v.last();
    }

    // Killed just as it took the lock, a run leaves an empty lock file behind:
    // the next run's writes do not wait for it.
    QVERIFY(writeFile(path + QStringLiteral(".lock"), {}));
    QProcess next;
    ChildRole::start(next, QStringLiteral("write-settings"), {path, QString::number(lastRound + 1)});
    QVERIFY(next.waitForStarted());
    QVERIFY2(waitFor([&] { return roundsIn().value(6, -1) > lastRound; }, 10000),
             "the settings wait for an abandoned lock file");
    next.kill();
    next.waitForFinished();
}

// The sound server is killed while sounds play: the program goes on (no hang, no
// crash, no message), silent; when a server is back the program still runs.
void tst_Faults::soundServerKilled()
{
    PulseServer server;
    const QString failure = server.start();
    if (!failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no sound server for this test: ") + failure));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), server.address());
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    ChildRole::start(child, QStringLiteral("play"), {QStringLiteral("120")}, env);
    QVERIFY(child.waitForStarted());
    QByteArray out;
    auto reached = [&](int n) {
        return waitFor(
            [&] {
                child.waitForReadyRead(20);
                out += child.readAllStandardOutput();
                return out.contains("played " + QByteArray::number(n) + '\n');
            },
            15000);
    };
    QVERIFY2(reached(10), out.constData());
    server.kill();
    QVERIFY2(reached(60), "the program hangs once the sound server is gone");
    QCOMPARE(server.start(), QString());
    QVERIFY2(reached(120), "the program hangs once the sound server is back");
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    const QByteArray err = child.readAllStandardError();
    QVERIFY2(err.isEmpty(), err.constData());
}

void tst_Faults::printQueueFaults_data()
{
    QTest::addColumn<QString>("program");  // what is done to the queue after the start
    QTest::addColumn<QStringList>("said"); // what the error frame was told
    // No printer at all when the window loads and prints, or the queue removed
    // after the start: no default printer either way.
    QTest::newRow("no printer") << QString() << QStringList{"frmDraw.vbeButton_Click 160: 482"};
    QTest::newRow("removed") << "lpadmin" << QStringList{"frmDraw.vbeButton_Click 160: 482"};
    QTest::newRow("rejecting jobs") << "cupsreject" << QStringList{"frmDraw.vbeButton_Click 210: 482"};
    // A paused queue takes the job and prints it once it goes on again.
    QTest::newRow("paused") << "cupsdisable" << QStringList();
}

void tst_Faults::printQueueFaults()
{
    QFETCH(QString, program);
    QFETCH(QStringList, said);
    // One spooler for every row, a queue of its own for each: the print system
    // keeps to the first spooler it talks to.
    if (!m_spooler) {
        m_spooler = std::make_unique<PrintSpooler>();
        m_why = m_spooler->startForCupsPdf();
    }
    if (!m_why.isEmpty())
        QSKIP(qPrintable(m_why));
    const QString queue = QStringLiteral("Kinderzimmer-") + program;
    if (!program.isEmpty())
        QVERIFY2(m_spooler->addQueue(queue, PrintSpooler::cupsPdfPpd()), qPrintable(m_spooler->whyNot()));
    Printing::setPrinterFactory({}); // the real default printer
    QCOMPARE(QPrinterInfo::defaultPrinter().isNull(), program.isEmpty());

    QVERIFY(showMainWindow());
    frmDraw &w = MainWindow();
    w.picBild()->line(QPointF(10, 10), QPointF(200, 150));
    const QImage drawn = w.picBild()->image();
    const QStringList args = program == u"lpadmin" ? QStringList{QStringLiteral("-x"), queue} : QStringList{queue};
    if (!program.isEmpty())
        QVERIFY2(!m_spooler->run(program, args).isNull(), qPrintable(m_spooler->whyNot()));

    m_env->reporter.fallback = 1; // Ignore
    w.vbeButton_Click(5);
    QCOMPARE(m_env->reporter.said(), said);
    if (said.isEmpty()) {
        const QString waiting = m_spooler->run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
        QVERIFY2(waiting.startsWith(queue + u'-'), qPrintable(waiting));
    }
    QVERIFY(w.picBild()->image() == drawn);
    QVERIFY(w.isVisible());
    QVERIFY(!QFile::exists(m_spooler->outputFile(queue)));
}

QTEST_MAIN_WITH_ROLES(tst_Faults, QApplication, {"play", playForParent}, {"write-settings", writeSettingsForParent})

#include "tst_faults.moc"
