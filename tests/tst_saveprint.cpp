// Saving and printing the picture: the names a child may type, the overwrite
// question, what the saved file holds, saving under faults (a folder that turns
// read-only, a disk that fills, a kill in the middle of a save), and where the
// printed page puts the picture. The page itself goes through a real spooler in
// tst_toolbar.

#include "app/allgemein.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/picturefile.h"
#include "core/resources.h"
#include "draw/frmdraw.h"
#include "draw/printpage.h"
#include "picker/frmpreview.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTextStream>
#include <QtEndian>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Allgemein;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray md5(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// Everything in a folder, hidden entries too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
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
        const int row = height > 0 ? img.height() - 1 - y : y;   // bottom-up unless negative
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + offset + row * stride);
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]));
    }
    return img;
}

// The overwrite question's answer comes after the folder turned read-only.
class ProtectingPrompts : public Prompts::Scripted
{
public:
    QString folder;
    Prompts::Answer message(QWidget *parent, const QString &text, Prompts::Buttons buttons,
                            Prompts::Icon icon, const QString &title,
                            Prompts::Answer defaultButton) override
    {
        ::chmod(QFile::encodeName(folder).constData(), 0555);
        return Prompts::Scripted::message(parent, text, buttons, icon, title, defaultButton);
    }
};

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child process of the fault tests.
//   --child overwrite <program folder> readonly|fill
//       draws, saves over an older "haus.bmp" while the folder turns read-only
//       or with a file size limit below the picture's size, and tells what the
//       error frame was asked ("report <number> <line>") and the old file's
//       checksum ("old <md5>").
//   --child loop <folder>
//       saves large pictures over "haus.bmp" again and again, saying "writing
//       <i> <md5>" before and "saved <i>" after each.
int childMain(int argc, char **argv)
{
    const QByteArray mode = argv[2];
    const QString folder = QString::fromLocal8Bit(argv[3]);
    const QByteArray fault = argc > 4 ? QByteArray(argv[4]) : QByteArray();
    // Root writes into read-only folders: the fault needs an ordinary user.
    if (fault == "readonly" && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 3;
    QApplication app(argc, argv);
    if (mode == "loop") {
        const QString path = folder + QStringLiteral("/haus.bmp");
        for (int i = 0;; ++i) {
            QImage img(3000, 2250, QImage::Format_RGB32);
            img.fill(QColor::fromHsv((i * 47) % 360, 200, 200));
            const QByteArray bytes = PictureFile::bmpBytes(img);
            say("writing " + QByteArray::number(i) + ' ' + md5(bytes));
            PictureFile::save(path, img);
            say("saved " + QByteArray::number(i));
        }
    }
    TestEnvironment env;
    Paths::setProgramFolder(folder, QStringLiteral("stiftolino"));
    const QString pics = Paths::picturesFolder();
    QDir().mkpath(pics);
    QImage old(20, 15, QImage::Format_RGB32);
    old.fill(Qt::darkGreen);
    PictureFile::save(pics + QStringLiteral("/haus.bmp"), old);
    say("old " + md5(readAll(pics + QStringLiteral("/haus.bmp"))));

    ProtectingPrompts prompts;
    prompts.inputs = {QStringLiteral("haus")};
    prompts.answers = {Prompts::Answer::Yes};
    if (fault == "readonly")
        prompts.folder = pics;
    Prompts::setBackend(&prompts);
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    SoundOn = False;
    frmDraw &w = MainWindow();
    w.showCentred();
    w.picBild->line(QPointF(10, 10), QPointF(300, 200));
    if (fault == "fill") {
        std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails instead
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 4;
    }
    w.vbeButton_Click(3);
    for (const auto &r : env.reporter.reports)
        say("report " + QByteArray::number(r.error.number) + ' ' + QByteArray::number(r.error.line));
    say("done");
    Prompts::setBackend(nullptr);
    return 0;
}

} // namespace

class tst_SavePrint : public QObject
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
    void faults_data();
    void faults();
    void killedInTheMiddle();
    void printPage_data();
    void printPage();

private:
    void open();
    void stroke(QPoint from, QPoint to, const QColor &color);
    void save(const QString &name, QList<Prompts::Answer> answers = {});
    QString pics() const { return Paths::picturesFolder(); }
    TestEnvironment *m_env = nullptr;
    Prompts::Scripted m_prompts;
    frmDraw *w = nullptr;
};

void tst_SavePrint::init()
{
    m_env = new TestEnvironment;
    m_env->reporter.fallback = 1;   // Ignore: even then nothing may be written
    m_prompts = Prompts::Scripted();
    Prompts::setBackend(&m_prompts);
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    SoundOn = False;
    LanguageFilePath = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), LanguageFilePath);
    LanguageOffset = 1000;
}

