#include "picker/frmpreview.h"

#include "controls/symbolbutton.h"
#include "core/colors.h"
#include "core/convert.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/picturefile.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "picker/gridoverlay.h"
#include "picker/previewlayout.h"
#include "picker/stepdrawing.h"
#include "picker/strokeanimation.h"
#include "platform/artwork.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/twips.h"
#include "platform/windowdrag.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

using namespace Allgemein;

namespace {
struct ButtonDef {
    int panel;
    QPoint pos;
    const char *symbol;
    const char *fallback;
};
constexpr ButtonDef kButtons[9] = {
    {0, {48, 8}, "previous", "<"}, {0, {104, 8}, "browse", "#"}, {0, {160, 8}, "next", ">"},
    {0, {72, 48}, "grid", "+"},    {0, {128, 48}, "size", "[]"}, {1, {48, 8}, "previous", "<"},
    {1, {104, 8}, "ok", "OK"},     {1, {160, 8}, "next", ">"},   {2, {192, 56}, "ok", "OK"}};

QImage fallbackGrid()
{
    QImage g(400, 300, QImage::Format_ARGB32);
    g.fill(Qt::transparent);
    const QRgb line = qRgb(255, 182, 47);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            if ((x % 50 < 2 && x >= 50) || (y % 50 < 2 && y >= 50))
                g.setPixel(x, y, line);
        }
    }
    return g;
}

QImage fallbackBackground()
{
    QImage img(440, 420, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 420);
    g.setColorAt(0, QColor(244, 226, 184));
    g.setColorAt(1, Colors::Sand);
    p.fillRect(img.rect(), g);
    return img;
}
} // namespace

frmPreview::frmPreview(QWidget *owner, PictureBox *canvas, std::function<double()> ownerPanelTop)
    : ToolWindow(owner, Key::PickerLeft, Key::PickerTop), m_owner(owner), m_canvas(canvas),
      m_ownerPanelTop(std::move(ownerPanelTop))
{
    setWindowTitle(QStringLiteral("Stiftolino lessons"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    imgBG = ModResFiles::LoadArtwork(QStringLiteral(":/art/picker_bg.png"), fallbackBackground);
    resize(PreviewLayout::DesignWindow);
    buildControls();
}

void frmPreview::buildControls()
{
    picPreview = new PictureBox(this);
    picPreview->setBackColor(Qt::white);
    picPreview->setSunkenBorder(true);
    picPreview->setKeepContentOnResize(false);
    picPreview->setGeometry(QRect(PreviewLayout::PreviewPos, QSize(400, 300)));
    // The lesson steps are drawn smoothly into a surface of the screen's scale.
    picPreview->setPixelRatio(Artwork::scale());
    picPreview->installEventFilter(this);

    imgGitter = new GridOverlay(picPreview);
    // The strokes are drawn under the grid.
    m_animation = new StrokeAnimation(picPreview);
    m_animation->stackUnder(imgGitter);

    // Stacked 0, 2, 1 from the bottom: the template panel covers the file panel,
    // which covers the step panel.
    for (int i : {0, 2, 1}) {
        auto *panel = new PictureBox(this);
        panel->resize(PreviewLayout::PanelSizes[i]);
        panel->setKeepContentOnResize(false);
        panel->setVisible(false);
        panel->installEventFilter(this);
        picPanel[size_t(i)] = panel;
    }
    for (int i = 0; i < 9; ++i) {
        const ButtonDef &d = kButtons[i];
        auto *b = new SymbolButton(i, QString::fromLatin1(d.symbol), QString::fromLatin1(d.fallback),
                                   picPanel[size_t(d.panel)]);
        b->setGeometry(QRect(d.pos, QSize(45, 33)));
        connect(b, &SymbolButton::Click, this, &frmPreview::vbeButton_Click);
        vbeButton[size_t(i)] = b;
    }
    filPics = new QListWidget(picPanel[2]);
    filPics->setGeometry(16, 8, 153, 84);
    filPics->setSelectionMode(QAbstractItemView::SingleSelection);
    // The chosen picture follows the current item, however it became current (a
    // click, the arrow keys); a click on the item already shown shows it again.
    connect(filPics, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *current) {
        if (current)
            filPics_Click();
    });
    connect(filPics, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (m_chosenPicture != picturesFolder() + item->text())
            filPics_Click();
    });
}

QPoint frmPreview::defaultPlace(double ownerWidthTwips, double panelTopPixels, int twipsPerPixelY, double heightTwips)
{
    return QPoint(int(roundHalfEven(ownerWidthTwips * 0.08)),
                  int(roundHalfEven(panelTopPixels * twipsPerPixelY - 1.1 * heightTwips)));
}

void frmPreview::ShowOwned()
{
    const bool first = !isLoaded();
    if (first)
        Form_Load();
    show();
    raise();
    if (first)
        Form_Activate();
}

