#include "platform/Printing.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <utility>

#include "platform/MessageBox.h"

namespace platform {

namespace {

PrintDialogRunner& installedPrintRunner() {
    static PrintDialogRunner runner;
    return runner;
}

PreviewDialogRunner& installedPreviewRunner() {
    static PreviewDialogRunner runner;
    return runner;
}

// QTextDocument::print sets 2 cm margins around a document without pages of its own.
constexpr double kPrintMargin = static_cast<int>(2 / 2.54 * 96);

bool askWithPrintDialog(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

// Whether the judge lets the document be laid out on `printer`; the user is told why not.
bool printable(const PrintJudge& judge, const QPrinter& printer) {
    const std::optional<std::string> refusal =
        judge({printer.width(), printer.logicalDpiX(), printer.logicalDpiY(), kPrintMargin});
    if (refusal) MsgBox("This cannot be printed:\r\n\r\n" + *refusal, kExclamation);
    return !refusal;
}

}  // namespace

bool PrintDocument(const QTextDocument& document, QWidget* owner, const PrintJudge& judge) {
    QPrinter printer(QPrinter::HighResolution);
    const PrintDialogRunner& runner = installedPrintRunner();
    if (!(runner ? runner(printer, owner) : askWithPrintDialog(printer, owner))) return false;
    if (!printable(judge, printer)) return false;
    document.print(&printer);
    return true;
}

void PreviewDocument(const QTextDocument& document, QWidget* owner, const PrintJudge& judge) {
    QPrinter printer(QPrinter::HighResolution);
    if (!printable(judge, printer)) return;
    QPrintPreviewDialog dialog(&printer, owner);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&document, &judge](QPrinter* target) {
                         if (printable(judge, *target)) document.print(target);
                     });
    const PreviewDialogRunner& runner = installedPreviewRunner();
    if (runner)
        runner(dialog);
    else
        dialog.exec();
}

PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner) {
    return std::exchange(installedPrintRunner(), std::move(runner));
}

PreviewDialogRunner SetPreviewDialogRunner(PreviewDialogRunner runner) {
    return std::exchange(installedPreviewRunner(), std::move(runner));
}

}  // namespace platform
