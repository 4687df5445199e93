#pragma once

#include <QCollator>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/Bytes.h"
#include "platform/Printing.h"
#include "platform/Shell.h"
#include "support/ScriptedMessageBoxes.h"

class QScrollBar;
class QTextEdit;
class QWidget;

namespace testsupport {

// A picture of one colour as PNG file bytes, as pictures arrive from the data files.
formats::Bytes PngBytes(QSize size, const QColor& colour,
                        QImage::Format format = QImage::Format_RGB32);

// The pictures a text box's laid-out document shows, in document order: what each image's
// name resolved to.
std::vector<QImage> ShownImages(QTextEdit& box);

// The same pictures described: "mark" for the missing-picture mark, "WxH" for a picture
// given as a QPixmap, "image WxH" for one in another form (converted on every use).
std::vector<std::string> ShownPictures(QTextEdit& box);

// A vertical scroll bar at its top, its handle between 0.15 and 0.6 of its track: the handle
// is the part of the track that stands out at its top, darker than the rest, as the eye
// reads it.
void ExpectScrollHandleAtTheTop(QScrollBar& bar);

// RunBounded (support/BoundedChild.h) for work that uses Qt. Qt's idle pool threads would not
// exist in the child, and work handed to them there would wait for good: the pool lets them
// go first.
std::optional<std::string> RunBoundedWithQt(const std::function<std::string()>& work,
                                            std::string& failure);

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

// For its lifetime, polls every 5 ms for a modal window and runs the action once on the first
// one it sees. Any modal still open after the timeout is closed and the test fails, so a
// dialog nobody answers cannot hang the run.
class ModalWatcher {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalWatcher(Action action,
                          std::chrono::milliseconds timeout = std::chrono::seconds(5));
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    [[nodiscard]] bool acted() const { return acted_; }

    // Clicks the modal's button of that object name; fails the test when it is missing,
    // hidden or disabled, since the user could not click it either.
    static Action clickButton(const QString& objectName);
    static Action pressKey(Qt::Key key);

private:
    void poll();

    Action action_;
    std::chrono::milliseconds timeout_;
    QElapsedTimer clock_;
    QTimer timer_;
    bool acted_ = false;
};

// For its lifetime the print dialog is answered without showing it: "print" into the PDF file
// `pdf`, or "cancel" when `pdf` is empty. A preview dialog is not shown either: its pages are
// painted into `pdf` as the dialog would paint them on screen.
class PrintToPdf {
public:
    explicit PrintToPdf(std::filesystem::path pdf);
    ~PrintToPdf();
    PrintToPdf(const PrintToPdf&) = delete;
    PrintToPdf& operator=(const PrintToPdf&) = delete;

    [[nodiscard]] int printDialogs() const { return printDialogs_; }
    [[nodiscard]] int previews() const { return previews_; }

private:
    std::filesystem::path pdf_;
    platform::PrintDialogRunner previousPrint_;
    platform::PreviewDialogRunner previousPreview_;
    int printDialogs_ = 0;
    int previews_ = 0;
};

// Types text as key presses; unlike QTest::keyClicks it survives characters beyond ASCII.
void typeText(QWidget* widget, const QString& text);

// Sorting that behaves the same without LANG (the C locale ignores numeric mode).
QCollator makeCollator();

// The control names that more than one control of a window carries (Qt's own "qt_" parts
// aside): a name must find one control.
QStringList duplicateNames(const QObject& window);

// The texts of the live tooltip windows, or of those on screen.
QStringList tipTexts(bool onScreenOnly = false);

// The pointer itself moves (a tip reads it), and the widget under it sees the move.
void movePointer(QWidget* over, const QPoint& at);

// A left double-click that ends, as the user's does, with the button up. QTest's own leaves
// the button held for the rest of the process, and every later move of the pointer a drag.
void doubleClick(QWidget* widget, const QPoint& at);

}  // namespace testsupport
