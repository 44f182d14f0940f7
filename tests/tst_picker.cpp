// The lesson window: stepping, browsing with wrap-around, taking a lesson, grid
// and size, its place, the saved pictures, and picture files that load or are refused.

#include "controls/canvas.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/picturefile.h"
#include "core/settings.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "picker/gridoverlay.h"
#include "picker/previewlayout.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/pixelfile.h"
#include "support/checkmessage.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QResource>
#include <QTest>

using namespace Allgemein;

namespace {
// A bitmap file as other programs write it: `bits` a pixel (1, 4 and 8 with a
// palette, 24 without), stored from the top row down when `topDown` (a negative
// height in its header). Its upper half is red, its lower half blue. Without
// `pixels` only the headers are there.
QByteArray bitmapFile(int width, int height, int bits, bool topDown, bool pixels = true)
{
    const int colours = bits <= 8 ? 1 << bits : 0;
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    const int offset = 54 + 4 * colours;
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // The file's size and where its pixels start.
    out.writeRawData("BM", 2);
    out << quint32(offset + stride * height) << quint32(0) << quint32(offset);
    // The info header: its size, width and height, one plane, no compression, the
    // pixels' size, 72 dots an inch, the palette's size.
    out << quint32(40) << qint32(width) << qint32(topDown ? -height : height) << quint16(1) << quint16(bits);
    out << quint32(0) << quint32(stride * height) << quint32(2835) << quint32(2835) << quint32(colours) << quint32(0);
    for (int i = 0; i < colours; ++i)
        out << quint32(i == 0 ? 0xFF0000 : 0x0000FF); // red, then blue
    if (!pixels)
        return b;
    for (int row = 0; row < height; ++row) {
        const bool red = (topDown ? row : height - 1 - row) < height / 2;
        QByteArray line(stride, '\0');
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                line[3 * x] = red ? '\0' : '\xFF';
                line[3 * x + 2] = red ? '\xFF' : '\0';
            } else if (!red) {
                const int at = x * bits;
                line[at / 8] = char(line[at / 8] | (1 << (8 - bits - at % 8)));
            }
        }
        out.writeRawData(line.constData(), int(line.size()));
    }
    return b;
}
} // namespace

class tst_Picker : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStart();
    void stepsToTheEndsAndBack();
    void wrapAround();
    void takeThisLesson();
    void panelStates();
    void layout_data();
    void layout();
    void panelsLookTransparent();
    void place();
    void storedLesson_data();
    void storedLesson();
    void fileListSeesNewPictures();
    void keyboardChoosesThePicture();
    void pictureFiles_data();
    void pictureFiles();

private:
    void open();
    QString picturesFolder() const { return Paths::picturesFolder() + u'/'; }
    // Checks which panels show: the steps' (0), browsing's (1) and the file list (2), e.g. "0 2".
    void panelsShown(const char *shown);
    std::optional<TestEnvironment> m_env;
    frmDraw *w = nullptr;
    frmPreview *p = nullptr;
};

void tst_Picker::init()
{
    m_env.emplace();
    SoundOn = False;
}

void tst_Picker::open()
{
    QVERIFY((w = showMainWindow()));
    p = w->preview();
    QVERIFY(p);
    QVERIFY(p->isVisible());
}

void tst_Picker::cleanup()
{
    endMainWindow();
    w = nullptr;
    p = nullptr;
    m_env.reset();
}

void tst_Picker::panelsShown(const char *shown)
{
    for (int i = 0; i < 3; ++i)
        QVERIFY2(p->picPanel[size_t(i)]->isVisible() == QByteArray(shown).contains(char('0' + i)),
                 msg("panel %1 with panels %2 to show", i, QString::fromLatin1(shown)));
}

