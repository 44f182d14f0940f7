#pragma once
// A file written in place, a step at a time: opened for writing (created when
// missing, a longer file not shortened), written from its start, closed. It is
// never opened through a symbolic link, so a name in a shared folder cannot
// redirect the write. Each step says how it went; the caller decides what a
// failure means. An open file is closed when the object goes.

#include <QByteArray>
#include <QString>

class RawFile
{
public:
    enum class Status { Ok, NotOpen, NotFound, DiskFull, Link, NameTooLong, Access };

    RawFile() = default;
    ~RawFile();
    RawFile(const RawFile &) = delete;
    RawFile &operator=(const RawFile &) = delete;

    Status openForWriting(const QString &path);
    Status writeFromStart(const QByteArray &bytes);
    // Opened to add at its end (created when missing), never through a link.
    Status openForAppending(const QString &path);
    Status append(const QByteArray &bytes);
    Status close();
    bool isOpen() const { return m_fd >= 0; }

    // Replaces the file at `path` with `bytes` whole or not at all: they go into
    // a temporary file beside it, which takes the old file's place only once it
    // is completely on the disk. On any failure the old file stays as it was and
    // no part of the new one is left behind. A link in the file's place is
    // refused (Link): nothing is written through it.
    static Status replaceWhole(const QString &path, const QByteArray &bytes);

private:
    Status openWith(const QString &path, int flags, unsigned mode);
    Status writeAll(const QByteArray &bytes, bool fromStart);
    int m_fd = -1;
};
