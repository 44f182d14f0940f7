#pragma once
// The error dialog: shows a run-time error with its module, procedure and line,
// keeps the error protocol, and asks how to go on.

#include "core/errorframe.h"
#include "errors/protocol.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

class ErrPtnr : public QDialog, public ErrorReporter
{
    Q_OBJECT
public:
    explicit ErrPtnr(QWidget *parent = nullptr);

    // The one dialog of the run, created on first use.
    static ErrPtnr &instance();

    // Fills and shows the dialog modally; returns 0 Retry, 1 Ignore, 2 Cancel, 3 End.
    // An error raised while the dialog is open is only added to the protocol and
    // answered with Cancel.
    int OnError(const QString &AktModul, const QString &AktProc, const PendingError &error);
    int onError(const QString &module, const QString &procedure, const PendingError &error) override
    {
        return OnError(module, procedure, error);
    }

    void SetProgInfo(const QString &Text);
    QString progInfo() const;

    // The protocol as the dialog shows it now.
    QString BuildProtocol() const;
    // Appends it to the program's ".EPT" file; false when that failed.
    bool AppendProtocolFile();
    QString protocolFilePath(const QString &extension) const;

    // The protocol buttons: 0 print, 1 save, 2 mail, 3 web.
    void cmdProtocol_Click(int Index);

    // For tests: the system lines and the time to put in the protocol.
    void setSystemInfo(const SystemInfo &info) { m_system = info; }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // For tests: pressed while the dialog is shown instead of waiting for a user.
    void setAutoAnswer(std::function<void(ErrPtnr &)> answer) { m_autoAnswer = std::move(answer); }
    QPushButton *continueButton(int index) const { return m_continue[size_t(index)]; }
    QPushButton *protocolButton(int index) const { return m_protocol[size_t(index)]; }
    QLabel *errorLabel(int index) const { return m_lblError[size_t(index)]; }

protected:
    void reject() override {} // only the four continue buttons close it
    void closeEvent(QCloseEvent *event) override;

private:
    void ArrangeDialog();
    QString buildProtocol(const QStringList &values) const;
    bool appendProtocol(const QString &protocol);
    void cmdContinue_Click(int Index);
    void printProtocol();
    void saveProtocol();
    void mailProtocol();
    void webProtocol();

    QGroupBox *framComment;
    QGroupBox *framFehler;
    QGroupBox *framProgInfo;
    QGroupBox *framProtocol;
    QGroupBox *framContinue;
    QLabel *lblComment;
    QLabel *lblProgInfo;
    std::array<QLabel *, 4> m_lblErrTitel{};
    std::array<QLabel *, 4> m_lblError{};
    std::array<QPushButton *, 4> m_protocol{};
    std::array<QPushButton *, 4> m_continue{};
    // The continue button last pressed (0 Retry to 3 End), kept between errors.
    int m_lastChoice = 0;
    bool m_showing = false; // between the show and the choice
    SystemInfo m_system;
    std::function<QDateTime()> m_clock;
    std::function<void(ErrPtnr &)> m_autoAnswer;
};
