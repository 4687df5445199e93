#pragma once

#include <functional>
#include <optional>
#include <string>

class QPrintPreviewDialog;
class QPrinter;
class QTextDocument;
class QWidget;

namespace platform {

// How a print lays a document out: the page's width in the printer's pixels, the printer's
// resolution, and the margin around the text in pixels of the screen's 96 dpi.
struct PrintLayout {
    int width = 0;
    int dpiX = 0;
    int dpiY = 0;
    double margin = 0;
};

// Whether the document may be laid out so: nullopt, or why not (Windows-1252). A layout that
// would never end freezes the program for good.
using PrintJudge = std::function<std::optional<std::string>(const PrintLayout& layout)>;

// Prints the document after the print dialog when `judge` lets it; false when the user cancels
// the dialog or the user was told why it cannot be printed.
bool PrintDocument(const QTextDocument& document, QWidget* owner, const PrintJudge& judge);

// Shows the document in the print preview dialog, from which the user may print it; each page
// setting the dialog paints goes before `judge` first, and one it refuses is not painted but
// said why.
void PreviewDocument(const QTextDocument& document, QWidget* owner, const PrintJudge& judge);

// Asks the user about `printer` (printer, pages, copies); true to print.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* owner)>;
// Runs a preview dialog whose paintRequested already prints the document.
using PreviewDialogRunner = std::function<void(QPrintPreviewDialog& dialog)>;

// Replace the dialogs (tests print to a PDF file or record the call); an empty runner brings
// the real dialog back. Each returns the runner that was installed.
PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner);
PreviewDialogRunner SetPreviewDialogRunner(PreviewDialogRunner runner);

}  // namespace platform
