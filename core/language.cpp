#include "core/language.h"

#include "core/convert.h"
#include "core/cp1252.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/resources.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <optional>

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

QHash<QString, QString> ReadProfileSection(const QByteArray &file, const QString &section)
{
    QHash<QString, QString> texts;
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
        const QString key = trimBlanks(line.left(eq)).toCaseFolded();
        if (texts.contains(key))
            continue;
        QString value = trimBlanks(line.mid(eq + 1));
        // One matching pair of quotes around the whole value is not part of it.
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        texts.insert(key, value.left(254));
    }
    return texts;
}

QString LookupProfileString(const QByteArray &file, const QString &section, const QString &key, bool *found)
{
    const QHash<QString, QString> texts = ReadProfileSection(file, section);
    const QString folded = key.toCaseFolded();
    if (found)
        *found = texts.contains(folded);
    return texts.value(folded);
}

namespace {
// The table as last read: the copy at `path` as it was when read (its time and
// size), or the table the program carries when the copy had gone.
struct ReadTable {
    QString path;
    QDateTime modified;
    qint64 size = -1;
    bool carried = false;
    QHash<QString, QString> texts;
};
std::optional<ReadTable> g_table;

// The texts of the table at LanguageFilePath, read again only when the copy has
// changed since; null when there is none. A copy that goes away while the
// program runs (a cleaner of temporary files, a slip of the user) gives way to
// the table the program carries, which the copy was made of.
const QHash<QString, QString> *currentTable()
{
    static QString readBefore;
    if (LanguageFilePath.isEmpty())
        return nullptr;
    const QFileInfo info(LanguageFilePath);
    const bool isFile = info.isFile();
    if (g_table && g_table->path == LanguageFilePath) {
        if (isFile ? (!g_table->carried && g_table->modified == info.lastModified() && g_table->size == info.size())
                   : g_table->carried)
            return &g_table->texts;
    }
    g_table.reset();
    ReadTable table{LanguageFilePath, info.lastModified(), info.size(), false, {}};
    QFile file(LanguageFilePath);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        content = file.read(1 << 20);
        readBefore = LanguageFilePath;
    } else if (LanguageFilePath == readBefore) {
        content = ModResFiles::LoadResData(1000, QStringLiteral("CUSTOM"));
        table.carried = true;
    } else {
        // A table that was never there yields empty texts, as a missing key does.
        return nullptr;
    }
    table.texts = ReadProfileSection(content, QStringLiteral("Lang"));
    g_table = std::move(table);
    return &g_table->texts;
}
} // namespace

void ForgetLanguageTable() { g_table.reset(); }

QString GetLang(int16_t number)
{
    QString result;
    ErrorFrame f("Allgemein", "GetLang");
    f.run([&] {
        const QHash<QString, QString> *texts = nullptr;
        f.line(10, [&] { texts = currentTable(); });
        const QString key = QStringLiteral("%1").arg(int(number), 4, 10, QLatin1Char('0'));
        f.line(20, [&] {
            if (texts)
                result = texts->value(key.toCaseFolded());
        });
    });
    return result;
}

QString Msg(Text id) { return GetLang(toInt16(double(LanguageOffset) + int(id))); }

} // namespace Allgemein
