#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace platform {

namespace {

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {  // the icon bits
        case kCritical:
            return QMessageBox::Critical;
        case kQuestion:
            return QMessageBox::Question;
        case kExclamation:
            return QMessageBox::Warning;
        case kInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton defaultButtonFor(int style) {
    if (!AsksYesNo(style)) return QMessageBox::Ok;
    return (style & kDefaultButton2) ? QMessageBox::No : QMessageBox::Yes;
}

// The window the box belongs to and centres on: an open modal dialog, else the active window,
// else the main window, so that a box raised while no window is active still appears over the
// program rather than wherever the desktop puts it.
QWidget* boxOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    QWidget* main = mod_Forms::Find("mdi_Main");
    return main ? main->window() : nullptr;
}

}  // namespace

int ShowQtMessageBox(const MessageBoxRequest& request) {
    const bool yesNo = AsksYesNo(request.style);
    QMessageBox box(iconFor(request.style), toQt(request.title), toQt(request.prompt),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, boxOwner());
    // Prompts come from data files: a '<' must never turn into markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButtonFor(request.style));
    box.exec();
    if (!yesNo) return kOk;
    // Escape and closing the window answer No.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? kYes : kNo;
}

}  // namespace platform
