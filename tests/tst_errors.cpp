// The error dialog and its protocol: the text byte for byte, print wrapping, the
// protocol file, saving, and the four continue buttons.

#include "core/cp1252.h"
#include "errors/errptnr.h"
#include "errors/protocol.h"
#include "platform/paths.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class tst_Errors : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void protocolText();
    void unknownPlatformJoinsLines();
    void textsTheCodePageLacks_data();
    void textsTheCodePageLacks();
    void systemLinesFromTheRunningSystem();
    void prettyName_data();
    void prettyName();
    void kernelVersion_data();
    void kernelVersion();
    void wrap_data();
    void wrap();
    void dialogReturnsTheChoice_data();
    void dialogReturnsTheChoice();
    void twoErrorsTwoProtocols();
    void saveAsksBeforeReplacing();
    void printWithAndWithoutPrinter();
    void mailAndWebUseClipboardAndShell();
    void dialogsHaveOnlyATitle_data();
    void dialogsHaveOnlyATitle();
    void keyboardAndPlainText();
    void errorWhileTheDialogIsOpen();
    void protocolFileInTheWay_data();
    void protocolFileInTheWay();

private:
    static ProtocolContent sample();
    static void verifyOnlyATitle(Qt::WindowFlags flags);
    std::optional<TestEnvironment> m_env;
    std::unique_ptr<ErrPtnr> d; // a dialog on the sample's system and clock
};

// A title bar with the title alone: no close, minimise or maximise button, no menu.
void tst_Errors::verifyOnlyATitle(Qt::WindowFlags flags)
{
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testAnyFlags(Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint));
}

ProtocolContent tst_Errors::sample()
{
    ProtocolContent c;
    c.progInfo = QStringLiteral("stiftolino  V1.1.344");
    c.titles = QStringList{"Fehler-Nr / error :", "Modul:", "Prozedur / procedure:", "Zeile / Line:"};
    c.values = QStringList{"53 (File not found)", "frmDraw", "vbeButton_Click", "40"};
    c.when = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9));
    c.system.known = true;
    c.system.platform = QStringLiteral("Linux");
    c.system.major = 6;
    c.system.minor = 1;
    c.system.build = 123;
    c.system.servicePack = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    return c;
}

void tst_Errors::init()
{
    m_env.emplace();
    d = std::make_unique<ErrPtnr>();
    d->setSystemInfo(sample().system);
    d->setClock([] { return sample().when; });
}

void tst_Errors::cleanup()
{
    d.reset();
    m_env.reset();
}

void tst_Errors::protocolText()
{
    const QByteArray expected = "----------------------------------------------------------------------\r\n"
                                "F E H L E R P R O T O K O L L  /  E R R O R   P R O T O C O L L\r\n"
                                "----------------------------------------------------------------------\r\n"
                                "PROGRAMM-INFO:\r\n"
                                "          stiftolino  V1.1.344\r\n"
                                "----------------------------------------------------------------------\r\n"
                                "FEHLERBESCHREIBUNG / ERROR DESCRIPTION:\r\n"
                                "          Fehler-Nr / error :\t53 (File not found)\r\n"
                                "          Modul:\tfrmDraw\r\n"
                                "          Prozedur / procedure:\tvbeButton_Click\r\n"
                                "          Zeile / Line:\t40\r\n"
                                "          Datum/Uhrzeit (Date/Time):\t03-05-2026 / 14:07:09\r\n"
                                "----------------------------------------------------------------------\r\n"
                                "SYSTEMINFO:\r\n"
                                "          Plattform/Environment:\tLinux\r\n"
                                "          Version:\t6.1\r\n"
                                "          Build:\t123   Debian GNU/Linux 12 (bookworm)\r\n"
                                "----------------------------------------------------------------------\r\n";
    QCOMPARE(Cp1252::encode(buildProtocolText(sample())), expected);
    // The build number is a 16-bit field.
    ProtocolContent wide = sample();
    wide.system.build += 0x10000;
    QCOMPARE(Cp1252::encode(buildProtocolText(wide)), expected);
}

void tst_Errors::unknownPlatformJoinsLines()
{
    ProtocolContent c = sample();
    c.system = SystemInfo{};
    const QString t = buildProtocolText(c);
    QVERIFY(t.contains(QStringLiteral("Plattform/Environment:\t          Version:\t0.0\r\n")));
    QCOMPARE(t.count(QStringLiteral("\r\n")), 17);
}

