#pragma once

#include <QDialog>

#include "platform/FontColorDialogs.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace platform {

// The font dialog: family, style, size, the effects (strikeout, underline, colour) and a
// sample. The styles are the chosen family's own, so a family with a bold face offers it; a
// style stands for its bold and italic. A field the user leaves alone comes back exactly as
// it was given.
class FontDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontDialog(const FontChoice& initial, QWidget* parent = nullptr);

    [[nodiscard]] FontChoice Choice() const { return choice_; }

private:
    void buildControls();
    void showChoice();
    // Lists the family's styles and selects the one of the chosen bold and italic.
    void listStyles();
    void pickFamily();
    void pickStyle();
    void pickColour();
    void showColourAndSample();

    FontChoice choice_;
    QListWidget* family_ = nullptr;
    QListWidget* style_ = nullptr;
    QDoubleSpinBox* size_ = nullptr;
    QCheckBox* strikeOut_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QPushButton* colour_ = nullptr;
    QLabel* sample_ = nullptr;
};

}  // namespace platform
