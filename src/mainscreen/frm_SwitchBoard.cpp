#include "mainscreen/frm_SwitchBoard.h"

#include "platform/Look.h"
#include "platform/mod_Forms.h"

frm_SwitchBoard::frm_SwitchBoard(QWidget* parent) : QWidget(parent) {
    mod_Forms::Register(this, "frm_SwitchBoard");
    setAutoFillBackground(true);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, platform::PanelColour());
    setPalette(panel);
}
