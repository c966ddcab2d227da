#pragma once
// The main window: toolbar on top, the card tab row with the editor inside
// it, and the maker's banner at the bottom. Every user command is one of its
// handlers; they are spread over kartolinounit_*.cpp by topic.

#include "settings.h"
#include "printing.h"
#include "syscolors.h"
#include "textattributes.h"
#include "menushortcut.h"
#include "windowkeys.h"

#include <QMainWindow>
#include <QVector>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;

namespace controls {
class TTabControl;
class TRichEdit;
} // namespace controls

namespace cards {
class TCardStore;
class TCardWatcher;
class TRecovery;
} // namespace cards

namespace widgets {
class TTrayIcon;
class TSpeedBar;
}

namespace ui {

class TFindBar;

// The font the font dialog carries: name, whole points, style flags
// (controls::TFontStyle) and colour.
struct TDialogFont {
    QString name;
    int size = 0;
    controls::TFontStyles style = 0;
    platform::TColor color = 0;
};
// Stands in for the font dialog: shows the font, lets the user change it and
// returns whether the user confirmed. Fields the user left alone keep the
// values they came in with.
using FontDialogStep = std::function<bool(TDialogFont &font, QWidget *parent)>;

// What an export's dialog shows and what the user chose in it: a file to
// save (one card) or a folder (all cards), and one of the export filters.
struct TExportDialog {
    bool folder = false;
    QString title;
    QString path;   // in: the suggested file or folder; out: the chosen one
    QString filter; // in: the filter shown first; out: the chosen one
};
// Stands in for the export's dialog; returns whether the user confirmed.
using ExportDialogStep = std::function<bool(TExportDialog &dialog, QWidget *parent)>;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Starts as the program does: minimised, never shown.
    void StartMinimised();
    bool FirstShowDone() const { return m_firstShowDone; }

    // Where the card folder and the settings file are (tests point it elsewhere).
    // Where KRT/ and Kartolino.ini live (both beside the program when portable).
    void SetFolders(const QString &cardsFolder, const QString &settingsFolder);
    void SetProgramFolder(const QString &folder) { SetFolders(folder, folder); }
    QString SettingsFileName() const;

    controls::TTabControl *TabControl1() const { return m_tabControl1; }
    controls::TRichEdit *Editor() const { return m_editor; }
    cards::TCardStore &Cards() const { return *m_cards; }
    cards::TRecovery &Recovery() const { return *m_recovery; }
    // The file of the card whose text the editor holds; empty for none.
    QString CurrentCardFile() const;
    widgets::TSpeedBar *SpeedBar1() const { return m_speedBar1; }
    QFrame *Panel1() const { return m_panel1; }
    QLabel *Label1() const { return m_label1; }
    QMenu *PopupMenu1() const { return m_popupMenu1; }
    widgets::TTrayIcon *TrayIcon() const { return m_trayIcon; }
    TFindBar *FindBar() const { return m_findBar; }
    // A main-menu item by its component name ("mnuNeu"), or null.
    QAction *MenuItem(const QString &name) const;
    const cards::CardSettings &CardSettings() const { return m_cardSettings; }
    // The current printer of this run, shared by both print commands.
    platform::PrinterSession &PrintSession() { return m_printSession; }
    // Tests replace the font dialog; an empty step restores the real one.
    void SetFontDialogStep(FontDialogStep step) { m_fontDialogStep = std::move(step); }
    // Tests replace the export's file and folder dialog the same way.
    void SetExportDialogStep(ExportDialogStep step) { m_exportDialogStep = std::move(step); }

    // Form handlers.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery(); // false: the card could not be written, the window stays
    void FormResize();
    void SetEditorMargins();
    void AppMinimize();
    void TrayIconClick(QObject *sender);
    void Panel1Click();

    // Cards.
    void TabControl1Changing(QObject *sender, bool &allowChange);
    void TabControl1Change(QObject *sender);
    void EditorChange(QObject *sender);
    void mnuNeuClick(QObject *sender);
    void mnuDeleteClick(QObject *sender);
    void mnuRenameClick(QObject *sender);

    // View.
    void mnuRegisterClick(QObject *sender);
    void mnuButtonsClick(QObject *sender);
    void mnuFlatClick(QObject *sender);
    void mnuMehrzeiligClick(QObject *sender);
    void mnuSaveAnsichtClick(QObject *sender);

