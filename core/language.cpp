#include "core/language.h"

#include "core/convert.h"
#include "core/cp1252.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/resources.h"

#include <QFile>

namespace Allgemein {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString &s)
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

QString LookupProfileString(const QByteArray &file, const QString &section, const QString &key,
                            bool *found)
{
    if (found)
        *found = false;
    QByteArray bytes = file;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    const QString text = Cp1252::decode(bytes);

    bool inSection = false;
    qsizetype pos = 0;
    while (pos <= text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        const QString line = trimBlanks(text.mid(pos, end - pos));
        pos = end + 1;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = trimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (trimBlanks(line.left(eq)).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            *found = true;
        QString value = trimBlanks(line.mid(eq + 1));
        // One matching pair of quotes around the whole value is not part of it.
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
            && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return value.left(254);
    }
    return QString();
}

QString GetLang(int16_t number)
{
    // The copy this run has read from already. When it goes away while the
    // program runs (a cleaner of temporary files, a slip of the user) the texts
    // come from the table the program carries, which the copy was made of.
    static QString readBefore;
    QString result;
    ErrorFrame f("Allgemein", "GetLang");
    f.run([&] {
        QByteArray content;
        f.line(10, [&] {
            QFile file(LanguageFilePath);
            // A table that was never there yields empty texts, as a missing key does.
            if (LanguageFilePath.isEmpty())
                return;
            if (file.open(QIODevice::ReadOnly)) {
                content = file.read(1 << 20);
                readBefore = LanguageFilePath;
            } else if (LanguageFilePath == readBefore) {
                content = ModResFiles::LoadResData(1000, QStringLiteral("CUSTOM"));
            }
        });
        const QString key = QStringLiteral("%1").arg(int(number), 4, 10, QLatin1Char('0'));
        f.line(20, [&] { result = LookupProfileString(content, QStringLiteral("Lang"), key); });
    });
    return result;
}

QString Msg(Text id)
{
    return GetLang(toInt16(double(LanguageOffset) + int(id)));
}

} // namespace Allgemein
