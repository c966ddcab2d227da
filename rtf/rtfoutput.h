#pragma once
// Low-level RTF output: control words with the delimiters they need, and
// text escaped for an \ansicpg1252 document with \uc1.

#include <QByteArray>
#include <QStringView>

namespace rtf {

class RtfOutput {
public:
    explicit RtfOutput(QByteArray &out) : m_out(out) {}

    void raw(const char *bytes);
    void openGroup();
    void closeGroup();
    void word(const char *name);
    void word(const char *name, int value);
    // Text of a paragraph: tabs and line breaks become \tab and \line,
    // characters of Windows-1252 above ASCII \'hh, the rest \uN with "?".
    void text(QStringView text);
    void hexData(const QByteArray &data);

private:
    // Room for n more bytes at the end of the output, to be written there:
    // QByteArray's own append of a C string goes through its general insert.
    char *extend(qsizetype n);
    void put(const char *bytes, qsizetype n);
    // Writes a control word's backslash and name, with room for extra
    // bytes after it; returns where those go.
    char *startWord(const char *name, qsizetype extra);
    void delimit();
    void hexByte(unsigned char value);

    QByteArray &m_out;
    bool m_needDelimiter = false; // a control word is open and text follows
};

} // namespace rtf
