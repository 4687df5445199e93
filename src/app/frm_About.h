#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

// Product, version and contact window, shown modally over the main window. It deletes itself
// once closed, so callers keep a QPointer across exec().
class frm_About : public QDialog {
    Q_OBJECT

public:
    explicit frm_About(QWidget* owner = nullptr);

    // Controls; the window owns them.
    QLabel* PicLogoMain;
    QLabel* Label3;
    QLabel* Label1;
    QLabel* Label2;
    QGroupBox* Frame2;
    QLabel* Label7;
    QLabel* Label9;
    QLabel* Label8;
    QLabel* Label10;
    QLabel* Label5;
    QGroupBox* Frame1;
    QLabel* Label4;
    QLabel* lbl_copyright;
    QPushButton* Command1;

    void Command1_Click();
    // Opens the web address in the browser.
    void Label9_Click();
    // Opens a mail to the support address.
    void Label10_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
};
