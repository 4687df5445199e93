#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

// A picture button: one of four images from four consecutive ImageStore slots (pressed,
// disabled, hover, normal) on the panel colour. Any mouse button pressed shows the pressed
// image, which stays after the click until the mouse moves; entering shows the hover image and
// leaving the normal one. Disabling shows the disabled image (the normal one greyed when that
// slot is empty).
class PictureButton : public QWidget {
    Q_OBJECT
public:
    // Values are the offsets from the pressed slot.
    enum class Look { Pressed = 0, Disabled = 1, Hover = 2, Normal = 3 };

    explicit PictureButton(int pressedSlot, QWidget* parent = nullptr);

    // Hover looks follow the mouse only while this says so (the windows keep hover off for about
    // a second after they open or an exam resumes). Always allowed by default.
    void setHoverAllowed(std::function<bool()> allowed);
    // While latched the button keeps its pressed look whatever the mouse does; unlatching shows
    // the normal look.
    void setLatched(bool latched);
    [[nodiscard]] bool latched() const { return latched_; }

    void showLook(Look look);
    [[nodiscard]] Look look() const { return look_; }
    [[nodiscard]] const QPixmap& picture() const { return shown_; }

    [[nodiscard]] QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    [[nodiscard]] bool hoverAllowed() const { return !allowed_ || allowed_(); }

    std::array<QPixmap, 4> pictures_;  // by Look
    QPixmap shown_;
    Look look_ = Look::Normal;
    std::function<bool()> allowed_;
    // Stands for the mouse capture the hover look holds from entry until the pointer leaves.
    bool captured_ = false;
    bool latched_ = false;
};
