// The reader and writer judged by real programs: LibreOffice (soffice
// --headless --convert-to) and pandoc. One soffice start converts all
// files of a kind; the conversions run once for all tests.
// A missing program fails these tests: the "peers" label is run where the
// programs are installed.

#include "rtftestcard.h"
#include "rtftesthelpers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

using namespace rtftest;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class Peers : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString path(const QString &name) { return s_dir->filePath(name); }
    static QString text(const QString &name) { return QString::fromUtf8(readFile(path(name))); }

    void SetUp() override
    {
        if (!s_setupError.isEmpty())
            GTEST_FAIL() << s_setupError.toStdString();
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_setupError;
    static QString s_oursText; // the text of the card our writer wrote

private:
    static bool run(const QString &program, const QStringList &arguments);
    static bool soffice(const QString &convertTo, const QString &outDir, const QStringList &files);
};

std::unique_ptr<QTemporaryDir> Peers::s_dir;
QString Peers::s_setupError;
QString Peers::s_oursText;

bool Peers::run(const QString &program, const QStringList &arguments)
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        s_setupError += program + " is not installed (Debian: libreoffice-writer-nogui, pandoc). ";
        return false;
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), s_dir->filePath(QStringLiteral("home")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(s_dir->path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(found, arguments);
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        s_setupError += program + " " + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(process.readAll())
            + ". ";
        return false;
    }
    return true;
}

bool Peers::soffice(const QString &convertTo, const QString &outDir, const QStringList &files)
{
    // A private profile: no test touches the user's own LibreOffice settings.
    const QString profile = QUrl::fromLocalFile(s_dir->filePath(QStringLiteral("profile"))).toString();
    QStringList arguments{"-env:UserInstallation=" + profile, "--headless", "--norestore", "--convert-to",
                          convertTo, "--outdir", s_dir->filePath(outDir)};
    for (const QString &file : files)
        arguments << s_dir->filePath(file);
    return run(QStringLiteral("soffice"), arguments);
}

void Peers::SetUpTestSuite()
{
    s_dir = std::make_unique<QTemporaryDir>();
    // To look at what the programs made: KARTOLINO_KEEP_PEER_FILES=1.
    if (qEnvironmentVariableIsSet("KARTOLINO_KEEP_PEER_FILES")) {
        s_dir->setAutoRemove(false);
        std::cout << "peer files in " << s_dir->path().toStdString() << std::endl;
    }
    s_setupError.clear();
    QDir(s_dir->path()).mkpath(QStringLiteral("home"));
    // Our writer's card.
    QTextDocument card;
    buildRichCard(card);
    s_oursText = card.toPlainText();
    writeFile(path("ours.rtf"), rtf::RtfWriter(&card).write());
    // Documents in the peers' own formats.
    QFile::copy(QStringLiteral(RTF_TEST_DATA "/peers/card.fodt"), path("lo.fodt"));
    QFile::copy(QStringLiteral(RTF_TEST_DATA "/peers/card.md"), path("pandoc.md"));

    run(QStringLiteral("pandoc"), {"-s", "pandoc.md", "-t", "rtf", "-o", "pandoc.rtf"})
        && soffice(QStringLiteral("rtf"), QStringLiteral("lo"), {"lo.fodt"})
        && soffice(QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"),
                   {"lo.fodt", "pandoc.rtf", "ours.rtf"})
        && soffice(QStringLiteral("html"), QStringLiteral("html"), {"ours.rtf"})
        && soffice(QStringLiteral("fodt"), QStringLiteral("fodt"), {"ours.rtf"});
}

TEST_F(Peers, LibreOfficeReadsOurTextUnchanged)
{
    const QString theirs = text("txt/ours.txt");
    ASSERT_FALSE(theirs.isEmpty());
    EXPECT_EQ(words(theirs), words(s_oursText));
    // Line structure too: every paragraph and soft line break is a line.
    QString expected = s_oursText;
    expected.replace(QChar::LineSeparator, u'\n');
    expected.remove(QChar::ObjectReplacementCharacter);
    QString actual = theirs;
    actual.remove(QChar(0xFEFF));
    actual.replace(QRegularExpression(QStringLiteral("(?m)^\\s*(•|\\d+\\.)\\s")), QString());
    EXPECT_EQ(actual.trimmed().split(u'\n'), expected.trimmed().split(u'\n'));
}

// Text inside an element, with any other tags in between.
bool inside(const QString &html, const QString &tag, const QString &text)
{
    return html.contains(QRegularExpression("<" + tag + ">(?:<[^>]*>|\\s)*" + QRegularExpression::escape(text)));
}

