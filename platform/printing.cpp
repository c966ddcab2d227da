#include "printing.h"

#include "exception.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTextDocument>

namespace platform {

namespace {

// The chosen queue may have been deleted since it was chosen; Qt would still
// "print" to it and the job would vanish without a word.
bool PrinterUsable(const QPrinter &printer)
{
    return printer.isValid() && !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

// Text runs to the edges of what the printer can print: the page's margins
// are the printer's smallest ones, and painting starts at the printable
// area's top-left corner.
void UsePrintableArea(QPrinter &printer)
{
    printer.setFullPage(false);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
}

// A copy of the document laid out for the printer: fonts measured at its
// resolution, pages of the printable area's size, no document margin.
std::unique_ptr<QTextDocument> LayoutForPrinter(const QTextDocument &document, QPrinter &printer,
                                                const QSizeF &pageSize)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    copy->setPageSize(pageSize);
    return copy;
}

// Qt's CUPS engine keeps the options of the printer's properties dialog
// (pages per sheet, banners, ...) under this engine key (QCUPSSupport).
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Everything the print dialog shows and may change, so that a dialog opened
// on a scratch printer starts from the current one.
void CopySettings(const QPrinter &from, QPrinter &to)
{
    to.setPrinterName(from.printerName());
    to.setPageLayout(from.pageLayout());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setColorMode(from.colorMode());
    to.setPageOrder(from.pageOrder());
    to.setResolution(from.resolution());
    to.printEngine()->setProperty(kCupsOptions, from.printEngine()->property(kCupsOptions));
}

void DrawPage(QPainter &painter, QTextDocument &layout, int page, const QSizeF &pageSize)
{
    const QRectF area(QPointF(0, page * pageSize.height()), pageSize);
    painter.save();
    painter.translate(0, -area.top());
    layout.drawContents(&painter, area);
    painter.restore();
}

// Qt's dialog shows its page range and page set even without the page range
// option; a print always covers the whole card, so neither is offered.
class WholeDocumentPrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (!visible)
            return;
        for (const char *name : {"gbPrintRange", "pageSetLabel", "pageSetCombo"})
            if (auto *control = findChild<QWidget *>(QLatin1String(name)))
                control->hide();
    }
};

} // namespace

PrinterSession::PrinterSession() : m_alive(std::make_shared<bool>(true)) {}

PrinterSession::~PrinterSession()
{
    *m_alive = false;
}

QPrinter &PrinterSession::EnsurePrinter()
{
    if (!m_printer) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw Exception(QString::fromUtf8(kNoDefaultPrinterText));
        m_printer = std::make_shared<QPrinter>(info, QPrinter::HighResolution);
    }
    return *m_printer;
}

void PrinterSession::RefuseWhilePrinting() const
{
    if (m_printing)
        throw Exception(QString::fromUtf8(kPrintingBusyText));
}

bool PrinterSession::ExecPrintDialog(QWidget *parent)
{
    QPrinter &printer = EnsurePrinter();
    // The printer is in use by the job; the dialog must not change it under it.
    RefuseWhilePrinting();
    // The dialog works on a scratch printer: Qt's dialog switches the printer
    // it was given as soon as another one is picked in its list, even when
    // the user then cancels.
    auto choice = std::make_shared<QPrinter>(QPrinter::HighResolution);
    CopySettings(printer, *choice);
    const std::shared_ptr<bool> alive = m_alive;
    if (!RunDialog(*choice, parent) || !*alive)
        return false;
    m_printer = std::move(choice);
    return true;
}

bool PrinterSession::RunDialog(QPrinter &printer, QWidget *parent)
{
    if (m_dialogStep)
        return m_dialogStep(printer, parent);
    WholeDocumentPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

void PrinterSession::PrintDocument(const QTextDocument &document, const QString &title)
{
    EnsurePrinter();
    RefuseWhilePrinting();
    // Events handled between the pages may even end the session; the job
    // keeps its own hold on the printer and touches the session only while
    // it is alive.
    const std::shared_ptr<QPrinter> held = m_printer;
    QPrinter &printer = *held;
    if (!PrinterUsable(printer))
        throw Exception(QString::fromUtf8(kInvalidPrinterText));

    m_printing = true;
    const std::shared_ptr<bool> alive = m_alive;
    const auto done = qScopeGuard([this, alive] {
        if (*alive)
            m_printing = false;
    });

    printer.setDocName(title);
    printer.setPrintRange(QPrinter::AllPages);
    UsePrintableArea(printer);

    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(QString::fromUtf8(kInvalidPrinterText));

    const QSizeF pageSize(printer.width(), printer.height());
    const std::unique_ptr<QTextDocument> layout = LayoutForPrinter(document, printer, pageSize);
    const int pages = layout->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            throw Exception(QString::fromUtf8(kInvalidPrinterText));
        }
        DrawPage(painter, *layout, page, pageSize);
        QCoreApplication::processEvents();
    }
    painter.end();
}

} // namespace platform
