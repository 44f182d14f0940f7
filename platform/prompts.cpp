#include "platform/prompts.h"

#include <QInputDialog>
#include <QMessageBox>

namespace Prompts {

namespace {
class QtBackend : public Backend
{
public:
    Answer message(QWidget *parent, const QString &text, Buttons buttons, Icon icon, const QString &title,
                   Answer defaultButton) override
    {
        QMessageBox box(parent);
        box.setWindowFlags(DialogFlags);
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::None:
            break;
        }
        if (buttons == Buttons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        const int r = box.exec();
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }

    QString input(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText) override
    {
        QInputDialog box(parent, DialogFlags);
        box.setWindowTitle(title);
        box.setLabelText(prompt);
        box.setTextValue(defaultText);
        return box.exec() == QDialog::Accepted ? box.textValue() : QString();
    }
};

QtBackend g_qt;
Backend *g_backend = nullptr;
} // namespace

void setBackend(Backend *backend) { g_backend = backend; }
Backend &backend() { return g_backend ? *g_backend : g_qt; }

Answer Scripted::message(QWidget *, const QString &text, Buttons, Icon, const QString &title, Answer defaultButton)
{
    asked << title + u'|' + text;
    return answers.isEmpty() ? defaultButton : answers.takeFirst();
}

QString Scripted::input(QWidget *, const QString &prompt, const QString &title, const QString &)
{
    asked << title + u'|' + prompt;
    return inputs.isEmpty() ? QString() : inputs.takeFirst();
}

} // namespace Prompts
