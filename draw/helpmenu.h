#pragma once
// The help button's popup menu (the main window has no menu bar): the manual in
// the child's language, a mail to the maker, and the about box.

#include <QMenu>

class HelpMenu : public QMenu
{
    Q_OBJECT
public:
    // `owner` is the window the about box is modal to.
    explicit HelpMenu(QWidget *owner);

    // The items; their captions come from the language (the mail item's is the
    // same everywhere).
    QAction *mnuHilfe = nullptr;
    QAction *mnuEmail = nullptr;
    QAction *mnuUeber = nullptr;

    void mnuHilfe_Click();
    void mnuEmail_Click();
    void mnuUeber_Click();

private:
    QWidget *m_owner;
};
