#include "browsers/frm_Viewer.h"

#include <QAction>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "browsers/ResourceDocument.h"
#include "browsers/ViewerIcons.h"
#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "pages/PagePictures.h"
#include "pages/PageReader.h"
#include "pages/PageRefusals.h"
#include "pages/PrintedPage.h"
#include "platform/Look.h"
#include "platform/Printing.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace {

constexpr int kTopBarHeight = 67;  // 1000 twips
constexpr int kPictureSize = 64;   // 960 twips
constexpr QSize kMinimumSize(mod_Viewer::kNarrowestWindow, 200);

// The page's pictures come only from the documents' unpacked files.
page_reader::PictureSource pictureSource() {
    return {page_trial::PictureRule::kInsideFolder, AppPaths::ResourcesTempFolder()};
}

class DocumentPage : public QTextBrowser {
public:
    explicit DocumentPage(QWidget* parent)
        : QTextBrowser(parent), pictures_(page_reader::FilesOf(pictureSource())) {}

    std::optional<std::string> ShowPage(const std::string& page) {
        // Judging the page already loads its pictures, with the whole budget.
        pictures_.Reset();
        page_reader::ReadPage read = page_reader::ReadHtml(
            page, page_reader::BoxOf(*this, pictureSource(), mod_Viewer::kPageMargin),
            [this](const QUrl& name) { return pictures_.Load(name); },
            page_trial::Standing::kAlreadyHeld);
        if (read.refusal)
            return page_refusals::Reason(*read.refusal, page_refusals::Subject::kDocumentPage);
        page_reader::ShowDocument(*this, std::move(read.document));
        shown_ = page;
        return std::nullopt;
    }

    // Whether the page shown would print, as the printer lays it out.
    [[nodiscard]] platform::PrintJudge PrintJudge() const {
        return page_reader::PrintJudgeOf(
            [this] { return shown_; },
            page_reader::BoxOf(*this, pictureSource(), mod_Viewer::kPageMargin));
    }

protected:
    QVariant loadResource(int /*type*/, const QUrl& name) override { return pictures_.Load(name); }

private:
    platform::PagePictures pictures_;
    std::string shown_;
};

}  // namespace

frm_Viewer::frm_Viewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    mod_Forms::Register(this, "frm_Viewer");
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(kMinimumSize);

    buildTopBar();
    WebBrowser1 = platform::Named(new DocumentPage(this), QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenLinks(false);
    // As wide as the window at its narrowest: the page is tried there too.
    WebBrowser1->setMinimumWidth(mod_Viewer::kNarrowestWindow);
    WebBrowser1->setContextMenuPolicy(Qt::CustomContextMenu);
    WebBrowser1->installEventFilter(this);
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, &frm_Viewer::FollowLink);
    connect(WebBrowser1, &QWidget::customContextMenuRequested, this, &frm_Viewer::PopUpFileMenu);

    StatusBar1 = platform::Named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    StatusBar1Panel1 = platform::Named(new QLabel(StatusBar1), QStringLiteral("txtCopyright"));
    StatusBar1Panel1->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(StatusBar1Panel1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Picture1);
    layout->addWidget(WebBrowser1, 1);
    layout->addWidget(StatusBar1);

    mnuFile = platform::Named(new QMenu(QStringLiteral("File"), this), QStringLiteral("mnuFile"));
    mnuPrint = mnuFile->addAction(QStringLiteral("&Print"), this, &frm_Viewer::mnuPrint_Click);
    mnuPrintPreview = mnuFile->addAction(QStringLiteral("Print P&review"), this,
                                         &frm_Viewer::mnuPrintPreview_Click);
    Form_Load();
}