void tst_Errors::textsTheCodePageLacks_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("line break") << QStringLiteral("Datei\r\nfehlt") << QByteArray("Datei fehlt");
    QTest::newRow("lone line feed") << QStringLiteral("a\nb\rc") << QByteArray("a b c");
    QTest::newRow("euro and umlaut") << QStringLiteral("5 \u20ac f\u00fcr") << QByteArray("5 \x80 f\xfcr");
    QTest::newRow("Cyrillic") << QStringLiteral("\u041e\u0448\u0438\u0431\u043a\u0430") << QByteArray("??????");
    QTest::newRow("beyond 65536: one character") << QStringLiteral("Pinsel \U0001F3A8!") << QByteArray("Pinsel ?!");
    QTest::newRow("lone surrogate") << QString(QChar(0xD83C)) + u'x' << QByteArray("?x");
}

// A description from outside (a system message, a file name) stays on its line
// and each character the code page lacks becomes one '?'.
void tst_Errors::textsTheCodePageLacks()
{
    QFETCH(QString, description);
    QFETCH(QByteArray, line);
    ProtocolContent c = sample();
    c.values[0] = description;
    const QByteArray bytes = protocolBytes(buildProtocolText(c));
    QVERIFY(bytes.contains("Fehler-Nr / error :\t" + line + "\r\n          Modul:"));
    QCOMPARE(bytes.count("\r\n"), 18);
    QCOMPARE(bytes.count('\n'), 18);
    QCOMPARE(bytes.count('\r'), 18);
}

void tst_Errors::systemLinesFromTheRunningSystem()
{
    const SystemInfo s = currentSystemInfo();
    QVERIFY(s.known);
    QCOMPARE(s.platform, QStringLiteral("Linux"));
    QVERIFY(s.major >= 3);
}

void tst_Errors::prettyName_data()
{
    QTest::addColumn<QByteArray>("osRelease");
    QTest::addColumn<QString>("name");
    QTest::newRow("double quotes") << QByteArray("NAME=\"Debian\"\nPRETTY_NAME=\"Debian 12\"\n") << "Debian 12";
    QTest::newRow("single quotes") << QByteArray("PRETTY_NAME='Arch Linux'\n") << "Arch Linux";
    QTest::newRow("no quotes, no final line break") << QByteArray("PRETTY_NAME=Gentoo") << "Gentoo";
    QTest::newRow("empty quotes") << QByteArray("PRETTY_NAME=\"\"\n") << "";
    QTest::newRow("a lone quote stays") << QByteArray("PRETTY_NAME=\"\n") << "\"";
    QTest::newRow("first one wins") << QByteArray("PRETTY_NAME=\"A\"\nPRETTY_NAME=\"B\"\n") << "A";
    QTest::newRow("missing") << QByteArray("NAME=\"Debian\"\n") << "";
    QTest::newRow("not at the line start") << QByteArray("X_PRETTY_NAME=\"no\"\n") << "";
}

void tst_Errors::prettyName()
{
    QFETCH(QByteArray, osRelease);
    QFETCH(QString, name);
    QCOMPARE(prettyNameFromOsRelease(osRelease), name);
}

void tst_Errors::kernelVersion_data()
{
    QTest::addColumn<QString>("release");
    QTest::addColumn<QList<int>>("version"); // major, minor, build
    QTest::newRow("distribution kernel") << "6.1.0-18-amd64" << QList<int>{6, 1, 0};
    QTest::newRow("patch level") << "5.15.148" << QList<int>{5, 15, 148};
    QTest::newRow("major only") << "7" << QList<int>{7, 0, 0};
    QTest::newRow("largest build") << "6.1.65535" << QList<int>{6, 1, 65535};
    QTest::newRow("build past 16 bits") << "6.1.65536" << QList<int>{6, 1, 0};
    QTest::newRow("not a version") << "unknown" << QList<int>{0, 0, 0};
}

void tst_Errors::kernelVersion()
{
    QFETCH(QString, release);
    QFETCH(QList<int>, version);
    const SystemInfo s = systemInfoFrom(QStringLiteral("Linux"), release, QStringLiteral("Pretty"));
    QVERIFY(s.known);
    QCOMPARE((QList<int>{s.major, s.minor, s.build}), version);
    QCOMPARE(s.platform, QStringLiteral("Linux"));
    QCOMPARE(s.servicePack, QStringLiteral("Pretty"));
}

