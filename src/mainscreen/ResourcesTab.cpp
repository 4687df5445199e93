#include <QGroupBox>
#include <QLabel>

#include "core/AppWindows.h"
#include "mainscreen/frm_SwitchBoard.h"

namespace {

void openPanelDocument(const QGroupBox* frame, const QLabel* picture, const char* container) {
    AppWindows::Get().ShowResourceDocument(container, frame->title(), picture->pixmap());
}

}  // namespace

void frm_SwitchBoard::Command16_Click() {
    openPanelDocument(Frame8, Picture6, "About.dat");
}

void frm_SwitchBoard::Command17_Click() {
    openPanelDocument(Frame9, Picture8, "Guides.dat");
}

void frm_SwitchBoard::Command18_Click() {
    openPanelDocument(Frame10, Picture5, "Tips.dat");
}

void frm_SwitchBoard::Command19_Click() {
    openPanelDocument(Frame11, Picture7, "Others.dat");
}