void tst_SavePrint::open()
{
    w = &MainWindow();
    w->showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

void tst_SavePrint::cleanup()
{
    delete w;
    w = nullptr;
    Prompts::setBackend(nullptr);
    Printing::setPrinterFactory({});
    delete m_env;
    m_env = nullptr;
}

void tst_SavePrint::stroke(QPoint from, QPoint to, const QColor &color)
{
    w->picBild->setForeColor(color);
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, from);
    QTest::mouseMove(w->picBild, to);
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, to);
}

void tst_SavePrint::save(const QString &name, QList<Prompts::Answer> answers)
{
    m_prompts.inputs = {name};
    m_prompts.answers = answers;
    QTest::mouseClick(w->vbeButton[3], Qt::LeftButton);
}

void tst_SavePrint::names_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("linkOut");     // "<typed>.bmp" is a link to a file outside
    QTest::addColumn<QString>("file");     // what the pictures folder then holds
    QTest::addColumn<int>("error");
    QTest::newRow("cancel") << QString() << false << QString() << 0;
    QTest::newRow("plain") << "haus" << false << "haus.bmp" << 0;
    QTest::newRow("ends in .bmp") << "haus.bmp" << false << "haus.bmp.bmp" << 0;
    QTest::newRow("blanks kept") << " mein haus " << false << " mein haus .bmp" << 0;
    QTest::newRow("umlauts") << "Mäuschen" << false << "Mäuschen.bmp" << 0;
    QTest::newRow("up and out") << "../../x" << false << QString() << 52;
    QTest::newRow("absolute") << "/tmp/x" << false << QString() << 52;
    QTest::newRow("backslash") << "a\\b" << false << QString() << 52;
    QTest::newRow("dot") << "." << false << QString() << 52;
    QTest::newRow("dot dot") << ".." << false << QString() << 52;
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false << QString() << 52;
    QTest::newRow("link out") << "weg" << true << "weg.bmp" << 52;
}

void tst_SavePrint::names()
{
    QFETCH(QString, typed);
    QFETCH(bool, linkOut);
    QFETCH(QString, file);
    QFETCH(int, error);
    open();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    const QString outside = m_env->folder.filePath(QStringLiteral("outside.bmp"));
    if (linkOut) {
        QVERIFY(QDir().mkpath(pics()));
        QVERIFY(QFile::link(outside, pics() + u'/' + typed + QStringLiteral(".bmp")));
    }
    const QStringList before = entries(m_env->folder.path());

    save(typed);
    QCOMPARE(m_prompts.asked.value(0), QStringLiteral("Save picture to file...|Please enter a name for the file:"));
    QCOMPARE(m_prompts.asked.size(), 1);   // no overwrite question
    QCOMPARE(PictureName, typed);
    QCOMPARE(entries(pics()), file.isEmpty() ? QStringList() : QStringList{file});
    if (!file.isEmpty() && !linkOut)
        QVERIFY(!PictureFile::load(pics() + u'/' + file).isNull());
    // Nothing where the name as a path would lead, nothing through the link.
    QVERIFY(!QFileInfo::exists(outside));
    if (error && !linkOut)
        QVERIFY(!QFileInfo::exists(QDir::cleanPath(pics() + u'/' + typed + QStringLiteral(".bmp"))));
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

void tst_SavePrint::overwriteQuestion_data()
{
    QTest::addColumn<QList<Prompts::Answer>>("answer");   // none: the default button
    QTest::addColumn<bool>("replaced");
    QTest::newRow("no") << QList<Prompts::Answer>{Prompts::Answer::No} << false;
    QTest::newRow("enter") << QList<Prompts::Answer>{} << false;
    QTest::newRow("yes") << QList<Prompts::Answer>{Prompts::Answer::Yes} << true;
}

void tst_SavePrint::overwriteQuestion()
{
    QFETCH(QList<Prompts::Answer>, answer);
    QFETCH(bool, replaced);
    open();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    save(QStringLiteral("haus"));
    const QString path = pics() + QStringLiteral("/haus.bmp");
    const QByteArray first = readAll(path);
    QVERIFY(!first.isEmpty());
    QCOMPARE(m_prompts.asked.size(), 1);

    // The same name again: now it asks.
    stroke(QPoint(300, 300), QPoint(500, 400), Qt::red);
    save(QStringLiteral("haus"), answer);
    QCOMPARE(m_prompts.asked.size(), 3);
    QCOMPARE(m_prompts.asked[2], QStringLiteral("Please enter a name for the file:|File already exists!\r\nOverwrite?"));
    const QByteArray now = readAll(path);
    if (replaced) {
        QCOMPARE(now, PictureFile::bmpBytes(w->picBild->image()));
        QVERIFY(now != first);
    } else {
        QCOMPARE(now, first);
    }
    QCOMPARE(entries(pics()), QStringList{QStringLiteral("haus.bmp")});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_SavePrint::fileHoldsWhatTheCanvasShows()
{
    open();
    // A picture painted in from the file list, a stroke, Undo of a second stroke
    // (the restored picture becomes the background), and one more stroke.
    QDir().mkpath(pics());
    QImage sky(40, 30, QImage::Format_RGB32);
    sky.fill(QColor(90, 160, 230));
    QVERIFY(sky.save(pics() + QStringLiteral("/sky.bmp"), "BMP"));
    QTest::mouseClick(w->vbeButton[2], Qt::LeftButton);
    frmPreview *p = w->preview();
    p->filPics->setCurrentRow(0);
    p->filPics_Click();
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    stroke(QPoint(30, 40), QPoint(250, 60), QColor(200, 0, 0));
    stroke(QPoint(30, 200), QPoint(250, 260), Qt::black);
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);
    stroke(QPoint(400, 100), QPoint(420, 400), QColor(0, 120, 0));
    const QImage canvas = w->picBild->image();
    QCOMPARE(canvas.pixelColor(100, 250), QColor(90, 160, 230));   // the undone stroke is gone

    save(QStringLiteral("bild"));
    QString why;
    const QImage saved = readBmp24(readAll(pics() + QStringLiteral("/bild.bmp")), &why);
    QVERIFY2(!saved.isNull(), qPrintable(why));
    QCOMPARE(saved.size(), QSize(w->picBild->scaleWidth(), w->picBild->scaleHeight()));
    QCOMPARE(saved, canvas.convertToFormat(QImage::Format_RGB32));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_SavePrint::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("folder turns read-only") << "readonly" << 75;
    QTest::newRow("disk fills") << "fill" << 61;
}

void tst_SavePrint::faults()
{
    QFETCH(QString, fault);
    QFETCH(int, error);
    QTemporaryDir dir;
    // The child may run as an ordinary user: let it in.
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    const QString folder = dir.filePath(QStringLiteral("pics"));
    const auto writableAgain = qScopeGuard([&] { QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)); });
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QStringLiteral("overwrite"), dir.path(), fault});
    QVERIFY2(child.waitForFinished(60000), "the saving program did not end");
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(out + QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY2(out.contains(QStringLiteral("report %1 130\n").arg(error)), qPrintable(out));
    QVERIFY2(out.endsWith(QStringLiteral("done\n")), qPrintable(out));

    // The old picture byte for byte, and nothing else in the folder.
    const QRegularExpressionMatch old = QRegularExpression(QStringLiteral("old ([0-9a-f]+)")).match(out);
    QVERIFY(old.hasMatch());
    QCOMPARE(QString::fromLatin1(md5(readAll(folder + QStringLiteral("/haus.bmp")))), old.captured(1));
    QCOMPARE(entries(folder), QStringList{QStringLiteral("haus.bmp")});
}

