#pragma once
// The one application-level error handler. Every command runs inside
// Guarded(); an exception that escapes it is shown in the error box (title
// "Kartolino", error icon, one "OK") and the program goes on. Qt itself is not
// built to let exceptions pass through its frames, so nothing may leave a slot
// or an event handler unguarded.

#include <QApplication>
#include <exception>
#include <functional>

namespace platform {

// Shows the error box for the exception (or the generic text for a foreign
// one). Never throws.
void HandleException(const std::exception &e) noexcept;
void HandleUnknownException() noexcept;

template <class F>
void Guarded(F &&f) noexcept
{
    try {
        std::forward<F>(f)();
    } catch (const std::exception &e) {
        HandleException(e);
    } catch (...) {
        HandleUnknownException();
    }
}

// Where the error box goes. Tests replace it to see the messages without a
// modal loop; the program leaves the default, which shows ShowErrorBox().
using ErrorPresenter = std::function<void(const QString &message)>;
void SetErrorPresenter(ErrorPresenter presenter);

// QApplication whose notify() is the last line of defence for exceptions
// thrown by our own event handlers.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace platform
