#pragma once

#include <QMainWindow>

#include <functional>

class QLabel;
class NotesContextMenu;
class QMenu;
class QAction;
class QStackedWidget;
class QStatusBar;

// The program's main window: menus, logo and title line, status bar, and the area where
// the main screen and the exam window are shown. Closing it ends the program.
class mdi_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit mdi_Main(QWidget* parent = nullptr);

    // Shows a child window (the main screen, the exam window) filling the central area,
    // above the ones shown before.
    void ShowChild(QWidget* child);

    // The end-of-exam dialog with a reason; the exam window provides it.
    void SetExamEndHandler(std::function<void(int reason)> handler);

    // Cancels the close when true; otherwise the window unloads.
    [[nodiscard]] bool MDIForm_QueryUnload();
    void MDIForm_Unload();

    void menuFileExit_Click();
    void menuHelpAbout_Click();
    void mnuVOZOvi_Click();
    void Print_Click();

    QWidget* Picture3 = nullptr;
    QLabel* PicLogoMain = nullptr;
    QLabel* lbl_Product = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusBar1Panel1 = nullptr;
    QLabel* pictmp = nullptr;

    QMenu* menuFile = nullptr;
    QAction* menuFileExit = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* mnuVOZOvi = nullptr;
    QAction* menuHelpAbout = nullptr;

    // Hidden pop-up menus lent to other windows.
    NotesContextMenu* MyNotes_ContextMenu = nullptr;
    QMenu* CustomExam_ContextMenu = nullptr;
    QAction* CustomExam_mnuMaximumValue = nullptr;
    QMenu* WebPrint = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void nameControls();
    void buildMenus();
    void buildPopupMenus();
    void MDIForm_Load();

    QStackedWidget* childArea_ = nullptr;
    std::function<void(int)> examEnd_;
    bool unloaded_ = false;
};
