#pragma once
// A sound server of our own: PulseAudio with one null sink whose monitor we can
// record, listening on a socket in a private folder. It ends with the object.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class PulseServer
{
public:
    PulseServer() = default;
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;

    // Sound reaches this server through its socket alone unless told otherwise.
    // A desktop's server hands its clients shared memory, which costs a client
    // less CPU: the benchmark, which measures what a user meets, asks for that.
    void setSharedMemory(bool on) { m_sharedMemory = on; }

    // Starts the server (again, after kill(), on the same socket); on failure
    // returns why.
    QString start();
    // Ends the server at once, as a crash would (SIGKILL).
    void kill();

    QString socketPath() const { return m_dir.filePath(QStringLiteral("native")); }
    QString address() const { return QStringLiteral("unix:") + socketPath(); }
    static QString sinkName() { return QStringLiteral("stiftolino_test"); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    bool m_sharedMemory = false;
};
