#pragma once
// The main window: toolbar on top, the card tab row with the editor inside
// it, and the maker's banner at the bottom. Every user command is one of its
// handlers; they are spread over kartolinounit_*.cpp by topic.

#include "settings.h"
#include "printing.h"
#include "syscolors.h"
#include "textattributes.h"
#include "menushortcut.h"
#include "exception.h"
#include "guarded.h"
#include "windowkeys.h"

#include <QHash>
#include <QTimer>
#include <QMainWindow>
#include <QTextCursor>
#include <QSet>
#include <QVector>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;

namespace platform {
class TIniFile;
class TSpellChecker;
} // namespace platform

namespace controls {
class TSpellHighlighter;
class TTabControl;
class TRichEdit;
} // namespace controls

namespace cards {
class TCardStore;
class TCardWatcher;
struct FolderChanges;
class TCardFolderWatch;
class TRecovery;
class TVersions;
} // namespace cards

namespace widgets {
class TTrayIcon;
class TSpeedBar;
}

namespace ui {

class TFindBar;
class TMessageStrip;

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
    // The card folder itself, as the program start chose it (cards/cardfolder.h).
    void SetCardFolder(const QString &folder);
    // Restored, raised and active, as a click on the tray icon brings it.
    void BringToFront();

    controls::TTabControl *TabControl1() const { return m_tabControl1; }
    controls::TRichEdit *Editor() const { return m_editor; }
    cards::TCardStore &Cards() const { return *m_cards; }
    cards::TRecovery &Recovery() const { return *m_recovery; }
    cards::TVersions &Versions() const { return *m_versions; }
    // The file of the card whose text the editor holds; empty for none.
    QString CurrentCardFile() const;
    widgets::TSpeedBar *SpeedBar1() const { return m_speedBar1; }
    QFrame *Panel1() const { return m_panel1; }
    QLabel *Label1() const { return m_label1; }
    QMenu *PopupMenu1() const { return m_popupMenu1; }
    widgets::TTrayIcon *TrayIcon() const { return m_trayIcon; }
    TFindBar *FindBar() const { return m_findBar; }
    TMessageStrip *MessageStrip() const { return m_messageStrip; }
    // A message the user did not ask for: shown in the strip above the
    // editor, never in a box that would take the keyboard. A problem is
    // something that failed on its own (a background write, a folder gone);
    // the failures of the user's own commands stay error boxes.
    void ShowNotice(const QString &text);
    void ShowProblem(const QString &text);
    // Runs f; a platform::Exception it throws goes to the strip as a problem.
    template <class F>
    void GuardedNotice(F &&f);
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
    // The desktop session ends: the card is written as at "Beenden", without
    // a box and whatever the write says, and the window closes.
    void SessionEnding();
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

    // Spell check (kartolinounit_spell.cpp). The editor's context menu:
    // PopupMenu1, over a misspelled word with suggestions above its items.
    void mnuRechtschreibungClick(QObject *sender);
    void EditorContextMenu(const QPoint &pos);
    controls::TSpellHighlighter *SpellHighlighter() const { return m_spellHighlighter; }
    bool SpellCheckOn() const { return m_spellOn; }
    // Tests look for dictionaries elsewhere than the system's folders (set
    // before the first show); empty for the system's.
    void SetDictionaryFolders(const QStringList &folders) { m_dictionaryFolders = folders; }

    // Export (kartolinounit_export.cpp).
    void mnuExportierenClick(QObject *sender);
    void mnuAlleExportierenClick(QObject *sender);

