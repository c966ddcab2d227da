#pragma once
// One run of the writer over one document: first the tables of what is
// used, then the paragraphs with their formats where they change.

#include "rtfoutput.h"
#include "rtfpicture.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTextBlock>
#include <QString>
#include <QTextListFormat>
#include <optional>
#include <vector>

class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextImageFormat;
class QTextList;

namespace rtf {

class WriterSession {
public:
    // How a paragraph's list is written. Not a QTextListFormat::Style: there
    // ListStyleUndefined is 0 and still a list, drawn with a bullet.
    enum class ListLook { NotInList, Bullet, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman };
    // resources: where pictures are looked up when content lacks them.
    // A fragment's last paragraph has no paragraph mark of its own; a
    // document's has.
    WriterSession(const QTextDocument *content, const QTextDocument *resources, bool fragment);

    QByteArray write();

private:
    struct RunFormat {
        int font = 0;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        int underline = 0;
        int position = 0; // 0 normal, 1 super, 2 sub
        int foreColor = 0;
        int backColor = 0;
        bool hidden = false;
        bool operator==(const RunFormat &) const = default;
    };
    struct ParaFormat {
        int alignment = 0;
        int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
        // Adjacent lists of one look are one list in RTF's numbering (as
        // readers count \pn paragraphs), so a list is known by its look.
        ListLook listStyle = ListLook::NotInList;
        int listLevel = 0;
        bool operator==(const ParaFormat &) const = default;
    };

    void collectTables();
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    QString familyOf(const QTextCharFormat &format) const;
    RunFormat runFormat(const QTextCharFormat &format);
    ParaFormat paraFormat(const QTextBlock &block) const;
    // The same, worked out once per format of the document.
    const RunFormat &runFormatOf(const QTextFragment &fragment, const QTextCharFormat &format);
    const ParaFormat &paraFormatOf(const QTextBlock &block);

    void writeHeader();
    void writeBlock(const QTextBlock &block);
    void writeParaFormat(const ParaFormat &format);
    void writeListText(const QTextBlock &block, const ParaFormat &para);
    int nextItemNumber(const ParaFormat &para);
    void writeRunFormat(const RunFormat &format);
    void writeImage(const QTextImageFormat &format);
    const PictureBytes &picture(const QTextImageFormat &format);
    bool isWritten(const QTextCharFormat &format);
    bool isImage(const QTextFragment &fragment, const QTextCharFormat &format);
    // The note a run is the mark of, or 0.
    int anchorIdOf(const QTextFragment &fragment, const QTextCharFormat &format);

    // Notes (rtfwriternotes.cpp)
    void collectNote(const QTextBlock &block);
    bool isNoteWrittenElsewhere(const QTextBlock &block) const;
    void writeNoteAfter(int id);

    const QTextDocument *m_content;
    const QTextDocument *m_resources;
    QByteArray m_bytes;
    RtfOutput m_out;
    QList<QString> m_fonts;
    QHash<QString, int> m_fontIndex; // by family as the document has it
    QHash<QString, int> m_fontByName; // by name as the font table has it
    std::vector<QColor> m_colors; // index 0 is "automatic"
    QHash<QRgb, int> m_colorIndex;
    // Numbers of the current run of list paragraphs, by level: the style
    // and the last number given.
    std::vector<std::pair<ListLook, int>> m_itemNumbers;
    QHash<QString, PictureBytes> m_pictures; // by image name
    std::vector<std::optional<RunFormat>> m_runFormats; // by the document's format index
    std::vector<std::optional<ParaFormat>> m_paraFormats; // by the document's format index
    std::vector<std::optional<bool>> m_images; // by the document's format index
    std::vector<std::optional<int>> m_anchorIds; // by the document's format index
    // A note's paragraphs by its number, and the numbers whose mark is in
    // the text; a note without its mark is written as it shows.
    QHash<int, QList<QTextBlock>> m_notes;
    QSet<int> m_anchors;
    int m_symbolFont = -1;
    QString m_defaultFamily;
    double m_defaultPointSize = 12;
    RunFormat m_written;
    ParaFormat m_writtenPara;
    bool m_paraWritten = false;
    bool m_fragment;
};

} // namespace rtf
