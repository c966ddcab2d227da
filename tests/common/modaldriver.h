#pragma once
// Answers the modal dialogs a test provokes.
//
// Queue one answer per dialog you expect, in the order they will appear, then
// run the code that opens them. While the code sits in a dialog's modal loop,
// the driver (a timer polling QApplication::activeModalWidget()) records what
// the dialog shows and gives the queued answer:
//
//     ModalDriver driver;
//     driver.Press("&Ja");
//     const int r = platform::MessageDlg(...);          // answered by the driver
//     EXPECT_EQ(driver.Seen().at(0).buttons, (QStringList{"&Ja", "&Nein"}));
//
// For dialogs opened later from the event loop (a click, a timer), call
// WaitUntilDone(). Nothing hangs: a dialog that appears with no answer queued,
// an answer whose button does not exist, and a dialog that does not close
// after its answer all fail the test and close the dialog; answers still queued
// when the driver is destroyed fail the test too.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class QTimer;
class QWidget;

// What one dialog showed when it appeared.
struct SeenDialog {
    QString title;
    QStringList texts;        // every QLabel's text, in creation order
    QString text;             // the texts joined with "\n"
    QStringList buttons;      // button captions (with "&"), left to right
    QString defaultButton;    // caption of the default button, empty if none
    QString focusButton;      // caption of the button that has the focus, empty if none
    QString editText;         // the one-line edit's text before the answer
    QString selectedText;     // its selected part
    bool hasEdit = false;
    bool hasIcon = false;     // a QLabel shows a pixmap
};

class ModalDriver : public QObject {
public:
    // timeoutMs bounds every wait: for a dialog to close after its answer, and
    // the default of WaitUntilDone().
    explicit ModalDriver(int timeoutMs = 5000);
    ~ModalDriver() override;

    // Queue answers. Captions match exactly ("&Ja") or without the "&" ("Ja").
    ModalDriver &Press(const QString &caption);
    ModalDriver &TypeAndPress(const QString &text, const QString &caption);
    ModalDriver &Escape();            // the Esc key
    ModalDriver &Enter();             // the Enter key (the default button)
    ModalDriver &TypeAndEnter(const QString &text);
    ModalDriver &CloseBox();          // the window's close box
    // Looks at the dialog before the answer (geometry, focus ...).
    ModalDriver &Inspect(std::function<void(QWidget *dialog)> inspect);

    // Runs the event loop until every queued answer was given and its dialog
    // closed. Fails the test and returns false after timeoutMs (default: the
    // driver's timeout).
    bool WaitUntilDone(int timeoutMs = -1);

    bool eventFilter(QObject *watched, QEvent *event) override;

    int Pending() const { return static_cast<int>(m_answers.size()); }
    const QList<SeenDialog> &Seen() const { return m_seen; }
    // Whether a dialog that appears with no answer queued fails the test (default true).
    void SetFailOnUnexpected(bool fail) { m_failOnUnexpected = fail; }

private:
    enum class Action { Press, Escape, Enter, Close };
    struct Answer {
        Action action = Action::Press;
        QString caption;
        std::optional<QString> typed;
        std::function<void(QWidget *)> inspect;
    };
    struct Answered {
        QPointer<QWidget> dialog;
        qint64 since = 0;
    };

    ModalDriver &enqueue(Answer answer);
    void poll();
    bool isAnswered(QWidget *dialog) const;
    void checkClosed();
    void answer(QWidget *dialog, Answer answer);
    void forceClose(QWidget *dialog);
    static SeenDialog look(QWidget *dialog);
    QString describe(const Answer &answer) const;

    int m_timeoutMs;
    QTimer *m_timer;
    std::deque<Answer> m_answers;
    QList<Answered> m_answered;
    QList<SeenDialog> m_seen;
    bool m_failOnUnexpected = true;
};