TEST_F(Peers, LibreOfficeSeesOurFormats)
{
    // LibreOffice wraps its lines anywhere; only the structure counts.
    const QString html = text("html/ours.html").simplified();
    ASSERT_FALSE(html.isEmpty());
    EXPECT_TRUE(inside(html, "b", "bold"));
    EXPECT_TRUE(inside(html, "i", "italic red"));
    EXPECT_TRUE(html.contains(QRegularExpression("(?i)<font color=\"#c80a14\">(?:<[^>]*>|\\s)*italic red")));
    EXPECT_TRUE(html.contains(QRegularExpression("<font face=\"Courier New[^>]*>(?:<[^>]*>|\\s)*courier")));
    EXPECT_TRUE(html.contains(QRegularExpression("font-size: (15|15\\.5|16)pt\">(?:<[^>]*>|\\s)*courier")));
    EXPECT_TRUE(inside(html, "u", "courier"));
    EXPECT_TRUE(inside(html, "strike", "marked"));
    EXPECT_TRUE(inside(html, "sup", "up"));
    EXPECT_TRUE(inside(html, "sub", "down"));
    EXPECT_TRUE(html.contains(QRegularExpression("<p align=\"center\"[^>]*>(?:<[^>]*>|\\s)*centred")));
    EXPECT_TRUE(html.contains(QRegularExpression("<p align=\"justify\"[^>]*margin-left: 0\\.5in[^>]*>")));
    EXPECT_TRUE(html.contains(QRegularExpression("<ul> <li>.*bullet one.*<li>.*bullet two.*</ul>")));
    EXPECT_TRUE(html.contains(QRegularExpression("<ol> <li>.*number one.*<li>.*number two.*</ol>")));
    EXPECT_FALSE(html.contains(QRegularExpression("<(ul|ol)>(?:(?!</(ul|ol)>).)*between"))) << "between stays outside";
    EXPECT_TRUE(html.contains(QRegularExpression("<img [^>]*width=\"40\" height=\"30\""))) << "the picture arrives";
}

// What LibreOffice's HTML export leaves out, its own format shows.
TEST_F(Peers, LibreOfficeKeepsOurBackgroundAndExactSizes)
{
    const QString fodt = text("fodt/ours.fodt");
    ASSERT_FALSE(fodt.isEmpty());
    EXPECT_TRUE(fodt.contains(QStringLiteral("fo:background-color=\"#ffff00\""))) << "background of \"marked\"";
    EXPECT_TRUE(fodt.contains(QStringLiteral("fo:font-size=\"15.5pt\"")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("style:text-underline-style=\"wave\"")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("fo:margin-left=\"0.5in\"")));
}

TEST_F(Peers, WeReadLibreOfficeRtfAsLibreOfficeReadsItsDocument)
{
    const QByteArray rtf = readFile(path("lo/lo.rtf"));
    ASSERT_FALSE(rtf.isEmpty());
    const auto document = readRtf(rtf);
    EXPECT_EQ(words(textWithoutNotes(*document)), words(text("txt/lo.txt")));
    const QTextDocument &d = *document;
    EXPECT_EQ(formatAt(d, "fett").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(d, "kursiv").fontItalic());
    EXPECT_EQ(formatAt(d, "rot").foreground().color(), QColor(255, 0, 0));
    EXPECT_DOUBLE_EQ(formatAt(d, "gross").fontPointSize(), 18.0);
    EXPECT_EQ(formatAt(d, "unterstrichen").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(blockWith(d, "Mitte").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(blockWith(d, "Rechts").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    ASSERT_NE(blockWith(d, "Punkt eins").textList(), nullptr);
    EXPECT_EQ(blockWith(d, "Punkt eins").textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(blockWith(d, "Punkt zwei").textList(), blockWith(d, "Punkt eins").textList());
    ASSERT_NE(blockWith(d, "Nummer zwei").textList(), nullptr);
    EXPECT_EQ(blockWith(d, "Nummer zwei").textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(blockWith(d, "Nummer zwei").textList()->itemText(blockWith(d, "Nummer zwei")), QStringLiteral("2."));
    EXPECT_TRUE(d.toPlainText().contains(QStringLiteral("Zelle A1\tZelle B1")));
    EXPECT_TRUE(d.lastBlock().text().endsWith(QStringLiteral("Fußnotentext"))) << "the note at the end of the card";
    EXPECT_TRUE(d.lastBlock().blockFormat().hasProperty(rtf::NoteTextProperty));
}

TEST_F(Peers, WeReadPandocRtfAsLibreOfficeDoes)
{
    const QByteArray rtf = readFile(path("pandoc.rtf"));
    ASSERT_FALSE(rtf.isEmpty());
    const auto document = readRtf(rtf);
    EXPECT_EQ(words(textWithoutNotes(*document)), words(text("txt/pandoc.txt")));
    EXPECT_EQ(formatAt(*document, "fetter").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(*document, "kursiver").fontItalic());
}

} // namespace
