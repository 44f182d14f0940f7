#include "controls/propertybag.h"

#include "core/convert.h"
#include "core/errorframe.h"

#include <limits>

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &defaultValue)
{
    reads.append(key);
    const auto it = m_values.constFind(key);
    return it == m_values.constEnd() ? defaultValue : it.value();
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    writes.append(key);
    if (!value.isValid() || (defaultValue.isValid() && value == defaultValue))
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

int32_t PropertyBag::ReadLong(const QString &key, int32_t defaultValue)
{
    const QVariant v = ReadProperty(key, defaultValue);
    switch (v.typeId()) {
    case QMetaType::Int:
        return v.toInt();
    case QMetaType::Bool:
        return v.toBool() ? -1 : 0;
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        // An unsigned colour value such as 0x8000000F keeps its bits.
        const qlonglong n = v.toLongLong();
        if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
            return int32_t(n);
        if (v.typeId() == QMetaType::UInt)
            return int32_t(v.toUInt());
        raiseError(Err::Overflow);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return toInt32(v.toDouble());
    case QMetaType::QString:
        return toInt32(v.toString());
    default:
        raiseError(Err::TypeMismatch);
    }
}

bool PropertyBag::ReadBoolean(const QString &key, bool defaultValue)
{
    const QVariant v = ReadProperty(key, defaultValue);
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return toInt32(t) != 0;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok)
        raiseError(Err::TypeMismatch);
    return n != 0;
}

QImage PropertyBag::ReadPicture(const QString &key)
{
    const QVariant v = ReadProperty(key);
    return v.typeId() == QMetaType::QImage ? v.value<QImage>() : QImage();
}

void PropertyBag::WritePicture(const QString &key, const QImage &picture)
{
    if (picture.isNull()) {
        WriteProperty(key, QVariant());
        return;
    }
    WriteProperty(key, picture);
}
