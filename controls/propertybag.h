#pragma once
// The host window's store of a control's persisted properties: key -> value,
// pictures kept as images in memory, not as a file name. A value written
// equal to its default is not kept, and reading a key that is not kept yields
// the default, so a store holds only what differs from a new instance.

#include <QImage>
#include <QMap>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class PropertyBag
{
public:
    // The stored value, or `defaultValue` when the key is not kept.
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue = QVariant());
    // Keeps the value; one equal to `defaultValue` is removed instead.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue = QVariant());

    // Typed reads as the control's fields need them. A value that is not a
    // number raises error 13, one outside 32 bits error 6.
    int32_t ReadLong(const QString &key, int32_t defaultValue);
    bool ReadBoolean(const QString &key, bool defaultValue);
    // A stored picture; a missing key or unreadable data gives a null image.
    QImage ReadPicture(const QString &key);
    // A null image stores nothing (the default "no picture").
    void WritePicture(const QString &key, const QImage &picture);

    bool contains(const QString &key) const { return m_values.contains(key); }
    QStringList keys() const { return m_values.keys(); }
    void clear() { m_values.clear(); }

    // The keys in the order they were read and written (oldest first).
    QStringList reads;
    QStringList writes;

private:
    QMap<QString, QVariant> m_values;
};
