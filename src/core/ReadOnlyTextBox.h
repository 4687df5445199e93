#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

// Turns off every context menu of `widget` (right click, menu key, Shift+F10; a scroll area's
// viewport hands its requests to the area) and keeps the previous setting for RestoreContextMenu.
void SuppressContextMenu(QWidget* widget);
// Puts back the setting SuppressContextMenu found; nothing when the widget was never suppressed.
void RestoreContextMenu(QWidget* widget);

// A read-only multi-line plain-text box that never shows a context menu. Text can still be
// selected with the mouse and the keyboard.
class ReadOnlyTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ReadOnlyTextBox(QWidget* parent = nullptr);

    // Windows-1252 text, shown as plain text.
    void setText(std::string_view text);
    [[nodiscard]] std::string text() const;
};
