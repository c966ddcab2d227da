#pragma once
// The end of the desktop session. When the session manager asks the program
// to commit its data (XSMP's save request, QGuiApplication::commitDataRequest)
// this says so once, at once. Whoever listens writes what must be kept and
// asks nothing: the logout waits for nobody, and the program never cancels
// it. Where no session manager runs the request never comes.

#include <QObject>

namespace platform {

class SessionEnd : public QObject {
    Q_OBJECT
public:
    // Listens to the application's commit request.
    explicit SessionEnd(QObject *parent = nullptr);

    // What the commit request runs; the request's manager is not needed for
    // it, so a test runs it the same way. Emits sessionEnding once.
    void Commit();

signals:
    void sessionEnding();

private:
    bool m_ending = false;
};

} // namespace platform
