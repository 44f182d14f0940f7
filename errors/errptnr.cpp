#include "errors/errptnr.h"

#include "core/config.h"
#include "core/settings.h"
#include "platform/paths.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "platform/rawfile.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "platform/windowplace.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
// The dialog's design is in twips; 15 make a pixel.
int px(int twips) { return Twips::toPixels(twips, Twips::DefaultPerPixel); }

const QString kCrLf = QStringLiteral("\r\n");

// The captions are fixed and the buttons small: narrow the font until it fits.
template <class W> void fitCaption(W *w)
{
    QFont f = w->font();
    const QString text = QString(w->text()).remove(u'&');
    const int room = w->width() - 8;
    for (int stretch = 100; stretch >= 62; stretch -= 4) {
        f.setStretch(stretch);
        if (QFontMetrics(f).horizontalAdvance(text) <= room)
            break;
    }
    w->setFont(f);
}
} // namespace

ErrPtnr &ErrPtnr::instance()
{
    static ErrPtnr *dialog = new ErrPtnr();
    return *dialog;
}

ErrPtnr::ErrPtnr(QWidget *parent) : QDialog(parent, Prompts::DialogFlags | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Fehler / Error! "));
    setModal(true);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 3px; margin: 6px 3px 2px 3px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"
                                 "QPushButton { padding: 0px 1px; }"));

    auto frame = [this](const QString &caption, int heightTwips) {
        auto *g = new QGroupBox(caption, this);
        g->setGeometry(0, 0, px(7215), px(heightTwips));
        g->setVisible(false);
        return g;
    };
    framComment = frame(QString(), 975);
    framFehler = frame(QStringLiteral("Fehlerbeschreibung / error description:"), 1695);
    framProgInfo = frame(QStringLiteral("Programm-Info:"), 615);
    framProtocol = frame(QStringLiteral("Fehlerprotokoll ... / error protocoll..."), 855); // sic
    framContinue = frame(QStringLiteral("Weiterer Programmablauf... / Continue..."), 855);

    lblComment = new QLabel(framComment);
    lblComment->setGeometry(px(120), px(150), px(7215) - px(240), px(975) - px(200));
    lblComment->setWordWrap(true);
    lblComment->setTextFormat(Qt::PlainText);

    const char *titles[4] = {"Fehler-Nr / error :", "Modul:", "Prozedur / procedure:", "Zeile / Line:"};
    const int tops[4] = {240, 960, 1200, 1440};
    for (int i = 0; i < 4; ++i) {
        m_lblErrTitel[size_t(i)] = new QLabel(QString::fromLatin1(titles[i]), framFehler);
        m_lblErrTitel[size_t(i)]->setGeometry(px(120), px(tops[i]), px(1800), px(240));
        m_lblError[size_t(i)] = new QLabel(framFehler);
        m_lblError[size_t(i)]->setGeometry(px(1920), px(tops[i]), px(5205), px(i == 0 ? 675 : 240));
        m_lblError[size_t(i)]->setWordWrap(i == 0);
        m_lblError[size_t(i)]->setTextFormat(Qt::PlainText); // a description is never markup
        m_lblError[size_t(i)]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_lblError[size_t(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = small;
        bold.setBold(true);
        m_lblError[size_t(i)]->setFont(bold);
    }
    lblProgInfo = new QLabel(framProgInfo);
    lblProgInfo->setGeometry(px(60), px(270), px(7110), px(240));
    lblProgInfo->setTextFormat(Qt::PlainText);

    const char *protocolCaptions[4] = {"&Drucken/Print", "&Speichern/Save", "&EMail", "&WWW"};
    const char *continueCaptions[4] = {"Wieder&holen Retry", "&Ignorieren   Ignore", "&Abbrechen Cancel",
                                       "&Beenden       End"};
    const int lefts[4] = {240, 2040, 3840, 5640};
    for (int i = 0; i < 4; ++i) {
        auto *p = new QPushButton(QString::fromLatin1(protocolCaptions[i]), framProtocol);
        p->setGeometry(px(lefts[i]), px(240), px(1335), px(495));
        p->setVisible(false);
        connect(p, &QPushButton::clicked, this, [this, i] { cmdProtocol_Click(i); });
        m_protocol[size_t(i)] = p;
        auto *c = new QPushButton(QString::fromLatin1(continueCaptions[i]), framContinue);
        c->setGeometry(px(lefts[i]), px(240), px(1335), px(495));
        c->setVisible(false);
        connect(c, &QPushButton::clicked, this, [this, i] { cmdContinue_Click(i); });
        m_continue[size_t(i)] = c;
        fitCaption(p);
        fitCaption(c);
    }
    for (QLabel *l : m_lblErrTitel)
        fitCaption(l);
    // Tab goes along the protocol row, then along the continue row; Enter presses
    // the button that has the focus (each becomes the default while focused).
    QWidget *previous = nullptr;
    for (const auto &row : {m_protocol, m_continue}) {
        for (QPushButton *b : row) {
            b->setAutoDefault(true);
            if (previous)
                setTabOrder(previous, b);
            previous = b;
        }
    }
    m_system = currentSystemInfo();
}

void ErrPtnr::SetProgInfo(const QString &Text) { lblProgInfo->setText(Text); }
QString ErrPtnr::progInfo() const { return lblProgInfo->text(); }

namespace {
QStringList valuesFor(const QString &module, const QString &procedure, const PendingError &error)
{
    return {QStringLiteral("%1 (%2)").arg(error.number).arg(error.description), module, procedure,
            QString::number(error.line)};
}
} // namespace

int ErrPtnr::OnError(const QString &AktModul, const QString &AktProc, const PendingError &error)
{
    const QStringList values = valuesFor(AktModul, AktProc, error);
    if (m_showing) {
        // Raised while the dialog is already open (a timer or a repaint behind it):
        // nobody can answer it, so it is kept in the protocol and that frame gives up.
        appendProtocol(buildProtocol(values));
        return int(ErrorChoice::Cancel);
    }
    for (int i = 0; i < 4; ++i)
        m_lblError[size_t(i)]->setText(values[i]);
    if (lblProgInfo->text().isEmpty()) {
        SetProgInfo(QStringLiteral("%1  V%2.%3.%4")
                        .arg(Paths::programName())
                        .arg(STIFTOLINO_VERSION_MAJOR)
                        .arg(STIFTOLINO_VERSION_MINOR)
                        .arg(STIFTOLINO_VERSION_PATCH));
    }
    // A busy pointer the failing code set would otherwise stay over the dialog.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    ArrangeDialog();
    // The protocol is kept before the dialog shows; a failure here never stops it.
    AppendProtocolFile();
    QApplication::beep();
    if (m_autoAnswer)
        QTimer::singleShot(0, this, [this] { m_autoAnswer(*this); });
    m_protocol[0]->setFocus();
    m_showing = true;
    exec();
    m_showing = false;
    return m_lastChoice;
}

void ErrPtnr::ArrangeDialog()
{
    int y = 0;
    framComment->setVisible(true);
    framComment->move(0, y);
    y += framComment->height();
    lblComment->setText(
        QStringLiteral("There is a problem. Please contact the author if this problem appears again.\n"
                       "Es liegt ein Problem vor, mit dem Sie sich an den technischen Support wenden sollten, "
                       "falls es wiederholt auftritt."));
    for (QGroupBox *g : {framFehler, framProgInfo, framProtocol}) {
        g->setVisible(true);
        g->move(0, y);
        y += g->height();
    }
    for (QPushButton *b : m_protocol)
        b->setVisible(true);
    framContinue->setVisible(true);
    framContinue->move(0, y);
    y += framContinue->height();
    for (QPushButton *b : m_continue)
        b->setVisible(true);
    setFixedSize(framFehler->width(), y);
    WindowPlace::centreWhenFramed(this);
}

void ErrPtnr::cmdContinue_Click(int Index)
{
    m_lastChoice = Index;
    hide();
    done(Index);
}

void ErrPtnr::closeEvent(QCloseEvent *event) { event->ignore(); }

QString ErrPtnr::BuildProtocol() const
{
    QStringList values;
    for (QLabel *l : m_lblError)
        values << l->text();
    return buildProtocol(values);
}

QString ErrPtnr::buildProtocol(const QStringList &values) const
{
    ProtocolContent c;
    c.progInfo = lblProgInfo->text();
    for (QLabel *l : m_lblErrTitel)
        c.titles << l->text();
    c.values = values;
    c.when = m_clock ? m_clock() : QDateTime::currentDateTime();
    c.system = m_system;
    return buildProtocolText(c);
}

QString ErrPtnr::protocolFilePath(const QString &extension) const
{
    QString folder = Paths::protocolFolder();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + Paths::programName() + extension;
}

bool ErrPtnr::AppendProtocolFile() { return appendProtocol(BuildProtocol()); }

bool ErrPtnr::appendProtocol(const QString &protocol)
{
    // Never through a symbolic link: a link put in the folder must not send the
    // protocol elsewhere.
    RawFile f;
    return f.openForAppending(protocolFilePath(QStringLiteral(".EPT"))) == RawFile::Status::Ok
           && f.append(protocolBytes(protocol + kCrLf)) == RawFile::Status::Ok && f.close() == RawFile::Status::Ok;
}

void ErrPtnr::cmdProtocol_Click(int Index)
{
    switch (Index) {
    case 0:
        printProtocol();
        break;
    case 1:
        saveProtocol();
        break;
    case 2:
        mailProtocol();
        break;
    case 3:
        webProtocol();
        break;
    default:
        break;
    }
}

void ErrPtnr::printProtocol()
{
    const QStringList lines = wrapForPrint(BuildProtocol());
    std::unique_ptr<QPrinter> printer = Printing::defaultPrinter();
    QPainter p;
    if (!printer || !p.begin(printer.get())) {
        Prompts::message(this,
                         QStringLiteral("Das Fehlerprotokoll konnte nicht gedruckt werden: kein "
                                        "Drucker bereit.\r\nThe error protocol could not be "
                                        "printed: no printer is ready."),
                         Prompts::Buttons::Ok, Prompts::Icon::Information, Allgemein::AppTitle);
        return;
    }
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(9);
    p.setFont(font);
    const int lineHeight = p.fontMetrics().lineSpacing();
    const QRect page = p.viewport();
    int y = lineHeight;
    for (QString line : lines) {
        if (y > page.height() - lineHeight) {
            printer->newPage();
            y = lineHeight;
        }
        line.replace(u'\t', u' ');
        p.drawText(0, y, line);
        y += lineHeight;
    }
    p.end();
}

void ErrPtnr::saveProtocol()
{
    const QString protocol = BuildProtocol();
    const QString path = protocolFilePath(QStringLiteral(".ERR"));
    if (QFileInfo::exists(path)) {
        const QString question = QStringLiteral("Vorhandene Datei '") + path + QStringLiteral("' überschreiben?")
                                 + kCrLf + QStringLiteral("Overwrite file '") + path + QStringLiteral("' ?");
        if (Prompts::message(this, question, Prompts::Buttons::YesNo, Prompts::Icon::Question, Allgemein::AppTitle,
                             Prompts::Answer::Yes)
            != Prompts::Answer::Yes)
            return;
    }
    // Replacing the file would replace what a link points to: a link is refused instead.
    if (QFileInfo(path).isSymLink()
        || RawFile::replaceWhole(path, protocolBytes(protocol + kCrLf)) != RawFile::Status::Ok) {
        Prompts::message(this,
                         QStringLiteral("Das Fehlerprotokoll konnte nicht in die Datei '") + path
                             + QStringLiteral("' geschrieben werden.") + kCrLf
                             + QStringLiteral("The error protocol could not be written to file '") + path
                             + QStringLiteral("'."),
                         Prompts::Buttons::Ok, Prompts::Icon::Critical, Allgemein::AppTitle);
        return;
    }
    // sic: "FehlerprotcmdOKoll" and "protocoll" are the dialog's fixed wording.
    Prompts::message(this,
                     QStringLiteral("Das FehlerprotcmdOKoll wurde in die Datei '") + path
                         + QStringLiteral("' geschrieben!") + kCrLf
                         + QStringLiteral("Error protocoll was written to file '") + path + QStringLiteral("'!"),
                     Prompts::Buttons::Ok, Prompts::Icon::Information, Allgemein::AppTitle);
}

void ErrPtnr::mailProtocol()
{
    const QString protocol = BuildProtocol();
    // sic: "FehlerprotcmdOKoll" is the dialog's fixed wording.
    const QStringList lines = {
        QStringLiteral("Es wird jetzt Ihr Standard-Email-Programm aufgerufen. Die Fehlerbeschreibung "
                       "sowie das FehlerprotcmdOKoll"),
        QStringLiteral("wurden zu Ihrer Bequemlichkeit in die Zwischenablage kopiert."),
        QString(),
        QStringLiteral("Bitte fügen Sie den Inhalt der Zwischenablage in Ihre Email ein, indem Sie "
                       "in Ihrem Email-Programm"),
        QStringLiteral("die Tasten [Strg] und [Einfg] gleichzeitig betätigen. Alternativ können Sie "
                       "den Inhalt in die EMail"),
        QStringLiteral("einfügen, indem Sie den Befehl 'Einfügen' aus dem Menü 'Bearbeiten' "
                       "ausführen."),
        QString(),
        QString(),
        QStringLiteral("Your email application will be started. The error description will be "
                       "copied to the clipboard."),
        QString(),
        QStringLiteral("Please insert the contents of the clipboard into the message body by using "
                       "Ctrl + V or "),
        QStringLiteral("use the menu or toolbar command of your email program. "),
    };
    Prompts::message(this, lines.join(kCrLf), Prompts::Buttons::Ok, Prompts::Icon::Information, Allgemein::AppTitle);
    QClipboard *clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(protocol);
    Shell::open(QUrl(QStringLiteral("mailto:") + Config::SupportMail.trimmed()));
}

void ErrPtnr::webProtocol()
{
    QClipboard *clip = QGuiApplication::clipboard();
    clip->clear();
    clip->setText(BuildProtocol());
    Shell::open(QUrl(Config::WebSite));
}
