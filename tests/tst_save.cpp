// Saving the canvas: the names a child may type, the overwrite question and the
// faults that come while it is up (a folder that turns read-only, a disk that
// fills, a link put in the picture's place), what the file holds, and a kill in
// the middle of a save.

#include "app/allgemein.h"
#include "controls/canvas.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/picturefile.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "support/childrole.h"
#include "support/fixtures.h"
#include "support/permissionscount.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Allgemein;

namespace {

QByteArray md5(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex(); }

// Everything in a folder, hidden entries too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Reads an uncompressed 24-bit bitmap file by hand, independent of Qt's reader.
QImage readBmp24(const QByteArray &b, QString *why)
{
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    const auto s32 = [&](int at) { return qFromLittleEndian<qint32>(b.constData() + at); };
    if (b.size() < 54 || !b.startsWith("BM")) {
        *why = QStringLiteral("not a bitmap file");
        return {};
    }
    const int offset = s32(10), width = s32(18), height = s32(22);
    if (u16(28) != 24 || s32(30) != 0) {
        *why = QStringLiteral("%1 bits per pixel, compression %2").arg(u16(28)).arg(s32(30));
        return {};
    }
    const int stride = (width * 3 + 3) & ~3;
    if (width <= 0 || height == 0 || offset + stride * qAbs(height) > b.size()) {
        *why = QStringLiteral("size %1 x %2 does not fit the file").arg(width).arg(height);
        return {};
    }
    QImage img(width, qAbs(height), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const int row = height > 0 ? img.height() - 1 - y : y; // bottom-up unless negative
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + offset + row * stride);
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]));
    }
    return img;
}

// The overwrite question's answer comes after the pictures folder turned
// read-only, or after "haus.bmp" was moved out and a link to it put in its place.
class ProtectingPrompts : public Prompts::Scripted
{
public:
    QString folder;
    QString fault;
    bool linked = false;
    Prompts::Answer message(QWidget *parent, const QString &text, Prompts::Buttons buttons, Prompts::Icon icon,
                            const QString &title, Prompts::Answer defaultButton) override
    {
        if (fault == u"readonly") {
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        } else if (fault == u"link") {
            const QString picture = folder + QStringLiteral("/haus.bmp");
            const QString moved = folder + QStringLiteral("/../haus.bmp");
            linked = QFile::rename(picture, moved) && QFile::link(moved, picture);
        }
        return Prompts::Scripted::message(parent, text, buttons, icon, title, defaultButton);
    }
};

// Saves large pictures over <folder>/haus.bmp again and again, saying
// "writing <i> <md5>" before and "saved <i>" after each.
int saveLoop(int argc, char **argv, const QStringList &args)
{
    QApplication app(argc, argv);
    const QString path = args.value(0) + QStringLiteral("/haus.bmp");
    for (int i = 0;; ++i) {
        QImage img(3000, 2250, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 47) % 360, 200, 200));
        const QByteArray bytes = PictureFile::bmpBytes(img);
        ChildRole::say("writing " + QByteArray::number(i) + ' ' + md5(bytes));
        PictureFile::save(path, img);
        ChildRole::say("saved " + QByteArray::number(i));
    }
}

} // namespace

class tst_Save : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void names_data();
    void names();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void fileHoldsWhatTheCanvasShows();
    void killedInTheMiddle();

private:
    void useEnglish();
    void stroke(QPoint from, QPoint to, const QColor &color);
    void save(const QString &name, QList<Prompts::Answer> answers = {});
    QString pics() const { return Paths::picturesFolder(); }
    std::optional<TestEnvironment> m_env;
    frmDraw *w = nullptr;
};

void tst_Save::init()
{
    m_env.emplace();
    m_env->reporter.fallback = 1;
    SoundOn = False;
    QVERIFY((w = showMainWindow()));
}

void tst_Save::cleanup()
{
    endMainWindow();
    w = nullptr;
    m_env.reset();
}

void tst_Save::useEnglish()
{
    m_env->writeLanguageTable();
    LanguageOffset = 1000;
}

void tst_Save::stroke(QPoint from, QPoint to, const QColor &color)
{
    w->picBild()->setForeColor(color);
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, from);
    QTest::mouseMove(w->picBild(), to);
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, to);
}

void tst_Save::save(const QString &name, QList<Prompts::Answer> answers)
{
    m_env->prompts.inputs = {name};
    m_env->prompts.answers = answers;
    QTest::mouseClick(w->vbeButton(3), Qt::LeftButton);
}

