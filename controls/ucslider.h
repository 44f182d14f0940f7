#pragma once
// The program's own slider: a thumb picture dragged along a rail, standing for a
// whole number between Min and Max. It paints itself (rail, then thumb) into a
// retained image, handles the mouse itself and tells its host about changes
// through its signals. Inside, everything is in pixels; its outer size, as the
// host sees it, is in twips.
//
// The host calls, in this order: the constructor; either UserControl_InitProperties
// (a new instance) or UserControl_ReadProperties (from its property store); then
// the layout, which also runs after every change of the control's size.

#include "controls/slidermath.h"

#include <QImage>
#include <QRectF>
#include <QWidget>

#include <cstdint>

class PropertyBag;

class ucSlider : public QWidget
{
    Q_OBJECT
public:
    explicit ucSlider(QWidget *parent = nullptr);

    // While false a press is ignored; the widget itself stays enabled, so a
    // release still reports Click.
    bool Enabled() const { return m_enabled; }
    void setEnabledProperty(bool New_Enabled) { m_enabled = New_Enabled; }

    // A stored colour: 0x00BBGGRR or a system colour reference (high bit set).
    uint32_t BackColor() const { return m_backColor; }
    void setBackColor(uint32_t New_BackColor);

    // 0 horizontal, 1 vertical; other values are kept and lay out nothing.
    int32_t Orientation() const { return m_orientation; }
    void setOrientation(int32_t New_Orientation);

    // 0..4 drawn edge rails, 99 the picture rail; other values draw no rail.
    int32_t RailStyle() const { return m_railStyle; }
    void setRailStyle(int32_t New_RailStyle);

    int32_t Min() const { return m_min; }
    void setMin(int32_t New_Min);
    int32_t Max() const { return m_max; }
    void setMax(int32_t New_Max);
    int32_t Value() const { return m_value; }
    void setValue(int32_t New_Value);

    // The thumb picture; a null picture brings back the built-in thumb.
    QImage SliderIcon() const { return m_sliderIcon; }
    void setSliderIcon(const QImage &New_SliderIcon);
    QImage RailPicture() const { return m_railPicture; }
    void setRailPicture(const QImage &New_RailPicture);

    // The outer size in twips, as the host window sees it.
    int32_t TwipsX() const { return m_twipsX; }
    int32_t TwipsY() const { return m_twipsY; }
    int32_t outerWidth() const { return width() * m_twipsX; }
    int32_t outerHeight() const { return height() * m_twipsY; }
    void setOuterSize(int32_t widthTwips, int32_t heightTwips);

    // What the tests and the host may look at.
    QRectF thumbRect() const { return m_slider; }
    SliderMath::Rect railRect() const { return m_railRect; }
    int32_t valueRange() const { return m_valueRange; }
    int32_t lastValue() const { return m_lastValue; }
    bool dragging() const { return m_dragging; }
    const QImage &surface() const { return m_surface; }
    // How often the control has been redrawn.
    int refreshCount() const { return m_refreshCount; }

    // The lifecycle handlers.
    void UserControl_Initialize();
    void UserControl_InitProperties();
    void UserControl_ReadProperties(PropertyBag &PropBag);
    void UserControl_WriteProperties(PropertyBag &PropBag);
    void UserControl_Show();
    void UserControl_Resize();

    // The mouse handlers: button 1 left, 2 right, 4 middle; Shift 1 Shift,
    // 2 Ctrl, 4 Alt; x, y in inner pixels (negative or beyond the size while
    // the pointer is captured after a press).
    void UserControl_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void UserControl_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void UserControl_MouseUp(int16_t Button, int16_t Shift, float X, float Y);

    void Refresh();

signals:
    void Click();
    void ArrivedFirst();
    void ArrivedLast();
    void ValueChanged();
    // The modifier state of the press, by reference: a handler may change it.
    void MouseDown(qint16 &Shift);
    void MouseUp(qint16 &Shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int32_t GetValue();
    void ResetSlider();
    void placeThumbAlong(int32_t value);
    bool pictureRailInUse() const;
    double trackLength() const;
    QSize thumbSize() const { return m_slider.size().toSize(); }
    void takeThumbPicture(const QImage &picture);

    bool m_enabled = true;
    uint32_t m_backColor = 0x8000000Fu;
    int32_t m_orientation = SliderMath::Vertical;
    int32_t m_railStyle = 0;
    int32_t m_min = 0;
    int32_t m_max = 10;
    int32_t m_value = 0;
    QImage m_sliderIcon;
    QImage m_railPicture;

    // The thumb's rectangle: its size is the thumb picture's, its place may be
    // fractional.
    QRectF m_slider;
    bool m_dragging = false;
    float m_grabX = 0;
    float m_grabY = 0;
    SliderMath::Rect m_railRect;
    int32_t m_valueRange = 10;
    int32_t m_lastValue = 0;
    int32_t m_twipsX = 15;
    int32_t m_twipsY = 15;

    QImage m_surface;
    int m_refreshCount = 0;
    bool m_inLayout = false;
};
