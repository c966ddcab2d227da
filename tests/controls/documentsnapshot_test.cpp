#include "documentsnapshot.h"
#include "richedit.h"
#include "rtfproperties.h"
#include "rtftestcard.h"
#include "rtfwriter.h"
#include "tempfolder.h"

#include <QDirIterator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

using controls::TDocumentSnapshot;

namespace {

QByteArray rewritten(const QTextDocument &document) { return TDocumentSnapshot(document).Rtf(); }

std::vector<int> listSizes(const QTextDocument &document)
{
    std::vector<int> sizes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (const QTextList *list = block.textList(); list && list->item(0) == block)
            sizes.push_back(list->count());
    return sizes;
}

// A big card with every kind of thing a card holds, many times over: runs in
// colours, hidden text, notes, bullets and numbers, pictures.
QByteArray bigCard(int times)
{
    QByteArray picture = rtftest::pngBytes(QSize(4, 3), Qt::red).toHex();
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}{\\f2 Symbol;}}"
                     "{\\colortbl;\\red200\\green10\\blue20;\\red0\\green0\\blue255;}\r\n";
    for (int i = 0; i < times; ++i) {
        const QByteArray n = QByteArray::number(i);
        rtf += "\\pard\\plain Absatz " + n + " {\\cf1 rot}{\\highlight2\\f1 mark}{\\v versteckt " + n
             + "} Note{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Fu\\'dfnote " + n + "}\\par\r\n"
             + "{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\li720\\fi-360 Punkt " + n
             + "\\par\r\n{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}Nummer "
             + n + "\\par\r\n\\pard{\\pict\\pngblip\\picw4\\pich3\\picwgoal60\\pichgoal45 " + picture + "}\\b fett\\par\r\n";
    }
    return rtf + "}";
}

std::unique_ptr<QTextDocument> read(const QString &path)
{
    return controls::TRichEdit::ReadDocument(path, QFont(QStringLiteral("Arial"), 10));
}

} // namespace

