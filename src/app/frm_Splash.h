#pragma once

#include <QWidget>

class QLabel;

// Shown while the question bank loads; the start-up road shows, repaints and unloads it.
class frm_Splash : public QWidget {
    Q_OBJECT

public:
    explicit frm_Splash(QWidget* parent = nullptr);

    // Controls; the window owns them.
    QLabel* picVisible;
    QLabel* lbl_Product;
    QLabel* lbl_Product_Type;
    QLabel* lbl_Version;
    QLabel* lbl_www;
    QLabel* lbl_email;
    QLabel* lbl_copyright;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Decodes and then releases the splash picture, fills the labels, centres the window.
    void Form_Load();
    // Picture over the whole window, labels in a band along its bottom.
    void placeControls();

    QWidget* band_;  // darkened strip that keeps the labels readable on any picture
};