void tst_Errors::wrap_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("printed");
    // Words of five letters and a blank: twelve end by column 73, the thirteenth would not.
    const QString five = QStringLiteral("word0 word6 word2 word8 word4 ");
    const QString hundred = five.repeated(4).left(100);
    QTest::newRow("100 characters") << hundred
                                    << QStringList{five.repeated(2) + "word0 word6 ",
                                                   QString(20, u' ') + "word2 word8 word4 word0 word "};
    QTest::newRow("short line") << "abc def" << QStringList{"abc def "};
    QTest::newRow("empty line") << "" << QStringList{" "};
    QTest::newRow("one long word") << QString(80, u'x') << QStringList{QString(20, u' ') + QString(80, u'x') + u' '};
    // Each word counts with the blank after it; the line's last word too.
    const QString sixtySix(66, u'a');
    QTest::newRow("ends at column 73: one line") << sixtySix + " bbbbb" << QStringList{sixtySix + " bbbbb "};
    QTest::newRow("ends at column 74: the last word wraps")
        << sixtySix + " bbbbbb" << QStringList{sixtySix + u' ', QString(20, u' ') + "bbbbbb "};
    QTest::newRow("one word to column 73") << QString(72, u'x') << QStringList{QString(72, u'x') + u' '};
    QTest::newRow("continuation counts from its word")
        << sixtySix + " bbbbbb " + QString(65, u'c')
        << QStringList{sixtySix + u' ', QString(20, u' ') + "bbbbbb " + QString(65, u'c') + u' '};
}

void tst_Errors::wrap()
{
    QFETCH(QString, line);
    QFETCH(QStringList, printed);
    QStringList got = wrapForPrint(line + QStringLiteral("\r\n"));
    // The protocol gets one more line break, so a last empty line prints as a blank.
    QCOMPARE(got.takeLast(), QStringLiteral(" "));
    QCOMPARE(got, printed);
}

void tst_Errors::dialogReturnsTheChoice_data()
{
    QTest::addColumn<int>("button");
    for (int i = 0; i < 4; ++i)
        QTest::addRow("button %d", i) << i;
}

void tst_Errors::dialogReturnsTheChoice()
{
    QFETCH(int, button);
    QStringList captions;
    Qt::WindowFlags flags;
    bool closed = true;
    d->setAutoAnswer([&](ErrPtnr &dlg) {
        for (int i = 0; i < 4; ++i)
            captions << dlg.continueButton(i)->text();
        // Asked to close as a window manager would, it stays: only its
        // continue buttons end it.
        flags = dlg.windowFlags();
        dlg.close();
        closed = !dlg.isVisible();
        dlg.continueButton(button)->click();
    });
    const int choice = d->OnError(QStringLiteral("Allgemein"), QStringLiteral("Main"),
                                  PendingError{13, QStringLiteral("Type mismatch"), 20});
    QCOMPARE(choice, button);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->errorLabel(0)->text(), QStringLiteral("13 (Type mismatch)"));
    QCOMPARE(d->errorLabel(1)->text(), QStringLiteral("Allgemein"));
    QCOMPARE(d->errorLabel(2)->text(), QStringLiteral("Main"));
    QCOMPARE(d->errorLabel(3)->text(), QStringLiteral("20"));
    QCOMPARE(d->progInfo(), QStringLiteral("stiftolino  V1.1.344"));
    QCOMPARE(d->windowTitle(), QStringLiteral("Fehler / Error! "));
    QCOMPARE(d->size(), QSize(7215 / 15, 4995 / 15));
    QCOMPARE(captions,
             (QStringList{"Wieder&holen Retry", "&Ignorieren   Ignore", "&Abbrechen Cancel", "&Beenden       End"}));
    QVERIFY(!closed);
    verifyOnlyATitle(flags);
}

void tst_Errors::twoErrorsTwoProtocols()
{
    d->setAutoAnswer([](ErrPtnr &dlg) { dlg.continueButton(1)->click(); });
    d->OnError(QStringLiteral("A"), QStringLiteral("First"), PendingError{53, QStringLiteral("File not found"), 10});
    d->SetProgInfo(QStringLiteral("stays as first set"));
    d->OnError(QStringLiteral("B"), QStringLiteral("Second"), PendingError{61, QStringLiteral("Disk full"), 20});
    QCOMPARE(d->progInfo(), QStringLiteral("stays as first set"));
    const QByteArray ept = readFile(m_env->folder.filePath(QStringLiteral("stiftolino.EPT")));
    QCOMPARE(ept.count("F E H L E R P R O T O K O L L"), 2);
    QVERIFY(ept.indexOf("First") < ept.indexOf("Second"));
    // Each protocol is followed by one empty line.
    QCOMPARE(ept.count("------\r\n\r\n"), 2);
    QVERIFY(ept.endsWith("-\r\n\r\n"));
    QVERIFY(ept.count('\n') >= 30);
}

