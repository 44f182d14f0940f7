#pragma once
// The text of a failed check: msg("row %1 of %2", y, name) fills %1, %2 ... with
// the values in turn and hands QVERIFY2, QFAIL or QSKIP the bytes.

#include <QByteArray>
#include <QString>

struct CheckMessage {
    QByteArray bytes;
    operator const char *() const { return bytes.constData(); }
};

template <typename... Values> CheckMessage msg(const char *text, const Values &...values)
{
    QString s = QString::fromUtf8(text);
    ((s = s.arg(values)), ...);
    return {s.toLocal8Bit()};
}
