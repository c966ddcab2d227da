#pragma once
// The frame shared by the message dialogs and the input box: a fixed client
// area centred on the screen, and a result for Esc and the close box.

#include <QDialog>

namespace platform {

class ModalDialog : public QDialog {
public:
    ModalDialog(QWidget *owner, const QString &title);

    // The result Esc and the close box give (mrCancel unless set).
    int CancelResult() const { return m_cancelResult; }
    void SetCancelResult(int result) { m_cancelResult = result; }

    // Fixes the client area at this size, centred on the screen.
    void PlaceCentred(const QSize &client);

    void reject() override;

private:
    int m_cancelResult;
};

} // namespace platform
