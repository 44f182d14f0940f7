#include "support/desktopprobe.h"

#include "support/waitfor.h"
#include "support/xserver.h"

#include <QRegularExpression>

#include <algorithm>

namespace DesktopProbe {

QList<QStringList> stacking(const XServer &x)
{
    // xwininfo lists the root's children topmost first, each followed by the
    // windows inside it, indented further.
    const QString out = QString::fromLatin1(x.run(u"xwininfo"_qs, {u"-root"_qs, u"-tree"_qs}));
    const QRegularExpression line(u"^(\\s*)(0x[0-9a-fA-F]+)"_qs);
    QList<QStringList> topFirst;
    qsizetype topIndent = -1;
    for (const QString &text : out.split(u'\n')) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        const QString id = QString::number(m.captured(2).toULongLong(nullptr, 16));
        const qsizetype indent = m.capturedLength(1);
        if (topIndent < 0)
            topIndent = indent;
        if (indent == topIndent)
            topFirst.append(QStringList{id});
        else if (indent > topIndent && !topFirst.isEmpty())
            topFirst.last() << id;
    }
    std::reverse(topFirst.begin(), topFirst.end());
    return topFirst;
}

namespace {
qsizetype levelOf(const QList<QStringList> &order, const QString &window)
{
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (order[i].contains(window))
            return i;
    }
    return -1;
}
} // namespace

bool above(const XServer &x, const QString &upper, const QString &lower)
{
    const QList<QStringList> order = stacking(x);
    const qsizetype u = levelOf(order, upper);
    const qsizetype l = levelOf(order, lower);
    return u >= 0 && l >= 0 && u > l;
}

QString describeStacking(const XServer &x, const QStringList &windows)
{
    const QList<QStringList> order = stacking(x);
    QStringList levels;
    for (const QString &w : windows)
        levels << u"%1 at %2"_qs.arg(w).arg(levelOf(order, w));
    return u"from the bottom: "_qs + levels.join(u", "_qs);
}

QString property(const XServer &x, const QString &window, const QString &name)
{
    const QByteArray out = x.run(u"xprop"_qs, {u"-id"_qs, window, name});
    return out.isNull() ? QString() : QString::fromLocal8Bit(out).trimmed();
}

QRect geometry(const XServer &x, const QString &window)
{
    const QString out = QString::fromLatin1(x.run(u"xwininfo"_qs, {u"-id"_qs, window}));
    auto number = [&](const char *label) {
        const QRegularExpressionMatch m = QRegularExpression(QLatin1String(label) + u":\\s*(-?\\d+)"_qs).match(out);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    return QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
}

QPoint pointer(const XServer &x)
{
    // "x:512 y:384 screen:0 window:..."
    const QString out = x.xdotool({u"getmouselocation"_qs});
    const QRegularExpressionMatch m = QRegularExpression(u"x:(-?\\d+) y:(-?\\d+)"_qs).match(out);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
}

QStringList programWindows(const XServer &x)
{
    return x.xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--class"_qs, u"stiftolino"_qs})
        .split(u'\n', Qt::SkipEmptyParts);
}

QString programWindowOfSize(const XServer &x, QSize size)
{
    for (const QString &id : programWindows(x)) {
        if (x.geometry(id).size() == size)
            return id;
    }
    return QString();
}

QImage screenshot(const XServer &x)
{
    return QImage::fromData(x.run(u"import"_qs, {u"-window"_qs, u"root"_qs, u"png:-"_qs}));
}

bool threeWindows(const XServer &x, QString &main, QString &lessons, QString &pen, int scale)
{
    QList<QRect> last;
    int still = 0;
    return waitFor(
        [&] {
            main = programWindowOfSize(x, QSize(829, 624) * scale);
            lessons = programWindowOfSize(x, QSize(440, 420) * scale);
            pen = programWindowOfSize(x, QSize(626, 169) * scale);
            if (main.isEmpty() || lessons.isEmpty() || pen.isEmpty())
                return false;
            const QList<QRect> now = {geometry(x, main), geometry(x, lessons), geometry(x, pen)};
            still = now == last ? still + 1 : 0;
            last = now;
            return still >= 3;
        },
        30000);
}

} // namespace DesktopProbe
