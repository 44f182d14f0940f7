// The language lookup on any table, section and key: it never crashes, never
// returns more than 254 characters, and a key written at the head of the table
// gives back its value.

#include "core/cp1252.h"
#include "core/language.h"
#include "fuzz/fuzzcheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Bytes a section name, key or value written on one line may hold.
QByteArray oneLine(QByteArray s, const char *alsoForbidden)
{
    QByteArray out;
    for (char c : s) {
        if (c == '\r' || c == '\n' || c == '\0' || std::strchr(alsoForbidden, c))
            continue;
        out.append(c);
    }
    return out;
}

QByteArray trimmed(const QByteArray &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s.at(b)))
        ++b;
    while (e > b && isBlank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string rawSection = in.ConsumeRandomLengthString(40);
    const std::string rawKey = in.ConsumeRandomLengthString(40);
    const std::string rawValue = in.ConsumeRandomLengthString(400);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray table(rest.data(), qsizetype(rest.size()));

    // Any table, any section and key.
    const QString anySection = Cp1252::decode(QByteArray::fromStdString(rawSection));
    const QString anyKey = Cp1252::decode(QByteArray::fromStdString(rawKey));
    bool found = false;
    const QString text = Allgemein::LookupProfileString(table, anySection, anyKey, &found);
    check(text.size() <= 254, "a text longer than 254 characters");
    check(found || text.isEmpty(), "a text for a key that is not there");

    // A key written at the head of the table is found with its value.
    const QByteArray section = trimmed(oneLine(QByteArray::fromStdString(rawSection), "]"));
    const QByteArray key = trimmed(oneLine(QByteArray::fromStdString(rawKey), "="));
    const QByteArray value = oneLine(QByteArray::fromStdString(rawValue), "");
    if (key.isEmpty() || key.startsWith('['))
        return 0;
    const QByteArray written = "[" + section + "]\r\n" + key + " = " + value + "\r\n" + table;
    const QString got = Allgemein::LookupProfileString(written, Cp1252::decode(section), Cp1252::decode(key), &found);
    check(found, "a written key was not found");
    // One pair of matching quotes around the whole text is not part of it.
    QByteArray want = trimmed(value);
    if (want.size() >= 2 && (want.front() == '"' || want.front() == '\'') && want.back() == want.front())
        want = want.mid(1, want.size() - 2);
    check(got == Cp1252::decode(want).left(254), "a written key gave another value");
    return 0;
}