void tst_Save::names_data()
{
    QTest::addColumn<QString>("typed");
    // "<typed>.bmp" beforehand: a link to the file "outside", to another
    // "picture", or a "chain" of two links.
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("files"); // what the pictures folder then holds
    QTest::addColumn<int>("error");
    const QStringList none;
    QTest::newRow("cancel") << QString() << QString() << none << 0;
    QTest::newRow("plain") << "haus" << QString() << QStringList{u"haus.bmp"_qs} << 0;
    QTest::newRow("ends in .bmp") << "haus.bmp" << QString() << QStringList{u"haus.bmp.bmp"_qs} << 0;
    QTest::newRow("blanks kept") << " mein haus " << QString() << QStringList{u" mein haus .bmp"_qs} << 0;
    QTest::newRow("umlauts") << "Mäuschen" << QString() << QStringList{u"Mäuschen.bmp"_qs} << 0;
    QTest::newRow("up and out") << "../../x" << QString() << none << 52;
    QTest::newRow("absolute") << "/haus" << QString() << none << 52;
    QTest::newRow("backslash") << "a\\b" << QString() << none << 52;
    QTest::newRow("dot") << "." << QString() << none << 52;
    QTest::newRow("dot dot") << ".." << QString() << none << 52;
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QString() << none << 52;
    // A hidden file, which the lesson window's list would never show.
    QTest::newRow("begins with a dot") << ".haus" << QString() << none << 52;
    QTest::newRow("link to a file outside") << u"weg"_qs << u"outside"_qs << QStringList{u"weg.bmp"_qs} << 52;
    QTest::newRow("link to another picture")
        << u"weg"_qs << u"picture"_qs << QStringList{u"anders.bmp"_qs, u"weg.bmp"_qs} << 52;
    QTest::newRow("chain of two links") << u"weg"_qs << u"chain"_qs << QStringList{u"mitte.bmp"_qs, u"weg.bmp"_qs}
                                        << 52;
}

void tst_Save::names()
{
    QFETCH(QString, typed);
    QFETCH(QString, link);
    QFETCH(QStringList, files);
    QFETCH(int, error);
    useEnglish();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    const QString outside = m_env->folder.filePath(QStringLiteral("outside.bmp"));
    const QString other = pics() + QStringLiteral("/anders.bmp");
    const QString named = pics() + u'/' + typed + QStringLiteral(".bmp");
    QVERIFY(writeFile(outside, "outside"));
    if (!link.isEmpty()) {
        QVERIFY(QDir().mkpath(pics()));
        if (link == u"picture") {
            QVERIFY(writeFile(other, "anders"));
            QVERIFY(QFile::link(other, named));
        } else if (link == u"chain") {
            QVERIFY(QFile::link(outside, pics() + QStringLiteral("/mitte.bmp")));
            QVERIFY(QFile::link(pics() + QStringLiteral("/mitte.bmp"), named));
        } else {
            QVERIFY(QFile::link(outside, named));
        }
    }
    const QStringList before = entries(m_env->folder.path());

    save(typed);
    QCOMPARE(m_env->prompts.asked.value(0),
             QStringLiteral("Save picture to file...|Please enter a name for the file:"));
    QCOMPARE(m_env->prompts.asked.size(), 1); // no overwrite question
    QCOMPARE(PictureName, typed);
    QCOMPARE(entries(pics()), files);
    if (!files.isEmpty() && link.isEmpty())
        QVERIFY(!PictureFile::load(pics() + u'/' + files.first()).isNull());
    // Nothing written through a link, the links left as they were, and nothing
    // where the name as a path would lead.
    QCOMPARE(readFile(outside), QByteArray("outside"));
    if (link == u"picture")
        QCOMPARE(readFile(other), QByteArray("anders"));
    if (!link.isEmpty())
        QVERIFY(QFileInfo(named).isSymLink());
    else if (error)
        QVERIFY(!QFileInfo::exists(QDir::cleanPath(named)));
    QCOMPARE(entries(m_env->folder.path()), before);
    if (error) {
        QCOMPARE(m_env->reporter.reports.size(), 1);
        QCOMPARE(m_env->reporter.reports[0].error.number, error);
        QCOMPARE(m_env->reporter.reports[0].procedure, QStringLiteral("vbeButton_Click"));
        QCOMPARE(m_env->reporter.reports[0].module, QStringLiteral("frmDraw"));
    } else {
        QVERIFY(m_env->reporter.reports.isEmpty());
    }
}

void tst_Save::overwriteQuestion_data()
{
    QTest::addColumn<QList<Prompts::Answer>>("answer"); // none: the default button
    QTest::addColumn<QString>("fault");                 // what happens while the question is up
    QTest::addColumn<int>("error");
    const QList<Prompts::Answer> yes{Prompts::Answer::Yes};
    QTest::newRow("no") << QList<Prompts::Answer>{Prompts::Answer::No} << QString() << 0;
    QTest::newRow("enter") << QList<Prompts::Answer>{} << QString() << 0;
    QTest::newRow("yes") << yes << QString() << 0;
    QTest::newRow("yes, the folder turns read-only") << yes << "readonly" << 75;
    QTest::newRow("yes, the disk fills") << yes << "fill" << 61;
    // Put there between the look at the name and the write: never written through.
    QTest::newRow("yes, a link in its place meanwhile") << yes << "link" << 75;
}

