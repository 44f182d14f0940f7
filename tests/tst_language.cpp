// The language table: its file format and the lookup rules of GetLang.

#include "core/cp1252.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "core/qttexts.h"
#include "core/resources.h"
#include "core/settings.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

using namespace Allgemein;

class tst_Language : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_env.emplace();
        QCOMPARE(m_env->writeLanguageTable(), 0);
    }
    void cleanup() { m_env.reset(); }
    void lookup_data();
    void lookup();
    void missingFileIsEmpty();
    void copyReadOnce_data();
    void copyReadOnce();
    void fileFormat();
    void rules_data();
    void rules();
    void sumPastSixteenBitsOverflows();
    void qtTexts_data();
    void qtTexts();
    void startLanguage_data();
    void startLanguage();
    void codePage_data();
    void codePage();

private:
    std::optional<CoreEnvironment> m_env;
};

void tst_Language::lookup_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("german quit") << 0 << 114 << u"Wirklich schon aufhören?"_qs;
    QTest::newRow("french quit, key 6114") << 6000 << 114 << u"Voulez vous vraiment terminer?"_qs;
    QTest::newRow("english undo") << 1000 << 143 << u"Undo"_qs;
    QTest::newRow("trailing tab trimmed") << 0 << 115 << u"Beenden"_qs;
    QTest::newRow("trailing blank trimmed") << 2000 << 114 << u"Verkligen avsluta?"_qs;
    QTest::newRow("norwegian 122 empty, no fallback") << 5000 << 122 << QString();
    QTest::newRow("italian 134: the empty entry comes first") << 3000 << 134 << QString();
    QTest::newRow("spanish 134 kept as written") << 4000 << 134 << u"¡El fichero ya exixte!"_qs;
    QTest::newRow("french accents") << 6000 << 143 << u"Défaire"_qs;
    QTest::newRow("access key kept") << 6000 << 121 << u"Aide en &ligne"_qs;
    QTest::newRow("missing message") << 0 << 999 << QString();
    QTest::newRow("title in every language") << 4000 << 100 << u"Stiftolino"_qs;
}