void tst_Errors::saveAsksBeforeReplacing()
{
    const QString path = d->protocolFilePath(QStringLiteral(".ERR"));
    d->cmdProtocol_Click(1);
    QCOMPARE(m_env->prompts.asked.size(), 1); // only the confirmation
    QVERIFY(m_env->prompts.asked[0].contains(QStringLiteral("Das FehlerprotcmdOKoll wurde in die Datei '") + path
                                             + QStringLiteral("' geschrieben!")));
    const QByteArray first = readFile(path);
    QVERIFY(first.contains("PROGRAMM-INFO:"));
    QVERIFY(first.endsWith("-\r\n\r\n"));

    // No keeps the file untouched.
    QVERIFY(QFile::remove(path) && writeFile(path, "old"));
    m_env->prompts.asked.clear();
    m_env->prompts.answers = {Prompts::Answer::No};
    d->cmdProtocol_Click(1);
    QCOMPARE(readFile(path), QByteArray("old"));
    QCOMPARE(m_env->prompts.asked.size(), 1);
    QVERIFY(m_env->prompts.asked[0].contains(QStringLiteral("Overwrite file '") + path + QStringLiteral("' ?")));

    // Yes replaces it and names the full path.
    m_env->prompts.asked.clear();
    m_env->prompts.answers = {Prompts::Answer::Yes};
    d->cmdProtocol_Click(1);
    QCOMPARE(readFile(path), first);
    QCOMPARE(m_env->prompts.asked.size(), 2);
    QVERIFY(m_env->prompts.asked[1].contains(QStringLiteral("Error protocoll was written to file '") + path));
}

void tst_Errors::printWithAndWithoutPrinter()
{
    const QString pdf = m_env->folder.filePath(QStringLiteral("protocol.pdf"));
    Printing::setPrinterFactory([pdf] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    });
    d->cmdProtocol_Click(0);
    QVERIFY(readFile(pdf).startsWith("%PDF"));
    QVERIFY(m_env->prompts.asked.isEmpty());

    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    d->cmdProtocol_Click(0);
    QCOMPARE(m_env->prompts.asked.size(), 1);
    QVERIFY(m_env->prompts.asked[0].contains(QStringLiteral("could not be printed")));
}

void tst_Errors::mailAndWebUseClipboardAndShell()
{
    d->cmdProtocol_Click(2);
    QCOMPARE(m_env->opened.value(0), QUrl(QStringLiteral("mailto:support@vorbexa.example")));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("SYSTEMINFO:")));
    QVERIFY(m_env->prompts.asked.value(0).contains(
        QStringLiteral("use the menu or toolbar command of your email program. ")));
    QGuiApplication::clipboard()->clear();
    m_env->prompts.asked.clear();
    d->cmdProtocol_Click(3);
    QCOMPARE(m_env->opened.value(1), QUrl(QStringLiteral("https://www.vorbexa.example/")));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("PROGRAMM-INFO:")));
    QVERIFY(m_env->prompts.asked.isEmpty());
}

void tst_Errors::dialogsHaveOnlyATitle_data()
{
    // The error dialog's are checked with its choices.
    QTest::addColumn<QString>("dialog");
    QTest::newRow("message box") << "ok";
    QTest::newRow("yes/no question") << "yesno";
    QTest::newRow("input box") << "input";
}

void tst_Errors::dialogsHaveOnlyATitle()
{
    QFETCH(QString, dialog);
    Prompts::setBackend(nullptr); // the real boxes
    Qt::WindowFlags flags;
    // Looks at the box once it is up, asks it to close as a window manager would,
    // then answers it.
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        flags = box->windowFlags();
        box->close();
        if (auto *m = qobject_cast<QMessageBox *>(box))
            m->buttons().constFirst()->click();
        else
            box->reject();
    });
    if (dialog == u"input")
        Prompts::input(nullptr, QStringLiteral("Name?"), QStringLiteral("T"));
    else
        Prompts::message(nullptr, QStringLiteral("?"), dialog == u"ok" ? Prompts::Buttons::Ok : Prompts::Buttons::YesNo,
                         Prompts::Icon::Question, QStringLiteral("T"));
    verifyOnlyATitle(flags);
}