QString frmPreview::picturesFolder() const { return Paths::picturesFolder() + u'/'; }

void frmPreview::Form_Load()
{
    setLoaded();
    bool placedByDefault = false;
    ErrorFrame f("frmPreview", "Form_Load");
    f.run([&] {
        f.line(10, [&] { vbeButton[0]->setEnabled(false); });
        f.line(20, [&] {
            // A first start has no pictures folder yet: make it.
            PictureFile::makeFolder();
            refreshPictureList();
        });
        f.line(30, [&] { loadTemplate(); });
        f.line(40, [&] {
            const int ty = twipsPerPixelY();
            setPlaceTwips(defaultPlace(double(m_owner->width()) * twipsPerPixelX(), m_ownerPanelTop(), ty,
                                       double(height()) * ty));
        });
        f.line(60, [&] {
            placedByDefault = !placeStored();
            readStoredLeft();
        });
        f.line(65, [&] { readStoredTop(); });
        f.line(70, [&] { moveToPlace(); });
        f.line(80, [&] { ResizePreview(); });
        // The described place can lie above the screen, or over the toolbar of
        // a small screen: the main window finds a better one.
        f.line(85, [&] { settlePlace(placedByDefault); });
        f.line(90, [&] { picPanel[0]->setVisible(true); });
        f.line(100, [&] { PlayEffect(Effect::Sweep); });
    });
}

void frmPreview::Form_Activate()
{
    ErrorFrame f("frmPreview", "Form_Activate");
    f.run([&] {
        f.line(10, [&] { TemplateCount = toInt16(ModResFiles::LoadResString(100)); });
        f.line(20, [&] {
            if (TemplateIndex > TemplateCount) {
                TemplateIndex = TemplateCount;
                // The stored lesson had no picture: browsing starts at this one's.
                loadTemplate();
                vbeButton_Click(1);
            }
        });
    });
}

bool frmPreview::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && isLoaded())
        Form_Activate();
    return QWidget::event(e);
}

void frmPreview::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        Sprache();
}

void frmPreview::loadTemplate()
{
    if (!clpPicture.setPicture(ModResFiles::LoadResData(100 + TemplateIndex, QStringLiteral("BITMAP"))))
        raiseError(Err::InvalidPicture);
}

void frmPreview::showCell(int k)
{
    // Until a lesson is loaded (a stored number without a lesson) there is nothing
    // to show; the failed load has been reported already.
    m_animation->stop();
    if (clpPicture.isEmpty())
        return;
    picPreview->paintPicture(clpPicture.cell(k), QRectF(0, 0, picPreview->scaleWidth(), picPreview->scaleHeight()));
}

void frmPreview::drawStep(int k)
{
    // The cell is on view already; the strokes are drawn over it and end on it.
    // Without stroke data (a lesson without its strokes) the cell simply stays.
    if (!DrawSteps || clpPicture.isEmpty())
        return;
    if (m_strokesOf != TemplateIndex) {
        m_strokesOf = TemplateIndex;
        m_strokes.reset();
        tryQuietly([&] {
            m_strokes = LessonStrokes::decode(ModResFiles::LoadResData(100 + TemplateIndex, QStringLiteral("STROKES")));
        });
    }
    if (!m_strokes)
        return;
    const int b = picPreview->borderWidth();
    m_animation->play(StepDrawing(*m_strokes, k), QRect(b, b, picPreview->scaleWidth(), picPreview->scaleHeight()));
}

void frmPreview::ResizePreview()
{
    ErrorFrame f("frmPreview", "ResizePreview");
    f.run([&] {
        QSize size;
        f.line(10, [&] {
            size = PreviewLayout::previewSize(PreviewLarge);
            picPreview->resize(size);
        });
        f.line(20, [&] {
            const int b = picPreview->borderWidth();
            imgGitter->move(b, b);
            // Read again, small as it is, when the preview changes size: the
            // embedded pixels are not copied to be read.
            imgGitter->setGrid(ModResFiles::LoadArtwork(QStringLiteral(":/art/grid.png"), fallbackGrid), size);
        });
        f.line(30, [&] { imgGitter->setVisible(GridShown != 0); });
        f.line(40, [&] {
            const QSize win = PreviewLayout::windowSize(size);
            if (win == this->size())
                Form_Resize();
            else
                resize(win);
        });
    });
}

void frmPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmPreview::Form_Resize()
{
    ErrorFrame f("frmPreview", "Form_Resize");
    f.run([&] {
        f.line(10, [&] {
            m_backdrop = ModResFiles::ArtworkAt(imgBG, size());
            update();
        });
        f.line(20, [&] { showCell(StepIndex); });
        f.line(30, [&] {
            const QSize preview = picPreview->size();
            for (int i = 0; i < 3; ++i) {
                PictureBox *panel = picPanel[size_t(i)];
                panel->move(PreviewLayout::panelPos(width(), panel->size(), preview));
                QImage look = Artwork::surface(panel->size());
                look.fill(Qt::white);
                QPainter p(&look);
                p.drawImage(QRect(QPoint(0, 0), panel->size()), m_backdrop,
                            Artwork::devicePixels(panel->geometry(), m_backdrop));
                p.end();
                panel->setPicture(look);
            }
        });
    });
}

void frmPreview::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.drawImage(event->rect(), m_backdrop, Artwork::devicePixels(event->rect(), m_backdrop));
}

void frmPreview::vbeButton_Click(int Index)
{
    ErrorFrame f("frmPreview", "vbeButton_Click");
    // Every button ends a step being drawn at once: the child never waits. Next
    // pressed meanwhile shows its step at once too.
    const bool wasDrawing = m_animation->isPlaying();
    m_animation->stop();
    f.run([&] {
        switch (Index) {
        case 0: // previous step
            f.line(10, [&] { PlayEffect(Effect::Click); });
            f.line(20, [&] {
                if (StepIndex <= 0)
                    f.exit();
                StepIndex = int16_t(StepIndex - 1);
            });
            f.line(30, [&] { showCell(StepIndex); });
            f.line(40, [&] {
                if (StepIndex < 1)
                    vbeButton[0]->setEnabled(false);
                else
                    vbeButton[2]->setEnabled(true);
            });
            break;
        case 1: // browse the lessons
            f.line(50, [&] { showCell(5); });
            f.line(60, [&] { picPanel[0]->setVisible(false); });
            f.line(70, [&] { picPanel[1]->setVisible(true); });
            f.line(80, [&] { PlayEffect(Effect::Sweep); });
            f.line(90, [&] { StepIndex = 0; });
            f.line(100, [&] { vbeButton[0]->setEnabled(false); });
            f.line(110, [&] { vbeButton[2]->setEnabled(true); });
            break;
        case 2: // next step
            f.line(120, [&] { PlayEffect(Effect::Pencil); });
            f.line(130, [&] {
                if (StepIndex > 4)
                    f.exit();
                StepIndex = int16_t(StepIndex + 1);
            });
            f.line(140, [&] { showCell(StepIndex); });
            f.line(145, [&] {
                if (!wasDrawing)
                    drawStep(StepIndex);
            });
            f.line(150, [&] {
                if (StepIndex > 4)
                    vbeButton[2]->setEnabled(false);
                else
                    vbeButton[0]->setEnabled(true);
            });
            break;
        case 3: // grid on/off
            f.line(160, [&] { PlayEffect(Effect::Chime); });
            f.line(170, [&] { GridShown = int16_t(~GridShown); });
            f.line(180, [&] { imgGitter->setVisible(GridShown != 0); });
            break;
        case 4: // large/small
            f.line(190, [&] { PlayEffect(Effect::RisingNotes); });
            f.line(200, [&] { PreviewLarge = int16_t(~PreviewLarge); });
            f.line(210, [&] { ResizePreview(); });
            break;
        case 5: // previous lesson
            f.line(220, [&] { PlayEffect(Effect::FallingNotes); });
            f.line(230, [&] {
                TemplateIndex = int16_t(TemplateIndex - 1);
                if (TemplateIndex < 1)
                    TemplateIndex = TemplateCount;
            });
            f.line(240, [&] { loadTemplate(); });
            f.line(250, [&] { showCell(5); });
            break;
        case 6: // take this lesson
            f.line(260, [&] { PlayEffect(Effect::Chime); });
            f.line(270, [&] { SaveConfig(); });
            f.line(280, [&] { loadTemplate(); });
            f.line(290, [&] { showCell(0); });
            f.line(295, [&] { drawStep(0); });
            f.line(300, [&] { picPanel[1]->setVisible(false); });
            f.line(310, [&] { picPanel[0]->setVisible(true); });
            break;
        case 7: // next lesson
            f.line(320, [&] { PlayEffect(Effect::RisingNotes); });
            f.line(330, [&] {
                TemplateIndex = int16_t(TemplateIndex + 1);
                if (TemplateIndex > TemplateCount)
                    TemplateIndex = 1;
            });
            f.line(340, [&] { loadTemplate(); });
            f.line(350, [&] { showCell(5); });
            break;
        case 8: // paint the chosen picture onto the canvas
            f.line(360, [&] {
                // Nothing chosen, or a Save since: nothing is painted. A picture
                // picked in the list is loaded, and one that has gone or changed
                // since is reported (53, 481).
                if (m_chosenPicture.isEmpty())
                    return;
                PlayEffect(Effect::Sweep);
                const QImage picture = PictureFile::load(m_chosenPicture);
                PictureBox *canvas = m_canvas;
                canvas->paintPicture(picture, QRectF(0, 0, canvas->scaleWidth(), canvas->scaleHeight()));
            });
            f.line(370, [&] { picPanel[2]->setVisible(false); });
            f.line(380, [&] { picPanel[0]->setVisible(true); });
            f.line(390, [&] { showCell(StepIndex); });
            break;
        default:
            break;
        }
    });
}