    // Earlier versions of the current card (kartolinounit_versions.cpp).
    void mnuFassungenClick(QObject *sender);
    // Puts the version's text into the editor as one undo step, CardModified set.
    void RestoreVersion(const QString &versionFile);

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
    void createSpellCheck();
    QStringList dictionaryFolders() const;
    void applySpellSettings(const cards::SpellSettings &spell);
    void saveSpellSettings(const platform::TIniFile &ini) const;
    platform::TSpellChecker &spellChecker();
    void setSpellCheck(bool on);
    void replaceWord(QTextCursor word, const QString &was, const QString &with);
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption, TShortCut shortcut, Handler handler,
                         int glyph = -1);
    bool dispatchShortcut(QObject *watched, QKeyEvent *event, bool overrideOnly);
    bool closeMessageStrip(QObject *watched, const QKeyEvent &key);
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
    // Screen readers hear the editor as "Karte: " and the current card's name.
    void nameEditor();
    // Other programs' edits and crash recovery (kartolinounit_recover.cpp).
    void wireCardCompanions();
    bool keepOtherProgramsEdit(const QString &path);
    void keepSwappedOut(const QString &path, const QByteArray &bytes);
    void cardChangedOnDisk();
    void reloadKeepingView();
    void restoreRecoveries();
    void keepRecoveryBeside(const QString &card, const QString &recoveryFile);
    void applyRecoveryOfCurrentCard();
    // Makes a card holding bytes under the first free candidate name, where
    // that name sorts; index, when given, receives its tab.
    QString addCardWith(const QByteArray &bytes, const std::function<QString(int)> &candidate, int *index = nullptr);
    void informLater(const QString &text);
    // The card folder gone or emptied (kartolinounit_folder.cpp).
    void watchCardFolder();
    bool cardFolderThere();
    void keepTextWhileFolderGone();
    void noticeConflictCopies();
    // What other programs did in the card folder, followed by the tab row.
    void cardsFollowed(const cards::FolderChanges &changes);
    // A card's file has a new name: everything kept per card file follows.
    void cardFileRenamed(const QString &oldPath, const QString &newPath);
    // After the current card's tab left: the first card is shown.
    void showCardAfterRemoval();
    // Earlier versions kept at the save points (kartolinounit_versions.cpp).
    void wireVersions();

    QString m_settingsFolder;
    QString m_dataFolder; // the user's data folder: KRT/ and the personal dictionary
    QWidget *m_client = nullptr;
    widgets::TSpeedBar *m_speedBar1 = nullptr;
    QFrame *m_panel1 = nullptr;
    QLabel *m_label1 = nullptr;
    controls::TTabControl *m_tabControl1 = nullptr;
    controls::TRichEdit *m_editor = nullptr;
    TFindBar *m_findBar = nullptr;
    TMessageStrip *m_messageStrip = nullptr;
    QMenu *m_popupMenu1 = nullptr;
    QMenu *m_mnuExtras = nullptr;
    widgets::TTrayIcon *m_trayIcon = nullptr;
    QActionGroup *m_styleGroup = nullptr;
    QVector<MenuEntry> m_menuEntries; // depth first, as shortcuts are searched
    std::unique_ptr<cards::TCardStore> m_cards;
    std::unique_ptr<cards::TCardWatcher> m_watcher;
    // Looks again at a current card's file still being written.
    std::unique_ptr<QTimer> m_reloadRetry;
    std::unique_ptr<cards::TRecovery> m_recovery;
    std::unique_ptr<cards::TCardFolderWatch> m_folderWatch;
    bool m_cardFolderGone = false;
    bool m_cardFolderHeldCards = false;
    QSet<QString> m_toldConflictCopies;
    std::unique_ptr<cards::TVersions> m_versions;
    // Each card's caret, selection and scroll position, by card file
    // (kartolinounit_views.cpp).
    struct CardView {
        int anchor = 0, position = 0, vertical = 0, horizontal = 0;
    };
    QHash<QString, CardView> m_cardViews;
    void rememberCardView();
    void restoreCardView();
    void cardViewRenamed(const QString &oldCardFile, const QString &newCardFile);
    bool m_versionFailureShown = false;
    bool m_sessionEnding = false;
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
    std::unique_ptr<platform::TSpellChecker> m_spellChecker;
    controls::TSpellHighlighter *m_spellHighlighter = nullptr;
    QStringList m_spellLanguages;
    QStringList m_dictionaryFolders;
    bool m_spellOn = false;
    bool m_noDictionarySaid = false;
    // Where the last export of this run went, and as what.
    QString m_exportFolder;
    QString m_exportFilter;
};

template <class F>
void TfrmMain::GuardedNotice(F &&f)
{
    try {
        std::forward<F>(f)();
    } catch (const platform::Exception &e) {
        ShowProblem(e.message());
    } catch (const std::exception &e) {
        platform::HandleException(e);
    } catch (...) {
        platform::HandleUnknownException();
    }
}

} // namespace ui
