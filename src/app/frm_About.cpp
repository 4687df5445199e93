#include "app/frm_About.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ImageStore.h"
#include "core/SystemVars.h"
#include "core/mod_Email.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, bool wrap = false) {
    auto* label = platform::Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

void setText(QLabel* label, const std::string& windows1252) {
    label->setText(platform::toQt(windows1252));
}

}  // namespace

frm_About::frm_About(QWidget* owner)
    : QDialog(owner),
      PicLogoMain(platform::Named(new QLabel(this), "PicLogoMain")),
      Label3(makeLabel(this, "Label3", true)),
      Label1(makeLabel(this, "Label1", true)),
      Label2(makeLabel(this, "Label2")),
      Frame2(platform::Named(new QGroupBox(this), "Frame2")),
      Label7(makeLabel(this, "Label7")),
      Label9(makeLabel(this, "Label9")),
      Label8(makeLabel(this, "Label8")),
      Label10(makeLabel(this, "Label10")),
      Label5(makeLabel(this, "Label5", true)),
      Frame1(platform::Named(new QGroupBox(this), "Frame1")),
      Label4(makeLabel(this, "Label4", true)),
      lbl_copyright(makeLabel(this, "lbl_copyright", true)),
      Command1(platform::Named(new QPushButton(this), "Command1")) {
    mod_Forms::Register(this, "frm_About");
    // Every way of closing unloads the window; deletion waits for the modal loop to return.
    setAttribute(Qt::WA_DeleteOnClose);

    QPalette panel = palette();
    panel.setColor(QPalette::Window, platform::PanelColour());
    panel.setColor(QPalette::Button, platform::PanelColour());
    setPalette(panel);
    setAutoFillBackground(true);

    QFont productFont = Label1->font();
    productFont.setBold(true);
    Label1->setFont(productFont);
    for (QLabel* link : {Label9, Label10}) {
        QFont linkFont = link->font();
        linkFont.setUnderline(true);
        link->setFont(linkFont);
        QPalette linkPalette = link->palette();
        linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
        link->setPalette(linkPalette);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frm_About::Command1_Click);

    auto* contact = new QGridLayout(Frame2);
    contact->addWidget(Label7, 0, 0);
    contact->addWidget(Label9, 0, 1);
    contact->addWidget(Label8, 1, 0);
    contact->addWidget(Label10, 1, 1);
    contact->addWidget(Label5, 2, 0, 1, 2);
    contact->setColumnStretch(1, 1);

    auto* notice = new QVBoxLayout(Frame1);
    notice->addWidget(Label4);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbl_copyright, 1);
    bottom->addWidget(Command1, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PicLogoMain);
    layout->addWidget(Label3);
    layout->addSpacing(8);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(8);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1);
    layout->addLayout(bottom);

    Form_Load();

    // Word-wrapped labels need a width to settle the height.
    constexpr int kWidth = 460;
    setFixedSize(kWidth, layout->totalHeightForWidth(kWidth));
}

void frm_About::Form_Load() {
    PicLogoMain->setPixmap(mod_Picture::PictureFromBytes(ImageStore[kLogoImageSlot].Bytes));
    setText(Label3, SystemVars.AboutTexts(about_text::kDescription));
    setText(Label1, SystemVars.ProductName + " (" + SystemVars.ProductCode + ") " +
                        SystemVars.ProductSubtitle);
    setText(Label2, SystemVars.AboutTexts(about_text::kVersion) + " " + SystemVars.Version);
    Frame2->setTitle(platform::toQt(SystemVars.AboutTexts(about_text::kContactFrame)));
    setText(Label7, SystemVars.AboutTexts(about_text::kWebSite));
    setText(Label8, SystemVars.AboutTexts(about_text::kEmail));
    setText(Label9, SystemVars.WebAddress);
    setText(Label10, SystemVars.SupportEmail);
    setText(Label5, SystemVars.AboutTexts(about_text::kInvitation));
    Command1->setText(platform::toQt(SystemVars.AboutTexts(about_text::kOk)));
    Frame1->setTitle(platform::toQt(SystemVars.AboutTexts(about_text::kNoticeFrame)));
    setText(Label4, SystemVars.AboutTexts(about_text::kNotice));
    setText(lbl_copyright, SystemVars.Copyright);
    setWindowTitle(platform::toQt(SystemVars.AboutTexts(about_text::kAbout)) + u' ' +
                   Label1->text());
}

void frm_About::Command1_Click() {
    accept();
}

void frm_About::Label9_Click() {
    if (!platform::ShellOpen(SystemVars.WebAddress))
        platform::MsgBox(
            "No web browser could be started.\r\n\r\nThe address is: " + SystemVars.WebAddress,
            platform::kInformation);
}

void frm_About::Label10_Click() {
    mod_Email::SendEmail(SystemVars.SupportEmail, "", "", "", "");
}

bool frm_About::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label9) {
            Label9_Click();
            return true;
        }
        if (watched == Label10) {
            Label10_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
