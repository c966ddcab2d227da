#pragma once
// Printing a rich-text document on the current printer, and the print dialog
// that chooses it.
//
// What the rest of the program may rely on:
// - One PrinterSession per program run (the main window owns it). It holds the
//   current printer: the system's default printer as found at the first
//   print or print dialog, never looked up again; confirming the print dialog
//   replaces it by the printer chosen there with the settings made there
//   (copies, paper, orientation, ...), for every later print of the run.
//   Cancelling the dialog leaves it as it was.
// - PrintDocument prints the whole document as one job with the given title,
//   page after page, on the printable area of the page with no margins of its
//   own. While the job is being sent, pending events are processed after
//   every page, so commands can run meanwhile; a second print (or print
//   dialog) started then fails.
// - Failures throw platform::Exception with the user's text:
//     no default printer              "Zur Zeit ist kein Standard-Drucker gewählt"
//     printer gone / cannot be drawn  "Ausgewählter Drucker ist ungültig"
//     a print is still being sent     "Das Drucken ist im Gang"
// - A session that ends while its job is being sent lets the job finish.
// - PdfOfDocument gives the document as it prints, on the locale's paper
//   (LC_PAPER; A4 when the locale names none) with margins of 2 cm; printing
//   and the PDF share the layout and drawing, PaintDocument.
//
// On Linux the printers are CUPS queues (Qt's print support sends PDF).

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QTextDocument;
class QWidget;

namespace platform {

inline constexpr auto kNoDefaultPrinterText = "Zur Zeit ist kein Standard-Drucker gewählt";
inline constexpr auto kInvalidPrinterText = "Ausgewählter Drucker ist ungültig";
inline constexpr auto kPrintingBusyText = "Das Drucken ist im Gang";

// Stands in for the print dialog: receives a printer set up like the current
// one, configures it as the user would and returns whether the user
// confirmed; only then does that printer become the current one.
using PrintDialogStep = std::function<bool(QPrinter &printer, QWidget *parent)>;

class PrinterSession {
public:
    PrinterSession();
    ~PrinterSession();
    PrinterSession(const PrinterSession &) = delete;
    PrinterSession &operator=(const PrinterSession &) = delete;

    // Opens the print dialog on the current printer (no page range, no
    // selection, no print to file). True when the user confirmed. Throws
    // before showing anything when there is no default printer.
    bool ExecPrintDialog(QWidget *parent);

    // Prints the whole document as one job named title.
    void PrintDocument(const QTextDocument &document, const QString &title);

    // True while a job is being sent.
    bool Printing() const { return m_printing; }

    // The current printer; null before the first print or print dialog.
    const QPrinter *CurrentPrinter() const { return m_printer.get(); }

    // Tests replace the dialog; an empty step restores the real one.
    void SetDialogStep(PrintDialogStep step) { m_dialogStep = std::move(step); }

private:
    QPrinter &EnsurePrinter();
    void RefuseWhilePrinting() const;
    bool RunDialog(QPrinter &printer, QWidget *parent);

    std::shared_ptr<QPrinter> m_printer;
    std::shared_ptr<bool> m_alive;
    PrintDialogStep m_dialogStep;
    bool m_printing = false;
};

// Lays the document out for the device's paint rectangle, without document
// margin, in the editor's units (points for fonts, pixels at 96 per inch for
// the other lengths), and paints it page after page with painter (begun on
// device, whose transformation it scales). afterPage runs after every page.
// False when the device refused a new page.
bool PaintDocument(const QTextDocument &document, QPagedPaintDevice &device, QPainter &painter,
                   const std::function<void()> &afterPage = {});

// The document as a PDF titled title; empty when it could not be made.
QByteArray PdfOfDocument(const QTextDocument &document, const QString &title);

} // namespace platform
