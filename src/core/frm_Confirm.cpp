#include "core/frm_Confirm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "core/ReadOnlyTextBox.h"
#include "core/mod_System_Icons.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

frm_Confirm::frm_Confirm(QWidget* owner)
    : QDialog(owner),
      Message(platform::Named(new ReadOnlyTextBox(this), "Message")),
      Confirm_Icon(platform::Named(new QLabel(this), "Confirm_Icon")),
      Yes(platform::Named(new QPushButton(this), "Yes")),
      No(platform::Named(new QPushButton(this), "No")),
      Remember(platform::Named(new QCheckBox(this), "Remember")) {
    mod_Forms::Register(this, "frm_Confirm");

    Message->setFrameShape(QFrame::NoFrame);
    // Out of the tab chain so that the window opens with Yes focused.
    Message->setFocusPolicy(Qt::ClickFocus);
    QPalette messagePalette = Message->palette();
    messagePalette.setColor(QPalette::Base, messagePalette.color(QPalette::Window));
    Message->setPalette(messagePalette);
    const QFontMetrics metrics = Message->fontMetrics();
    Message->setFixedSize(metrics.averageCharWidth() * 52, metrics.lineSpacing() * 5 + 8);

    Yes->setDefault(true);
    connect(Yes, &QPushButton::clicked, this, &frm_Confirm::Yes_Click);
    connect(No, &QPushButton::clicked, this, &frm_Confirm::No_Click);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->addWidget(Confirm_Icon, 0, 0, Qt::AlignTop);
    layout->addWidget(Message, 0, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Remember);
    bottom->addStretch();
    bottom->addWidget(Yes);
    bottom->addWidget(No);
    layout->addLayout(bottom, 1, 0, 1, 2);
}

void frm_Confirm::Yes_Click() {
    Tag = "Yes";
    hide();
}

void frm_Confirm::No_Click() {
    Tag = "No";
    hide();
}

void frm_Confirm::Form_Unload() {
    Confirm_Icon->clear();
}

void frm_Confirm::Unload() {
    Form_Unload();
    mod_Forms::Unload(this);
}

ConfirmAnswer AskConfirm(QWidget* owner, const ConfirmRequest& request) {
    const QPointer<frm_Confirm> dialog = new frm_Confirm(owner);
    dialog->setWindowTitle(platform::toQt(request.title));
    dialog->Message->setText(request.message);
    dialog->Remember->setText(platform::toQt(request.rememberCaption));
    dialog->Yes->setText(platform::toQt("&" + request.yesCaption));
    dialog->No->setText(platform::toQt("&" + request.noCaption));
    dialog->Yes->setVisible(!request.yesCaption.empty());
    dialog->No->setVisible(!request.noCaption.empty());
    mod_System_Icons::DrawSystemIcon(dialog->Confirm_Icon, request.icon);

    dialog->exec();
    // The owner may have been torn down while the box was open.
    if (dialog.isNull()) return {};
    const ConfirmAnswer answer{dialog->Tag == "Yes", dialog->Remember->isChecked()};
    dialog->Unload();
    return answer;
}
