#include "controls/clicklabel.h"

#include "core/languages.h"
#include "platform/artwork.h"

#include <QMouseEvent>
#include <QPixmap>

ClickLabel::ClickLabel(QWidget *parent) : QLabel(parent) {}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = m_pressed || event->button() == Qt::LeftButton;
    emit mouseDown(event->button());
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // The release goes to the label that took the press, wherever the pointer is now.
    emit mouseUp(event->button());
    if (event->button() == Qt::LeftButton) {
        const bool inside = rect().contains(event->position().toPoint());
        const bool click = m_pressed && inside;
        m_pressed = false;
        if (click)
            emit clicked();
    }
    event->accept();
}

ClickLabel *makeLanguageFlag(int digit, QWidget *parent)
{
    const Allgemein::Language *language = Allgemein::LanguageOf(digit * 1000);
    const QString name = language ? QString::fromUtf8(language->name) : QString();
    auto *flag = new ClickLabel(parent);
    flag->resize(32, 20);
    const QPixmap pm = QPixmap::fromImage(Artwork::load(QStringLiteral(":/art/flag%1.png").arg(digit)));
    if (pm.isNull()) {
        flag->setText(name.left(2).toUpper());
        flag->setAlignment(Qt::AlignCenter);
        flag->setFrameShape(QFrame::Box);
    } else {
        flag->setPixmap(pm);
        flag->setScaledContents(true);
    }
    flag->setToolTip(name);
    flag->setCursor(Qt::PointingHandCursor);
    return flag;
}
