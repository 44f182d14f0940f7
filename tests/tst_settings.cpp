// The settings store: defaults, case-insensitive keys, values that are not
// numbers, and the orders of the bulk load and save.

#include "core/convert.h"
#include "core/globals.h"
#include "core/settings.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Allgemein;

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    void loadConfig_data();
    void loadConfig();
    void keysIgnoreCase();
    void saveOrder();
    void notANumber_data();
    void notANumber();
    void conversions_data();
    void conversions();
    void singleText_data();
    void singleText();
    void iniStore_data();
    void iniStore();

private:
    std::optional<CoreEnvironment> m_env;
};

// The globals the settings keep: SoundOn, TemplateIndex, PenWidth, PenColor,
// PreviewLarge, PenWindowShown, GridShown, DrawSteps.
using Globals = QList<int>;

static Globals settingGlobals()
{
    return {SoundOn, TemplateIndex, PenWidth, PenColor, PreviewLarge, PenWindowShown, GridShown, DrawSteps};
}

void tst_Settings::loadConfig_data()
{
    QTest::addColumn<Globals>("before");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<Globals>("loaded");
    // A first start finds nothing stored: the defaults.
    QTest::newRow("first start") << Globals{0, 9, 1, 77, 0, 0, 0, 0} << false
                                 << Globals{True, 1, 5, 0, True, True, True, 1};
    // The switch for the live strokes is only read, never saved.
    QTest::newRow("saved and loaded back") << Globals{False, 43, 12, 0x00FF8040, False, False, False, 0} << true
                                           << Globals{False, 43, 12, 0x00FF8040, False, False, False, 1};
}

void tst_Settings::loadConfig()
{
    QFETCH(Globals, before);
    QFETCH(bool, saved);
    QFETCH(Globals, loaded);
    SoundOn = int16_t(before[0]);
    TemplateIndex = int16_t(before[1]);
    PenWidth = int16_t(before[2]);
    PenColor = before[3];
    PreviewLarge = int16_t(before[4]);
    PenWindowShown = int16_t(before[5]);
    GridShown = int16_t(before[6]);
    DrawSteps = int16_t(before[7]);
    if (saved) {
        SaveConfig();
        ResetGlobals();
    }
    LoadConfig();
    QCOMPARE(settingGlobals(), loaded);
    QCOMPARE(GetSettingInt16(Key::Language), 0);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Settings::keysIgnoreCase()
{
    // The lesson window's top is written "Ptop" and read as "PTop".
    SaveSetting(Key::PickerTop, QStringLiteral("1234"));
    QCOMPARE(m_env->settings.writes, QStringList{QStringLiteral("Optionen/Ptop=1234")});
    QCOMPARE(GetSettingInt32(Key::PickerTop, 0), 1234);
    QCOMPARE(GetSetting(QStringLiteral("PTOP"), QString()), QStringLiteral("1234"));
}

void tst_Settings::saveOrder()
{
    PenWidth = 7;
    SaveConfig();
    QCOMPARE(m_env->settings.writes,
             (QStringList{"Optionen/Sound=-1", "Optionen/Width=7", "Optionen/Image=1", "Optionen/Color=0",
                          "Optionen/PSize=-1", "Optionen/CShow=-1", "Optionen/Gitter=-1"}));
}

void tst_Settings::notANumber_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("number");
    const auto row = [](const char *tag, const char *key, const char *text, int line, int number) {
        QTest::newRow(tag) << QString::fromUtf8(key) << QString::fromUtf8(text) << line << number;
    };
    row("Sound text", "Sound", "yes", 20, 13);
    row("Width empty", "Width", "", 40, 13);
    row("Color hex", "Color", "0xFF", 50, 13);
    row("Image too large", "Image", "40000", 30, 6);
    row("Gitter not a number", "Gitter", "-1x", 80, 13);
    row("Zeichnen not a number", "Zeichnen", "ja", 90, 13);
}

void tst_Settings::notANumber()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, number);
    m_env->settings.setValue(SettingsSection, key, text);
    m_env->settings.setValue(SettingsSection, QStringLiteral("CShow"), QStringLiteral("0"));
    m_env->reporter.answers = {1}; // Ignore: the global stays, the other keys are read
    LoadConfig();
    QCOMPARE(m_env->reporter.said(), QStringList{QStringLiteral("Allgemein.LoadConfig %1: %2").arg(line).arg(number)});
    QCOMPARE(PenWindowShown, False);
}

