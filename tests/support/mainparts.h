#pragma once
// Where the main window's parts are at its design size (829 x 624), relative to
// its top left corner, for end-to-end tests that look at the screen or aim the
// pointer from outside the program.

#include "core/languages.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace MainParts {

constexpr QRect Canvas(219, 160, 585, 439);
constexpr QPoint Panel(25, 306);

// Toolbar button `index`: 0 Clear, 1 Undo, 2 Open, 3 Save, 4 pen, ... 9 quit.
constexpr QRect button(int index)
{
    return QRect(Panel + QPoint(index % 2 == 0 ? 32 : 88, 24 + (index / 2) * 40), QSize(49, 33));
}

// The language flags under the buttons.
inline QList<QRect> flags()
{
    QList<QRect> rects;
    for (const Allgemein::Language &language : Allgemein::Languages) {
        if (language.flag)
            rects.append(QRect(Panel + QPoint(language.flag->left, language.flag->top) / 15, QSize(32, 20)));
    }
    return rects;
}

} // namespace MainParts