void tst_Language::lookup()
{
    QFETCH(int, offset);
    QFETCH(int, message);
    QFETCH(QString, text);
    LanguageOffset = int16_t(offset);
    QCOMPARE(Msg(Text(message)), text);
    QCOMPARE(GetLang(int16_t(offset + message)), text);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Language::missingFileIsEmpty()
{
    LanguageFilePath = m_env->folder.filePath(QStringLiteral("nothing-here.lng"));
    QCOMPARE(GetLang(114), QString());
    LanguageFilePath.clear();
    QCOMPARE(GetLang(114), QString());
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Language::copyReadOnce_data()
{
    QTest::addColumn<QByteArray>("edited"); // the English "End program" in the copy
    QTest::addColumn<bool>("keepTime");
    QTest::addColumn<bool>("switchLanguage");
    QTest::addColumn<bool>("readAgain");
    QTest::newRow("same size and time: kept") << QByteArray("End progrXm") << true << false << false;
    QTest::newRow("touched: read again") << QByteArray("End progrXm") << false << false << true;
    QTest::newRow("grown: read again") << QByteArray("End the program") << true << false << true;
    QTest::newRow("language switched: read again") << QByteArray("End progrXm") << true << true << true;
}

// The copy is read once and kept, also for the other languages in it, until its
// time or size changes or the language is switched.
void tst_Language::copyReadOnce()
{
    QFETCH(QByteArray, edited);
    QFETCH(bool, keepTime);
    QFETCH(bool, switchLanguage);
    QFETCH(bool, readAgain);
    QCOMPARE(Msg(Text::EndProgram), u"Beenden"_qs);

    const QDateTime stamp = QFileInfo(LanguageFilePath).lastModified();
    QByteArray bytes = readFile(LanguageFilePath);
    QVERIFY(bytes.contains("1115 = End program\r\n"));
    QVERIFY(writeFile(LanguageFilePath, bytes.replace("1115 = End program\r\n", "1115 = " + edited + "\r\n")));
    QFile f(LanguageFilePath);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(keepTime ? stamp : stamp.addSecs(1), QFileDevice::FileModificationTime));
    f.close();

    if (switchLanguage)
        SwitchLanguage(1);
    else
        LanguageOffset = 1000;
    QCOMPARE(Msg(Text::EndProgram), readAgain ? QString::fromLatin1(edited) : u"End program"_qs);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Language::fileFormat()
{
    const QByteArray bytes = readFile(LanguageFilePath);
    QVERIFY(bytes.startsWith("[lang]    \r\n"));
    QVERIFY(bytes.endsWith('\0'));
    const QByteArray text = bytes.left(bytes.indexOf('\0'));
    QVERIFY(text.endsWith("\r\n"));
    QVERIFY(!text.contains("\n\n"));
    QCOMPARE(text.count('\n'), text.count("\r\n"));
    // Windows-1252: one byte per umlaut.
    QVERIFY(text.contains("0114 = Wirklich schon aufh\xf6ren?\r\n"));
    QVERIFY(text.contains("0115 = Beenden\t\r\n"));
    QVERIFY(text.contains("5122 = \r\n"));
    QVERIFY(text.contains("3134 = \r\n3134 = Il File gi\xe1 esiste!\r\n"));

    // Keys ascend by message, languages 0 to 6 within each.
    QList<QByteArray> keys;
    for (const QByteArray &line : text.split('\n').mid(1)) {
        if (!line.isEmpty())
            keys << line.left(4);
    }
    QCOMPARE(keys.size(), 22 * 7 + 1);
    int lastMessage = 0;
    for (const QByteArray &key : keys) {
        const int message = key.mid(1).toInt();
        QVERIFY2(message >= lastMessage, key.constData());
        lastMessage = message;
    }
    for (int m : {100, 113, 114, 115, 119, 120, 121, 122, 123, 124, 125,
                  128, 129, 130, 131, 132, 133, 134, 135, 140, 142, 143}) {
        for (int d = 0; d < 7; ++d)
            QVERIFY(keys.contains(QByteArray::number(d * 1000 + m).rightJustified(4, '0')));
    }
}

void tst_Language::rules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    const QByteArray base = "[lang]    \r\n0114 = first\r\n0114 = second\r\n";
    QTest::newRow("first key wins") << base << u"0114"_qs << u"first"_qs;
    QTest::newRow("section name ignores case") << "[LANG]\r\n0001 = x\r\n"_qba << u"0001"_qs << u"x"_qs;
    QTest::newRow("key ignores case and blanks") << "[lang]\r\n  AbC\t=  y \r\n"_qba << u"abc"_qs << u"y"_qs;
    QTest::newRow("other section not read")
        << "[other]\r\n0001 = no\r\n[lang]\r\n0002 = yes\r\n"_qba << u"0001"_qs << QString();
    QTest::newRow("line without equals skipped")
        << "[lang]\r\n0001 nothing\r\n0001 = found\r\n"_qba << u"0001"_qs << u"found"_qs;
    QTest::newRow("ends at NUL") << "[lang]\r\n0001 = a\r\n\0\0000002 = stale\r\n"_qba << u"0002"_qs << QString();
    QTest::newRow("NUL as the first byte: nothing is read")
        << "\0\r\n[lang]\r\n0001 = stale\r\n"_qba << u"0001"_qs << QString();
    QTest::newRow("NUL right after the text") << "[lang]\r\n0001 = a\0b\r\n"_qba << u"0001"_qs << u"a"_qs;
    QTest::newRow("keys before the first section not read")
        << "0001 = early\r\n[lang]\r\n"_qba << u"0001"_qs << QString();
    QTest::newRow("section without its closing bracket") << "[lang\r\n0001 = open\r\n"_qba << u"0001"_qs << u"open"_qs;
    QTest::newRow("the last line without a line break") << "[lang]\r\n0001 = last"_qba << u"0001"_qs << u"last"_qs;
    QTest::newRow("253 characters kept whole") << "[lang]\r\n0004 = "_qba + QByteArray(253, 'x') + "\r\n"
                                               << u"0004"_qs << QString(253, u'x');
    QTest::newRow("bare LF lines") << "[lang]\n0003 = lf\n"_qba << u"0003"_qs << u"lf"_qs;
    QTest::newRow("254 characters at most") << "[lang]\r\n0004 = "_qba + QByteArray(300, 'x') + "\r\n"
                                            << u"0004"_qs << QString(254, u'x');
    QTest::newRow("Windows-1252 quotes") << "[lang]\r\n0005 = \x84Hallo\x93\r\n"_qba << u"0005"_qs << u"„Hallo“"_qs;
    QTest::newRow("matching double quotes removed")
        << "[lang]\r\n0001 = \" abc \"\r\n"_qba << u"0001"_qs << u" abc "_qs;
    QTest::newRow("matching single quotes removed") << "[lang]\r\n0001 = 'abc'\r\n"_qba << u"0001"_qs << u"abc"_qs;
    QTest::newRow("only a pair is removed") << "[lang]\r\n0001 = \"\"x\"\"\r\n"_qba << u"0001"_qs << u"\"x\""_qs;
    QTest::newRow("empty quotes") << "[lang]\r\n0001 = ''\r\n"_qba << u"0001"_qs << QString();
    QTest::newRow("one quote only kept") << "[lang]\r\n0001 = \"abc\r\n"_qba << u"0001"_qs << u"\"abc"_qs;
    QTest::newRow("quote alone kept") << "[lang]\r\n0001 = '\r\n"_qba << u"0001"_qs << u"'"_qs;
    QTest::newRow("different quotes kept") << "[lang]\r\n0001 = \"abc'\r\n"_qba << u"0001"_qs << u"\"abc'"_qs;
    QTest::newRow("quotes inside kept") << "[lang]\r\n0001 = Er sagte \"ja\" und 'nein'\r\n"_qba << u"0001"_qs
                                        << u"Er sagte \"ja\" und 'nein'"_qs;
}

void tst_Language::rules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QCOMPARE(LookupProfileString(file, QStringLiteral("Lang"), key), text);
}