void frmPreview::refreshPictureList()
{
    const QString selected = filPics->currentItem() ? filPics->currentItem()->text() : QString();
    // Listing again chooses nothing: the chosen picture stays as it was.
    const QSignalBlocker quiet(filPics);
    filPics->clear();
    // The ending is compared by hand: a name filter is a wildcard pattern, and the
    // first one compiles the regular-expression machine into memory for good.
    const QDir dir(picturesFolder());
    QStringList names = dir.entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString &name) { return !name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive); });
    filPics->addItems(names);
    const auto again = filPics->findItems(selected, Qt::MatchExactly);
    if (!again.isEmpty())
        filPics->setCurrentItem(again.first());
}

QStringList frmPreview::pictureNames() const
{
    QStringList names;
    for (int i = 0; i < filPics->count(); ++i)
        names << filPics->item(i)->text();
    return names;
}

void frmPreview::ShowFilePanel()
{
    picPanel[0]->setVisible(false);
    refreshPictureList();
    picPanel[2]->setVisible(true);
}

void frmPreview::filPics_Click()
{
    ErrorFrame f("frmPreview", "filPics_Click");
    f.run([&] {
        f.line(10, [&] {
            const QListWidgetItem *item = filPics->currentItem();
            m_chosenPicture = picturesFolder() + (item ? item->text() : QString());
        });
        f.line(20, [&] {
            if (!QFileInfo(m_chosenPicture).isFile())
                return; // gone since it was listed: the preview stays
            const QImage picture = PictureFile::load(m_chosenPicture);
            m_animation->stop();
            picPreview->paintPicture(picture, QRectF(0, 0, picPreview->scaleWidth(), picPreview->scaleHeight()));
        });
    });
}

void frmPreview::Sprache()
{
    ErrorFrame f("frmPreview", "Sprache");
    f.run([&] {
        f.line(10, [&] {
            const QString tips[9] = {Msg(Text::Previous),  Msg(Text::SelectPicture), Msg(Text::Next),
                                     Msg(Text::ShowGrid),  Msg(Text::LargeSmall),    Msg(Text::Previous),
                                     QStringLiteral("OK"), Msg(Text::Next),          QStringLiteral("OK")};
            for (size_t i = 0; i < std::size(tips); ++i)
                vbeButton[i]->setToolTip(tips[i]);
        });
    });
}

void frmPreview::mousePressEvent(QMouseEvent *event)
{
    Form_MouseDown(event->button(), event->modifiers(), event->globalPosition());
}

bool frmPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picPreview && previewMouse(event))
        return true;
    // A press on a panel's background drags the window too.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *e = static_cast<QMouseEvent *>(event);
        Form_MouseDown(e->button(), e->modifiers(), e->globalPosition());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmPreview::previewMouse(QEvent *event)
{
    // A press on the preview drags the window once the pointer moves with the
    // button held; a click (press and release without moving) draws the step on
    // view again.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *e = static_cast<QMouseEvent *>(event);
        m_previewPress = PendingPress{e->globalPosition(), e->button(), e->modifiers()};
        return true;
    }
    case QEvent::MouseMove: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (m_previewPress && WindowDrag::pastDragDistance(m_previewPress->globalPos, e->globalPosition())) {
            const PendingPress press = *std::exchange(m_previewPress, std::nullopt);
            Form_MouseDown(press.button, press.shift, press.globalPos);
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (std::exchange(m_previewPress, std::nullopt) && picPanel[0]->isVisible() && !picPanel[1]->isVisible()
            && !picPanel[2]->isVisible()) {
            m_animation->stop();
            drawStep(StepIndex);
        }
        return true;
    default:
        return false;
    }
}

void frmPreview::Form_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF globalPos)
{
    // Any button moves the window.
    ErrorFrame f("frmPreview", "Form_MouseDown");
    f.run([&] { f.line(10, [&] { beginDrag(globalPos); }); });
}

void frmPreview::closeEvent(QCloseEvent *event)
{
    // The window lives as long as the program and no button brings it back:
    // a close request from the window system (Alt+F4) is refused, as the main
    // window refuses it. The quit routine hides it instead.
    event->ignore();
}

void frmPreview::Form_Unload()
{
    // The top is written "Ptop" (see Key::PickerTop); the store ignores case.
    tryQuietly([&] { storePlace(); });
}
