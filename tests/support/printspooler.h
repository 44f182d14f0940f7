#pragma once
// A private print spooler for end-to-end tests: a cupsd of its own, configured in
// a temporary folder and reachable only through its own local socket and a free
// port on the loopback address, with queues added by lpadmin. Programs see it
// through environment() (CUPS_SERVER); the test process itself once
// startForCupsPdf() started it, before Qt first asks for a printer. Everything
// started here ends with the object.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class PrintSpooler
{
public:
    PrintSpooler() = default;
    ~PrintSpooler();
    PrintSpooler(const PrintSpooler &) = delete;
    PrintSpooler &operator=(const PrintSpooler &) = delete;

    // Starts cupsd and waits until it answers; false when it cannot be started
    // (whyNot() says why; tests skip then).
    bool start();
    // Why the start, or the last client program run, failed.
    QString whyNot() const { return m_why; }

    // The PPD of the cups-pdf driver (printer-driver-cups-pdf), or empty.
    static QString cupsPdfPpd();
    // Starts the spooler, with the cups-pdf driver at hand, and points this
    // process's printing at it: empty when ready, else why not (tests skip then).
    QString startForCupsPdf();

    // Adds an enabled queue with the given PPD, printing to the file
    // outputFile(name), and makes it the spooler's default.
    bool addQueue(const QString &name, const QString &ppd);
    // Where a queue writes what it prints.
    QString outputFile(const QString &queue) const;

    // Where clients reach the spooler: "127.0.0.1:port" (a printer's PPD is only
    // handed out over the network address), and its local socket.
    QString server() const;
    QString socket() const;
    // The environment for a program that should print through this spooler.
    QProcessEnvironment environment() const;

    // Runs a CUPS client program (lpadmin, lpoptions, lpstat, ...) against this
    // spooler; returns its output, or a null string when it fails.
    QString run(const QString &program, const QStringList &args, int timeoutMs = 10000) const;

private:
    bool writeConfig();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_cupsd;
    quint16 m_port = 0;
    mutable QString m_why;
};
