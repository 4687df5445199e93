#include "app/mdi_Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

#include "app/frm_About.h"
#include "browsers/mod_Viewer.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/SystemVars.h"
#include "core/mod_Question.h"
#include "core/mod_file.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/frm_Evaluate.h"
#include "exam/CurrentExam.h"
#include "exam/ExamEnd.h"
#include "exam/ExamWindow.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "notes/NotesContextMenu.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

void sendKeyToFocus(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace

mdi_Main::mdi_Main(QWidget* parent) : QMainWindow(parent) {
    mod_Forms::Register(this, "mdi_Main");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Picture3 = new QWidget(central);
    auto* banner = new QHBoxLayout(Picture3);
    PicLogoMain = new QLabel(Picture3);
    PicLogoMain->setFocusPolicy(Qt::ClickFocus);
    PicLogoMain->installEventFilter(this);
    lbl_Product = new QLabel(Picture3);
    lbl_Product->setTextFormat(Qt::PlainText);
    QFont titleFont = lbl_Product->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    lbl_Product->setFont(titleFont);
    banner->addWidget(PicLogoMain);
    banner->addSpacing(12);
    banner->addWidget(lbl_Product, 1);
    layout->addWidget(Picture3);

    childArea_ = new QStackedWidget(central);
    layout->addWidget(childArea_, 1);
    setCentralWidget(central);

    pictmp = new QLabel(this);
    pictmp->hide();

    StatusBar1 = new QStatusBar(this);
    StatusBar1Panel1 = new QLabel(StatusBar1);
    StatusBar1Panel1->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(StatusBar1Panel1, 1);
    setStatusBar(StatusBar1);

    buildMenus();
    buildPopupMenus();
    nameControls();
    MDIForm_Load();
}

void mdi_Main::nameControls() {
    platform::NameEach({
        {Picture3, "Picture3"},
        {PicLogoMain, "PicLogoMain"},
        {lbl_Product, "lbl_Product"},
        {pictmp, "pictmp"},
        {StatusBar1, "StatusBar1"},
        {menuFile, "menuFile"},
        {menuFileExit, "menuFileExit"},
        {menuHelp, "menuHelp"},
        {mnuVOZOvi, "mnuVOZOvi"},
        {menuHelpAbout, "menuHelpAbout"},
        {CustomExam_ContextMenu, "CustomExam_ContextMenu"},
        {CustomExam_mnuMaximumValue, "CustomExam_mnuMaximumValue"},
        {WebPrint, "WebPrint"},
    });
}

void mdi_Main::buildMenus() {
    menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->addSeparator();
    menuFileExit = menuFile->addAction(QStringLiteral("Exit"), this, &mdi_Main::menuFileExit_Click);

    menuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuVOZOvi = menuHelp->addAction(QStringLiteral("Dozodur Ozuv Evorurado Information"), this,
                                    &mdi_Main::mnuVOZOvi_Click);
    menuHelp->addSeparator();
    menuHelpAbout = menuHelp->addAction(QStringLiteral("About Vellacorn Exam Simulator"), this,
                                        &mdi_Main::menuHelpAbout_Click);
}

void mdi_Main::buildPopupMenus() {
    MyNotes_ContextMenu = new NotesContextMenu(this);

    CustomExam_ContextMenu = new QMenu(this);
    CustomExam_mnuMaximumValue = CustomExam_ContextMenu->addAction(QString());

    WebPrint = new QMenu(this);
    WebPrint->addAction(QStringLiteral("&Print"), this, &mdi_Main::Print_Click);
    WebPrint->addAction(QStringLiteral("Print P&review"));
}

void mdi_Main::MDIForm_Load() {
    platform::FillBackground(Picture3);
    const QString caption = platform::toQt(SystemVars.ProductName + " " + SystemVars.TitleSuffix);
    setWindowTitle(caption);
    DataCipher.Key(DataKey);
    PicLogoMain->setPixmap(mod_Picture::PictureFromBytes(ImageStore[kLogoImageSlot].Bytes));
    lbl_Product->setText(platform::toQt(SystemVars.ProductName + " (" + SystemVars.ProductCode +
                                        ") " + SystemVars.ProductSubtitle));
    StatusBar1Panel1->setText(platform::toQt(SystemVars.Copyright));
    // No maximize box: the window keeps its size unless the user drags it.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ShowChild(new frm_SwitchBoard(this));
}

void mdi_Main::ShowChild(QWidget* child) {
    if (childArea_->indexOf(child) < 0) childArea_->addWidget(child);
    childArea_->setCurrentWidget(child);
    child->show();
}

void mdi_Main::SetExamEndHandler(std::function<void(int reason)> handler) {
    examEnd_ = std::move(handler);
}

bool mdi_Main::MDIForm_QueryUnload() {
    if (AbortFlag) return false;
    const bool examLoaded = mod_Forms::IsFormLoaded("frm_Exam");
    QWidget* evaluate = mod_Forms::Find("frm_Evaluate");
    if (examLoaded && !evaluate) {
        if (examEnd_) examEnd_(mod_Exam::kEndReason);
        return true;
    }
    if (evaluate && !CurrentExam.Continued && !evaluate->isVisible()) {
        evaluate->show();
        return true;
    }
    const QPointer<mdi_Main> self(this);
    const int answer = platform::MsgBox(SystemVars.QuitTexts(message_text::kMessage),
                                        platform::kYesNo + platform::kQuestion,
                                        SystemVars.QuitTexts(message_text::kCaption));
    return !self || answer != platform::kYes;
}

void mdi_Main::MDIForm_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    mod_file::DeleteFolder(AppPaths::ResourcesTempFolder());
    mod_Question::WriteStatistics();
    // Windows with an unload of their own run it: the exam window turns its marks into
    // bookmarks on the way out.
    if (frm_Evaluate* evaluate = evaluation::EvaluationWindow()) evaluate->Form_Unload();
    exam::UnloadExamWindow();
    for (const std::string& name : mod_Forms::OpenWindowNames()) {
        QWidget* window = mod_Forms::Find(name);
        if (window && window != this) mod_Forms::Unload(window);
    }
}

void mdi_Main::closeEvent(QCloseEvent* event) {
    if (MDIForm_QueryUnload()) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

bool mdi_Main::eventFilter(QObject* watched, QEvent* event) {
    // The logo passes the focus on to a running exam.
    if (watched == PicLogoMain && event->type() == QEvent::FocusIn) {
        if (QWidget* exam = mod_Forms::Find("frm_Exam")) exam->setFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void mdi_Main::menuFileExit_Click() {
    close();
}

void mdi_Main::menuHelpAbout_Click() {
    const QPointer<frm_About> about = new frm_About(this);
    about->exec();
    if (about) mod_Forms::Unload(about);
}

void mdi_Main::mnuVOZOvi_Click() {
    mod_Viewer::OpenResourceDocument(
        AppPaths::ResourcesFolder() / "VOZOvi.dat", mnuVOZOvi->text(),
        mod_Picture::PictureFromBytes(ImageStore[kExamInstructionsImageSlot].Bytes));
}

void mdi_Main::Print_Click() {
    sendKeyToFocus(Qt::Key_P, Qt::ControlModifier);
}
