#include "controls/ucslider.h"

#include "controls/propertybag.h"
#include "controls/sliderart.h"
#include "core/colors.h"
#include "core/convert.h"
#include "core/errorframe.h"
#include "platform/artwork.h"
#include "platform/twips.h"

#include <QMouseEvent>
#include <QPainter>

using namespace SliderMath;

namespace {

int16_t buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int16_t shiftCode(Qt::KeyboardModifiers modifiers)
{
    int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

// Pictures are painted at whole pixels; a fractional place rounds half to even.
QPoint pixelPlace(QPointF place) { return QPoint(int(roundHalfEven(place.x())), int(roundHalfEven(place.y()))); }

// The classic system colours of three-dimensional edges.
const QColor BtnShadow(128, 128, 128);
const QColor BtnHighlight(255, 255, 255);
const QColor DkShadow3D(64, 64, 64);
const QColor Light3D(212, 208, 200);

// One ring of the edge: the top and left lines first, then the bottom and right
// lines over their ends, each line one pixel wide.
void ring(QPainter &p, const Rect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.top)), topLeft);
    p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.left, r.bottom - 1)), topLeft);
    p.fillRect(QRect(QPoint(r.left, r.bottom - 1), QPoint(r.right - 1, r.bottom - 1)), bottomRight);
    p.fillRect(QRect(QPoint(r.right - 1, r.top), QPoint(r.right - 1, r.bottom - 1)), bottomRight);
}

// Draws the classic two-pixel sunken or raised edge (or its one-pixel outer or
// inner half) inside `rect` (right and bottom exclusive). Edge kind 0 draws nothing.
void drawEdge(QPainter &painter, const Rect &rect, int edge)
{
    Rect r = rect;
    // Outer ring.
    if (edge & BDR_RAISEDOUTER)
        ring(painter, r, Light3D, DkShadow3D);
    else if (edge & BDR_SUNKENOUTER)
        ring(painter, r, BtnShadow, BtnHighlight);
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    // Inner ring.
    if (edge & BDR_RAISEDINNER)
        ring(painter, r, BtnHighlight, BtnShadow);
    else if (edge & BDR_SUNKENINNER)
        ring(painter, r, DkShadow3D, Light3D);
}

} // namespace

ucSlider::ucSlider(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    takeThumbPicture(QImage());
    UserControl_Initialize();
}

void ucSlider::UserControl_Initialize()
{
    m_twipsX = Twips::perPixelX();
    m_twipsY = Twips::perPixelY();
}

void ucSlider::takeThumbPicture(const QImage &picture)
{
    m_sliderIcon = picture.isNull() ? SliderArt::plainThumb() : picture;
    m_slider.setSize(QSizeF(Artwork::logicalSize(m_sliderIcon)));
}

bool ucSlider::pictureRailInUse() const { return m_railStyle == PictureRail && !m_railPicture.isNull(); }

double ucSlider::trackLength() const
{
    if (m_orientation == Horizontal)
        return double(width()) - m_slider.width();
    return double(height()) - m_slider.height();
}

// ---- Properties ----

void ucSlider::setBackColor(uint32_t New_BackColor)
{
    m_backColor = New_BackColor;
    Refresh();
}

void ucSlider::setOrientation(int32_t New_Orientation)
{
    ErrorFrame f("ucSlider", "Orientation");
    f.run([&] {
        f.line(10, [&] { m_orientation = New_Orientation; });
        f.line(20, [&] { ResetSlider(); });
        f.line(30, [&] { UserControl_Resize(); });
    });
}

void ucSlider::setRailStyle(int32_t New_RailStyle)
{
    m_railStyle = New_RailStyle;
    UserControl_Resize();
}

void ucSlider::setSliderIcon(const QImage &New_SliderIcon)
{
    takeThumbPicture(New_SliderIcon);
    UserControl_Resize();
}

void ucSlider::setRailPicture(const QImage &New_RailPicture)
{
    m_railPicture = New_RailPicture;
    UserControl_Resize();
}

void ucSlider::setMin(int32_t New_Min)
{
    ErrorFrame f("ucSlider", "Min");
    f.run([&] {
        f.line(10, [&] {
            if (New_Min >= m_max)
                raiseError(Err::InvalidPropertyValue);
        });
        f.line(20, [&] { m_min = New_Min; });
        f.line(30, [&] { setValue(New_Min); });
        f.line(40, [&] { m_valueRange = SliderMath::valueRange(m_min, m_max); });
    });
}

