// RTF as real programs wrote it (LibreOffice, pandoc, AbiWord, WordPad- and
// Word-shaped files), each beside the plain text LibreOffice made of it.

#include "rtftesthelpers.h"

#include <QDir>
#include <QFile>
#include <QTextList>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QByteArray dataFile(const QString &name)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/real/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(RtfRealFiles, TextIsWhatLibreOfficeShows)
{
    const QDir dir(QStringLiteral(RTF_TEST_DATA "/real"));
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    ASSERT_GE(files.size(), 4);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray rtf = dataFile(name);
        const QString expected = QString::fromUtf8(dataFile(QString(name).replace(".rtf", ".txt")));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(words(textWithoutNotes(*readRtf(rtf))), words(expected));
    }
}

TEST(RtfRealFiles, WordShapedFileKeepsItsFormats)
{
    const auto document = readRtf(dataFile(QStringLiteral("word-2003-style.rtf")));
    const QTextDocument &d = *document;
    EXPECT_EQ(blockTexts(d).first(), QString::fromUtf8("Karte aus Word: Grüße und „Anführung“ – € und 日本."))
        << "header text stays out";
    EXPECT_EQ(formatAt(d, "Karte").fontWeight(), QFont::Bold);
    EXPECT_EQ(family(formatAt(d, "Karte")), QStringLiteral("Arial"));
    EXPECT_EQ(family(formatAt(d, QString::fromUtf8("日本"))), QStringLiteral("MS Mincho"))
        << "the \\ud font table wins";
    EXPECT_EQ(formatAt(d, "Mittig").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(blockWith(d, "Mittig").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ASSERT_NE(blockWith(d, "Erster").textList(), nullptr);
    EXPECT_EQ(blockWith(d, "Erster").textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(blockWith(d, "Zweiter").textList(), blockWith(d, "Erster").textList());
    EXPECT_DOUBLE_EQ(blockWith(d, "Erster").blockFormat().leftMargin(), 48.0);
    // The hanging first line holds the bullet; the text starts at the margin.
    EXPECT_DOUBLE_EQ(blockWith(d, "Erster").blockFormat().textIndent(), 0.0);
    EXPECT_EQ(formatAt(d, "Verweis").underlineStyle(), QTextCharFormat::SingleUnderline);
    ASSERT_NE(blockWith(d, "Nummer").textList(), nullptr);
    EXPECT_EQ(blockWith(d, "Nummer").textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_TRUE(d.toPlainText().contains(QString::fromUtf8("Milch\t1,09 €\n")));
    EXPECT_TRUE(d.toPlainText().endsWith(QString::fromUtf8("Ende mit Bild: ") + QChar::ObjectReplacementCharacter))
        << "the PNG is taken, its metafile twin not";
}

TEST(RtfRealFiles, PandocFileKeepsItsFormats)
{
    const auto document = readRtf(dataFile(QStringLiteral("pandoc-2.17.rtf")));
    EXPECT_EQ(formatAt(*document, "fetter").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(*document, "kursiver").fontItalic());
    EXPECT_TRUE(document->toPlainText().contains(QString::fromUtf8("日本語, dazu 😀.")));
}
