#pragma once
// Message dialogs, the error box and the input box, German captions, laid
// out in dialog units of the dialog font. All are modal and centred on the
// screen.

#include <QString>

class QWidget;
class QDialog;

namespace platform {

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };

// Button set bits. Buttons always stand in this order, left to right.
enum MsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};

enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
    mrHelp = 11,
};

// The application title: the executable's name (first letter as it is, the
// rest in lower case, cut at the first ".") until SetApplicationTitle() is
// called. It titles the error box and dialogs of the custom kind.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Builds the message dialog without showing it (tests look at its layout).
// Children carry object names: "Image" (the icon), "Message" (the text) and
// one QPushButton per button named "Yes", "No", "OK", "Cancel", "Abort",
// "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help". exec() returns the
// ModalResult of the chosen button; Esc and the close box choose "Abbrechen",
// else "&Nein", else "OK" (mrCancel when the set has none of them). "&Hilfe"
// closes with mrHelp: the program has no help system to open instead.
// The caller owns the dialog.
QDialog *CreateMessageDialog(const QString &text, MsgDlgType type, unsigned buttons, QWidget *owner = nullptr);

// Shows the message dialog modally and returns the chosen ModalResult.
int MessageDlg(const QString &text, MsgDlgType type, unsigned buttons, QWidget *owner = nullptr);

// The error box text: message plus "." when its last character sorts above ".".
QString ErrorBoxText(const QString &message);

// Error box: application title, error icon, one "OK", text ErrorBoxText().
QDialog *CreateErrorBox(const QString &message, QWidget *owner = nullptr);
void ShowErrorBox(const QString &message, QWidget *owner = nullptr);

// Input box: returns true when the user confirmed, and then the edited text in
// value. The edit holds at most 255 characters, pre-filled and fully selected.
bool InputQuery(const QString &title, const QString &prompt, QString &value, QWidget *owner = nullptr);

// Builds the input box without showing it. Children: "Prompt" (QLabel),
// "Edit" (QLineEdit), "OK" and "Cancel" (QPushButton). exec() returns mrOk or
// mrCancel. The caller owns the dialog.
QDialog *CreateInputDialog(const QString &title, const QString &prompt, const QString &value,
                           QWidget *owner = nullptr);

} // namespace platform
