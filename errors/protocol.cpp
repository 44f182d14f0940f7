#include "errors/protocol.h"

#include "core/cp1252.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kSeparator = QString(70, u'-');
const QString kIndent = QString(10, u' ');

// A text as one protocol line: its own line breaks would cut the line in two,
// and a lone CR or LF would break the CR LF line ends.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

QString buildProtocolText(const ProtocolContent &c)
{
    QString t;
    t += kSeparator + kCrLf;
    // sic: "PROTOCOLL" is the heading every stored protocol has; readers look for it.
    t += QStringLiteral("F E H L E R P R O T O K O L L  /  E R R O R   P R O T O C O L L") + kCrLf;
    t += kSeparator + kCrLf;
    t += QStringLiteral("PROGRAMM-INFO:") + kCrLf;
    t += kIndent + oneLine(c.progInfo) + kCrLf;
    t += kSeparator + kCrLf;
    t += QStringLiteral("FEHLERBESCHREIBUNG / ERROR DESCRIPTION:") + kCrLf;
    for (int i = 0; i < 4; ++i)
        t += kIndent + oneLine(c.titles.value(i)) + u'\t' + oneLine(c.values.value(i)) + kCrLf;
    t += kIndent + QStringLiteral("Datum/Uhrzeit (Date/Time):") + u'\t' + c.when.toString(QStringLiteral("MM-dd-yyyy"))
         + QStringLiteral(" / ") + c.when.toString(QStringLiteral("HH:mm:ss")) + kCrLf;
    t += kSeparator + kCrLf;
    t += QStringLiteral("SYSTEMINFO:") + kCrLf;
    // Without a known system nothing follows the tab, not even the line break.
    t += kIndent + QStringLiteral("Plattform/Environment:") + u'\t';
    if (c.system.known)
        t += oneLine(c.system.platform) + kCrLf;
    t += kIndent + QStringLiteral("Version:") + u'\t' + QString::number(c.system.major) + u'.'
         + QString::number(c.system.minor) + kCrLf;
    t += kIndent + QStringLiteral("Build:") + u'\t' + QString::number(c.system.build & 0xFFFF) + QStringLiteral("   ")
         + oneLine(c.system.servicePack) + kCrLf;
    t += kSeparator + kCrLf;
    return t;
}

QByteArray protocolBytes(const QString &protocol) { return Cp1252::encode(protocol); }

QStringList wrapForPrint(const QString &protocol)
{
    QStringList printed;
    QString text = protocol + kCrLf;
    for (qsizetype br = text.indexOf(kCrLf); br >= 0; br = text.indexOf(kCrLf)) {
        const QString current = text.left(br) + u' ';
        text.remove(0, br + 2);
        qsizetype column = 0;
        QString output;
        qsizetype start = 0;
        while (start < current.size()) {
            const qsizetype blank = current.indexOf(u' ', start);
            const QString word = current.mid(start, blank - start + 1);
            start = blank + 1;
            column += word.size();
            if (column > 73) {
                if (!output.isEmpty())
                    printed << output;
                output = QString(20, u' ');
                column = word.size();
            }
            output += word;
        }
        if (!output.isEmpty())
            printed << output;
    }
    return printed;
}
