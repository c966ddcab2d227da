#pragma once
// The main window: toolbar on top, the card tab row with the editor inside
// it, and the maker's banner at the bottom. Every user command is one of its
// handlers; they are spread over kartolinounit_*.cpp by topic.

#include <QMainWindow>
#include <memory>

class QLabel;
class QFrame;

namespace platform {
class TTabControl;
class TRichEdit;
class TerminationSignals;
} // namespace platform

namespace cards {
class TCardStore;
}

namespace ui {

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Starts as the program does: minimised, never shown.
    void StartMinimised();
    bool FirstShowDone() const { return m_firstShowDone; }

    platform::TTabControl *TabControl1() const { return m_tabControl1; }
    platform::TRichEdit *Editor() const { return m_editor; }
    cards::TCardStore &Cards() const { return *m_cards; }
    QWidget *SpeedBarArea() const { return m_speedBarArea; }
    QFrame *Panel1() const { return m_panel1; }

    // Handlers.
    void FormCreate();
    void FormShow();
    // The close step; false when the card could not be written, and then
    // the window stays.
    bool FormCloseQuery();
    void FormResize();
    void SetEditorMargins();
    void TabControl1Changing(QObject *sender, bool &allowChange);
    void TabControl1Change(QObject *sender);
    void EditorChange(QObject *sender);
    void mnuBeendenClick(QObject *sender);
    // The minimise handler, installed by the first show.
    void AppMinimize();

signals:
    // The window has closed for good: the program ends.
    void Closed();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createComponents();
    void layoutClient();
    void placeAtFirstShow();

    QWidget *m_client = nullptr;
    QWidget *m_speedBarArea = nullptr;
    QFrame *m_panel1 = nullptr;
    QLabel *m_label1 = nullptr;
    platform::TTabControl *m_tabControl1 = nullptr;
    platform::TRichEdit *m_editor = nullptr;
    std::unique_ptr<cards::TCardStore> m_cards;

    bool m_firstShowDone = false;
    bool m_inFirstShow = false;
    bool m_awaitingIconic = false;
    bool m_appMinimizeInstalled = false;
    bool m_closeAfterFirstShow = false;
    int m_firstShowWidth = 640;
    int m_firstShowHeight = 480;
    Qt::WindowState m_firstShowState = Qt::WindowNoState;
};

} // namespace ui
