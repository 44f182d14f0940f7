#include "draw/toolpanel.h"

#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "core/colors.h"
#include "core/languages.h"
#include "draw/layout.h"
#include "platform/artwork.h"
#include "platform/picturebox.h"
#include "platform/twips.h"

#include <QPainter>

namespace {
// The design places of the buttons inside the panel, in pixels.
QRect buttonPlace(int index)
{
    const int left = (index % 2 == 0) ? 32 : 88;
    const int top = 24 + (index / 2) * 40;
    return QRect(left, top, 49, 33);
}

const char *const kSymbols[10] = {"clear", "undo", "open", "save", "pen", "print", "sound", "help", "web", "quit"};
const char *const kFallbacks[10] = {"C", "\u21b6", "O", "S", "\u270e", "P", "\u266a", "?", "W", "X"};
} // namespace

ToolPanel ToolPanel::make(QWidget *parent)
{
    ToolPanel t;
    t.panel = new PictureBox(parent);
    t.panel->resize(PanelSize.toSize());
    t.panel->setKeepContentOnResize(false);
    for (int i = 0; i < 10; ++i) {
        auto *b = new SymbolButton(i, QString::fromLatin1(kSymbols[i]), QString::fromUtf8(kFallbacks[i]), t.panel);
        b->setGeometry(buttonPlace(i));
        t.buttons[size_t(i)] = b;
    }
    for (const Allgemein::Language &language : Allgemein::Languages) {
        if (!language.flag)
            continue;
        ClickLabel *flag = makeLanguageFlag(language.digit, t.panel);
        flag->move(Twips::toPixels(language.flag->left, Twips::DefaultPerPixel),
                   Twips::toPixels(language.flag->top, Twips::DefaultPerPixel));
        t.flags[size_t(language.digit)] = flag;
    }
    return t;
}

void ToolPanel::paintLook(const QImage &backdrop) const
{
    const QRect pr = panel->geometry();
    const int pw = panel->scaleWidth();
    const int ph = panel->scaleHeight();
    QImage look = Artwork::surface(QSize(pw, ph));
    look.fill(Qt::white);
    QPainter p(&look);
    p.drawImage(QRect(0, 0, pw, ph), backdrop,
                Artwork::devicePixels(QRect(pr.left() + 150, pr.top(), pw, ph), backdrop));
    p.end();
    panel->setPicture(look);
    panel->drawBox(QPoint(2, 2), QPoint(pw - 1, ph - 1), Colors::FrameDark);
    panel->drawBox(QPoint(0, 0), QPoint(pw - 3, ph - 3), Qt::white);
}
