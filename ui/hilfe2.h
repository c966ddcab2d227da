#pragma once
// The help window: a fixed German text about the program and an OK button
// that Enter and Escape press as well. Made afresh for every showing by
// ShowHelpWindow(), centred on the screen, modal, released afterwards.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace ui {

class TfrmHilfe : public QDialog {
    Q_OBJECT

public:
    explicit TfrmHilfe(QWidget *owner);

    QPlainTextEdit *Memo1; // the help text, read-only
    QPushButton *BitBtn1;  // "OK", default and cancel button

    void FormShow();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};

// The help text, one entry per line.
QStringList HelpTextLines();

// "Zum &Programm": the help window, shown modally.
void ShowHelpWindow(QWidget *mainWindow);

} // namespace ui
