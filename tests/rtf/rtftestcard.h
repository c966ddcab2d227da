#pragma once
// A card with every format the editor can give, built through a cursor;
// shared by the writer's tests and the tests against real programs.

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>

namespace rtftest {

inline QByteArray pngBytes(QSize size, QColor color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline void buildRichCard(QTextDocument &document)
{
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 11));
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    cursor.insertText(QStringLiteral("Plain start, "), plain);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    QTextCharFormat italicRed;
    italicRed.setFontItalic(true);
    italicRed.setForeground(QColor(200, 10, 20));
    cursor.insertText(QStringLiteral(" italic red"), italicRed);
    QTextCharFormat courier;
    courier.setFontFamilies({QStringLiteral("Courier New")});
    courier.setFontPointSize(15.5);
    courier.setFontUnderline(true);
    cursor.insertText(QStringLiteral(" courier"), courier);
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 255, 0));
    marked.setFontStrikeOut(true);
    marked.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    cursor.insertText(QStringLiteral(" marked"), marked);
    QTextCharFormat up;
    up.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("up"), up);
    QTextCharFormat down;
    down.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    cursor.insertText(QStringLiteral("down"), down);
    cursor.insertText(QString::fromUtf8(" Grüße € ω 😀 a\\b{c}\td") + QChar::LineSeparator + "next line", plain);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, plain);
    cursor.insertText(QStringLiteral("centred"));
    QTextBlockFormat indented;
    indented.setAlignment(Qt::AlignJustify);
    indented.setLeftMargin(48); // half an inch at 96 pixels per inch
    indented.setRightMargin(18);
    indented.setTextIndent(-9.6); // a whole number of twips
    indented.setTopMargin(6);
    indented.setBottomMargin(3);
    cursor.insertBlock(indented);
    cursor.insertText(QStringLiteral("justified and indented"));

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    cursor.insertText(QStringLiteral("bullet one"));
    QTextListFormat discs;
    discs.setStyle(QTextListFormat::ListDisc);
    discs.setIndent(0); // top level, as the editor makes bullets
    cursor.createList(discs);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("bullet two"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("between"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("number one"));
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListDecimal);
    numbers.setIndent(0);
    cursor.createList(numbers);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("number two"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("picture "));
    document.addResource(QTextDocument::ImageResource, QUrl("mem:red"), pngBytes(QSize(4, 3), Qt::red));
    QTextImageFormat image;
    image.setName(QStringLiteral("mem:red"));
    image.setWidth(40);
    image.setHeight(30);
    cursor.insertImage(image);
    cursor.insertText(QStringLiteral(" after"), plain);
}

} // namespace rtftest