void tst_Picker::firstStart()
{
    open();
    QCOMPARE(TemplateIndex, 1);
    QCOMPARE(p->StepIndex, 0);
    QCOMPARE(p->TemplateCount, 43);
    QCOMPARE(p->size(), QSize(440, 420));
    QVERIFY(p->imgGitter->isVisible());
    QVERIFY(!p->vbeButton[0]->isEnabled());
    QVERIFY(p->vbeButton[2]->isEnabled());
    panelsShown("0");
    // The pictures folder is made on a first start.
    QVERIFY(QDir(picturesFolder()).exists());
    // Cell 0 shows only the first strokes: some ink, mostly white.
    const QImage img = p->picPreview->image();
    QCOMPARE(img.size(), QSize(396, 296));
    const int ink = inkedPixels(img);
    QVERIFY2(ink > 100 && ink < img.width() * img.height() / 4, qPrintable(QString::number(ink)));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Picker::stepsToTheEndsAndBack()
{
    open();
    QList<QImage> seen{p->picPreview->image().copy()};
    for (int i = 1; i <= 5; ++i) {
        QTest::mouseClick(p->vbeButton[2], Qt::LeftButton);
        QCOMPARE(p->StepIndex, i);
        QVERIFY(p->vbeButton[0]->isEnabled());
        QVERIFY(p->picPreview->image() != seen.last());
        seen << p->picPreview->image().copy();
    }
    QVERIFY(!p->vbeButton[2]->isEnabled());
    p->vbeButton_Click(2); // at the end nothing more happens
    QCOMPARE(p->StepIndex, 5);
    for (int i = 4; i >= 0; --i) {
        QTest::mouseClick(p->vbeButton[0], Qt::LeftButton);
        QCOMPARE(p->StepIndex, i);
        QCOMPARE(p->picPreview->image(), seen[i]);
        QVERIFY(p->vbeButton[2]->isEnabled());
    }
    QVERIFY(!p->vbeButton[0]->isEnabled());
}

void tst_Picker::wrapAround()
{
    open();
    QTest::mouseClick(p->vbeButton[1], Qt::LeftButton); // browse
    // Previous (5) and next (7) wrap only at the ends: 1 back to 43, 43 on to 1.
    const QList<QPair<int, int>> clicks{{5, 43}, {5, 42}, {7, 43}, {7, 1}, {7, 2}, {5, 1}};
    for (const auto &[button, lesson] : clicks) {
        QTest::mouseClick(p->vbeButton[size_t(button)], Qt::LeftButton);
        QCOMPARE(TemplateIndex, lesson);
    }
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Picker::takeThisLesson()
{
    open();
    QTest::mouseClick(p->vbeButton[2], Qt::LeftButton);
    QTest::mouseClick(p->vbeButton[2], Qt::LeftButton);
    QCOMPARE(p->StepIndex, 2);
    QTest::mouseClick(p->vbeButton[1], Qt::LeftButton);
    QCOMPARE(p->StepIndex, 0);
    QTest::mouseClick(p->vbeButton[7], Qt::LeftButton);
    QTest::mouseClick(p->vbeButton[7], Qt::LeftButton);
    const QImage finished = p->picPreview->image().copy();
    m_env->settings.writes.clear();
    QTest::mouseClick(p->vbeButton[6], Qt::LeftButton);
    QCOMPARE(TemplateIndex, 3);
    QVERIFY(m_env->settings.writes.contains(QStringLiteral("Optionen/Image=3")));
    QCOMPARE(p->StepIndex, 0);
    panelsShown("0");
    QVERIFY(p->picPreview->image() != finished); // back at the first step
    QVERIFY(!p->vbeButton[0]->isEnabled());
}

void tst_Picker::panelStates()
{
    open();
    p->ShowFilePanel();
    panelsShown("2");
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    panelsShown("0");
    // Open while browsing keeps the template panel above the file panel.
    QTest::mouseClick(p->vbeButton[1], Qt::LeftButton);
    p->ShowFilePanel();
    panelsShown("1 2");
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    panelsShown("0 1");
    QTest::mouseClick(p->vbeButton[6], Qt::LeftButton);
    panelsShown("0");
}

void tst_Picker::layout_data()
{
    // The size and grid as an earlier run stored them ("PSize", "Gitter").
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QList<QPoint>>("panels");
    QTest::addColumn<int>("first"); // the grid's first vertical and horizontal line
    QTest::addColumn<int>("width"); // its width in pixels
    const QList<QPoint> largePanels{{95, 316}, {95, 316}, {91, 316}};
    QTest::newRow("large") << true << true << QSize(440, 420) << QSize(396, 296) << largePanels << 50 << 2;
    QTest::newRow("small") << false << true << QSize(240, 270) << QSize(196, 146)
                           << QList<QPoint>{{-4, 166}, {-4, 166}, {-8, 166}} << 25 << 1;
    QTest::newRow("grid switched off") << true << false << QSize(440, 420) << QSize(396, 296) << largePanels << 50 << 2;
}

void tst_Picker::layout()
{
    QFETCH(bool, large);
    QFETCH(bool, grid);
    QFETCH(QSize, window);
    QFETCH(QSize, inner);
    QFETCH(QList<QPoint>, panels);
    QFETCH(int, first);
    QFETCH(int, width);
    const QString section = QStringLiteral("Optionen");
    m_env->settings.setValue(section, QStringLiteral("PSize"), large ? u"-1"_qs : u"0"_qs);
    m_env->settings.setValue(section, QStringLiteral("Gitter"), grid ? u"-1"_qs : u"0"_qs);
    LoadConfig();
    open();
    QCOMPARE(p->size(), window);
    QCOMPARE(p->picPreview->pos(), QPoint(16, 16));
    QCOMPARE(QSize(p->picPreview->scaleWidth(), p->picPreview->scaleHeight()), inner);
    QCOMPARE(p->picPreview->image().size(), inner);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(p->picPanel[size_t(i)]->pos(), panels[i]);
    QCOMPARE(p->imgGitter->size(), inner + QSize(4, 4));
    QCOMPARE(p->imgGitter->isVisible(), grid);
    const QImage &lines = p->imgGitter->image();
    QCOMPARE(lines.size(), PreviewLayout::previewSize(large));
    const QColor line(255, 182, 47);
    for (int x : {first, 2 * first, 7 * first}) {
        QCOMPARE(lines.pixelColor(x + width - 1, 10), line);
        QCOMPARE(lines.pixelColor(x - 1, 10).alpha(), 0);
        QCOMPARE(lines.pixelColor(x + width, 10).alpha(), 0);
    }
    QCOMPARE(lines.pixelColor(10, 5 * first), line);
    QCOMPARE(lines.pixelColor(10, 5 * first - 1).alpha(), 0);
    // At its own size the grid is drawn from the embedded pixels, not a copy.
    const QResource embedded(QStringLiteral(":/art/grid.png"));
    QCOMPARE(lines.constBits() == embedded.data() + PixelFile::HeadSize, large);
    // Toggling twice comes back to the same size, place, step and grid; the
    // grid keeps its state at the other size too.
    const QPoint place = p->pos();
    QTest::mouseClick(p->vbeButton[2], Qt::LeftButton);
    QTest::mouseClick(p->vbeButton[4], Qt::LeftButton);
    QCOMPARE(p->imgGitter->isVisible(), grid);
    QTest::mouseClick(p->vbeButton[4], Qt::LeftButton);
    QCOMPARE(p->size(), window);
    QCOMPARE(p->pos(), place);
    QCOMPARE(p->StepIndex, 1);
    QCOMPARE(PreviewLarge, large ? True : False);
    QCOMPARE(p->imgGitter->isVisible(), grid);
    // The grid button switches it.
    QTest::mouseClick(p->vbeButton[3], Qt::LeftButton);
    QCOMPARE(GridShown, grid ? False : True);
    QCOMPARE(p->imgGitter->isVisible(), !grid);
}

void tst_Picker::panelsLookTransparent()
{
    open();
    QTest::mouseClick(p->vbeButton[4], Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        const PictureBox *panel = p->picPanel[size_t(i)];
        const QRect behind = panel->geometry().intersected(p->rect());
        const QImage expected = p->backdrop().copy(behind);
        const QImage got = panel->picture().copy(behind.translated(-panel->pos()));
        QCOMPARE(got.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    }
}

void tst_Picker::place()
{
    // The main window's toolbar panel has its top at 305.5 pixels: 4582.5 twips
    // less 1.1 x 6390 (a hair over 7029 in binary) is a hair below -2446.5.
    QCOMPARE(frmPreview::defaultPlace(829 * 15, 305.5, 15, 6390), QPoint(995, -2447));
    QCOMPARE(frmPreview::defaultPlace(829 * 15, 300, 15, 6000), QPoint(995, -2100));
    // That lies above the screen: a first start moves the window just inside.
    open();
    const QRect area = p->screen()->availableGeometry();
    QVERIFY(area.contains(p->frameGeometry()));
    QCOMPARE(p->placeTwips(), QPoint(995, -2447));
    // Moved, it stores its place when it is unloaded and opens there again.
    p->move(123, 77);
    p->Form_Unload();
    QVERIFY(m_env->settings.writes.contains(QStringLiteral("Optionen/PLeft=1845")));
    QVERIFY(m_env->settings.writes.contains(QStringLiteral("Optionen/Ptop=1155")));
    endMainWindow();
    open();
    QCOMPARE(p->placeTwips(), QPoint(1845, 1155));
    QCOMPARE(p->pos(), QPoint(123, 77));
    // A stored place is used as found while the window is within reach (as
    // tst_pen's storedPlace() shows for the tool windows' rule), and brought
    // back so far that 48 pixels of its width and height show otherwise.
    endMainWindow();
    SaveSetting(Key::PickerLeft, QStringLiteral("-30000"));
    SaveSetting(Key::PickerTop, QStringLiteral("99999"));
    open();
    QCOMPARE(p->pos(), QPoint(48 - 440, area.bottom() + 1 - 48));
}

void tst_Picker::storedLesson_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("browsing"); // put on the last lesson, browsing
    QTest::newRow("the last lesson") << 43 << false;
    QTest::newRow("one past the last") << 44 << true;
    QTest::newRow("far past the last") << 99 << true;
}

void tst_Picker::storedLesson()
{
    QFETCH(int, stored);
    QFETCH(bool, browsing);
    m_env->settings.setValue(QStringLiteral("Optionen"), QStringLiteral("Image"), QString::number(stored));
    LoadConfig();
    QCOMPARE(TemplateIndex, stored);
    m_env->reporter.fallback = 1;
    open();
    QCOMPARE(TemplateIndex, 43);
    panelsShown(browsing ? "1" : "0");
    if (!browsing) {
        QVERIFY(m_env->reporter.reports.isEmpty());
        return;
    }
    // One error, the failed load; browsing then starts at the finished picture
    // of the lesson the number was lowered to.
    QCOMPARE(m_env->reporter.said(), QStringList{"frmPreview.Form_Load 30: 326"});
    const QImage preview = p->picPreview->image().copy();
    QTest::mouseClick(p->vbeButton[7], Qt::LeftButton);
    QCOMPARE(TemplateIndex, 1);
    QVERIFY(p->picPreview->image() != preview);
    QTest::mouseClick(p->vbeButton[5], Qt::LeftButton);
    QCOMPARE(TemplateIndex, 43);
    QCOMPARE(p->picPreview->image(), preview);
    QCOMPARE(m_env->reporter.reports.size(), 1);
}

void tst_Picker::fileListSeesNewPictures()
{
    open();
    // Nothing chosen in the list, or the choice forgotten by a Save since: OK
    // paints nothing.
    p->forgetChosenPicture();
    p->ShowFilePanel();
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    panelsShown("0");
    QCOMPARE(w->picBild()->image().pixelColor(300, 200), QColor(Qt::white));

    QVERIFY(filledImage(40, 30, Qt::blue).save(picturesFolder() + QStringLiteral("Zebra.bmp"), "BMP"));
    QVERIFY(writeFile(picturesFolder() + QStringLiteral("notes.txt"), "no picture"));
    QVERIFY(writeFile(picturesFolder() + QStringLiteral("Zoo.BMP"), "any ending's case"));
    QVERIFY(writeFile(picturesFolder() + QStringLiteral("Zoobmp"), "no ending"));
    QVERIFY(!p->pictureNames().contains(QStringLiteral("Zebra.bmp")));
    p->ShowFilePanel();
    QCOMPARE(p->pictureNames(), (QStringList{QStringLiteral("Zebra.bmp"), QStringLiteral("Zoo.BMP")}));
    p->filPics->setCurrentRow(0);
    QCOMPARE(p->chosenPicture(), picturesFolder() + QStringLiteral("Zebra.bmp"));
    QCOMPARE(p->picPreview->image().pixelColor(100, 100), QColor(Qt::blue));
    // Clicking in the list leaves the canvas alone; OK paints it there.
    QCOMPARE(w->picBild()->image().pixelColor(300, 200), QColor(Qt::white));
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    QCOMPARE(w->picBild()->image().pixelColor(300, 200), QColor(Qt::blue));
    QCOMPARE(w->picBild()->image().pixelColor(584, 438), QColor(Qt::blue));
    panelsShown("0");
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Picker::keyboardChoosesThePicture()
{
    open();
    // Two pictures, each with a band at its right and bottom edges that only a
    // preview of the whole drawing area shows.
    for (const auto &[name, colour] : {std::pair{"A.bmp", Qt::red}, std::pair{"B.bmp", Qt::blue}}) {
        QImage img = filledImage(400, 300, Qt::white);
        QPainter paint(&img);
        paint.fillRect(QRect(380, 0, 20, 300), colour);
        paint.fillRect(QRect(0, 280, 400, 20), colour);
        QVERIFY(img.save(picturesFolder() + QString::fromLatin1(name), "BMP"));
    }
    p->ShowFilePanel();
    p->filPics->setFocus();
    QTest::keyClick(p->filPics, Qt::Key_Down);
    QTest::keyClick(p->filPics, Qt::Key_Down);
    QCOMPARE(p->filPics->currentRow(), 1);
    QCOMPARE(p->chosenPicture(), picturesFolder() + QStringLiteral("B.bmp"));
    const QImage preview = p->picPreview->image();
    QCOMPARE(preview.pixelColor(395, 100), QColor(Qt::blue));
    QCOMPARE(preview.pixelColor(100, 295), QColor(Qt::blue));
    QCOMPARE(preview.pixelColor(100, 100), QColor(Qt::white));
    QTest::keyClick(p->filPics, Qt::Key_Up);
    QCOMPARE(p->chosenPicture(), picturesFolder() + QStringLiteral("A.bmp"));
    QTest::keyClick(p->filPics, Qt::Key_Down);
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    QCOMPARE(w->picBild()->image().pixelColor(575, 100), QColor(Qt::blue));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Picker::pictureFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads"); // or is refused (481)
    QTest::newRow("zero bytes") << QByteArray() << false;
    QTest::newRow("not a bitmap") << QByteArray("this is a letter, not a picture\n") << false;
    QByteArray truncated("BM");
    truncated += QByteArray(20, '\x01');
    QTest::newRow("damaged header") << truncated << false;
    // A real header with no pixel data behind it.
    QTest::newRow("20000 x 20000") << bitmapFile(20000, 20000, 24, false, false) << false;
    // A real picture (PNG content, a small file) that would hold more than 64 MB
    // once read: four bytes for each of its 16.7 million pixels.
    QImage big(4096, 4096, QImage::Format_ARGB32);
    big.fill(Qt::transparent);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    big.save(&buffer, "PNG");
    QTest::newRow("4096 x 4096, 32 bits") << png << false;
    // The program's own embedded form of its artwork is no picture of the child's.
    QTest::newRow("embedded pixels") << PixelFile::write(filledImage(4, 4, Qt::red)) << false;
    // Stored from the top row down, as other programs may write them.
    for (int bits : {1, 4, 8, 24})
        QTest::addRow("top-down, %d-bit", bits) << bitmapFile(8, 6, bits, true) << true;
    QTest::newRow("the largest side") << bitmapFile(PictureFile::MaxSide, 2, 24, false) << true;
    QTest::newRow("one past the largest side") << bitmapFile(PictureFile::MaxSide + 1, 2, 24, false) << false;
}

// A picture in the pictures folder: one that loads shows in the preview when
// it is picked and goes onto the canvas with OK, the right way up; one that
// cannot be read is reported (481) both times and the canvas stays as it was.
void tst_Picker::pictureFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    open();
    QVERIFY(writeFile(picturesFolder() + QStringLiteral("Bild.bmp"), bytes));
    p->ShowFilePanel();
    QCOMPARE(p->pictureNames(), QStringList{QStringLiteral("Bild.bmp")});
    m_env->reporter.fallback = 1;
    p->filPics->setCurrentRow(0);
    if (loads) {
        QVERIFY(m_env->reporter.reports.isEmpty());
        const QImage preview = p->picPreview->image();
        QCOMPARE(preview.pixelColor(100, 5), QColor(Qt::red));
        QCOMPARE(preview.pixelColor(100, preview.height() - 5), QColor(Qt::blue));
        QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
        const QImage canvas = w->picBild()->image();
        QCOMPARE(canvas.pixelColor(300, 5), QColor(Qt::red));
        QCOMPARE(canvas.pixelColor(300, canvas.height() - 5), QColor(Qt::blue));
        QVERIFY(m_env->reporter.reports.isEmpty());
        return;
    }
    QCOMPARE(m_env->reporter.said(), QStringList{"frmPreview.filPics_Click 20: 481"});
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    QCOMPARE(m_env->reporter.said().value(1), QStringLiteral("frmPreview.vbeButton_Click 360: 481"));
    // Ignore goes on: the panels switch back, the canvas is untouched.
    panelsShown("0");
    QCOMPARE(w->picBild()->image().pixelColor(300, 200), QColor(Qt::white));
}

QTEST_MAIN(tst_Picker)
#include "tst_picker.moc"