void tst_Language::sumPastSixteenBitsOverflows()
{
    LanguageOffset = 32700;
    QCOMPARE(Msg(Text(67)), QString()); // 32767 still fits
    try {
        Msg(Text(68));
        QFAIL("no overflow raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number, 6);
    }
}

void tst_Language::qtTexts_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("German") << 0 << u"de"_qs << u"&Ja"_qs << u"&Nein"_qs;
    QTest::newRow("English: Qt's own") << 1000 << QString() << u"&Yes"_qs << u"&No"_qs;
    QTest::newRow("Norwegian") << 5000 << u"nn"_qs << u"&Ja"_qs << u"&Nei"_qs;
    QTest::newRow("French") << 6000 << u"fr"_qs << u"&Oui"_qs << u"&Non"_qs;
    QTest::newRow("outside the table: English") << 7000 << QString() << u"&Yes"_qs << u"&No"_qs;
}

void tst_Language::qtTexts()
{
    QFETCH(int, offset);
    QFETCH(QString, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    // Each switch replaces the translation before it.
    QCOMPARE(UseQtTexts(0), u"de"_qs);
    const QString used = UseQtTexts(int16_t(offset));
    if (offset == 5000 && used == u"nb")
        language = used; // a Bokmål translation, where installed, comes first
    QCOMPARE(used, language);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), no);
    UseQtTexts(1000);
}

