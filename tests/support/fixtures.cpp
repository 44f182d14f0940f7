#include "support/fixtures.h"

#include "app/allgemein.h"
#include "controls/canvas.h"
#include "core/settingkeys.h"
#include "core/settings.h"
#include "draw/frmdraw.h"

#include <QTest>

frmDraw *showMainWindow()
{
    frmDraw &w = Allgemein::MainWindow();
    w.showCentred();
    return QTest::qWaitForWindowExposed(&w) ? &w : nullptr;
}

void endMainWindow()
{
    if (frmDraw::exists())
        delete &frmDraw::instance();
}

PenOwner::PenOwner()
{
    window.resize(300, 200);
    canvas = new Canvas(&window);
    canvas->setGeometry(0, 0, 300, 200);
    window.show();
}

void storePenPlace(QPoint twips)
{
    Allgemein::SaveSetting(Allgemein::Key::PenWindowLeft, QString::number(twips.x()));
    Allgemein::SaveSetting(Allgemein::Key::PenWindowTop, QString::number(twips.y()));
}

QImage filledImage(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

SliderFixture::SliderFixture(QSize size, int orientation) : slider(new ucSlider(&host))
{
    host.resize(size + QSize(40, 40));
    slider->setGeometry(QRect(QPoint(20, 20), size));
    slider->UserControl_InitProperties();
    slider->setOrientation(orientation);
}

SliderFixture::SliderFixture(PropertyBag bag) : slider(new ucSlider(&host))
{
    host.resize(58, 177);
    slider->setGeometry(20, 20, 18, 137);
    slider->UserControl_ReadProperties(bag);
    slider->UserControl_Resize();
}

bool SliderFixture::show()
{
    host.show();
    return QTest::qWaitForWindowExposed(&host);
}
