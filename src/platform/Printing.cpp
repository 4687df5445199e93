#include "platform/Printing.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <utility>

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

bool askWithPrintDialog(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool PrintDocument(const QTextDocument& document, QWidget* owner) {
    QPrinter printer(QPrinter::HighResolution);
    const PrintDialogRunner& runner = installedPrintRunner();
    if (!(runner ? runner(printer, owner) : askWithPrintDialog(printer, owner))) return false;
    document.print(&printer);
    return true;
}

void PreviewDocument(const QTextDocument& document, QWidget* owner) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, owner);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&document](QPrinter* target) { document.print(target); });
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
