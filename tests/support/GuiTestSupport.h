#pragma once

#include <QCollator>
#include <QString>

#include <string>
#include <vector>

#include "platform/Shell.h"
#include "support/ScriptedMessageBoxes.h"

class QWidget;

namespace testsupport {

// For its lifetime links are recorded (fully encoded) instead of opened.
class RecordedShell {
public:
    RecordedShell();
    ~RecordedShell();
    RecordedShell(const RecordedShell&) = delete;
    RecordedShell& operator=(const RecordedShell&) = delete;

    [[nodiscard]] const std::vector<std::string>& opened() const { return opened_; }

private:
    platform::ShellHandler previous_;
    std::vector<std::string> opened_;
};

// Types text as key presses; unlike QTest::keyClicks it survives characters beyond ASCII.
void typeText(QWidget* widget, const QString& text);

// Sorting that behaves the same without LANG (the C locale ignores numeric mode).
QCollator makeCollator();

}  // namespace testsupport
