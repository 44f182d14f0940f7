// Takes the pictures of the help manual from the program's own windows, drawn
// offscreen with the program's own artwork:
//     gen_manual <output folder> <name suffix>
// The build runs it once as it is and once with QT_SCALE_FACTOR=2 and the suffix
// "@2x", so that the manual's pictures are sharp on both kinds of screen.
#include "controls/symbolbutton.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/languages.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "draw/frmdraw.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/settingsbackend.h"
#include "platform/soundoutput.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Pictures are taken in silence.
class Silence : public SoundOutput
{
public:
    void play(QByteArray, QAudioFormat) override {}
    void stop() override {}
};

// Any error while the windows are set up spoils the pictures: note it and go on.
class NoteErrors : public ErrorReporter
{
public:
    int onError(const QString &module, const QString &procedure, const PendingError &error) override
    {
        std::fprintf(stderr, "gen_manual: error %d in %s.%s line %d: %s\n", error.number, qPrintable(module),
                     qPrintable(procedure), error.line, qPrintable(error.description));
        failed = true;
        return 1;
    }
    bool failed = false;
};

class Writer
{
public:
    Writer(const QString &folder, const QString &suffix) : m_folder(folder), m_suffix(suffix) {}

    void put(const QPixmap &pixmap, const QString &name)
    {
        const QString path = m_folder + u'/' + name + m_suffix + QStringLiteral(".png");
        if (pixmap.isNull() || !pixmap.save(path, "PNG")) {
            std::fprintf(stderr, "gen_manual: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    bool ok = true;

private:
    QString m_folder;
    QString m_suffix;
};

// The main window with the lesson window and the pen window floating beside it,
// laid out so that none hides another's buttons; transparent around them.
QPixmap wholeProgram(frmDraw &main)
{
    QWidget *lessons = main.preview();
    QWidget *pen = main.penWindow();
    const QPoint lessonsAt(main.width() - 100, 140);
    const QPoint penAt(120, main.height() - 40);
    const QRect all = QRect(QPoint(0, 0), main.size()) | QRect(lessonsAt, lessons->size()) | QRect(penAt, pen->size());
    const qreal ratio = main.devicePixelRatioF();
    QPixmap shot(all.size() * ratio);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::transparent);
    QPainter p(&shot);
    p.drawPixmap(0, 0, main.grab());
    p.drawPixmap(lessonsAt, lessons->grab());
    p.drawPixmap(penAt, pen->grab());
    return shot;
}

// The offscreen platform says of every window brought forward that it cannot
// raise windows; that is no news for pictures.
void quietRaise(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.contains(QLatin1String("does not support raise()")))
        std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "gen_manual: " : "", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietRaise);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 3) {
        std::fprintf(stderr, "usage: gen_manual <output folder> [name suffix]\n");
        return 2;
    }
    const QString out = args[1];
    Writer w(out, args.size() == 3 ? args[2] : QString());
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "gen_manual: cannot make %s\n", qPrintable(out));
        return 1;
    }

    // A program folder and settings of its own, a fixed look: the first lesson, sound
    // on, the default pen, the windows in their default places, and no printer.
    QTemporaryDir folder;
    Paths::setProgramFolder(folder.path(), QStringLiteral("stiftolino"));
    MemorySettingsBackend settings;
    Allgemein::SetSettingsBackend(&settings);
    Silence silence;
    Allgemein::SetSoundOutput(&silence);
    NoteErrors errors;
    ErrorHandling::setReporter(&errors);
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    Allgemein::ResetGlobals();
    Allgemein::LanguageFilePath = Allgemein::GetTempDir() + QStringLiteral("~tmp.lng");
    ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), Allgemein::LanguageFilePath);

    // Two saved pictures, so that the list of saved pictures shows what it is for.
    const QString pics = Paths::picturesFolder();
    QDir().mkpath(pics);
    const QImage drawing = ModResFiles::LoadResPicture(100).scaled(585, 439);
    for (const char *name : {"Anna", "Tom"})
        drawing.save(pics + QStringLiteral("/%1.bmp").arg(QLatin1String(name)), "BMP");

    frmDraw &main = frmDraw::instance();
    main.showCentred();
    main.showPenWindow();
    QApplication::processEvents();

    for (int i = 0; i < 10; ++i)
        w.put(main.vbeButton(size_t(i))->grab(), QStringLiteral("toolbar-%1").arg(i));
    // The sound button as it looks with the sound switched off.
    const QColor soundColour = main.vbeButton(6)->foreColor();
    main.vbeButton(6)->setForeColor(QColor(255, 0, 0));
    w.put(main.vbeButton(6)->grab(), QStringLiteral("toolbar-6-off"));
    main.vbeButton(6)->setForeColor(soundColour);

    frmPreview *lessons = main.preview();
    for (int i = 0; i < 9; ++i)
        w.put(lessons->vbeButton[size_t(i)]->grab(), QStringLiteral("lesson-button-%1").arg(i));
    w.put(lessons->grab(), QStringLiteral("lesson-window"));
    // The two other panels, as the lesson window shows them in turn.
    w.put(lessons->picPanel[1]->grab(), QStringLiteral("lesson-templates"));
    w.put(lessons->picPanel[2]->grab(), QStringLiteral("lesson-files"));

    w.put(main.penWindow()->grab(), QStringLiteral("pen-window"));

    for (int16_t offset : {int16_t(0), int16_t(1000)}) {
        Allgemein::LanguageOffset = offset;
        main.Sprache();
        QApplication::processEvents();
        w.put(wholeProgram(main), QStringLiteral("program-%1").arg(Allgemein::LanguageCode(offset)));
    }

    ErrorHandling::setReporter(nullptr);
    Allgemein::SetSoundOutput(nullptr);
    Allgemein::SetSettingsBackend(nullptr);
    return w.ok && !errors.failed ? 0 : 1;
}
