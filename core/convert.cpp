#include "core/convert.h"

#include "core/errorframe.h"

#include <array>
#include <charconv>
#include <limits>

namespace {

double parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    // Only plain decimal numbers: no hexadecimal, no "inf" or "nan".
    static const QString allowed = QStringLiteral("0123456789+-.eE");
    for (QChar c : t) {
        if (!allowed.contains(c))
            raiseError(Err::TypeMismatch);
    }
    const double v = t.toDouble(&ok);
    if (!ok || t.isEmpty())
        raiseError(Err::TypeMismatch);
    return v;
}

template <class Int> Int toInt(double v)
{
    if (!std::isfinite(v))
        raiseError(Err::Overflow);
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        raiseError(Err::Overflow);
    return static_cast<Int>(r);
}

} // namespace

int16_t toInt16(const QString &text) { return toInt<int16_t>(parseNumber(text)); }
int32_t toInt32(const QString &text) { return toInt<int32_t>(parseNumber(text)); }
int16_t toInt16(double value) { return toInt<int16_t>(value); }
int32_t toInt32(double value) { return toInt<int32_t>(value); }

QString singleText(double value)
{
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<float>(value), std::chars_format::fixed);
    return QString::fromLatin1(buf.data(), int(res.ptr - buf.data()));
}
