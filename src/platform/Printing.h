#pragma once

#include <functional>

class QPrintPreviewDialog;
class QPrinter;
class QTextDocument;
class QWidget;

namespace platform {

// Prints the document after the print dialog; false when the user cancels it.
bool PrintDocument(const QTextDocument& document, QWidget* owner);

// Shows the document in the print preview dialog, from which the user may print it.
void PreviewDocument(const QTextDocument& document, QWidget* owner);

// Asks the user about `printer` (printer, pages, copies); true to print.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* owner)>;
// Runs a preview dialog whose paintRequested already prints the document.
using PreviewDialogRunner = std::function<void(QPrintPreviewDialog& dialog)>;

// Replace the dialogs (tests print to a PDF file or record the call); an empty runner brings
// the real dialog back. Each returns the runner that was installed.
PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner);
PreviewDialogRunner SetPreviewDialogRunner(PreviewDialogRunner runner);

}  // namespace platform
