// Writes the language table: the header "[lang]" and four blanks, then every
// entry of the source as "key = text", Windows-1252, lines ended by CR LF, and
// NUL padding to a whole number of 64-byte blocks (at least four NULs).

#include "core/cp1252.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_lang messages.txt out.bin\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "gen_lang: cannot read %s\n", argv[1]);
        return 1;
    }
    QByteArray out = "[lang]    \r\n";
    int lineNo = 0;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    for (QString line : lines) {
        ++lineNo;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        line.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
        if (!Cp1252::canEncode(line)) {
            std::fprintf(stderr, "gen_lang: line %d has a character Windows-1252 lacks\n", lineNo);
            return 1;
        }
        out += Cp1252::encode(line) + "\r\n";
    }
    const qsizetype padded = ((out.size() + 4 + 63) / 64) * 64;
    out.append(QByteArray(padded - out.size(), '\0'));

    QFile f(QString::fromLocal8Bit(argv[2]));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out) != out.size()) {
        std::fprintf(stderr, "gen_lang: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