void ucSlider::setMax(int32_t New_Max)
{
    ErrorFrame f("ucSlider", "Max");
    f.run([&] {
        f.line(10, [&] {
            if (New_Max <= m_min)
                raiseError(Err::InvalidPropertyValue);
        });
        f.line(20, [&] { m_max = New_Max; });
        f.line(30, [&] { m_valueRange = SliderMath::valueRange(m_min, m_max); });
    });
}

void ucSlider::setValue(int32_t New_Value)
{
    ErrorFrame f("ucSlider", "Value");
    f.run([&] {
        f.line(10, [&] {
            if (New_Value < m_min || New_Value > m_max)
                raiseError(Err::InvalidPropertyValue);
        });
        f.line(20, [&] { m_value = New_Value; });
        // The events follow the value last reported, so a drag that stays on one
        // whole value neither redraws nor reports.
        f.line(30, [&] {
            if (m_value == m_lastValue)
                f.exit();
        });
        // While dragging, GetValue has already put the thumb on the value's place.
        f.line(40, [&] {
            if (!m_dragging)
                placeThumbAlong(New_Value);
        });
        f.line(50, [&] { Refresh(); });
        f.line(60, [&] { m_lastValue = m_value; });
        f.line(70, [&] { emit ValueChanged(); });
        f.line(80, [&] {
            if (m_value == m_max)
                emit ArrivedLast();
        });
        f.line(90, [&] {
            if (m_value == m_min)
                emit ArrivedFirst();
        });
    });
}

void ucSlider::setOuterSize(int32_t widthTwips, int32_t heightTwips)
{
    resize(Twips::toPixels(widthTwips, m_twipsX), Twips::toPixels(heightTwips, m_twipsY));
}

// ---- Lifecycle ----

void ucSlider::UserControl_InitProperties()
{
    ErrorFrame f("ucSlider", "UserControl_InitProperties");
    f.run([&] {
        f.line(10, [&] { m_enabled = true; });
        f.line(20, [&] { m_orientation = Vertical; });
        f.line(30, [&] { m_railStyle = 0; });
        f.line(40, [&] { m_min = 0; });
        f.line(50, [&] { m_max = 10; });
        f.line(60, [&] { m_value = 0; });
        f.line(70, [&] { m_valueRange = 10; });
        f.line(80, [&] { m_lastValue = m_value; });
        f.line(90, [&] { ResetSlider(); });
    });
}

void ucSlider::UserControl_ReadProperties(PropertyBag &PropBag)
{
    ErrorFrame f("ucSlider", "UserControl_ReadProperties");
    f.run([&] {
        // Straight into the fields: no setter runs, so nothing is checked,
        // redrawn or reported.
        f.line(10, [&] {
            m_backColor = uint32_t(PropBag.ReadLong(QStringLiteral("BackColor"), int32_t(OleColor::ButtonFace)));
        });
        f.line(20, [&] { m_enabled = PropBag.ReadBoolean(QStringLiteral("Enabled"), true); });
        f.line(30, [&] { m_orientation = PropBag.ReadLong(QStringLiteral("Orientation"), Vertical); });
        f.line(40, [&] { m_railStyle = PropBag.ReadLong(QStringLiteral("RailStyle"), 0); });
        f.line(50, [&] { m_min = PropBag.ReadLong(QStringLiteral("Min"), 0); });
        f.line(60, [&] { m_max = PropBag.ReadLong(QStringLiteral("Max"), 10); });
        f.line(70, [&] { m_value = PropBag.ReadLong(QStringLiteral("Value"), 0); });
        f.line(80, [&] { takeThumbPicture(PropBag.ReadPicture(QStringLiteral("SliderIcon"))); });
        f.line(90, [&] { m_railPicture = PropBag.ReadPicture(QStringLiteral("RailPicture")); });
        f.line(100, [&] { m_valueRange = SliderMath::valueRange(m_min, m_max); });
        f.line(110, [&] { m_lastValue = m_value; });
        // Both places, whatever the orientation; the layout puts the cross axis right.
        f.line(120, [&] {
            m_slider.moveLeft(thumbPlace(Horizontal, width() - m_slider.width(), m_value, m_min, m_valueRange));
        });
        f.line(130, [&] {
            m_slider.moveTop(thumbPlace(Vertical, height() - m_slider.height(), m_value, m_min, m_valueRange));
        });
    });
}

