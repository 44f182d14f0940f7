#pragma once
// Modal message and input boxes, behind a seam so that tests answer them.

#include <QString>
#include <QStringList>
#include <Qt>

class QWidget;

namespace Prompts {

// The program's dialogs ask the window manager for a title bar only: no minimise,
// maximise or close button; a dialog ends through its own buttons.
inline constexpr Qt::WindowFlags DialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

enum class Buttons { Ok, YesNo };
enum class Icon { None, Question, Information, Critical };
enum class Answer { Ok, Yes, No };

class Backend
{
public:
    virtual ~Backend() = default;
    virtual Answer message(QWidget *parent, const QString &text, Buttons buttons, Icon icon, const QString &title,
                           Answer defaultButton) = 0;
    // The typed text; empty when the box is cancelled.
    virtual QString input(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText) = 0;
};

// The backend in use; null restores the real boxes.
void setBackend(Backend *backend);
Backend &backend();

inline Answer message(QWidget *parent, const QString &text, Buttons buttons, Icon icon, const QString &title,
                      Answer defaultButton = Answer::Ok)
{
    return backend().message(parent, text, buttons, icon, title, defaultButton);
}
inline QString input(QWidget *parent, const QString &prompt, const QString &title,
                     const QString &defaultText = QString())
{
    return backend().input(parent, prompt, title, defaultText);
}

// Answers from a script and records what was asked (for tests).
class Scripted : public Backend
{
public:
    Answer message(QWidget *, const QString &text, Buttons, Icon, const QString &title, Answer defaultButton) override;
    QString input(QWidget *, const QString &prompt, const QString &title, const QString &defaultText) override;
    QList<Answer> answers; // taken from the front; when empty, the default button
    QStringList inputs;    // taken from the front; when empty, "" (cancelled)
    QStringList asked;     // "title|text" of every box shown
};

} // namespace Prompts
