#pragma once
// Small helpers shared by the RTF tests: read bytes into a document and
// look at its blocks and runs.

#include "rtfplaintext.h"
#include "rtfproperties.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <cctype>
#include <memory>
#include <string>

#include <ostream>

// Readable strings in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

namespace rtftest {

// Names for data-driven rows from their description.
inline std::string rowName(const char *description)
{
    std::string name;
    for (const char *c = description; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}


// Every RTF a test reads is held to one more rule on the way: its plain
// text, read without a document, is the document's text.
inline std::unique_ptr<QTextDocument> readRtf(const QByteArray &bytes)
{
    auto document = std::make_unique<QTextDocument>();
    rtf::RtfReader reader(document.get());
    reader.read(bytes);
    EXPECT_EQ(rtf::PlainText(bytes), document->toPlainText()) << "plain text of " << bytes.left(300).toStdString();
    return document;
}

// Text of every block, one entry a block.
inline QStringList blockTexts(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

// The text without the notes that a card shows at its end: LibreOffice's
// text export leaves notes out.
inline QString textWithoutNotes(const QTextDocument &document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!block.blockFormat().hasProperty(rtf::NoteTextProperty))
            texts << block.text().replace(QChar::LineSeparator, u'\n');
    }
    return texts.join(u'\n');
}

// The character format at the first occurrence of needle.
inline QTextCharFormat formatAt(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return {};
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

// The words of a text, without list labels (LibreOffice writes "•" and
// "1." in front of list items) and without the object mark of pictures.
inline QStringList words(QString text)
{
    text.remove(QChar(0xFEFF));
    text.remove(QChar::ObjectReplacementCharacter);
    static const QRegularExpression label(QStringLiteral("^(•|◦|▪|\\d+[.)])$"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList result;
    for (const QString &word : text.split(space, Qt::SkipEmptyParts)) {
        if (!label.match(word).hasMatch())
            result << word;
    }
    return result;
}

inline QTextBlock blockWith(const QTextDocument &document, const QString &needle)
{
    return document.find(needle).block();
}

inline QString family(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

} // namespace rtftest
