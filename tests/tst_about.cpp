// The about window in its two roles: the start screen with the flags, which closes
// itself after 2.5 seconds and brings up the main window once, and the about box
// with its OK button; the version in the title and the colours of the web link.

#include "about/frminfo.h"
#include "controls/clicklabel.h"
#include "core/config.h"
#include "core/globals.h"
#include "core/resources.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Allgemein;

class tst_About : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void versionText_data();
    void versionText();
    void startScreen_data();
    void startScreen();
    void startScreenFlags();
    void aboutBox_data();
    void aboutBox();
    void linkColours_data();
    void linkColours();

private:
    QColor linkColour(const frmInfo *w) const { return w->lblHomepage->palette().color(QPalette::WindowText); }
    std::optional<TestEnvironment> m_env;
    QWidget *m_main = nullptr; // stands in for the main window
    int m_mainShown = 0;
};

void tst_About::init()
{
    m_env.emplace();
    m_env->writeLanguageTable();
    frmInfo::MainWindowShown = False;
    m_main = new QWidget;
    m_mainShown = 0;
    frmInfo::setMainWindow({[this] { return m_main->isVisible(); },
                            [this] {
                                ++m_mainShown;
                                m_main->show();
                            }});
}

void tst_About::cleanup()
{
    delete frmInfo::loaded();
    frmInfo::setMainWindow({});
    delete m_main;
    m_main = nullptr;
    m_env.reset();
}

void tst_About::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("this program") << 1 << 1 << 344 << u"1.01.0344"_qs;
    QTest::newRow("two-digit minor as it is") << 1 << 12 << 344 << u"1.12.0344"_qs;
    QTest::newRow("revision 5 in four digits") << 1 << 1 << 5 << u"1.01.0005"_qs;
    QTest::newRow("wide numbers are not cut") << 10 << 123 << 12345 << u"10.123.12345"_qs;
}

void tst_About::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(VersionText(major, minor, revision), text);
}

void tst_About::startScreen_data()
{
    QTest::addColumn<bool>("closedFromOutside");
    QTest::newRow("closed by its timer") << false;
    // A close by the window manager still brings up the main window.
    QTest::newRow("closed by the window manager") << true;
}

void tst_About::startScreen()
{
    QFETCH(bool, closedFromOutside);
    StartingUp = True;
    QElapsedTimer clock;
    clock.start();
    frmInfo *w = frmInfo::ShowModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(StartingUp, False);
    QCOMPARE(w->size(), QSize(356, 329));
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    const QRect area = w->screen()->availableGeometry();
    QVERIFY((w->frameGeometry().center() - area.center()).manhattanLength() <= 2);
    QCOMPARE(w->Label0->text(), u"Stiftolino  I\r\n1.01.0344"_qs);
    for (int digit : {0, 1, 3, 4, 6})
        QVERIFY2(w->imgLang[size_t(digit)]->isVisible(), qPrintable(QString::number(digit)));
    QVERIFY(!w->cmdOK->isVisible());
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 2500);
    QVERIFY(!w->isModal());

    // Esc does nothing without the OK button.
    QTest::keyClick(w, Qt::Key_Escape);
    QCOMPARE(frmInfo::loaded(), w);

    QPointer<frmInfo> gone(w);
    if (closedFromOutside)
        w->close();
    QTRY_VERIFY_WITH_TIMEOUT(gone.isNull(), 10000);
    QVERIFY2(closedFromOutside || clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_mainShown, 1);
    QVERIFY(m_main->isVisible());
    QCOMPARE(frmInfo::MainWindowShown, True);
    QCOMPARE(frmInfo::loaded(), nullptr);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_About::startScreenFlags()
{
    // An Italian title of its own: the caption shows that it followed the switch.
    QByteArray table = readFile(LanguageFilePath);
    QVERIFY(table.contains("3100 = Stiftolino\r\n"));
    QVERIFY(writeFile(LanguageFilePath, table.replace("3100 = Stiftolino\r\n", "3100 = Stiftolino IT\r\n")));
    StartingUp = True;
    LanguageOffset = 1000;
    frmInfo *w = frmInfo::ShowModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const int before = w->Timer1->remainingTime();

    // The language in use: nothing written.
    QTest::mouseClick(w->imgLang[1], Qt::LeftButton);
    QVERIFY(m_env->settings.writes.isEmpty());

    // Another one: stored at once, without a sound; the timer runs on.
    QTest::mouseClick(w->imgLang[3], Qt::LeftButton);
    QCOMPARE(LanguageOffset, int16_t(3000));
    QCOMPARE(m_env->settings.writes, QStringList{u"Optionen/Sprache=3000"_qs});
    QVERIFY(m_env->sound.started.isEmpty());
    QVERIFY(w->Timer1->isActive());
    QVERIFY(w->Timer1->remainingTime() <= before);
    QCOMPARE(w->Label0->text(), u"Stiftolino IT  I\r\n1.01.0344"_qs);

    // A store that cannot be written goes through the error frame.
    m_env->settings.failWrites = true;
    m_env->reporter.fallback = 1;
    QTest::mouseClick(w->imgLang[6], Qt::LeftButton);
    QCOMPARE(m_env->reporter.said(), QStringList{"Allgemein.SwitchLanguage 30: 75"});
}

void tst_About::aboutBox_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("OK") << false;
    QTest::newRow("Esc") << true;
}

void tst_About::aboutBox()
{
    QFETCH(bool, escape);
    // After the start screen: the main window is up and was shown by it.
    StartingUp = False;
    frmInfo::MainWindowShown = True;
    m_main->show();
    // Looked at from inside the modal run, then closed as the user would: modal,
    // OK shown, timer running, a flag shown (empty: no box came up).
    QList<bool> seen;
    QString title;
    QTimer::singleShot(0, this, [&] {
        frmInfo *w = frmInfo::loaded();
        if (!w)
            return;
        const auto flag = [&](int digit) { return w->imgLang[size_t(digit)]->isVisible(); };
        seen = {w->isModal(), w->cmdOK->isVisible(), w->Timer1->isActive(),
                flag(0) || flag(1) || flag(3) || flag(4) || flag(6)};
        title = w->Label0->text();
        if (escape)
            QTest::keyClick(w, Qt::Key_Escape);
        else
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    });
    frmInfo::ShowModal(m_main);
    QCOMPARE(seen, (QList<bool>{true, true, false, false}));
    QCOMPARE(title, u"Stiftolino  I\r\n1.01.0344"_qs);
    QCOMPARE(frmInfo::loaded(), nullptr);
    QCOMPARE(m_mainShown, 0);
}

void tst_About::linkColours_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("opened");
    QTest::newRow("released on the link") << QPoint(20, 8) << 1;
    QTest::newRow("released after leaving it") << QPoint(-30, 40) << 0;
}

void tst_About::linkColours()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(int, opened);
    StartingUp = True;
    frmInfo *w = frmInfo::ShowModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(linkColour(w), QColor(0, 0, 192));
    QCOMPARE(w->lblHomepage->text(), u"www.vorbexa.example"_qs);
    QTest::mousePress(w->lblHomepage, Qt::LeftButton, {}, QPoint(20, 8));
    QCOMPARE(linkColour(w), QColor(255, 0, 0));
    QTest::mouseRelease(w->lblHomepage, Qt::LeftButton, {}, releaseAt);
    QCOMPARE(linkColour(w), QColor(0, 0, 255));
    QCOMPARE(m_env->opened.size(), opened);
    if (opened)
        QCOMPARE(m_env->opened.first(), QUrl(Config::WebSite));
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
