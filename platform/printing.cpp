#include "printing.h"

#include "documentresources.h"
#include "exception.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTextDocument>

#include <cstdint>
#include <langinfo.h>

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

// The card's own lengths (indents, paragraph spacing, tab stops, picture
// sizes) are pixels at 96 per inch, as the RTF reader makes them and the
// editor shows them; a layout at the device's resolution would shrink them
// to nothing and draw a list's bullets off the page. So the copy is laid out
// in those units and the painter scales it to the device; design metrics keep
// the glyph advances exact when scaled.
constexpr int kCardDotsPerMeter = 3780; // 96 per inch

QImage CardUnitsDevice()
{
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(kCardDotsPerMeter);
    device.setDotsPerMeterY(kCardDotsPerMeter);
    return device;
}

std::unique_ptr<QTextDocument> LayoutInCardUnits(const QTextDocument &document, QPaintDevice &units,
                                                 const QSizeF &pageSize)
{
    std::unique_ptr<QTextDocument> copy = CopyDocument(document);
    copy->documentLayout()->setPaintDevice(&units);
    QTextOption option = copy->defaultTextOption();
    option.setUseDesignMetrics(true);
    copy->setDefaultTextOption(option);
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

// The locale's paper (LC_PAPER, a glibc extension), else A4.
QPageSize LocalePaperSize()
{
#ifdef __GLIBC__
    const auto width = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    const auto height = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    if (width > 0 && height > 0) {
        const QPageSize::PageSizeId id = QPageSize::id(QSizeF(width, height), QPageSize::Millimeter, QPageSize::FuzzyMatch);
        return id == QPageSize::Custom ? QPageSize(QSizeF(width, height), QPageSize::Millimeter) : QPageSize(id);
    }
#endif
    return QPageSize(QPageSize::A4);
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

    if (!PaintDocument(document, printer, painter, [] { QCoreApplication::processEvents(); })) {
        painter.end();
        throw Exception(QString::fromUtf8(kInvalidPrinterText));
    }
    painter.end();
}

bool PaintDocument(const QTextDocument &document, QPagedPaintDevice &device, QPainter &painter,
                   const std::function<void()> &afterPage)
{
    QImage units = CardUnitsDevice();
    const qreal scaleX = qreal(device.logicalDpiX()) / units.logicalDpiX();
    const qreal scaleY = qreal(device.logicalDpiY()) / units.logicalDpiY();
    const QSizeF pageSize(device.width() / scaleX, device.height() / scaleY);
    const std::unique_ptr<QTextDocument> layout = LayoutInCardUnits(document, units, pageSize);
    painter.scale(scaleX, scaleY);
    const int pages = layout->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        DrawPage(painter, *layout, page, pageSize);
        if (afterPage)
            afterPage();
    }
    return true;
}

QByteArray PdfOfDocument(const QTextDocument &document, const QString &title)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Kartolino"));
        pdf.setPageLayout(QPageLayout(LocalePaperSize(), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf) || !PaintDocument(document, pdf, painter))
            return {};
        painter.end();
    }
    return out.data();
}

} // namespace platform
