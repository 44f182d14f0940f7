#include "pen/frmcolor.h"

#include "controls/propertybag.h"
#include "controls/sliderart.h"
#include "controls/slidermath.h"
#include "controls/symbolbutton.h"
#include "controls/ucslider.h"
#include "core/colors.h"
#include "core/convert.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/sound.h"
#include "pen/penart.h"
#include "pen/penplace.h"
#include "platform/artwork.h"
#include "platform/picturebox.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <cmath>

using namespace Allgemein;

namespace {

const QRect SliderPlace(520, 16, 18, 137);

} // namespace

frmColor::frmColor(QWidget *owner) : ToolWindow(owner, Key::PenWindowLeft, Key::PenWindowTop)
{
    setFixedSize(PenPlace::WindowWidth, PenPlace::WindowHeight);

    // The window's own retained surface lies under every other part.
    m_surface = new PictureBox(this);
    m_surface->setGeometry(rect());
    m_surface->setBackColor(Colors::Sand);
    m_surface->setPixelRatio(Artwork::scale());
    connect(m_surface, &PictureBox::mouseDown, this, &frmColor::Form_MouseDown);

    m_picCol = new PictureBox(this);
    m_picCol->setObjectName(QStringLiteral("picCol"));
    m_picCol->setSunkenBorder(true);
    m_picCol->setGeometry(24, 16, 479, 136);
    m_picCol->setPicture(PenArt::palette());
    m_picCol->setToolTip(QStringLiteral("Color Palette"));
    connect(m_picCol, &PictureBox::mouseDown, this, &frmColor::picCol_MouseDown);

    m_slider = new ucSlider(this);
    m_slider->setObjectName(QStringLiteral("ucSlider"));
    m_slider->setGeometry(SliderPlace);
    PropertyBag bag;
    fillSliderProperties(bag);
    m_slider->UserControl_ReadProperties(bag);
    m_slider->UserControl_Resize();
    connect(m_slider, &ucSlider::ValueChanged, this, &frmColor::ucSlider_ValueChanged);

    m_lblWidth = new QLabel(this);
    m_lblWidth->setObjectName(QStringLiteral("lblWidth"));
    m_lblWidth->setGeometry(560, 16, 40, 25);
    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPointSize(12);
    bold.setBold(true);
    m_lblWidth->setFont(bold);

    m_lblFCol = new QLabel(this);
    m_lblFCol->setObjectName(QStringLiteral("lblFCol"));
    m_lblFCol->setGeometry(560, 48, 40, 41);
    m_lblFCol->setAutoFillBackground(true);

    m_vbeButton = new SymbolButton(0, QStringLiteral("close"), QStringLiteral("x"), this);
    m_vbeButton->setObjectName(QStringLiteral("vbeButton"));
    m_vbeButton->setGeometry(560, 112, 40, 40);
    connect(m_vbeButton, &SymbolButton::Click, this, &frmColor::vbeButton_Click);

    // A press on the background or the palette may start a move by hand, which
    // needs the press's place on the screen.
    m_surface->installEventFilter(this);
    m_picCol->installEventFilter(this);
}

frmColor::~frmColor() = default;

void frmColor::fillSliderProperties(PropertyBag &bag)
{
    bag.WriteProperty(QStringLiteral("BackColor"), int32_t(OleColor::fromColor(Colors::Sand)),
                      int32_t(OleColor::ButtonFace));
    bag.WritePicture(QStringLiteral("SliderIcon"), SliderArt::thumb());
    bag.WritePicture(QStringLiteral("RailPicture"), SliderArt::rail());
    bag.WriteProperty(QStringLiteral("RailStyle"), int32_t(SliderMath::PictureRail), int32_t(0));
    bag.WriteProperty(QStringLiteral("Min"), int32_t(1), int32_t(0));
    bag.WriteProperty(QStringLiteral("Max"), int32_t(50), int32_t(10));
    bag.WriteProperty(QStringLiteral("Value"), int32_t(5), int32_t(0));
}

void frmColor::ShowOwned()
{
    show();
    raise();
    activateWindow();
}

void frmColor::showEvent(QShowEvent *event)
{
    // The first showing loads the window; a hidden window shown again keeps its
    // state and its place.
    if (!isLoaded()) {
        setLoaded();
        Form_Load();
    }
    QWidget::showEvent(event);
    if (!m_backgroundDrawn) {
        m_backgroundDrawn = true;
        Form_Resize();
    }
}