void frm_Viewer::buildTopBar() {
    Picture1 = platform::Named(new QWidget(this), QStringLiteral("Picture1"));
    Picture1->setFixedHeight(kTopBarHeight);
    platform::FillBackground(Picture1, Qt::white);
    Picture2 = platform::Named(new QLabel(Picture1), QStringLiteral("Picture2"));
    Picture2->setFixedSize(kPictureSize, kPictureSize);
    Picture2->setAlignment(Qt::AlignCenter);
    Label1 = platform::Named(new QLabel(Picture1), QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(QFont(QStringLiteral("Verdana"), 12));
    // A long title gives way to the toolbar instead of pushing it out of the window.
    Label1->setMinimumWidth(1);
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    Toolbar1 = platform::Named(new QToolBar(Picture1), QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto addButton = [this](const QIcon& icon, const QString& caption, const QString& key) {
        QAction* button = Toolbar1->addAction(icon, caption);
        button->setObjectName(key);
        connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    };
    addButton(ViewerIcons::print(), QStringLiteral("Print"), QStringLiteral("print"));
    addButton(ViewerIcons::printPreview(), QStringLiteral("Print Preview"),
              QStringLiteral("print preview"));
    addButton(ViewerIcons::exit(), QStringLiteral("Exit"), QStringLiteral("exit"));

    auto* layout = new QHBoxLayout(Picture1);
    layout->setContentsMargins(3, 0, 7, 0);
    layout->addWidget(Picture2);
    layout->addSpacing(7);
    layout->addWidget(Label1, 1);
    layout->addWidget(Toolbar1);
}

void frm_Viewer::Form_Load() {
    if (const QWidget* main = mod_Forms::Find("mdi_Main")) {
        placeOver(*main);
        setWindowIcon(main->windowIcon());
    }
    StatusBar1Panel1->setText(platform::toQt(SystemVars.Copyright));
}

void frm_Viewer::placeOver(const QWidget& main) {
    const QScreen* screen = main.screen();
    if (!screen) {
        resize(main.size());
        return;
    }
    // The main window's frame is the one the viewer will get from the window system.
    const QRect mainFrame = main.frameGeometry();
    const QRect inner = main.geometry();
    const QMargins frame(inner.left() - mainFrame.left(), inner.top() - mainFrame.top(),
                         mainFrame.right() - inner.right(), mainFrame.bottom() - inner.bottom());
    const QRect available = screen->availableGeometry();
    const QSize size = main.size().boundedTo(available.size().shrunkBy(frame));
    resize(size.expandedTo(minimumSize()));
    const QSize framed = this->size().grownBy(frame);
    const auto within = [](int at, int length, int first, int room) {
        return std::max(first, std::min(at, first + room - length));
    };
    move(within(mainFrame.x(), framed.width(), available.x(), available.width()),
         within(mainFrame.y(), framed.height(), available.y(), available.height()));
}

void frm_Viewer::SetTitle(const QString& caption, const QPixmap& picture) {
    setWindowTitle(caption);
    Label1->setText(caption);
    Picture2->setPixmap(picture.width() > kPictureSize || picture.height() > kPictureSize
                            ? picture.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation)
                            : picture);
}

std::optional<std::string> frm_Viewer::ShowPage(const std::string& page) {
    // The page is tried at the width it will be shown at.
    layout()->activate();
    return static_cast<DocumentPage*>(WebBrowser1)->ShowPage(page);
}

void frm_Viewer::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("print"))
        mnuPrint_Click();
    else if (key == QLatin1String("print preview"))
        mnuPrintPreview_Click();
    else if (key == QLatin1String("exit"))
        close();
}

void frm_Viewer::mnuPrint_Click() {
    platform::PrintDocument(*WebBrowser1->document(), this,
                            static_cast<DocumentPage*>(WebBrowser1)->PrintJudge());
}

void frm_Viewer::mnuPrintPreview_Click() {
    platform::PreviewDocument(*WebBrowser1->document(), this,
                              static_cast<DocumentPage*>(WebBrowser1)->PrintJudge());
}

void frm_Viewer::PopUpFileMenu() {
    mnuFile->popup(QCursor::pos());
}

void frm_Viewer::FollowLink(const QUrl& link) {
    // The page is all the viewer shows: only its own anchors are followed.
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment())
        WebBrowser1->scrollToAnchor(link.fragment());
}

bool frm_Viewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WebBrowser1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        // Ctrl+F stays the page's own; the key itself is never swallowed.
        if (!key->isAutoRepeat() &&
            (shift || (ctrl && key->key() != Qt::Key_Control && key->key() != Qt::Key_F)))
            PopUpFileMenu();
    }
    return QWidget::eventFilter(watched, event);
}
