#include "draw/helpmenu.h"

#include "about/frminfo.h"
#include "core/config.h"
#include "core/globals.h"
#include "core/languages.h"
#include "core/settings.h"
#include "platform/paths.h"
#include "platform/shell.h"

#include <QFileInfo>
#include <QUrl>

HelpMenu::HelpMenu(QWidget *owner) : QMenu(owner), m_owner(owner)
{
    mnuHilfe = addAction(QString(), this, &HelpMenu::mnuHilfe_Click);
    addSeparator();
    mnuEmail = addAction(QStringLiteral("E-Mail"), this, &HelpMenu::mnuEmail_Click);
    addSeparator();
    mnuUeber = addAction(QString(), this, &HelpMenu::mnuUeber_Click);
}

void HelpMenu::mnuHilfe_Click()
{
    // The manual's page in the current language (or English); without a manual
    // installed nothing happens.
    const QString path = Paths::manualFile(Allgemein::LanguageCode(Allgemein::LanguageOffset));
    if (QFileInfo(path).isFile())
        Shell::open(QUrl::fromLocalFile(path));
}

void HelpMenu::mnuEmail_Click()
{
    Shell::open(QUrl(QStringLiteral("mailto:%1?Subject=%2").arg(Config::SupportMail, Allgemein::AppTitle)));
}

void HelpMenu::mnuUeber_Click() { frmInfo::ShowModal(m_owner); }
