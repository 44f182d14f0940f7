#pragma once
// The command button of every window: one drawn symbol in the text colour on the
// sand-coloured face, an enabled state, a tooltip, and a click that reports the
// button's index within its window.

#include <QAbstractButton>
#include <QColor>
#include <QIcon>

class SymbolButton : public QAbstractButton
{
    Q_OBJECT
public:
    static QColor faceColor() { return QColor(222, 191, 120); }

    // `symbol` names the icon ":/art/icons/<symbol>.png"; `fallback` is drawn
    // as text when the icon is missing.
    SymbolButton(int index, const QString &symbol, const QString &fallback, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);

    QSize sizeHint() const override;

signals:
    void Click(int Index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_index;
    QIcon m_icon;
    QString m_fallback;
    QColor m_foreColor = Qt::black;
    bool m_hover = false;
};