// The copy must write as the original does, byte for byte: a recovery made
// from it is the card as typed.
TEST(DocumentSnapshot, WritesAsTheOriginalForEveryTestCard)
{
    QDirIterator files(QStringLiteral(RTF_TEST_DATA), QDir::Files, QDirIterator::Subdirectories);
    int compared = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        const std::unique_ptr<QTextDocument> original = read(path);
        EXPECT_EQ(rewritten(*original), rtf::RtfWriter(original.get()).write()) << path.toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

TEST(DocumentSnapshot, KeepsListsNotesHiddenTextPicturesAndTables)
{
    testing_support::TempFolder dir;
    dir.write(QStringLiteral("big.rtf"), bigCard(300));
    const std::unique_ptr<QTextDocument> big = read(dir.file(QStringLiteral("big.rtf")));
    QTextDocument rich;
    rtftest::buildRichCard(rich);
    QTextDocument table;
    table.setHtml(QStringLiteral("<p>vor</p><table border=1><tr><td>a</td><td><b>b</b> c</td></tr>"
                                 "<tr><td colspan=2><ul><li>x</li><li>y</li></ul></td></tr></table><p>nach</p>"));

    for (const QTextDocument *original : std::initializer_list<const QTextDocument *>{big.get(), &rich, &table}) {
        const std::unique_ptr<QTextDocument> copy = TDocumentSnapshot(*original).Rebuild();
        const QByteArray bytes = rtf::RtfWriter(original).write();
        EXPECT_EQ(rtf::RtfWriter(copy.get()).write(), bytes);
        EXPECT_EQ(listSizes(*copy), listSizes(*original)) << "list membership lost";
        EXPECT_EQ(copy->toPlainText(), original->toPlainText());
    }
    // The big card really holds what it is meant to test.
    const QByteArray bytes = rtf::RtfWriter(big.get()).write();
    for (const char *word : {"\\footnote", "\\v ", "\\pngblip", "\\pnlvlblt", "\\pndec", "\\cf1", "\\highlight"})
        EXPECT_TRUE(bytes.contains(word)) << word;
    EXPECT_EQ(listSizes(*big).size(), 600u);
}

TEST(DocumentSnapshot, LaterEditsOfTheOriginalStayOutOfTheCopy)
{
    QTextDocument original;
    rtftest::buildRichCard(original);
    const QByteArray before = rtf::RtfWriter(&original).write();
    const TDocumentSnapshot snapshot(original);
    QTextCursor cursor(&original);
    cursor.insertText(QStringLiteral("später "));
    original.addResource(QTextDocument::ImageResource, QUrl("mem:red"), rtftest::pngBytes(QSize(2, 2), Qt::blue));
    EXPECT_EQ(snapshot.Rtf(), before);
}

// Between two slices the user types on: wherever the edit lands, before or
// behind what is copied, the copy handed over writes as the edited document.
TEST(DocumentCopier, TakesInEveryEditMadeBetweenItsSlices)
{
    testing_support::TempFolder dir;
    dir.write(QStringLiteral("big.rtf"), bigCard(60));
    const auto atBlock = [](QTextDocument &document, int number) { return QTextCursor(document.findBlockByNumber(number)); };
    const std::vector<std::pair<const char *, std::function<void(QTextDocument &)>>> edits = {
        {"typed into a copied paragraph", [&](QTextDocument &d) { atBlock(d, 3).insertText(QStringLiteral("neu ")); }},
        {"typed behind the copied part", [&](QTextDocument &d) { atBlock(d, d.blockCount() - 2).insertText(QStringLiteral("neu")); }},
        {"a copied paragraph centred", [&](QTextDocument &d) {
             QTextBlockFormat centred;
             centred.setAlignment(Qt::AlignHCenter);
             atBlock(d, 5).mergeBlockFormat(centred);
         }},
        {"paragraphs removed across the copy's end", [&](QTextDocument &d) {
             QTextCursor cursor = atBlock(d, 20);
             cursor.setPosition(d.findBlockByNumber(120).position(), QTextCursor::KeepAnchor);
             cursor.removeSelectedText();
         }},
        {"a copied paragraph made a list item", [&](QTextDocument &d) { atBlock(d, 0).createList(QTextListFormat::ListDecimal); }},
        {"a new colour typed into a copied paragraph", [&](QTextDocument &d) {
             QTextCharFormat green;
             green.setForeground(Qt::green);
             atBlock(d, 1).insertText(QStringLiteral("grün"), green);
         }},
    };
    for (const auto &[what, edit] : edits) {
        const std::unique_ptr<QTextDocument> document = read(dir.file(QStringLiteral("big.rtf")));
        std::shared_ptr<const TDocumentSnapshot> copy;
        controls::TDocumentCopier copier(document.get(), [&](auto taken) { copy = std::move(taken); }, 0);
        ASSERT_FALSE(copier.Step()) << "the first slice took the whole card";
        edit(*document);
        while (!copier.Step()) {
        }
        ASSERT_TRUE(copy) << what;
        EXPECT_EQ(copy->Rtf(), rtf::RtfWriter(document.get()).write()) << what;
    }
}

// A slice may stop inside a long paragraph. Typing anywhere in it, also
// right behind the last run taken (where it joins that run), is taken in.
TEST(DocumentCopier, TakesInTypingAnywhereInAParagraphCopiedInPart)
{
    QTextCharFormat plain, bold;
    bold.setFontWeight(QFont::Bold);
    const auto paragraph = [&] {
        auto document = std::make_unique<QTextDocument>();
        QTextCursor cursor(document.get());
        for (int i = 0; i < 200; ++i)
            cursor.insertText(QStringLiteral("ab "), i % 2 ? bold : plain);
        return document;
    };
    // At the ends of runs: typed there, text joins the run before.
    const int length = paragraph()->characterCount();
    for (int position = 0; position < length; position += 3) {
        const std::unique_ptr<QTextDocument> document = paragraph();
        std::shared_ptr<const TDocumentSnapshot> copy;
        controls::TDocumentCopier copier(document.get(), [&](auto taken) { copy = std::move(taken); }, 0);
        ASSERT_FALSE(copier.Step()) << "the first slice took the whole paragraph";
        QTextCursor at(document.get());
        at.setPosition(position);
        at.insertText(QStringLiteral("neu"));
        while (!copier.Step()) {
        }
        ASSERT_TRUE(copy);
        ASSERT_EQ(copy->Rtf(), rtf::RtfWriter(document.get()).write()) << "typed at " << position;
    }
}

TEST(DocumentCopier, HandsOverNoCopyOnceTheDocumentWent)
{
    auto document = std::make_unique<QTextDocument>();
    document->setPlainText(QString(QStringLiteral("Zeile\n")).repeated(200));
    bool handed = false;
    std::shared_ptr<const TDocumentSnapshot> copy = std::make_shared<const TDocumentSnapshot>(*document);
    controls::TDocumentCopier copier(document.get(), [&](auto taken) {
        handed = true;
        copy = std::move(taken);
    }, 0);
    ASSERT_FALSE(copier.Step());
    document.reset();
    EXPECT_TRUE(copier.Step());
    EXPECT_TRUE(handed);
    EXPECT_FALSE(copy) << "a copy of a document that went was handed over";
}
