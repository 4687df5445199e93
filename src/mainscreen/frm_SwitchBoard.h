#pragma once

#include <QWidget>

// The main screen, shown inside the main window.
class frm_SwitchBoard : public QWidget {
    Q_OBJECT
public:
    explicit frm_SwitchBoard(QWidget* parent = nullptr);
};