void tst_Language::startLanguage_data()
{
    // The desktop's variables LANGUAGE, LC_ALL, LC_MESSAGES, LANG (empty: not
    // set), and the stored "Sprache" (null: none stored).
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArrayList>("desktop");
    QTest::addColumn<int>("offset");
    const QString none;
    QTest::newRow("nothing set: German") << none << QByteArrayList{"", "", "", ""} << 0;
    QTest::newRow("LANG French") << none << QByteArrayList{"", "", "", "fr_FR.UTF-8"} << 6000;
    QTest::newRow("LANG English") << none << QByteArrayList{"", "", "", "en_GB.UTF-8"} << 1000;
    QTest::newRow("with a modifier") << none << QByteArrayList{"", "", "", "es_ES@euro"} << 4000;
    QTest::newRow("LC_MESSAGES before LANG") << none << QByteArrayList{"", "", "it_IT.UTF-8", "de_DE.UTF-8"} << 3000;
    QTest::newRow("LC_ALL before LC_MESSAGES") << none << QByteArrayList{"", "sv_SE.UTF-8", "it_IT.UTF-8", ""} << 2000;
    QTest::newRow("LANGUAGE before all") << none << QByteArrayList{"fr", "en_US.UTF-8", "", ""} << 6000;
    QTest::newRow("LANGUAGE list: its first of the seven")
        << none << QByteArrayList{"pt_BR:pt:nb_NO:en", "", "", "pt_BR.UTF-8"} << 5000;
    QTest::newRow("Nynorsk is Norwegian") << none << QByteArrayList{"", "", "", "nn_NO.UTF-8"} << 5000;
    QTest::newRow("a language not among the seven: German") << none << QByteArrayList{"", "", "", "pt_BR.UTF-8"} << 0;
    QTest::newRow("the first set decides") << none << QByteArrayList{"", "pt_PT.UTF-8", "", "fr_FR.UTF-8"} << 0;
    QTest::newRow("the C locale: German") << none << QByteArrayList{"", "", "", "C.UTF-8"} << 0;
    QTest::newRow("stored German wins") << u"0"_qs << QByteArrayList{"", "", "", "fr_FR.UTF-8"} << 0;
    QTest::newRow("stored English wins") << u"1000"_qs << QByteArrayList{"it", "", "", ""} << 1000;
}

void tst_Language::startLanguage()
{
    QFETCH(QString, stored);
    QFETCH(QByteArrayList, desktop);
    QFETCH(int, offset);
    static const char *const names[4] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    QByteArrayList before;
    for (int i = 0; i < 4; ++i) {
        before << qgetenv(names[i]);
        qputenv(names[i], desktop[i]);
    }
    const auto restore = qScopeGuard([&] {
        for (int i = 0; i < 4; ++i)
            qputenv(names[i], before[i]);
    });
    if (!stored.isNull())
        SaveSetting(Key::Language, stored);
    QCOMPARE(int(StartLanguageOffset()), offset);
    // A first start stores nothing: the flags do.
    QCOMPARE(IsSettingStored(Key::Language), !stored.isNull());
}

void tst_Language::codePage_data()
{
    // The ends of each part of Windows-1252: ASCII, the special block 0x80..0x9F
    // and Latin-1 0xA0..0xFF.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("encodable");
    QTest::newRow("last ASCII") << QString(QChar(0x7F)) << QByteArray("\x7f") << true;
    QTest::newRow("euro, first of the block") << u"€"_qs << QByteArray("\x80") << true;
    QTest::newRow("Y umlaut, last of the block") << u"Ÿ"_qs << QByteArray("\x9f") << true;
    QTest::newRow("no-break space, first Latin-1") << QString(QChar(0xA0)) << QByteArray("\xa0") << true;
    QTest::newRow("y umlaut, last byte") << u"ÿ"_qs << QByteArray("\xff") << true;
    QTest::newRow("U+0080 has no place") << QString(QChar(0x80)) << QByteArray("?") << false;
    QTest::newRow("U+009F has no place") << QString(QChar(0x9F)) << QByteArray("?") << false;
    QTest::newRow("U+0100 has no place") << u"Ā"_qs << QByteArray("?") << false;
    QTest::newRow("a missing character among others") << u"a€Āb"_qs << QByteArray("a\x80?b") << false;
}

void tst_Language::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, encodable);
    QCOMPARE(Cp1252::encode(text), bytes);
    QCOMPARE(Cp1252::canEncode(text), encodable);
    if (encodable)
        QCOMPARE(Cp1252::decode(bytes), text);
}

QTEST_GUILESS_MAIN(tst_Language)
#include "tst_language.moc"
