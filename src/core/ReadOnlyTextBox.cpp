#include "core/ReadOnlyTextBox.h"

#include <QVariant>

#include "platform/TextCodec.h"

namespace {

// Kept on the widget itself, so any number of widgets can be suppressed at once.
constexpr const char* kPreviousPolicy = "examsimPreviousContextMenuPolicy";

}  // namespace

void SuppressContextMenu(QWidget* widget) {
    if (widget == nullptr) return;
    if (!widget->property(kPreviousPolicy).isValid())
        widget->setProperty(kPreviousPolicy, static_cast<int>(widget->contextMenuPolicy()));
    // PreventContextMenu, unlike NoContextMenu, does not hand the request to the parent.
    widget->setContextMenuPolicy(Qt::PreventContextMenu);
}

void RestoreContextMenu(QWidget* widget) {
    if (widget == nullptr) return;
    const QVariant previous = widget->property(kPreviousPolicy);
    if (!previous.isValid()) return;
    widget->setContextMenuPolicy(static_cast<Qt::ContextMenuPolicy>(previous.toInt()));
    widget->setProperty(kPreviousPolicy, QVariant());
}

ReadOnlyTextBox::ReadOnlyTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    SuppressContextMenu(this);
}

void ReadOnlyTextBox::setText(std::string_view text) {
    setPlainText(platform::toQt(text));
}

std::string ReadOnlyTextBox::text() const {
    return platform::fromQt(toPlainText());
}
