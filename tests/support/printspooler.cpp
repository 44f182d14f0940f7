#include "support/printspooler.h"

#include "support/testsupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>

namespace {

QString findProgram(const QString &name)
{
    // cupsd and lpadmin live in sbin, which a plain user's PATH may lack.
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

} // namespace

PrintSpooler::~PrintSpooler()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(1000);
    }
}

QString PrintSpooler::cupsPdfPpd()
{
    for (const char *p : {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"}) {
        if (QFileInfo::exists(QString::fromLatin1(p)))
            return QString::fromLatin1(p);
    }
    return QString();
}

QString PrintSpooler::startForCupsPdf()
{
    if (cupsPdfPpd().isEmpty())
        return QStringLiteral("the cups-pdf driver is not installed (Debian package printer-driver-cups-pdf)");
    if (!start())
        return QStringLiteral("no print spooler: ") + whyNot();
    qputenv("CUPS_SERVER", server().toLatin1());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    return QString();
}

QString PrintSpooler::socket() const { return m_dir ? m_dir->filePath(QStringLiteral("cups.sock")) : QString(); }

QString PrintSpooler::server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

QString PrintSpooler::outputFile(const QString &queue) const
{
    return m_dir ? m_dir->filePath(QStringLiteral("out/") + queue + QStringLiteral(".pdf")) : QString();
}

bool PrintSpooler::writeConfig()
{
    const QDir root(m_dir->path());
    for (const char *sub : {"etc", "etc/ppd", "spool", "spool/tmp", "cache", "state", "log", "out"}) {
        if (!root.mkpath(QString::fromLatin1(sub)))
            return false;
    }
    // The filters run as lp: they must reach the spool and the output folder.
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(root.filePath(QStringLiteral("out")), QFileDevice::Permissions(0x7777));
    const QByteArray dir = QFile::encodeName(m_dir->path());
    // Every file of the spooler's own in its folder ("@DIR").
    QByteArray files = R"(ServerRoot @DIR/etc
RequestRoot @DIR/spool
TempDir @DIR/spool/tmp
CacheDir @DIR/cache
StateDir @DIR/state
ErrorLog @DIR/log/error_log
AccessLog @DIR/log/access_log
PageLog @DIR/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice Yes
Sandboxing Relaxed
)";
    files.replace("@DIR", dir);
    // Only the private socket, no network port, no browsing, nobody asked for a password.
    // New queues take A4 whatever paper the machine is set to, so the margins and
    // pages the tests expect hold on a desktop set to Letter as well.
    const QByteArray conf = "Listen " + dir
                            + "/cups.sock\n"
                              "Listen 127.0.0.1:"
                            + QByteArray::number(m_port)
                            + "\n"
                              "Browsing Off\n"
                              "LogLevel warn\n"
                              "DefaultPaperSize A4\n"
                              "DefaultAuthType None\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                              "<Policy default>\n"
                              "  JobPrivateAccess all\n  JobPrivateValues none\n"
                              "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                              "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    return writeFile(root.filePath(QStringLiteral("etc/cups-files.conf")), files)
           && writeFile(root.filePath(QStringLiteral("etc/cupsd.conf")), conf);
}

bool PrintSpooler::start()
{
    const QString cupsd = findProgram(QStringLiteral("cupsd"));
    if (cupsd.isEmpty()) {
        m_why = QStringLiteral("cupsd is not installed (Debian package cups)");
        return false;
    }
    if (findProgram(QStringLiteral("lpadmin")).isEmpty() || findProgram(QStringLiteral("lpstat")).isEmpty()) {
        m_why = QStringLiteral("lpadmin or lpstat is missing (Debian packages cups, cups-client)");
        return false;
    }
    {
        // A port nobody listens on now.
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_why = QStringLiteral("no free port on the loopback address");
            return false;
        }
        m_port = probe.serverPort();
    }
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid() || !writeConfig()) {
        m_why = QStringLiteral("no temporary folder for the spooler");
        return false;
    }
    m_cupsd.setProgram(cupsd);
    m_cupsd.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), m_dir->filePath(QStringLiteral("etc/cupsd.conf")),
                          QStringLiteral("-s"), m_dir->filePath(QStringLiteral("etc/cups-files.conf"))});
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start();
    if (!m_cupsd.waitForStarted(5000)) {
        m_why = QStringLiteral("cupsd did not start");
        return false;
    }
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (m_cupsd.state() == QProcess::NotRunning)
            break;
        if (QFileInfo::exists(socket()) && !run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, 3000).isNull())
            return true;
        m_cupsd.waitForFinished(100); // returns early only if cupsd gives up
    }
    const QByteArray why = m_cupsd.readAll() + readFile(m_dir->filePath(QStringLiteral("log/error_log"))).right(400);
    m_why = QStringLiteral("cupsd did not come up: ") + QString::fromLocal8Bit(why).trimmed();
    return false;
}

bool PrintSpooler::addQueue(const QString &name, const QString &ppd)
{
    const QStringList add{"-p", name, "-E", "-v", "file://" + outputFile(name), "-P", ppd};
    return !run(QStringLiteral("lpadmin"), add).isNull() && !run(QStringLiteral("lpadmin"), {"-d", name}).isNull();
}

QProcessEnvironment PrintSpooler::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), server());
    for (const char *var : {"PRINTER", "LPDEST"})
        env.remove(QString::fromLatin1(var));
    return env;
}

QString PrintSpooler::run(const QString &program, const QStringList &args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(findProgram(program), QStringList{QStringLiteral("-h"), server()} + args);
    const Ended ended = waitForEnd(p, timeoutMs);
    if (!ended.ok()) {
        if (ended.finished)
            m_why = program + QStringLiteral(": ") + QString::fromLocal8Bit(ended.err).trimmed();
        return QString();
    }
    const QString out = QString::fromLocal8Bit(ended.out);
    return out.isNull() ? QStringLiteral("") : out; // success, even with nothing to say
}
