#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class ReadOnlyTextBox;

// The modal question or notice whose question the user can silence. Callers normally go
// through AskConfirm below.
class frm_Confirm : public QDialog {
    Q_OBJECT

public:
    explicit frm_Confirm(QWidget* owner = nullptr);

    // Controls; the window owns them.
    ReadOnlyTextBox* Message;
    QLabel* Confirm_Icon;
    QPushButton* Yes;
    QPushButton* No;
    QCheckBox* Remember;

    // "Yes" or "No" once a button was pressed; closing otherwise leaves it as it was.
    std::string Tag;

    void Yes_Click();
    void No_Click();
    void Form_Unload();
    // Form_Unload, then mod_Forms::Unload: gone from the registry at once, deleted once
    // control is back in the event loop.
    void Unload();
};

// Windows-1252 texts of one question or notice.
struct ConfirmRequest {
    std::string title;
    std::string message;
    std::string rememberCaption;
    // Each shown with its first letter as the accelerator; an empty caption hides its button
    // (a notice shows one).
    std::string yesCaption;
    std::string noCaption;
    int icon = 0;  // DrawSystemIcon number
};

struct ConfirmAnswer {
    bool yes = false;       // only the Yes button counts as yes
    bool remember = false;  // read whichever way the box was left
};

// Shows a fresh frm_Confirm modally over owner and unloads it. Storing the Remember choice is
// the caller's, because each caller's rule differs.
ConfirmAnswer AskConfirm(QWidget* owner, const ConfirmRequest& request);
