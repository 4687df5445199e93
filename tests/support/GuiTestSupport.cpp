#include "support/GuiTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QThreadPool>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "pages/PagePictures.h"
#include "support/BoundedChild.h"

namespace testsupport {

formats::Bytes PngBytes(QSize size, const QColor& colour, QImage::Format format) {
    QImage image(size, format);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return formats::Bytes(bytes.begin(), bytes.end());
}

namespace {

std::vector<QVariant> shownResources(QTextEdit& box) {
    box.viewport()->grab();  // lays the page out, which loads its images
    std::vector<QVariant> resources;
    QTextDocument* document = box.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            resources.push_back(document->resource(QTextDocument::ImageResource,
                                                   QUrl(format.toImageFormat().name())));
        }
    }
    return resources;
}

std::string sizeText(QSize size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

}  // namespace

std::vector<QImage> ShownImages(QTextEdit& box) {
    std::vector<QImage> images;
    for (const QVariant& resource : shownResources(box))
        images.push_back(resource.value<QImage>());
    return images;
}

std::vector<std::string> ShownPictures(QTextEdit& box) {
    std::vector<std::string> shown;
    for (const QVariant& resource : shownResources(box)) {
        if (resource.userType() == QMetaType::QPixmap)
            shown.push_back(sizeText(resource.value<QPixmap>().size()));
        else if (resource.value<QImage>() == platform::MissingPicture())
            shown.emplace_back("mark");
        else
            shown.push_back("image " + sizeText(resource.value<QImage>().size()));
    }
    return shown;
}

namespace {

// Mean lightness of a vertical scroll bar's track down its middle, from `from` to `to` of the
// track's length (0 its top, 1 its bottom), the arrow buttons left out.
int trackLightness(const QImage& bar, double from, double to) {
    const int arrow = bar.width();
    const int length = bar.height() - 2 * arrow;
    const int first = arrow + static_cast<int>(from * length);
    const int last = arrow + static_cast<int>(to * length);
    int sum = 0;
    for (int y = first; y < last; ++y)
        sum += qGray(bar.pixel(bar.width() / 2, y));
    return sum / std::max(last - first, 1);
}

}  // namespace

void ExpectScrollHandleAtTheTop(QScrollBar& bar) {
    ASSERT_TRUE(bar.isVisible());
    ASSERT_EQ(bar.value(), 0);
    const double handle =
        static_cast<double>(bar.pageStep()) / (bar.maximum() - bar.minimum() + bar.pageStep());
    ASSERT_GT(handle, 0.15);
    ASSERT_LT(handle, 0.6);
    const QImage image = bar.grab().toImage();
    EXPECT_LT(trackLightness(image, 0.02, handle * 0.8) + 20,
              trackLightness(image, (1 + handle) / 2, 0.98));
}

std::optional<std::string> RunBoundedWithQt(const std::function<std::string()>& work,
                                            std::string& failure) {
    QThreadPool::globalInstance()->waitForDone();
    return RunBounded(work, failure);
}

RecordedShell::RecordedShell()
    : previous_(platform::SetShellHandler([this](const QUrl& url) {
          opened_.push_back(url.toEncoded().toStdString());
          return true;
      })) {}

RecordedShell::~RecordedShell() {
    platform::SetShellHandler(std::move(previous_));
}

namespace {

void closeModal(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
    // A window that holds its close (its note cannot be saved) is hidden all the same, which
    // ends its exec().
    if (modal->isVisible()) modal->hide();
}

}  // namespace

ModalWatcher::ModalWatcher(Action action, std::chrono::milliseconds timeout)
    : action_(std::move(action)), timeout_(timeout) {
    clock_.start();
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (!acted_) {
        acted_ = true;
        action_(modal);
    } else if (clock_.elapsed() > timeout_.count()) {
        ADD_FAILURE() << "modal window " << modal->objectName().toStdString()
                      << " still open after " << timeout_.count() << " ms; closed";
        closeModal(modal);
    }
}

ModalWatcher::Action ModalWatcher::clickButton(const QString& objectName) {
    return [objectName](QWidget* modal) {
        auto* button = modal->findChild<QAbstractButton*>(objectName);
        if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
            ADD_FAILURE() << "no clickable button " << objectName.toStdString() << " in "
                          << modal->objectName().toStdString();
            closeModal(modal);
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
    };
}

ModalWatcher::Action ModalWatcher::pressKey(Qt::Key key) {
    return [key](QWidget* modal) { QTest::keyClick(modal, key); };
}

namespace {

void toPdf(QPrinter& printer, const std::filesystem::path& pdf) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
}

}  // namespace

PrintToPdf::PrintToPdf(std::filesystem::path pdf)
    : pdf_(std::move(pdf)),
      previousPrint_(platform::SetPrintDialogRunner([this](QPrinter& printer, QWidget*) {
          ++printDialogs_;
          if (pdf_.empty()) return false;
          toPdf(printer, pdf_);
          return true;
      })),
      previousPreview_(platform::SetPreviewDialogRunner([this](QPrintPreviewDialog& dialog) {
          ++previews_;
          if (pdf_.empty()) return;
          QPrinter printer(QPrinter::HighResolution);
          toPdf(printer, pdf_);
          emit dialog.paintRequested(&printer);
      })) {}

PrintToPdf::~PrintToPdf() {
    platform::SetPrintDialogRunner(std::move(previousPrint_));
    platform::SetPreviewDialogRunner(std::move(previousPreview_));
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

QStringList duplicateNames(const QObject& window) {
    QStringList seen;
    QStringList doubled;
    for (const QObject* control : window.findChildren<QObject*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        if (seen.contains(name) && !doubled.contains(name)) doubled.append(name);
        seen.append(name);
    }
    return doubled;
}

QStringList tipTexts(bool onScreenOnly) {
    QStringList texts;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("ToolTipWindow") &&
            (!onScreenOnly || widget->isVisible()))
            for (const QLabel* label : widget->findChildren<QLabel*>())
                texts.push_back(label->text());
    return texts;
}

void movePointer(QWidget* over, const QPoint& at) {
    QCursor::setPos(over->mapToGlobal(at));
    QTest::mouseMove(over, at);
}

void doubleClick(QWidget* widget, const QPoint& at) {
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

}  // namespace testsupport
