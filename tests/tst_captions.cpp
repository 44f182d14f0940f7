// A language switch reaches the captions of every window through Qt's
// LanguageChange: the main window's, the lesson window's and the about box's,
// each set by the window itself.
#include "about/frminfo.h"
#include "app/allgemein.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "draw/frmdraw.h"
#include "draw/helpmenu.h"
#include "picker/frmpreview.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QTest>

#include <functional>

using namespace Allgemein;

namespace {
struct Windows {
    frmDraw *main = nullptr;
    frmInfo *about = nullptr;
};
using Caption = std::function<QString(const Windows &)>;

// The table's text of message `id` in language `digit`, as the test table holds it.
QString tableText(int digit, Text id) { return QStringLiteral("%1 %2").arg(digit == 0 ? u"de" : u"en").arg(int(id)); }
} // namespace

Q_DECLARE_METATYPE(Caption)

class tst_Captions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void followLanguageChange_data();
    void followLanguageChange();

private:
    std::optional<TestEnvironment> m_env;
    Windows m_windows;
};

void tst_Captions::init()
{
    m_env.emplace();
    // A table whose every text names its language and message, so a caption
    // shows which language it was set in.
    QByteArray table = "[lang]\r\n";
    for (int digit : {0, 1}) {
        for (int id = 100; id < 150; ++id)
            table += QStringLiteral("%1 = %2\r\n")
                         .arg(digit * 1000 + id, 4, 10, QLatin1Char('0'))
                         .arg(tableText(digit, Text(id)))
                         .toLatin1();
    }
    LanguageFilePath = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    QVERIFY(writeFile(LanguageFilePath, table));

    SoundOn = False;
    QVERIFY((m_windows.main = showMainWindow()));
    m_windows.about = frmInfo::ShowModeless();
    QVERIFY(QTest::qWaitForWindowExposed(m_windows.about));
}

void tst_Captions::cleanup()
{
    delete m_windows.about;
    endMainWindow();
    m_windows = {};
    m_env.reset();
}

void tst_Captions::followLanguageChange_data()
{
    QTest::addColumn<Caption>("caption");
    QTest::addColumn<Text>("message");
    QTest::newRow("main window toolbar") << Caption([](const Windows &w) { return w.main->vbeButton(0)->toolTip(); })
                                         << Text::DeletePicture;
    QTest::newRow("main window help menu")
        << Caption([](const Windows &w) { return w.main->mnuHelp()->title(); }) << Text::Help;
    QTest::newRow("lesson window") << Caption([](const Windows &w) {
        return w.main->preview()->vbeButton[1]->toolTip();
    }) << Text::SelectPicture;
    QTest::newRow("about box") << Caption([](const Windows &w) {
        return w.about->Label0->text().section(u"  "_qs, 0, 0);
    }) << Text::ProgramTitle;
}

void tst_Captions::followLanguageChange()
{
    QFETCH(Caption, caption);
    QFETCH(Text, message);
    QCOMPARE(caption(m_windows), tableText(0, message));
    // No window is activated or called: the switch alone sets the captions.
    SwitchLanguage(1);
    QCOMPARE(caption(m_windows), tableText(1, message));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

QTEST_MAIN(tst_Captions)
#include "tst_captions.moc"
