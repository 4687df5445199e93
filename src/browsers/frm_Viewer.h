#pragma once

#include <QWidget>

#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPixmap;
class QStatusBar;
class QTextBrowser;
class QToolBar;

// A resource document in a window of its own: the opener's picture and title in the top bar
// with the Print, Print Preview and Exit buttons, the page, and the copyright line. Several
// may be open at once; each deletes itself when closed.
class frm_Viewer : public QWidget {
    Q_OBJECT
public:
    explicit frm_Viewer(QWidget* parent = nullptr);

    // The caption of the window and of the top bar, and the top bar's picture.
    void SetTitle(const QString& caption, const QPixmap& picture);
    // The prepared page (Windows-1252). Its links lead only to anchors of the page itself. A
    // page that cannot be shown in time is not shown: nullopt, or why not.
    [[nodiscard]] std::optional<std::string> ShowPage(const std::string& page);

    void Toolbar1_ButtonClick(const QString& key);
    void mnuPrint_Click();
    void mnuPrintPreview_Click();

    QWidget* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QTextBrowser* WebBrowser1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusBar1Panel1 = nullptr;  // key "txtCopyright"
    // Never in a menu bar: only popped up over the page.
    QMenu* mnuFile = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuPrintPreview = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    // The main window's place and size, as much of them as the screen that holds it has room
    // for: the viewer opens wholly on that screen.
    void placeOver(const QWidget& main);
    void buildTopBar();
    void PopUpFileMenu();
    void FollowLink(const QUrl& link);
};
