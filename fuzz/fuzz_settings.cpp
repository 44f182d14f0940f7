// The settings load on any text for every key of "Optionen": each value is either
// converted or reported through the error frame, and the load always ends.

#include "core/errorframe.h"
#include "core/globals.h"
#include "core/settings.h"
#include "fuzz/fuzzcheck.h"
#include "platform/settingsbackend.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QMap>
#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

using namespace Allgemein;

namespace {
// Retry once when told to, then Ignore; counts the reports by line.
class Reporter : public ErrorReporter
{
public:
    bool retryFirst = false;
    QMap<int, int> reports;
    int onError(const QString &, const QString &procedure, const PendingError &error) override
    {
        check(procedure == QLatin1String("LoadConfig"), "an error outside the load");
        check(error.number == Err::TypeMismatch || error.number == Err::Overflow,
              "an error other than type mismatch or overflow");
        const int n = ++reports[error.line];
        check(n <= 2, "a key reported again after Ignore");
        return (retryFirst && n == 1) ? int(ErrorChoice::Retry) : int(ErrorChoice::Ignore);
    }
};

struct Loaded {
    const SettingKey &key;
    int line;
    int32_t (*get)();
};

const Loaded kKeys[] = {
    {Key::Sound, 20, [] { return int32_t(SoundOn); }},
    {Key::TemplateIndex, 30, [] { return int32_t(TemplateIndex); }},
    {Key::PenWidth, 40, [] { return int32_t(PenWidth); }},
    {Key::PenColor, 50, [] { return PenColor; }},
    {Key::PreviewLarge, 60, [] { return int32_t(PreviewLarge); }},
    {Key::PenWindowShown, 70, [] { return int32_t(PenWindowShown); }},
    {Key::GridShown, 80, [] { return int32_t(GridShown); }},
};
constexpr int16_t Untouched = 12321;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    MemorySettingsBackend store;
    Reporter reporter;
    reporter.retryFirst = in.ConsumeBool();
    QMap<QString, QString> texts;
    for (const Loaded &k : kKeys) {
        if (!in.ConsumeBool())
            continue; // not stored: the default
        const std::string raw = in.ConsumeRandomLengthString(64);
        const QString text = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
        texts.insert(QLatin1String(k.key.name), text);
        // Keys are compared without regard to case: store some in another spelling.
        const QString stored =
            in.ConsumeBool() ? QString::fromLatin1(k.key.name).toUpper() : QString::fromLatin1(k.key.name);
        store.setValue(SettingsSection, stored, text);
    }

    SetSettingsBackend(&store);
    ErrorHandling::setReporter(&reporter);
    SoundOn = TemplateIndex = PenWidth = PreviewLarge = PenWindowShown = GridShown = Untouched;
    PenColor = Untouched;
    LoadConfig();
    ErrorHandling::setReporter(nullptr);
    SetSettingsBackend(nullptr);

    static const QRegularExpression plainInteger(QStringLiteral("^[ ]*([+-]?[0-9]{1,4})[ ]*$"));
    for (const Loaded &k : kKeys) {
        const int32_t got = k.get();
        if (reporter.reports.contains(k.line)) {
            check(got == Untouched, "a reported key changed its value");
            continue;
        }
        check(got != Untouched
                  || std::nearbyint(texts.value(QLatin1String(k.key.name)).trimmed().toDouble()) == Untouched,
              "a key neither converted nor reported");
        const auto it = texts.constFind(QLatin1String(k.key.name));
        if (it == texts.constEnd()) {
            check(got == k.key.defaultValue, "a missing key did not take its default");
            continue;
        }
        const QRegularExpressionMatch m = plainInteger.match(*it);
        if (m.hasMatch())
            check(got == m.captured(1).toInt(), "a plain number was converted to another");
    }
    return 0;
}
