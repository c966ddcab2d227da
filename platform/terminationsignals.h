#pragma once
// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the GUI thread, so the
// program can write a changed card before it ends instead of dying mid-edit.

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
