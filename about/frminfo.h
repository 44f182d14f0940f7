#pragma once
// The about window. At start it is the start screen: the program's name and
// version over a picture with five language flags; it closes itself after 2.5
// seconds and brings up the main window. From the help menu it is the modal
// about box with an OK button. In both roles the link opens the maker's web site.

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class ClickLabel;
class QLabel;
class QPushButton;
class QTimer;

// The version as the title shows it: the major number as it is, the minor in at
// least two digits, the revision in at least four ("1.01.0344").
QString VersionText(int major, int minor, int revision);

class frmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit frmInfo(QWidget *parent = nullptr);
    ~frmInfo() override;

    // The main window as the start screen sees it: whether it is visible, and
    // how to show it. The program's start sets it; the window does not know
    // the main window otherwise.
    struct MainWindowLink {
        std::function<bool()> isVisible;
        std::function<void()> show;
    };
    static void setMainWindow(MainWindowLink link);

    // Loads the window and shows it modeless (the start screen at program start);
    // it unloads itself when it closes.
    static frmInfo *ShowModeless();
    // Loads the window and shows it modally over `parent` (the about box).
    static void ShowModal(QWidget *parent);
    // The loaded window, null while none is.
    static frmInfo *loaded();

    // True once this window has shown the main window; it never does so again.
    static inline int16_t MainWindowShown = 0;

    void Form_Load();
    void Form_Activate();
    void Sprache();
    void imgLang_Click(int Index);
    void cmdOK_Click();
    void Timer1_Timer();
    void lblHomepage_Click();
    void lblHomepage_MouseDown(Qt::MouseButton Button);
    void lblHomepage_MouseUp(Qt::MouseButton Button);

    QLabel *Image2 = nullptr;
    QLabel *Label0 = nullptr;
    ClickLabel *lblHomepage = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *cmdOK = nullptr;
    std::array<ClickLabel *, 7> imgLang{}; // by language digit; 2 and 5 have no flag
    QTimer *Timer1 = nullptr;

protected:
    void reject() override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Unload();

    bool m_unloading = false;
};