void tst_Save::overwriteQuestion()
{
    QFETCH(QList<Prompts::Answer>, answer);
    QFETCH(QString, fault);
    QFETCH(int, error);
    PermissionsCount permissions; // root writes into read-only folders
    QVERIFY(permissions.ok());
    useEnglish();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    save(QStringLiteral("haus"));
    const QString path = pics() + QStringLiteral("/haus.bmp");
    const QByteArray first = readFile(path);
    QVERIFY(!first.isEmpty());
    QCOMPARE(m_env->prompts.asked.size(), 1);

    // The same name again: now it asks.
    stroke(QPoint(300, 300), QPoint(500, 400), Qt::red);
    ProtectingPrompts prompts;
    prompts.inputs = {QStringLiteral("haus")};
    prompts.answers = answer;
    prompts.folder = pics();
    prompts.fault = fault;
    Prompts::setBackend(&prompts);
    rlimit unlimited{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const auto restore = qScopeGuard([&] {
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, SIG_DFL);
        Prompts::setBackend(&m_env->prompts);
        QFile::setPermissions(pics(), QFileDevice::Permissions(0x7755));
    });
    if (fault == u"fill") {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        const rlimit limit{64 * 1024, unlimited.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    QTest::mouseClick(w->vbeButton(3), Qt::LeftButton);
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked[1], QStringLiteral("Please enter a name for the file:|File already exists!\r\nOverwrite?"));
    QCOMPARE(prompts.linked, fault == u"link");
    const QByteArray now = readFile(path);
    if (!error && answer.value(0, Prompts::Answer::No) == Prompts::Answer::Yes) {
        QCOMPARE(now, PictureFile::bmpBytes(w->picBild()->image()));
        QVERIFY(now != first);
    } else {
        QCOMPARE(now, first); // byte for byte
    }
    QCOMPARE(entries(pics()), QStringList{QStringLiteral("haus.bmp")});
    QCOMPARE(m_env->reporter.said(),
             error ? QStringList{QStringLiteral("frmDraw.vbeButton_Click 130: %1").arg(error)} : QStringList());
}

void tst_Save::fileHoldsWhatTheCanvasShows()
{
    // A picture painted in from the file list, a stroke, Undo of a second stroke
    // (the restored picture becomes the background), and one more stroke.
    QDir().mkpath(pics());
    QImage sky(40, 30, QImage::Format_RGB32);
    sky.fill(QColor(90, 160, 230));
    QVERIFY(sky.save(pics() + QStringLiteral("/sky.bmp"), "BMP"));
    QTest::mouseClick(w->vbeButton(2), Qt::LeftButton);
    frmPreview *p = w->preview();
    p->filPics->setCurrentRow(0);
    p->filPics_Click();
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    stroke(QPoint(30, 40), QPoint(250, 60), QColor(200, 0, 0));
    stroke(QPoint(30, 200), QPoint(250, 260), Qt::black);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    stroke(QPoint(400, 100), QPoint(420, 400), QColor(0, 120, 0));
    const QImage canvas = w->picBild()->image();
    QCOMPARE(canvas.pixelColor(100, 250), QColor(90, 160, 230)); // the undone stroke is gone

    save(QStringLiteral("bild"));
    QString why;
    const QImage saved = readBmp24(readFile(pics() + QStringLiteral("/bild.bmp")), &why);
    QVERIFY2(!saved.isNull(), qPrintable(why));
    QCOMPARE(saved.size(), QSize(w->picBild()->scaleWidth(), w->picBild()->scaleHeight()));
    QCOMPARE(saved, canvas.convertToFormat(QImage::Format_RGB32));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Save::killedInTheMiddle()
{
    QTemporaryDir dir;
    QProcess child;
    ChildRole::start(child, QStringLiteral("loop"), {dir.path()});
    QVERIFY(child.waitForStarted());
    // Two whole saves, then a kill while the third has its file open.
    const auto writingNow = [&] {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(child.processId()));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget().startsWith(dir.path() + u'/'))
                return true;
        }
        return false;
    };
    QByteArray saved, writing;
    bool caught = false;
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && writing.isEmpty()) {
        if (!child.canReadLine() && !child.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        const QList<QByteArray> parts = child.readLine().trimmed().split(' ');
        if (parts.value(0) != "writing")
            continue;
        if (parts.value(1).toInt() < 2) {
            saved = parts.value(2); // whole once the next "writing" comes
            continue;
        }
        while (!deadline.hasExpired() && !caught)
            caught = writingNow();
        child.kill();
        writing = parts.value(2);
    }
    QVERIFY2(caught, "the save loop was not caught writing");
    child.waitForFinished();
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    // Either the last whole picture or the new one, whole; no leftovers.
    const QByteArray now = md5(readFile(dir.filePath(QStringLiteral("haus.bmp"))));
    QVERIFY2(now == saved || now == writing, now.constData());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("haus.bmp")});
}

QTEST_MAIN_WITH_ROLES(tst_Save, QApplication, {"loop", saveLoop})
#include "tst_save.moc"
