#include "exportformats.h"

#include "documentresources.h"
#include "errorreason.h"
#include "exception.h"
#include "files.h"
#include "printing.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextList>

#include <memory>

namespace ui {

namespace {

struct FormatRow {
    const char *filter;
    const char *suffix;
    const char *writerFormat; // QTextDocumentWriter's name; none for PDF
};
// In the order of TExportFormat.
constexpr FormatRow kFormats[] = {
    {"PDF-Dokument (*.pdf)", "pdf", nullptr},
    {"OpenDocument-Text (*.odt)", "odt", "odf"},
    {"Webseite (*.html)", "html", "html"},
    {"Markdown (*.md)", "md", "markdown"},
    {"Nur Text (*.txt)", "txt", "plaintext"},
};
constexpr int kFormatCount = int(std::size(kFormats));

const FormatRow &row(TExportFormat format) { return kFormats[format]; }

// Reserved on Windows with any suffix: "CON.pdf" cannot be made there.
bool isDeviceName(const QString &name)
{
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    const QString upper = name.toUpper();
    if (devices.contains(upper))
        return true;
    return upper.size() == 4 && (upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT")))
           && upper.at(3) >= QLatin1Char('1') && upper.at(3) <= QLatin1Char('9');
}

bool unsafeChar(QChar c)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    return c.unicode() < 32 || c.unicode() == 0x7F || forbidden.contains(c);
}

// Windows drops a name's trailing dots and blanks; a name starting with a
// dot is hidden here.
QString withSafeEnds(QString name)
{
    qsizetype end = name.size();
    while (end > 0 && (name.at(end - 1) == QLatin1Char('.') || name.at(end - 1) == QLatin1Char(' ')))
        --end;
    for (qsizetype i = end; i < name.size(); ++i)
        name[i] = QLatin1Char('_');
    if (name.startsWith(QLatin1Char('.')))
        name[0] = QLatin1Char('_');
    return name;
}

// The longest start of name, whole characters only, of at most maxBytes UTF-8 bytes.
QString cutToBytes(const QString &name, int maxBytes)
{
    int bytes = 0;
    qsizetype i = 0;
    while (i < name.size()) {
        const bool pair = name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        const int length = pair ? 4 : QStringView(name).mid(i, 1).toUtf8().size();
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        i += pair ? 2 : 1;
    }
    return name.left(i);
}

// Qt's OpenDocument writer opens a list element only for each level of a
// list's indent, and writes the items of a list without one bare into the
// text, where LibreOffice drops them with their text. The card's lists keep
// their indent in the paragraphs' margins, so their level is 0.
std::unique_ptr<QTextDocument> withListLevels(const QTextDocument &document)
{
    std::unique_ptr<QTextDocument> copy = platform::CopyDocument(document);
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        QTextList *list = block.textList();
        if (list && list->format().indent() < 1) {
            QTextListFormat format = list->format();
            format.setIndent(1);
            list->setFormat(format);
        }
    }
    return copy;
}

} // namespace

QStringList ExportFilters()
{
    QStringList filters;
    for (const FormatRow &format : kFormats)
        filters << QString::fromUtf8(format.filter);
    return filters;
}

QString ExportFilter(TExportFormat format) { return QString::fromUtf8(row(format).filter); }
QString ExportSuffix(TExportFormat format) { return QString::fromLatin1(row(format).suffix); }

TExportFormat FormatOfFilter(const QString &filter)
{
    for (int i = 0; i < kFormatCount; ++i)
        if (filter == QString::fromUtf8(kFormats[i].filter))
            return TExportFormat(i);
    return efPdf;
}

TExportTarget ExportTarget(const QString &chosenPath, const QString &chosenFilter)
{
    const QString suffix = QFileInfo(chosenPath).suffix();
    for (int i = 0; i < kFormatCount; ++i)
        if (suffix.compare(QLatin1String(kFormats[i].suffix), Qt::CaseInsensitive) == 0)
            return {chosenPath, TExportFormat(i)};
    const TExportFormat format = FormatOfFilter(chosenFilter);
    QString path = chosenPath;
    if (!path.endsWith(QLatin1Char('.')))
        path += QLatin1Char('.');
    return {path + ExportSuffix(format), format};
}

QString ExportFileName(const QString &cardName, TExportFormat format, int maxBytes, int number)
{
    QString name;
    name.reserve(cardName.size());
    for (qsizetype i = 0; i < cardName.size(); ++i) {
        const QChar c = cardName.at(i);
        if (c.isHighSurrogate() && i + 1 < cardName.size() && cardName.at(i + 1).isLowSurrogate()) {
            name += c;
            name += cardName.at(++i);
        } else {
            name += unsafeChar(c) || c.isSurrogate() ? QChar(QLatin1Char('_')) : c;
        }
    }
    const QString tail = (number > 1 ? QStringLiteral(" (%1)").arg(number) : QString()) + QLatin1Char('.')
                         + ExportSuffix(format);
    name = withSafeEnds(cutToBytes(name, maxBytes - int(tail.toUtf8().size())));
    if (name.isEmpty() || isDeviceName(name))
        name += QLatin1Char('_');
    return name + tail;
}

std::optional<QByteArray> ExportBytes(const QTextDocument &document, TExportFormat format, const QString &title)
{
    if (format == efPdf) {
        QByteArray pdf = platform::PdfOfDocument(document, title);
        return pdf.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(pdf));
    }
    QBuffer out;
    QTextDocumentWriter writer(&out, row(format).writerFormat);
    bool written = false;
    if (format == efHtml) {
        // Qt writes the title into the page as it stands.
        const std::unique_ptr<QTextDocument> titled = platform::CopyDocument(document);
        titled->setMetaInformation(QTextDocument::DocumentTitle, title.toHtmlEscaped());
        written = writer.write(titled.get());
    } else if (format == efOdt) {
        written = writer.write(withListLevels(document).get());
    } else {
        written = writer.write(&document);
    }
    // The writer closes the buffer after HTML and text; its bytes stay.
    return written ? std::optional<QByteArray>(out.data()) : std::nullopt;
}

QString ExportErrorMessage(const QString &path, int errorCode)
{
    const QString message = QStringLiteral("Datei %1 kann nicht erstellt werden").arg(platform::ReadableFileName(path));
    return errorCode ? message + QStringLiteral(" (%1)").arg(platform::ErrorCodeText(errorCode)) : message;
}

void WriteExport(const QString &path, const QTextDocument &document, TExportFormat format, const QString &title)
{
    const std::optional<QByteArray> bytes = ExportBytes(document, format, title);
    if (!bytes)
        throw platform::Exception(ExportErrorMessage(path, 0));
    int code = 0;
    if (platform::ReplaceFileContents(path, *bytes, &code) != platform::ReplaceResult::Ok)
        throw platform::EInOutError(ExportErrorMessage(path, code), code);
}

} // namespace ui
