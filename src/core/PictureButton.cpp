#include "core/PictureButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <utility>

#include "core/ImageStore.h"
#include "platform/Look.h"
#include "platform/mod_Picture.h"

namespace {

std::size_t index(PictureButton::Look look) {
    return static_cast<std::size_t>(look);
}

}  // namespace

PictureButton::PictureButton(int pressedSlot, QWidget* parent) : QWidget(parent) {
    for (std::size_t offset = 0; offset < pictures_.size(); ++offset) {
        const std::size_t slot = static_cast<std::size_t>(pressedSlot) + offset;
        if (pressedSlot >= 0 && slot < ImageStore.size())
            pictures_[offset] = mod_Picture::PictureFromBytes(ImageStore[slot].Bytes);
    }
    QPixmap& disabled = pictures_[index(Look::Disabled)];
    const QPixmap& normal = pictures_[index(Look::Normal)];
    if (disabled.isNull() && !normal.isNull()) {
        QStyleOption option;
        option.initFrom(this);
        disabled = style()->generatedIconPixmap(QIcon::Disabled, normal, &option);
    }
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    showLook(isEnabled() ? Look::Normal : Look::Disabled);
}

void PictureButton::setHoverAllowed(std::function<bool()> allowed) {
    allowed_ = std::move(allowed);
}

void PictureButton::setLatched(bool latched) {
    latched_ = latched;
    captured_ = false;
    showLook(latched_ ? Look::Pressed : Look::Normal);
}

void PictureButton::showLook(Look look) {
    look_ = look;
    shown_ = pictures_[index(look)];
    update();
}

QSize PictureButton::sizeHint() const {
    const QPixmap& normal = pictures_[index(Look::Normal)];
    return normal.isNull() ? QSize(32, 32) : normal.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), platform::PanelColour());
    if (!shown_.isNull()) painter.drawPixmap(0, 0, shown_);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    captured_ = true;  // the press holds the mouse until the release
    showLook(Look::Pressed);
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    captured_ = false;  // so the next move inside brings the hover look back
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    if (!hoverAllowed()) return;
    if (latched_) {
        showLook(Look::Pressed);
        return;
    }
    const QPointF pos = event->position();
    const bool inside = pos.x() >= 0 && pos.y() >= 0 && pos.x() <= width() && pos.y() <= height();
    if (!inside) {
        captured_ = false;
        showLook(Look::Normal);
    } else if (!captured_) {
        captured_ = true;
        showLook(Look::Hover);
    }
}

void PictureButton::leaveEvent(QEvent*) {
    // Without a held capture the pointer's way out is only seen here.
    if (latched_ || !captured_ || QApplication::mouseButtons() != Qt::NoButton) return;
    captured_ = false;
    showLook(Look::Normal);
}

void PictureButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        captured_ = false;
        showLook(isEnabled() ? Look::Normal : Look::Disabled);
    }
    QWidget::changeEvent(event);
}
