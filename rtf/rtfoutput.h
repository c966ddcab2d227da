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
    // Appends in one step: QByteArray's own append of a C string goes
    // through its general insert.
    void put(const char *bytes, qsizetype n);
    void delimit();
    void hexByte(unsigned char value);

    QByteArray &m_out;
    bool m_needDelimiter = false; // a control word is open and text follows
};

} // namespace rtf
