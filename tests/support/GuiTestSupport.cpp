#include "support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>
#include <QWidget>

#include <utility>

namespace testsupport {

RecordedShell::RecordedShell()
    : previous_(platform::SetShellHandler([this](const QUrl& url) {
          opened_.push_back(url.toEncoded().toStdString());
          return true;
      })) {}

RecordedShell::~RecordedShell() {
    platform::SetShellHandler(std::move(previous_));
}

void typeText(QWidget* widget, const QString& text) {
    for (const char32_t cp : text.toUcs4()) {
        if (cp < 0x80)
            QTest::keyClick(widget, static_cast<char>(cp));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&cp, 1),
                                Qt::NoModifier);
    }
}

QCollator makeCollator() {
    return QCollator(QLocale(QLocale::English, QLocale::UnitedStates));
}

}  // namespace testsupport