void tst_SavePrint::killedInTheMiddle()
{
    QTemporaryDir dir;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QStringLiteral("loop"), dir.path()});
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
            saved = parts.value(2);   // whole once the next "writing" comes
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
    const QByteArray now = md5(readAll(dir.filePath(QStringLiteral("haus.bmp"))));
    QVERIFY2(now == saved || now == writing, now.constData());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("haus.bmp")});
}

void tst_SavePrint::printPage_data()
{
    QTest::addColumn<QSizeF>("printable");
    QTest::addColumn<QList<int>>("margins");   // left, right, top, bottom
    QTest::addColumn<QRectF>("picture");
    QTest::addColumn<QPointF>("title");
    QTest::newRow("no margins measured") << QSizeF(200, 287) << QList<int>{0, 0, 0, 0}
                                         << QRectF(0, 0, 200, 287) << QPointF(0, 0);
    QTest::newRow("even margins") << QSizeF(200, 287) << QList<int>{5, 5, 5, 5}
                                  << QRectF(5, 5, 195, 282) << QPointF(5, 0);
    // Reaching past the printable area's far edges: cut back to it.
    QTest::newRow("left larger than right") << QSizeF(200, 287) << QList<int>{12, 3, 9, 2}
                                            << QRectF(12, 9, 188, 278) << QPointF(12, 0);
    QTest::newRow("margins eat the page") << QSizeF(200, 287) << QList<int>{5, 250, 5, 5}
                                          << QRectF() << QPointF(5, 0);
}

void tst_SavePrint::printPage()
{
    QFETCH(QSizeF, printable);
    QFETCH(QList<int>, margins);
    QFETCH(QRectF, picture);
    QFETCH(QPointF, title);
    const PrintPage page = printPageFor(printable, int16_t(margins[0]), int16_t(margins[1]),
                                        int16_t(margins[2]), int16_t(margins[3]));
    QCOMPARE(page.picture, picture);
    QCOMPARE(page.title, title);
}

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return childMain(argc, argv);
    QApplication app(argc, argv);
    tst_SavePrint test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_saveprint.moc"