void ucSlider::UserControl_WriteProperties(PropertyBag &PropBag)
{
    ErrorFrame f("ucSlider", "UserControl_WriteProperties");
    f.run([&] {
        f.line(10, [&] {
            PropBag.WriteProperty(QStringLiteral("BackColor"), int32_t(m_backColor), int32_t(OleColor::ButtonFace));
        });
        f.line(20, [&] { PropBag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true); });
        f.line(30, [&] { PropBag.WritePicture(QStringLiteral("SliderIcon"), m_sliderIcon); });
        f.line(40, [&] { PropBag.WriteProperty(QStringLiteral("Orientation"), m_orientation, int32_t(Vertical)); });
        f.line(50, [&] { PropBag.WritePicture(QStringLiteral("RailPicture"), m_railPicture); });
        f.line(60, [&] { PropBag.WriteProperty(QStringLiteral("RailStyle"), m_railStyle, int32_t(0)); });
        f.line(70, [&] { PropBag.WriteProperty(QStringLiteral("Min"), m_min, int32_t(0)); });
        f.line(80, [&] { PropBag.WriteProperty(QStringLiteral("Max"), m_max, int32_t(10)); });
        f.line(90, [&] { PropBag.WriteProperty(QStringLiteral("Value"), m_value, int32_t(0)); });
    });
}

void ucSlider::UserControl_Show() { Refresh(); }

void ucSlider::UserControl_Resize()
{
    // Every step that fails is skipped; the layout never reports.
    const bool horizontal = m_orientation == Horizontal;
    const bool vertical = m_orientation == Vertical;
    const QSize thumb = thumbSize();
    const QSize rail = Artwork::logicalSize(m_railPicture);
    const bool railInUse = pictureRailInUse();

    tryQuietly([&] {
        const OuterSize s = outerSize(m_orientation, railInUse, rail, thumb, size());
        if (s.width != width() || s.height != height()) {
            m_inLayout = true;
            setOuterSize(s.width * m_twipsX, s.height * m_twipsY);
            m_inLayout = false;
        }
    });
    tryQuietly([&] {
        if (horizontal)
            m_slider.moveTop(thumbCross(railInUse, rail.height(), thumb.height()));
        else if (vertical)
            m_slider.moveLeft(thumbCross(railInUse, rail.width(), thumb.width()));
    });
    tryQuietly([&] { placeThumbAlong(m_value); });
    tryQuietly([&] {
        if (horizontal || vertical)
            m_railRect = SliderMath::railRect(m_orientation, width(), height(), thumb.width(), thumb.height());
    });
    Refresh();
}

// ---- Drawing and places ----

void ucSlider::Refresh()
{
    ++m_refreshCount;
    // The surface has the pixels of the thumb and rail pictures: sharp on a
    // screen of scale 2 when they come in the larger size.
    const QSize inner(qMax(1, width()), qMax(1, height()));
    const qreal ratio = qMax(m_sliderIcon.devicePixelRatio(), m_railPicture.devicePixelRatio());
    if (Artwork::logicalSize(m_surface) != inner || m_surface.devicePixelRatio() != ratio) {
        m_surface = QImage(inner * ratio, QImage::Format_RGB32);
        m_surface.setDevicePixelRatio(ratio);
    }
    m_surface.fill(OleColor::toColor(m_backColor));
    {
        QPainter p(&m_surface);
        tryQuietly([&] {
            if (m_railStyle == PictureRail) {
                if (!m_railPicture.isNull())
                    p.drawImage(
                        pixelPlace(railPicturePlace(m_orientation, size(), Artwork::logicalSize(m_railPicture))),
                        m_railPicture);
            } else {
                const int edge = edgeForRailStyle(m_railStyle);
                if (edge >= 0)
                    drawEdge(p, m_railRect, edge);
            }
        });
        p.drawImage(pixelPlace(m_slider.topLeft()), m_sliderIcon);
    }
    update();
}

void ucSlider::placeThumbAlong(int32_t value)
{
    if (m_orientation == Horizontal)
        m_slider.moveLeft(thumbPlace(Horizontal, trackLength(), value, m_min, m_valueRange));
    else if (m_orientation == Vertical)
        m_slider.moveTop(thumbPlace(Vertical, trackLength(), value, m_min, m_valueRange));
}