void tst_Errors::keyboardAndPlainText()
{
    QList<QWidget *> focus;
    d->setAutoAnswer([&](ErrPtnr &dlg) {
        QTRY_VERIFY(QApplication::focusWidget());
        focus << QApplication::focusWidget();
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            focus << QApplication::focusWidget();
        }
        // Back on Print; six more go to Cancel, and Enter presses it.
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (dlg.isVisible())
            dlg.continueButton(1)->click();
    });
    const int choice =
        d->OnError(QStringLiteral("<i>M</i>"), QStringLiteral("P"), PendingError{5, QStringLiteral("<b>x</b>"), 1});
    QList<QWidget *> order;
    for (int i = 0; i < 4; ++i)
        order << d->protocolButton(i);
    for (int i = 0; i < 4; ++i)
        order << d->continueButton(i);
    order << d->protocolButton(0);
    QCOMPARE(focus, order);
    QCOMPARE(choice, 2);
    // What the error says is shown as it is, never as markup.
    QCOMPARE(d->errorLabel(0)->text(), QStringLiteral("5 (<b>x</b>)"));
    for (QLabel *l : d->findChildren<QLabel *>()) {
        if (l->text().contains(u'<'))
            QCOMPARE(l->textFormat(), Qt::PlainText);
    }
}

void tst_Errors::errorWhileTheDialogIsOpen()
{
    ErrorHandling::setReporter(d.get());
    int tries = 0;
    QString shownMeanwhile;
    d->setAutoAnswer([&](ErrPtnr &dlg) {
        // A repaint behind the dialog fails again and again: its frame must give up.
        ErrorFrame f("frmDraw", "Form_Paint");
        f.run([&] {
            f.line(10, [&] {
                if (++tries < 100)
                    raiseError(Err::InvalidPicture);
            });
        });
        shownMeanwhile = dlg.errorLabel(2)->text();
        dlg.continueButton(1)->click();
    });
    const int choice = d->OnError(QStringLiteral("frmPreview"), QStringLiteral("Form_Load"),
                                  PendingError{326, QStringLiteral("Resource not found"), 30});
    ErrorHandling::setReporter(&m_env->reporter);
    QCOMPARE(tries, 1);
    QCOMPARE(choice, 1);
    QCOMPARE(shownMeanwhile, QStringLiteral("Form_Load"));
    const QByteArray ept = readFile(m_env->folder.filePath(QStringLiteral("stiftolino.EPT")));
    QCOMPARE(ept.count("F E H L E R P R O T O K O L L"), 2);
    QVERIFY(ept.indexOf("Form_Load") < ept.indexOf("Form_Paint"));
    QVERIFY(ept.contains("481"));
}

void tst_Errors::protocolFileInTheWay_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("link"); // a link to another file in its place, else a folder
    QTest::newRow("folder: protocol kept at every error") << ".EPT" << false;
    QTest::newRow("protocol kept at every error") << ".EPT" << true;
    QTest::newRow("protocol saved by the user") << ".ERR" << true;
}

// A protocol file never writes through a link or into a folder; the error dialog
// still comes up.
void tst_Errors::protocolFileInTheWay()
{
    QFETCH(QString, extension);
    QFETCH(bool, link);
    const QString target = m_env->folder.filePath(QStringLiteral("elsewhere.txt"));
    QVERIFY(writeFile(target, "untouched"));
    const QString path = d->protocolFilePath(extension);
    QVERIFY(link ? QFile::link(target, path) : QDir().mkdir(path));
    m_env->prompts.answers = {Prompts::Answer::Yes}; // replace it, if asked
    if (extension == u".EPT") {
        QVERIFY(!d->AppendProtocolFile());
        bool shown = false;
        d->setAutoAnswer([&](ErrPtnr &dlg) {
            shown = dlg.isVisible();
            dlg.continueButton(2)->click();
        });
        QCOMPARE(d->OnError(QStringLiteral("M"), QStringLiteral("P"), PendingError{5, QStringLiteral("x"), 1}), 2);
        QVERIFY(shown);
    } else {
        d->cmdProtocol_Click(1);
        QVERIFY2(m_env->prompts.asked.last().contains(QStringLiteral("could not be written to file '") + path),
                 qPrintable(m_env->prompts.asked.join(u'\n')));
    }
    QCOMPARE(readFile(target), QByteArray("untouched"));
    QVERIFY(link ? QFileInfo(path).isSymLink() : QFileInfo(path).isDir());
}

QTEST_MAIN(tst_Errors)
#include "tst_errors.moc"
