#include "controls/toolplace.h"

#include <algorithm>
#include <vector>

namespace ToolPlace {

qint64 cost(const QRect &window, const QList<Obstacle> &obstacles)
{
    qint64 sum = 0;
    for (const Obstacle &o : obstacles) {
        const QRect covered = window.intersected(o.rect);
        if (!covered.isEmpty())
            sum += qint64(covered.width()) * covered.height() * o.weight;
    }
    return sum;
}

namespace {
// The places along one axis where the cost can change its slope: where the
// window's edges meet an obstacle's edges. The cheapest place lies at one of
// them, at an end of the area, or at the described place itself.
std::vector<int> candidates(int described, int lowest, int highest, int length, const QList<Obstacle> &obstacles,
                            bool horizontal)
{
    std::vector<int> at{described, lowest, highest};
    for (const Obstacle &o : obstacles) {
        const int start = horizontal ? o.rect.left() : o.rect.top();
        const int end = start + (horizontal ? o.rect.width() : o.rect.height());
        at.insert(at.end(), {start - length, start, end - length, end});
    }
    for (int &v : at)
        v = std::clamp(v, lowest, highest);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}
} // namespace

QPoint bestPlace(const QRect &area, QSize size, QPoint described, const QList<Obstacle> &obstacles)
{
    const int right = qMax(area.left(), area.left() + area.width() - size.width());
    const int bottom = qMax(area.top(), area.top() + area.height() - size.height());
    const QPoint onArea(std::clamp(described.x(), area.left(), right), std::clamp(described.y(), area.top(), bottom));
    const auto xs = candidates(onArea.x(), area.left(), right, size.width(), obstacles, true);
    const auto ys = candidates(onArea.y(), area.top(), bottom, size.height(), obstacles, false);

    const auto distance = [&](QPoint p) {
        const QPoint d = p - described;
        return qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
    };
    QPoint best = onArea;
    qint64 bestCost = cost(QRect(onArea, size), obstacles);
    for (int y : ys) {
        for (int x : xs) {
            const QPoint p(x, y);
            const qint64 c = cost(QRect(p, size), obstacles);
            if (c < bestCost || (c == bestCost && distance(p) < distance(best))) {
                best = p;
                bestCost = c;
            }
        }
    }
    return best;
}

} // namespace ToolPlace
