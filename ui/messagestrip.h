#pragma once
// The strip above the editor for messages the user did not ask for (a
// recovery at start, a failure in the background, a folder gone). Unlike a
// message box it never takes the keyboard: typing goes on into the editor
// while the strip shows. It closes with its button or Esc; each message shows
// once while the strip is open, newest last.

#include <QFrame>
#include <QStringList>

class QLabel;
class QToolButton;

namespace ui {

class TMessageStrip : public QFrame {
    Q_OBJECT
public:
    enum class Kind { Notice, Problem };

    explicit TMessageStrip(QWidget *parent = nullptr);

    // Adds the message (once) and shows the strip. A problem colours the
    // strip as a warning until it is closed.
    void Show(const QString &text, Kind kind = Kind::Notice);
    // Hides the strip and forgets its messages.
    void Close();

    QString Text() const { return m_lines.join(QLatin1Char('\n')); }
    bool HasProblem() const { return m_problem; }
    QToolButton *CloseButton() const { return m_close; }

private:
    void applyColours();

    QLabel *m_text;
    QToolButton *m_close;
    QStringList m_lines;
    bool m_problem = false;
};

} // namespace ui
