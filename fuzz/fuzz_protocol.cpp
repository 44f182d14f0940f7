// The error protocol with any texts (any Unicode, lone surrogates too): the bytes
// are Windows-1252 with CR LF line ends, the eighteen lines stay eighteen, and
// every character the code page cannot hold becomes exactly one '?'.

#include "core/cp1252.h"
#include "errors/protocol.h"
#include "fuzz/fuzzcheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include <cstdlib>

namespace {
QString anyText(FuzzedDataProvider &in)
{
    const std::string raw = in.ConsumeRandomLengthString(120);
    if (in.ConsumeBool())
        return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
    // Raw UTF-16 units: surrogates in any order.
    QString s;
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
        s.append(QChar(char16_t(uint8_t(raw[i]) | (uint8_t(raw[i + 1]) << 8))));
    return s;
}

// What a text must look like in the file: line breaks as blanks, every character
// the code page lacks as one '?'.
QString expected(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            out += u' ';
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            out += u' ';
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += u'?';
            ++i;
        } else {
            out += Cp1252::canEncode(QString(c)) ? c : QChar(u'?');
        }
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ProtocolContent c;
    c.progInfo = anyText(in);
    for (int i = 0; i < 4; ++i) {
        c.titles << anyText(in);
        c.values << anyText(in);
    }
    c.when = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58));
    c.system.known = true;
    c.system.platform = anyText(in);
    c.system.servicePack = anyText(in);
    c.system.major = in.ConsumeIntegral<int>();
    c.system.minor = in.ConsumeIntegral<int>();
    c.system.build = in.ConsumeIntegral<int>();

    const QByteArray bytes = protocolBytes(buildProtocolText(c));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uint8_t(bytes.at(i));
        check(b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D,
              "a byte that is no Windows-1252 character");
        if (b == '\n')
            check(i > 0 && bytes.at(i - 1) == '\r', "a line feed without carriage return");
        if (b == '\r')
            check(i + 1 < bytes.size() && bytes.at(i + 1) == '\n', "a carriage return alone");
    }
    check(bytes.endsWith("\r\n"), "the last line is not ended");
    const QStringList lines = Cp1252::decode(bytes).split(QStringLiteral("\r\n"));
    check(lines.size() == 19, "not eighteen lines");
    const QString indent(10, u' ');
    check(lines.at(4) == indent + expected(c.progInfo), "the program line differs");
    for (int i = 0; i < 4; ++i)
        check(lines.at(7 + i) == indent + expected(c.titles.at(i)) + u'\t' + expected(c.values.at(i)),
              "an error line differs");
    check(lines.at(14) == indent + QStringLiteral("Plattform/Environment:\t") + expected(c.system.platform),
          "the platform line differs");
    check(lines.at(16).endsWith(QStringLiteral("   ") + expected(c.system.servicePack)), "the build line differs");
    return 0;
}