void frmColor::Form_Load()
{
    bool placedByDefault = false;
    ErrorFrame f("frmColor", "Form_Load");
    f.run([&] {
        f.line(10, [&] { PlayEffect(Effect::Pop); });
        f.line(20, [&] { m_lblWidth->setText(QString::number(PenWidth)); });
        // Reports back through ValueChanged when this changes the slider's value.
        f.line(30, [&] { m_slider->setValue(PenWidth); });
        f.line(40, [&] { showPenColor(); });
        f.line(50, [&] {
            const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
            const int screenPixels = s ? s->availableGeometry().width() : 0;
            setPlaceTwips(PenPlace::defaultPlace(Twips::fromPixels(screenPixels, twipsPerPixelX()),
                                                 Twips::fromPixels(frameGeometry().width(), twipsPerPixelX()),
                                                 Twips::fromPixels(frameGeometry().height(), twipsPerPixelY())));
        });
        f.line(60, [&] {
            placedByDefault = !placeStored();
            readStoredLeft();
        });
        f.line(70, [&] { readStoredTop(); });
        f.line(80, [&] { moveToPlace(); });
        // A stored place is used as found while the window can be reached there;
        // the described one gives way to a better one the main window finds.
        f.line(90, [&] { settlePlace(placedByDefault); });
    });
}

void frmColor::Form_Resize()
{
    ErrorFrame f("frmColor", "Form_Resize");
    f.run([&] {
        f.line(10, [&] { m_surface->paintPicture(PenArt::background(), QRectF(0, 0, width(), height())); });
        const auto frame = PenPlace::sliderFrame(m_slider->geometry());
        f.line(20, [&] { m_surface->drawBox(frame[0].from, frame[0].to, Colors::FrameDark); });
        f.line(30, [&] { m_surface->drawBox(frame[1].from, frame[1].to, Qt::white); });
        f.line(40, [&] { m_surface->update(); });
    });
}

void frmColor::showPenColor()
{
    QPalette pal = m_lblFCol->palette();
    pal.setColor(QPalette::Window, fromRgbValue(PenColor));
    m_lblFCol->setPalette(pal);
}

void frmColor::picCol_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF pos)
{
    ErrorFrame f("frmColor", "picCol_MouseDown");
    f.run([&] {
        // Any button picks. A press on the palette's border, outside its
        // picture, keeps the colour (there is no pixel to take it from).
        f.line(10, [&] {
            const qint64 pixel = m_picCol->point(int(std::floor(pos.x())), int(std::floor(pos.y())));
            if (pixel >= 0)
                PenColor = toRgbValue(QColor::fromRgb(QRgb(pixel)));
        });
        f.line(20, [&] { showPenColor(); });
        // The canvas draws with the program's pen: nothing to hand on (30).
        f.line(40, [&] { Form_MouseDown(Button, Shift, pos); });
    });
}

void frmColor::Form_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF)
{
    // Any button moves the window.
    ErrorFrame f("frmColor", "Form_MouseDown");
    f.run([&] { f.line(10, [&] { beginDrag(m_pressGlobal); }); });
}

bool frmColor::eventFilter(QObject *watched, QEvent *event)
{
    // A press on the background or the palette may start a move by hand, which
    // needs the press's place on the screen.
    if (event->type() == QEvent::MouseButtonPress && (watched == m_surface || watched == m_picCol))
        m_pressGlobal = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
    return QWidget::eventFilter(watched, event);
}

void frmColor::ucSlider_ValueChanged()
{
    ErrorFrame f("frmColor", "ucSlider_ValueChanged");
    f.run([&] {
        f.line(10, [&] { PenWidth = toInt16(double(m_slider->Value())); });
        f.line(20, [&] { m_lblWidth->setText(QString::number(PenWidth)); });
    });
}

void frmColor::vbeButton_Click(int)
{
    // Closing only hides: the window stays loaded and keeps its place.
    PlayEffect(Effect::Chime);
    PenWindowShown = False;
    hide();
}

void frmColor::Form_Unload()
{
    if (!isLoaded())
        return;
    storePlace();
}

void frmColor::closeEvent(QCloseEvent *event)
{
    tryQuietly([&] { Form_Unload(); });
    // Closed by the window system (not by the quit routine): as good as the
    // close button, so the window is not opened again at the next start.
    if (event->spontaneous())
        PenWindowShown = False;
    event->accept();
}
