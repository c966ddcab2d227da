#include "guarded.h"

#include "dialogs.h"
#include "exception.h"

namespace platform {

namespace {
ErrorPresenter &presenter()
{
    static ErrorPresenter current;
    return current;
}

void present(const QString &message) noexcept
{
    try {
        if (presenter())
            presenter()(message);
        else
            ShowErrorBox(message);
    } catch (...) {
        // The error box itself failed; there is nobody left to tell.
    }
}
} // namespace

void SetErrorPresenter(ErrorPresenter p) { presenter() = std::move(p); }

void HandleException(const std::exception &e) noexcept
{
    if (auto *own = dynamic_cast<const Exception *>(&e))
        present(own->message());
    else
        present(QString::fromLocal8Bit(e.what()));
}

void HandleUnknownException() noexcept { present(QStringLiteral("Unbekannter Fehler")); }

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace platform