void ucSlider::ResetSlider()
{
    ErrorFrame f("ucSlider", "ResetSlider");
    f.run([&] {
        f.line(10, [&] {
            if (m_orientation == Horizontal)
                m_slider.moveTo(0, 0);
            else if (m_orientation == Vertical)
                m_slider.moveTo(0, height() - m_slider.height());
        });
    });
}

int32_t ucSlider::GetValue()
{
    int32_t v = 0;
    const double length = trackLength();
    tryQuietly([&] {
        if (m_orientation == Horizontal) {
            v = valueAt(Horizontal, length, m_slider.left(), m_min, m_valueRange).value;
            m_slider.moveLeft(thumbPlace(Horizontal, length, v, m_min, m_valueRange));
        }
    });
    tryQuietly([&] {
        if (m_orientation == Vertical) {
            v = valueAt(Vertical, length, m_slider.top(), m_min, m_valueRange).value;
            m_slider.moveTop(thumbPlace(Vertical, length, v, m_min, m_valueRange));
        }
    });
    return v;
}

// ---- Mouse ----

void ucSlider::UserControl_MouseDown(int16_t Button, int16_t Shift, float X, float Y)
{
    ErrorFrame f("ucSlider", "UserControl_MouseDown");
    f.run([&] {
        f.line(10, [&] {
            if (!m_enabled)
                f.exit();
        });
        f.line(20, [&] {
            if (Button != 1)
                f.exit();
        });
        f.line(30, [&] { m_dragging = true; });
        f.line(40, [&] {
            const float left = float(m_slider.left()), top = float(m_slider.top());
            const float tw = float(m_slider.width()), th = float(m_slider.height());
            if (left <= X && X < left + tw && top <= Y && Y < top + th) {
                m_grabX = X - left;
                m_grabY = Y - top;
            } else {
                // Off the thumb: its centre jumps to the pointer.
                m_grabX = tw / 2;
                m_grabY = th / 2;
                UserControl_MouseMove(Button, Shift, X, Y);
            }
        });
        f.line(50, [&] {
            qint16 shift = Shift;
            emit MouseDown(shift);
        });
    });
}

void ucSlider::UserControl_MouseMove(int16_t, int16_t, float X, float Y)
{
    ErrorFrame f("ucSlider", "UserControl_MouseMove");
    f.run([&] {
        f.line(10, [&] {
            if (!m_dragging)
                f.exit();
        });
        f.line(20, [&] {
            if (m_orientation != Horizontal)
                return;
            const float p = X - m_grabX;
            const double end = double(width()) - m_slider.width();
            m_slider.moveLeft(p < 0 ? 0.0 : (p > end ? end : double(p)));
        });
        f.line(30, [&] {
            if (m_orientation != Vertical)
                return;
            const float p = Y - m_grabY;
            const double end = double(height()) - m_slider.height();
            m_slider.moveTop(p < 0 ? 0.0 : (p > end ? end : double(p)));
        });
        f.line(40, [&] { setValue(GetValue()); });
    });
}

void ucSlider::UserControl_MouseUp(int16_t Button, int16_t Shift, float X, float Y)
{
    ErrorFrame f("ucSlider", "UserControl_MouseUp");
    f.run([&] {
        f.line(10, [&] {
            if (Button == 1 && X >= 0 && X < width() && Y >= 0 && Y < height())
                emit Click();
        });
        f.line(20, [&] {
            if (m_dragging) {
                qint16 shift = Shift;
                emit MouseUp(shift);
            }
        });
        f.line(30, [&] { m_dragging = false; });
    });
}

// ---- Qt events ----

void ucSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void ucSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A size set by the layout itself is already being laid out.
    if (!m_inLayout)
        UserControl_Resize();
}

void ucSlider::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    UserControl_Show();
}

void ucSlider::mousePressEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    UserControl_MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
}

void ucSlider::mouseMoveEvent(QMouseEvent *event)
{
    // Qt keeps delivering moves to the pressed widget while a button is down,
    // with places that may lie outside it: the capture a drag needs.
    const QPointF pos = event->position();
    int16_t buttons = 0;
    if (event->buttons() & Qt::LeftButton)
        buttons |= 1;
    if (event->buttons() & Qt::RightButton)
        buttons |= 2;
    if (event->buttons() & Qt::MiddleButton)
        buttons |= 4;
    UserControl_MouseMove(buttons, shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
}

void ucSlider::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    UserControl_MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
}
