// Export: the names files get, what each format keeps, whole files only,
// and the commands for one card and for all cards.

#include "exportcards.h"
#include "exportformats.h"
#include "modaldriver.h"
#include "mainwindowfixture.h"
#include "messageof.h"

#include <QDir>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>

#include <clocale>
#include <sys/stat.h>

using namespace ui;
using testing_support::MessageOf;
using testing_support::TempFolder;

namespace {

// Bold, a colour, a centred line and a bulleted list indented half an inch.
const char kCard[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 "
                     "Einkauf {\\b fett} und {\\cf1 rot}\\par\\qc Mitte\\par\\pard"
                     "{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\bullet}}\\fi-360\\li720 Milch\\par"
                     "{\\pntext\\bullet\\tab}Brot\\par}";

std::unique_ptr<QTextDocument> readCard(const TempFolder &dir, const QByteArray &rtf)
{
    dir.write("card.rtf", rtf);
    return controls::TRichEdit::ReadDocument(dir.file("card.rtf"), QFont("Arial", 10));
}

// What a poppler tool says about a PDF; "%1" in args stands for its file.
QString pdfTool(const QString &tool, const QStringList &args, const QByteArray &pdf)
{
    TempFolder dir;
    dir.write("x.pdf", pdf);
    QStringList withFile;
    for (const QString &arg : args)
        withFile << QString(arg).replace("%1", dir.file("x.pdf"));
    QProcess process;
    process.start(tool, withFile);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

double wordLeft(const QString &boxes, const QString &word)
{
    const QRegularExpression re(QStringLiteral(R"re(<word xMin="([\d.]+)"[^>]*>%1</word>)re").arg(word));
    return re.match(boxes).captured(1).toDouble();
}

struct PaperLocale {
    explicit PaperLocale(const char *name) : old(std::setlocale(LC_PAPER, nullptr)) { std::setlocale(LC_PAPER, name); }
    ~PaperLocale() { std::setlocale(LC_PAPER, old.constData()); }
    QByteArray old;
};

} // namespace

TEST(ExportFileName, ReplacesWhatAFileNameCannotHoldAndFitsTheFolder)
{
    const struct {
        QString card;
        TExportFormat format;
        int maxBytes, number;
        QString file;
    } cases[] = {
        {"Einkauf", efPdf, 255, 1, "Einkauf.pdf"},
        {"a:b*c?<d>|\"e\\f/g", efMarkdown, 255, 1, "a_b_c__d___e_f_g.md"},
        {"Tab\there\x7f", efText, 255, 1, "Tab_here_.txt"},
        {"Ende. ", efHtml, 255, 1, "Ende__.html"},  // Windows drops trailing dots and blanks
        {".versteckt", efText, 255, 1, "_versteckt.txt"},
        {"CON", efPdf, 255, 1, "CON_.pdf"},
        {"com3", efOdt, 255, 1, "com3_.odt"},
        {"COM10", efOdt, 255, 1, "COM10.odt"},
        {"", efPdf, 255, 1, "_.pdf"},
        {"Notiz", efOdt, 255, 2, "Notiz (2).odt"},
        {QString(200, QChar(0xE4)), efPdf, 255, 1, QString(125, QChar(0xE4)) + ".pdf"}, // two bytes each
        {QString("\U0001F600").repeated(100), efPdf, 255, 1, QString("\U0001F600").repeated(62) + ".pdf"},
        {QString(300, 'x'), efHtml, 20, 3, QString(11, 'x') + " (3).html"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExportFileName(c.card, c.format, c.maxBytes, c.number), c.file) << c.card.toStdString();
}

TEST(ExportTarget, SuffixNamesTheFormatElseTheFilterAddsItsOwn)
{
    const QString pdf = "PDF-Dokument (*.pdf)", text = "Nur Text (*.txt)";
    const struct {
        QString path, filter, target;
        TExportFormat format;
    } cases[] = {
        {"/x/Brief.PDF", text, "/x/Brief.PDF", efPdf},
        {"/x/Brief.md", pdf, "/x/Brief.md", efMarkdown},
        {"/x/Brief.odt", pdf, "/x/Brief.odt", efOdt},
        {"/x/Brief", text, "/x/Brief.txt", efText},
        {"/x/Brief.", "Webseite (*.html)", "/x/Brief.html", efHtml},
        {"/x/Notiz.rtf", pdf, "/x/Notiz.rtf.pdf", efPdf}, // never a card's file
    };
    for (const auto &c : cases) {
        const TExportTarget target = ExportTarget(c.path, c.filter);
        EXPECT_EQ(target.path, c.target) << c.path.toStdString();
        EXPECT_EQ(target.format, c.format) << c.path.toStdString();
    }
    EXPECT_EQ(ExportFilters(), QStringList({"PDF-Dokument (*.pdf)", "OpenDocument-Text (*.odt)", "Webseite (*.html)",
                                            "Markdown (*.md)", "Nur Text (*.txt)"}));
}

TEST(ExportBytes, EachFormatKeepsWhatItCanHold)
{
    TempFolder dir;
    const std::unique_ptr<QTextDocument> card = readCard(dir, kCard);

    const QString markdown = QString::fromUtf8(*ExportBytes(*card, efMarkdown, "Einkauf"));
    EXPECT_TRUE(markdown.contains("**fett**")) << markdown.toStdString();
    EXPECT_TRUE(markdown.contains("- Milch\n- Brot")) << markdown.toStdString();
    EXPECT_TRUE(markdown.contains("rot\n\nMitte")) << markdown.toStdString();

    const QString html = QString::fromUtf8(*ExportBytes(*card, efHtml, "<b>Ein & Aus</b>"));
    EXPECT_TRUE(html.contains("<title>&lt;b&gt;Ein &amp; Aus&lt;/b&gt;</title>")) << "the card's name is text, not markup";
    EXPECT_TRUE(html.contains("font-weight:700")) << html.toStdString();
    EXPECT_TRUE(html.contains("color:#c80000")) << html.toStdString();
    EXPECT_TRUE(html.contains("align=\"center\"")) << html.toStdString();
    EXPECT_TRUE(html.contains("Arial")) << html.toStdString();

    EXPECT_EQ(QString::fromUtf8(*ExportBytes(*card, efText, "Einkauf")), card->toPlainText());
    // An empty card is an empty file, not a failure.
    QTextDocument empty;
    EXPECT_EQ(ExportBytes(empty, efText, "Leer"), QByteArray());
}

TEST(ExportBytes, PdfIsTheCardAsItPrintsOnTheLocalesPaper)
{
    TempFolder dir;
    const std::unique_ptr<QTextDocument> card = readCard(dir, kCard);
    QByteArray a4, letter;
    {
        PaperLocale german("de_DE.UTF-8");
        a4 = *ExportBytes(*card, efPdf, "Einkauf");
    }
    {
        PaperLocale american("en_US.UTF-8");
        letter = *ExportBytes(*card, efPdf, "Einkauf");
    }
    const QString info = pdfTool("pdfinfo", {"%1"}, a4);
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Einkauf\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
    EXPECT_TRUE(pdfTool("pdfinfo", {"%1"}, letter).contains("(letter)"));

    // 2 cm margins; the list keeps its half inch of indent (points here).
    const QString boxes = pdfTool("pdftotext", {"-bbox", "%1", "-"}, a4);
    EXPECT_NEAR(wordLeft(boxes, "Einkauf"), 20 / 25.4 * 72, 0.5) << boxes.toStdString();
    EXPECT_NEAR(wordLeft(boxes, "Milch") - wordLeft(boxes, "Einkauf"), 36, 0.5) << boxes.toStdString();
}

TEST(WriteExport, FailureSaysWhyAndLeavesNothingHalfWritten)
{
    TempFolder dir;
    QTextDocument document;
    document.setPlainText("neu");
    const QString missing = dir.file("fehlt/Brief.txt");
    EXPECT_EQ(MessageOf([&] { WriteExport(missing, document, efText, "Brief"); }),
              "Datei " + missing + " kann nicht erstellt werden (Fehler 2: Datei oder Ordner nicht gefunden)");

    dir.mkdir("out");
    dir.write("out/alt.txt", "alt");
    ::chmod(QFile::encodeName(dir.file("out/alt.txt")).constData(), 0444);
    EXPECT_EQ(MessageOf([&] { WriteExport(dir.file("out/alt.txt"), document, efText, "alt"); }),
              "Datei " + dir.file("out/alt.txt") + " kann nicht erstellt werden (Fehler 5: Zugriff verweigert)");
    EXPECT_EQ(dir.read("out/alt.txt"), "alt");
    WriteExport(dir.file("out/neu.txt"), document, efText, "neu");
    EXPECT_EQ(QDir(dir.file("out")).entryList(QDir::Files | QDir::Hidden), QStringList({"alt.txt", "neu.txt"}));
}

namespace {

struct ExportCommands : MainWindowFixture {
    TempFolder out;
    QList<TExportDialog> shown;
    QString chosen, filter;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window->SetExportDialogStep([this](TExportDialog &dialog, QWidget *) {
            shown << dialog;
            dialog.path = chosen;
            dialog.filter = filter;
            return true;
        });
    }
    QStringList outFiles() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QByteArray cardFolder() const
    {
        QByteArray all;
        for (const QString &name : QDir(program.file("KRT")).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            all += name.toUtf8() + ':' + program.read("KRT/" + name) + '\n';
        return all;
    }
};

} // namespace

TEST_F(ExportCommands, OneCardIsWhatTheEditorShowsAndTheNextDialogOpensWhereItWent)
{
    withCards({{"Einkauf", "Milch"}});
    startAndRestore();
    type(" und Brot");
    const QByteArray before = cardFolder();
    chosen = out.file("Liste");
    filter = "Markdown (*.md)";
    click("mnuExportieren");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown[0].folder);
    EXPECT_EQ(shown[0].title, "Karte exportieren");
    EXPECT_EQ(shown[0].path, QDir::homePath() + "/Einkauf");
    EXPECT_EQ(shown[0].filter, "PDF-Dokument (*.pdf)");
    EXPECT_EQ(out.read("Liste.md").trimmed(), "Milch und Brot");
    EXPECT_EQ(cardFolder(), before);
    EXPECT_TRUE(window->Cards().CardModified());

    // A name the dialog did not ask about exists: the one question, "Nein" keeps it.
    out.write("Liste.rtf.md", "alt");
    chosen = out.file("Liste.rtf");
    ModalDriver driver;
    driver.Press("&Nein");
    click("mnuExportieren");
    ASSERT_EQ(driver.Seen().size(), 1);
    EXPECT_EQ(driver.Seen()[0].text, "1 Datei besteht bereits. Ersetzen?");
    EXPECT_EQ(out.read("Liste.rtf.md"), "alt");
    EXPECT_EQ(shown[1].path, out.path() + "Einkauf");
    EXPECT_EQ(shown[1].filter, "Markdown (*.md)");
}

TEST_F(ExportCommands, AllCardsGiveOneFileEachAndExistingOnesAreAskedForOnce)
{
    withCards({{"A", "{\\rtf1\\ansi alpha}"}, {"a:b", "{\\rtf1\\ansi doppelpunkt}"}, {"a_b", "{\\rtf1\\ansi strich}"}});
    startAndRestore();
    type(" neu");
    const QString current = tabs().Tab(tabs().TabIndex());
    const QByteArray before = cardFolder();
    out.write("A.txt", "alt");
    chosen = out.path();
    filter = "Nur Text (*.txt)";
    {
        ModalDriver driver;
        driver.Press("&Nein");
        click("mnuAlleExportieren");
        ASSERT_EQ(driver.Seen().size(), 1);
        EXPECT_EQ(driver.Seen()[0].text, "1 Datei besteht bereits. Ersetzen?");
        EXPECT_EQ(driver.Seen()[0].buttons, QStringList({"&Ja", "&Nein"}));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].folder);
    EXPECT_EQ(shown[0].title, "Alle Karten exportieren");
    EXPECT_EQ(outFiles(), QStringList({"A.txt", "a_b (2).txt", "a_b.txt"}));
    EXPECT_EQ(out.read("A.txt"), "alt");
    EXPECT_EQ(out.read("a_b.txt") + out.read("a_b (2).txt"), "doppelpunktstrich");

    {
        ModalDriver driver;
        driver.Press("&Ja");
        click("mnuAlleExportieren");
        ASSERT_EQ(driver.Seen().size(), 1);
        EXPECT_EQ(driver.Seen()[0].text, "3 Dateien bestehen bereits. Ersetzen?");
    }
    const QString currentFile = current == "A" ? "A.txt" : current == "a:b" ? "a_b.txt" : "a_b (2).txt";
    EXPECT_TRUE(out.read(currentFile).endsWith(" neu")) << "the current card as the editor shows it";
    EXPECT_TRUE(out.read("A.txt").startsWith("alpha"));
    EXPECT_EQ(cardFolder(), before);
    EXPECT_TRUE(window->Cards().CardModified());
}

TEST_F(ExportCommands, AllCardsGoOnAfterAFailedCardAndNameItAtTheEnd)
{
    withCards({{"A", "eins"}, {"B", "zwei"}, {"C", "drei"}});
    startAndRestore();
    out.mkdir("B.html"); // a folder where B's file would go
    chosen = out.path();
    filter = "Webseite (*.html)";
    ModalDriver driver;
    driver.Press("&Ja");
    click("mnuAlleExportieren");
    EXPECT_EQ(outFiles(), QStringList({"A.html", "C.html"}));
    EXPECT_EQ(errors, QStringList{"1 von 3 Karten wurde nicht exportiert:\nDatei " + out.file("B.html")
                                  + " kann nicht erstellt werden (Fehler 5: Zugriff verweigert)"});
}

TEST_F(ExportCommands, CancellingTheProgressStopsAfterTheFilesWrittenWhole)
{
    program.mkdir("KRT");
    for (int i = 0; i < 3 * kFewCards; ++i)
        program.write(QString("KRT/Karte %1.rtf").arg(i), "{\\rtf1\\ansi Text}");
    startAndRestore();
    chosen = out.path();
    filter = "Nur Text (*.txt)";
    bool cancelled = false;
    QTimer::singleShot(0, window.get(), [&] {
        if (auto *progress = window->findChild<QProgressDialog *>()) {
            EXPECT_TRUE(progress->isVisible());
            progress->cancel();
            cancelled = true;
        }
    });
    click("mnuAlleExportieren");
    ASSERT_TRUE(cancelled) << "no progress dialog for " << 3 * kFewCards << " cards";
    EXPECT_LT(outFiles().size(), 3 * kFewCards);
    for (const QString &file : outFiles())
        EXPECT_EQ(out.read(file), "Text") << file.toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}
