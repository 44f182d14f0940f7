#pragma once
// Where the settings live: a per-user store of text values by section and key.
// Keys are compared without regard to letter case here, so "Ptop" written is
// "PTop" read; QSettings itself compares them exactly.

#include <QMap>
#include <QString>

#include <memory>
#include <optional>

class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;
    // The stored text, or nothing when the key is missing.
    virtual std::optional<QString> value(const QString &section, const QString &key) = 0;
    // Stores the text; false when the store cannot be written.
    virtual bool setValue(const QString &section, const QString &key, const QString &text) = 0;
    // False when there is a store but it cannot be read (no permission, a folder
    // in its place); values then read as missing. A store not yet created reads.
    virtual bool readable() { return true; }
};

// The real store: an INI file per user under the application name.
class IniSettingsBackend : public SettingsBackend
{
public:
    explicit IniSettingsBackend(const QString &application);
    // A store in an explicit file (for tests of the file format).
    static std::unique_ptr<IniSettingsBackend> atPath(const QString &path);
    ~IniSettingsBackend() override;

    std::optional<QString> value(const QString &section, const QString &key) override;
    bool setValue(const QString &section, const QString &key, const QString &text) override;
    bool readable() override;
    QString fileName() const;

private:
    IniSettingsBackend() = default;
    struct Private;
    std::unique_ptr<Private> d;
};

// A store in memory, fresh for every test.
class MemorySettingsBackend : public SettingsBackend
{
public:
    std::optional<QString> value(const QString &section, const QString &key) override;
    bool setValue(const QString &section, const QString &key, const QString &text) override;
    bool readable() override { return !failReads; }
    // Every write, in order, as "Section/Key=text".
    QStringList writes;
    bool failWrites = false;
    bool failReads = false;

private:
    QMap<QString, QString> m_values; // "section/lowercase key" -> text
};
