#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kPollMs = 10;

QString withoutMnemonic(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

// The dialog's push buttons, left to right (top to bottom for stacked ones).
QList<QPushButton *> buttonsOf(QWidget *dialog)
{
    QList<QPushButton *> buttons;
    for (QPushButton *b : dialog->findChildren<QPushButton *>())
        if (b->isVisibleTo(dialog))
            buttons.append(b);
    std::stable_sort(buttons.begin(), buttons.end(), [dialog](QPushButton *a, QPushButton *b) {
        const QPoint pa = a->mapTo(dialog, QPoint(0, 0));
        const QPoint pb = b->mapTo(dialog, QPoint(0, 0));
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return buttons;
}

QPushButton *findButton(QWidget *dialog, const QString &caption)
{
    const QList<QPushButton *> buttons = buttonsOf(dialog);
    for (QPushButton *b : buttons)
        if (b->text() == caption)
            return b;
    for (QPushButton *b : buttons)
        if (withoutMnemonic(b->text()) == withoutMnemonic(caption))
            return b;
    return nullptr;
}

void sendKey(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Types text as key presses, so the edit's own limits (maximum length) apply.
void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    sendKey(edit, Qt::Key_Delete);
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString unit(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            unit += text[++i];
        sendKey(edit, Qt::Key_unknown, unit);
    }
}

QWidget *keyTarget(QWidget *dialog)
{
    QWidget *focus = dialog->focusWidget();
    return focus ? focus : dialog;
}

} // namespace

ModalDriver::ModalDriver(int timeoutMs) : m_timeoutMs(timeoutMs), m_timer(new QTimer(this))
{
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer->start();
}

ModalDriver::~ModalDriver()
{
    m_timer->stop();
    if (!m_answers.empty()) {
        QStringList left;
        for (const Answer &a : m_answers)
            left.append(describe(a));
        ADD_FAILURE() << "ModalDriver: " << m_answers.size()
                      << " expected dialog(s) never appeared; unused answers: " << left.join(", ").toStdString();
    }
}

ModalDriver &ModalDriver::enqueue(Answer answer)
{
    m_answers.push_back(std::move(answer));
    return *this;
}

ModalDriver &ModalDriver::Press(const QString &caption) { return enqueue({Action::Press, caption, {}, {}}); }

ModalDriver &ModalDriver::TypeAndPress(const QString &text, const QString &caption)
{
    return enqueue({Action::Press, caption, text, {}});
}

ModalDriver &ModalDriver::Escape() { return enqueue({Action::Escape, {}, {}, {}}); }
ModalDriver &ModalDriver::Enter() { return enqueue({Action::Enter, {}, {}, {}}); }
ModalDriver &ModalDriver::TypeAndEnter(const QString &text) { return enqueue({Action::Enter, {}, text, {}}); }
ModalDriver &ModalDriver::CloseBox() { return enqueue({Action::Close, {}, {}, {}}); }

ModalDriver &ModalDriver::Inspect(std::function<void(QWidget *)> inspect)
{
    if (m_answers.empty()) {
        ADD_FAILURE() << "ModalDriver::Inspect() needs an answer queued before it";
        return *this;
    }
    m_answers.back().inspect = std::move(inspect);
    return *this;
}

bool ModalDriver::WaitUntilDone(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs < 0 ? m_timeoutMs : timeoutMs);
    auto busy = [this] {
        if (!m_answers.empty())
            return true;
        return std::any_of(m_answered.begin(), m_answered.end(),
                           [](const Answered &a) { return a.dialog && a.dialog->isVisible(); });
    };
    while (busy()) {
        if (deadline.hasExpired()) {
            QStringList left;
            for (const Answer &a : m_answers)
                left.append(describe(a));
            ADD_FAILURE() << "ModalDriver: timed out; unused answers: " << left.join(", ").toStdString();
            // Reported once: the destructor does not report them again.
            m_answers.clear();
            return false;
        }
        QTest::qWait(kPollMs);
    }
    return true;
}

QString ModalDriver::describe(const Answer &answer) const
{
    QString what;
    switch (answer.action) {
    case Action::Press: what = QStringLiteral("press \"%1\"").arg(answer.caption); break;
    case Action::Escape: what = QStringLiteral("Esc"); break;
    case Action::Enter: what = QStringLiteral("Enter"); break;
    case Action::Close: what = QStringLiteral("close box"); break;
    }
    if (answer.typed)
        what = QStringLiteral("type \"%1\" then %2").arg(*answer.typed, what);
    return what;
}

bool ModalDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide) {
        m_answered.removeIf([watched](const Answered &a) { return a.dialog == watched; });
        watched->removeEventFilter(this);
    }
    return false;
}