    // Editing and formatting. The character attributes the formatting acts
    // on: the selection's when something is selected, else the editor's
    // default format; evaluated afresh at each use.
    controls::TTextAttributes CurrentAttributes() const;
    void mnuUnDOClick(QObject *sender);
    void ppAusschneidenClick(QObject *sender);
    void ppKopierenClick(QObject *sender);
    void ppEinfuegenClick(QObject *sender);
    void mnuSchriftClick(QObject *sender);
    void spBoldClick(QObject *sender);
    void spItalicClick(QObject *sender);
    void spUnderlineClick(QObject *sender);
    void spLeftClick(QObject *sender);
    void spCenterClick(QObject *sender);
    void spRightClick(QObject *sender);
    void spBulletClick(QObject *sender);

    // Time stamp, printing, hand-off, program.
    void spZeitStempelClick(QObject *sender);
    void mnuDruckenClick(QObject *sender);
    void spDruckenClick(QObject *sender);
    void mnuTextverarbeitungClick(QObject *sender);
    void mnuBeendenClick(QObject *sender);
    void sbCloseClick(QObject *sender);
    void mnuHilfetextClick(QObject *sender);
    void mnuInfoClick(QObject *sender);

    // Export (kartolinounit_export.cpp).
    void mnuExportierenClick(QObject *sender);
    void mnuAlleExportierenClick(QObject *sender);

signals:
    // The window has closed for good: the program ends.
    void Closed();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct MenuEntry {
        QString name;
        QAction *action;
        TShortCut shortcut;
        int glyph;
    };
    using Handler = void (TfrmMain::*)(QObject *);

    // The components, in the steps below; the toolbar is one of them.
    void createComponents();
    void createClientArea();
    void createBanner();   // Panel1 with Label1
    void createCardArea(); // the tab row, the editor with the find bar, the card store
    void createTrayIcon();
    void createToolbar();
    void createMainMenu();
    void createExtrasMenu();
    void createEditorPopupMenu();
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption, TShortCut shortcut, Handler handler,
                         int glyph = -1);
    bool dispatchShortcut(QObject *watched, QKeyEvent *event, bool overrideOnly);
    // The keys on no menu (kartolinounit_keys.cpp).
    bool dispatchWindowKey(QObject *watched, QKeyEvent *event, bool overrideOnly);
    void runWindowCommand(TWindowCommand command);
    void layoutClient();
    // Toolbar and menu pictures for the window's palette (dark or light).
    void refreshGlyphs();
    void applyViewSettings(const cards::ViewSettings &view);
    void placeAtFirstShow();
    void settleWindowState();
    void setTabStyle(int style);
    void toggleStyle(controls::TFontStyles flag);
    void align(controls::TAlignment alignment);
    bool runFontDialog(TDialogFont &font);
    bool runExportDialog(TExportDialog &dialog);
    QString exportFolder() const;
    bool askCardName(const QString &title, const QString &prompt, const QString &defaultText, QString &name);
    void updateMinimumSize();
    // Other programs' edits and crash recovery (kartolinounit_recover.cpp).
    void wireCardCompanions();
    bool keepOtherProgramsEdit(const QString &path);
    void cardChangedOnDisk();
    void restoreRecoveries();
    void applyRecoveryOfCurrentCard();
    QString freeCopyName(const QString &name) const;
    void informLater(const QString &text);

    QString m_settingsFolder;
    QWidget *m_client = nullptr;
    widgets::TSpeedBar *m_speedBar1 = nullptr;
    QFrame *m_panel1 = nullptr;
    QLabel *m_label1 = nullptr;
    controls::TTabControl *m_tabControl1 = nullptr;
    controls::TRichEdit *m_editor = nullptr;
    TFindBar *m_findBar = nullptr;
    QMenu *m_popupMenu1 = nullptr;
    QMenu *m_mnuExtras = nullptr;
    widgets::TTrayIcon *m_trayIcon = nullptr;
    QActionGroup *m_styleGroup = nullptr;
    QVector<MenuEntry> m_menuEntries; // depth first, as shortcuts are searched
    std::unique_ptr<cards::TCardStore> m_cards;
    std::unique_ptr<cards::TCardWatcher> m_watcher;
    std::unique_ptr<cards::TRecovery> m_recovery;
    cards::CardSettings m_cardSettings{QString(), 0, QString()};

    bool m_firstShowDone = false;
    bool m_inFirstShow = false;
    bool m_awaitingIconic = false;
    bool m_minimiseHandled = false;
    bool m_appMinimizeInstalled = false;
    bool m_closeAfterFirstShow = false;
    cards::ViewSettings m_view;
    platform::PrinterSession m_printSession;
    FontDialogStep m_fontDialogStep;
    ExportDialogStep m_exportDialogStep;
    // Where the last export of this run went, and as what.
    QString m_exportFolder;
    QString m_exportFilter;
};

} // namespace ui
