#include "draw/titleparts.h"

#include "controls/symbolbutton.h"
#include "core/colors.h"
#include "core/config.h"
#include "core/errorframe.h"
#include "core/resources.h"
#include "draw/layout.h"
#include "platform/artwork.h"

#include <QLabel>
#include <QPainter>

namespace TitleParts {

QImage fallbackBackground()
{
    QImage img(DesignWidth, DesignHeight, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, DesignHeight);
    g.setColorAt(0, QColor(250, 240, 214));
    g.setColorAt(1, QColor(236, 214, 166));
    p.fillRect(img.rect(), g);
    return img;
}

QLabel *makeFrame(QWidget *parent)
{
    auto *frame = new QLabel(parent);
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, SymbolButton::faceColor());
    frame->setPalette(pal);
    return frame;
}

QLabel *makeLogo(int index, QWidget *parent)
{
    auto *logo = new QLabel(parent);
    const QPixmap pm = QPixmap::fromImage(Artwork::load(QStringLiteral(":/art/logo%1.png").arg(index)));
    if (pm.isNull()) {
        logo->setText(index == 0 ? QStringLiteral("Stiftolino \u2013 Zeichnen lernen")
                                 : QStringLiteral("Stiftolino \u2013 Learn to draw"));
        QFont f = logo->font();
        f.setPixelSize(30);
        f.setBold(true);
        logo->setFont(f);
        logo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        logo->setPixmap(pm);
    }
    logo->setGeometry(QRect(QPoint(25, 25), LogoSize.toSize()));
    logo->setVisible(index == 0);
    return logo;
}

QLabel *makeCopyright(QWidget *parent)
{
    auto *notice = new QLabel(Config::CopyrightNotice, parent);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(8.25);
    notice->setFont(font);
    QPalette pal = notice->palette();
    pal.setColor(QPalette::WindowText, Colors::FrameDark);
    notice->setPalette(pal);
    notice->resize(CopyrightSize.toSize());
    notice->setVisible(false);
    return notice;
}

QCursor pencilCursor()
{
    const QByteArray bytes = ModResFiles::LoadResData(101, QStringLiteral("CURSOR"));
    const QImage img = ModResFiles::DecodeImage(bytes, "PNG");
    if (img.isNull())
        raiseError(Err::InvalidPicture);
    const QStringList hot = img.text(QStringLiteral("hotspot")).split(u',');
    const int hx = hot.size() == 2 ? hot[0].toInt() : 0;
    const int hy = hot.size() == 2 ? hot[1].toInt() : img.height() - 1;
    return QCursor(QPixmap::fromImage(img), hx, hy);
}

} // namespace TitleParts