bool ModalDriver::isAnswered(QWidget *dialog) const
{
    return std::any_of(m_answered.begin(), m_answered.end(),
                       [dialog](const Answered &a) { return a.dialog == dialog; });
}

void ModalDriver::checkClosed()
{
    const qint64 now = QDeadlineTimer::current().deadline();
    for (qsizetype i = m_answered.size() - 1; i >= 0; --i) {
        Answered &a = m_answered[i];
        if (!a.dialog || !a.dialog->isVisible()) {
            m_answered.removeAt(i);
        } else if (now - a.since > m_timeoutMs) {
            ADD_FAILURE() << "ModalDriver: dialog \"" << a.dialog->windowTitle().toStdString()
                          << "\" did not close after its answer";
            a.since = now;
            forceClose(a.dialog);
        }
    }
}

void ModalDriver::forceClose(QWidget *dialog)
{
    if (auto *d = qobject_cast<QDialog *>(dialog))
        d->reject();
    else
        dialog->close();
    if (dialog->isVisible())
        dialog->hide();
}

void ModalDriver::poll()
{
    checkClosed();
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || isAnswered(dialog))
        return;
    m_answered.append({dialog, QDeadlineTimer::current().deadline()});
    // Forget it as soon as it hides: the same dialog object may be shown
    // again before the next poll, and then it is a new dialog to answer.
    dialog->installEventFilter(this);
    if (m_answers.empty()) {
        const SeenDialog seen = look(dialog);
        m_seen.append(seen);
        if (m_failOnUnexpected)
            ADD_FAILURE() << "ModalDriver: unexpected dialog \"" << seen.title.toStdString() << "\": "
                          << seen.text.toStdString();
        forceClose(dialog);
        return;
    }
    Answer next = std::move(m_answers.front());
    m_answers.pop_front();
    answer(dialog, std::move(next));
}

void ModalDriver::answer(QWidget *dialog, Answer answer)
{
    m_seen.append(look(dialog));
    if (answer.inspect)
        answer.inspect(dialog);
    if (answer.typed) {
        auto *edit = dialog->findChild<QLineEdit *>();
        if (!edit) {
            ADD_FAILURE() << "ModalDriver: dialog \"" << dialog->windowTitle().toStdString()
                          << "\" has no edit to type into";
            forceClose(dialog);
            return;
        }
        typeInto(edit, *answer.typed);
    }
    switch (answer.action) {
    case Action::Press:
        if (QPushButton *button = findButton(dialog, answer.caption)) {
            button->click();
        } else {
            ADD_FAILURE() << "ModalDriver: dialog \"" << dialog->windowTitle().toStdString()
                          << "\" has no button \"" << answer.caption.toStdString() << "\"; it has: "
                          << m_seen.back().buttons.join(", ").toStdString();
            forceClose(dialog);
        }
        break;
    case Action::Escape: sendKey(keyTarget(dialog), Qt::Key_Escape); break;
    case Action::Enter: sendKey(keyTarget(dialog), Qt::Key_Return); break;
    case Action::Close: dialog->close(); break;
    }
}

SeenDialog ModalDriver::look(QWidget *dialog)
{
    SeenDialog seen;
    seen.title = dialog->windowTitle();
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (!label->pixmap().isNull())
            seen.hasIcon = true;
        if (!label->text().isEmpty())
            seen.texts.append(label->text());
    }
    seen.text = seen.texts.join(QLatin1Char('\n'));
    for (QPushButton *b : buttonsOf(dialog)) {
        seen.buttons.append(b->text());
        if (b->isDefault())
            seen.defaultButton = b->text();
        if (dialog->focusWidget() == b)
            seen.focusButton = b->text();
    }
    if (auto *edit = dialog->findChild<QLineEdit *>()) {
        seen.hasEdit = true;
        seen.editText = edit->text();
        seen.selectedText = edit->selectedText();
    }
    return seen;
}