namespace {
// The converted number as text, or "error N" for a raised run-time error.
template <class Convert> QString outcome(Convert convert)
{
    try {
        return QString::number(qint64(convert()));
    } catch (const RuntimeError &e) {
        return QStringLiteral("error %1").arg(e.number);
    }
}
} // namespace

void tst_Settings::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("as16");
    QTest::addColumn<QString>("as32");
    const auto row = [](const char *tag, const char *text, const char *as16, const char *as32) {
        QTest::newRow(tag) << QString::fromUtf8(text) << QString::fromUtf8(as16) << QString::fromUtf8(as32);
    };
    row("plain", "5", "5", "5");
    row("true", "-1", "-1", "-1");
    row("blanks", "  42 ", "42", "42");
    row("half to even down", "2.5", "2", "2");
    row("half to even up", "3.5", "4", "4");
    row("fraction", "4775.6", "4776", "4776");
    row("exponent", "1e3", "1000", "1000");
    row("16-bit largest", "32767", "32767", "32767");
    row("16-bit largest plus one", "32768", "error 6", "32768");
    row("rounds up past 16 bits", "32767.5", "error 6", "32768");
    row("16-bit smallest", "-32768", "-32768", "-32768");
    row("rounds to the 16-bit smallest", "-32768.5", "-32768", "-32768");
    row("16-bit smallest minus one", "-32769", "error 6", "-32769");
    row("32-bit largest", "2147483647", "error 6", "2147483647");
    row("32-bit largest plus one", "2147483648", "error 6", "error 6");
    row("32-bit smallest", "-2147483648", "error 6", "-2147483648");
    row("32-bit smallest minus one", "-2147483649", "error 6", "error 6");
    row("inf is not a number", "inf", "error 13", "error 13");
    row("nan is not a number", "nan", "error 13", "error 13");
    row("hexadecimal", "&H10", "error 13", "error 13");
    row("only blanks", "   ", "error 13", "error 13");
    row("sign alone", "-", "error 13", "error 13");
}

void tst_Settings::conversions()
{
    QFETCH(QString, text);
    QFETCH(QString, as16);
    QFETCH(QString, as32);
    QCOMPARE(outcome([&] { return toInt16(text); }), as16);
    QCOMPARE(outcome([&] { return toInt32(text); }), as32);
    // The number itself converts the same way as its text.
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (isNumber && std::isfinite(value)) {
        QCOMPARE(outcome([&] { return toInt16(value); }), as16);
        QCOMPARE(outcome([&] { return toInt32(value); }), as32);
    }
}

void tst_Settings::singleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 4776.0 << "4776";
    QTest::newRow("negative") << -2446.0 << "-2446";
    QTest::newRow("half") << 12.5 << "12.5";
    QTest::newRow("large whole") << 1000000.0 << "1000000";
}

void tst_Settings::singleText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(::singleText(value), text);
}

void tst_Settings::iniStore_data()
{
    // A file that cannot be read or written at all is one of the faults in
    // tst_faults.
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("intact") << QByteArray("[Optionen]\nWidth=3\n");
    QTest::newRow("a line without equals sign") << QByteArray("[Optionen]\nSound\nWidth=3\n");
    // The real store keeps one spelling per key, whatever case it is written in.
    QTest::newRow("the key in another case") << QByteArray("[Optionen]\nwIDTH=3\n");
}

void tst_Settings::iniStore()
{
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    QVERIFY(writeFile(path, text));
    auto store = IniSettingsBackend::atPath(path);
    SetSettingsBackend(store.get());
    LoadConfig();
    const int16_t loaded = PenWidth;
    PenWidth = 7;
    SaveConfig();
    SetSettingsBackend(&m_env->settings);
    QCOMPARE(loaded, int16_t(3));
    QVERIFY(m_env->reporter.reports.isEmpty());
    auto reread = IniSettingsBackend::atPath(path);
    QCOMPARE(reread->value(SettingsSection, QStringLiteral("Width")).value_or(QString()), QStringLiteral("7"));
    QCOMPARE(readFile(path).toLower().count("width="), 1);
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
