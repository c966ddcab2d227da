// The main window's components, menus and layout.

#include "kartolinounit.h"

#include "cardfolder.h"
#include "cardstore.h"
#include "cardwatcher.h"
#include "recovery.h"
#include "versions.h"
#include "sessionend.h"
#include "guarded.h"
#include "files.h"
#include "programfolders.h"
#include "richedit.h"
#include "shell.h"
#include "spellchecker.h"
#include "tabcontrol.h"
#include "clickable.h"
#include "findbar.h"
#include "makerlogo.h"
#include "messagestrip.h"
#include "programicon.h"
#include "toolbar.h"
#include "toolbarglyphs.h"
#include "speedbar.h"
#include "trayicon.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr int kBannerHeight = 27;
constexpr int kEditorMargin = 6;
constexpr int kMinOuterWidth = 567;
constexpr int kMinOuterHeight = 300;

// Resizes its children as the window's alignment does: top strip, bottom
// strip, the rest to the tab row.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    createComponents();
    createMainMenu();
    createEditorPopupMenu();
    FormCreate();
    connect(new platform::SessionEnd(this), &platform::SessionEnd::sessionEnding, this, &TfrmMain::SessionEnding);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

void TfrmMain::createComponents()
{
    // The window's font, inherited by every child that sets none.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(10);
    setFont(font);

    createClientArea();
    createToolbar();
    createBanner();
    createCardArea();
    createTrayIcon();

    setTabOrder(m_tabControl1, m_editor);
    m_editor->setFocus();
    updateMinimumSize();
    // Shortcuts reach the menu before the focused control.
    qApp->installEventFilter(this);
}

void TfrmMain::createClientArea()
{
    auto *client = new ClientArea(this);
    m_client = client;
    setCentralWidget(client);
    client->onResize = [this] { layoutClient(); };
}

void TfrmMain::createBanner()
{
    auto *panel = new TClickable<QFrame>(m_client);
    m_panel1 = panel;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    QPalette bannerPalette = panel->palette();
    bannerPalette.setColor(QPalette::Window, QColor(0, 0, 255));
    panel->setPalette(bannerPalette);
    panel->setCursor(Qt::PointingHandCursor);
    panel->setLayoutDirection(Qt::LeftToRight);
    panel->OnClick = [this] { Panel1Click(); };

    auto *label = new TClickable<QLabel>(panel);
    m_label1 = label;
    label->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(13);
    labelFont.setBold(true);
    label->setFont(labelFont);
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::Window, QColor(0, 0, 255));
    labelPalette.setColor(QPalette::WindowText, QColor(255, 215, 42));
    label->setPalette(labelPalette);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    label->setText(kMakerName + QStringLiteral(" \u2013 ") + kMakerTagline);
    label->adjustSize();
    label->move(9, 7);
    label->OnClick = [this] { Panel1Click(); };
}

void TfrmMain::createCardArea()
{
    m_tabControl1 = new controls::TTabControl(m_client);
    m_tabControl1->setObjectName(QStringLiteral("TabControl1"));
    m_tabControl1->SetHotTrack(true);
    m_tabControl1->SetRaggedRight(true);
    m_tabControl1->SetStyle(controls::tsFlatButtons);
    m_tabControl1->OnChanging = [this](QObject *sender, bool &allow) { TabControl1Changing(sender, allow); };
    m_tabControl1->OnChange = [this](QObject *sender) { TabControl1Change(sender); };

    m_editor = new controls::TRichEdit;
    m_editor->setObjectName(QStringLiteral("Editor"));
    m_editor->OnChange = [this](QObject *sender) { EditorChange(sender); };
    m_tabControl1->setAccessibleName(QStringLiteral("Karten"));
    connect(m_tabControl1, &controls::TTabControl::CurrentTabChanged, this, [this] { platform::Guarded([this] { nameEditor(); }); });
    nameEditor();

    m_cards = std::make_unique<cards::TCardStore>(m_tabControl1, m_editor);
    // The message strip and the find bar, both hidden until needed, stand
    // above the editor.
    auto *display = new QWidget;
    auto *column = new QVBoxLayout(display);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_messageStrip = new TMessageStrip(display);
    column->addWidget(m_messageStrip);
    m_findBar = new TFindBar(m_tabControl1, m_editor, *m_cards, display);
    m_findBar->hide();
    column->addWidget(m_findBar);
    column->addWidget(m_editor, 1);
    m_tabControl1->SetDisplayWidget(display);
    wireCardCompanions();
}

void TfrmMain::createTrayIcon()
{
    // The icon is in the notification area from the window's creation on.
    setWindowIcon(ProgramIcon());
    m_trayIcon = new widgets::TTrayIcon(this);
    m_trayIcon->setObjectName(QStringLiteral("TrayIcon"));
    m_trayIcon->SetHint(QStringLiteral("Kartolino anzeigen"));
    m_trayIcon->SetIcon(ProgramIcon());
    m_trayIcon->OnClick = [this](QObject *sender, auto, auto, int, int) { TrayIconClick(sender); };
}

void TfrmMain::createToolbar()
{
    ToolbarHandlers h;
    auto bind = [this](Handler handler) { return [this, handler](QObject *sender) { (this->*handler)(sender); }; };
    h.mnuBeendenClick = bind(&TfrmMain::mnuBeendenClick);
    h.spDruckenClick = bind(&TfrmMain::spDruckenClick);
    h.mnuUnDOClick = bind(&TfrmMain::mnuUnDOClick);
    h.ppAusschneidenClick = bind(&TfrmMain::ppAusschneidenClick);
    h.ppKopierenClick = bind(&TfrmMain::ppKopierenClick);
    h.ppEinfuegenClick = bind(&TfrmMain::ppEinfuegenClick);
    h.mnuNeuClick = bind(&TfrmMain::mnuNeuClick);
    h.mnuDeleteClick = bind(&TfrmMain::mnuDeleteClick);
    h.mnuRenameClick = bind(&TfrmMain::mnuRenameClick);
    h.mnuSchriftClick = bind(&TfrmMain::mnuSchriftClick);
    h.spBoldClick = bind(&TfrmMain::spBoldClick);
    h.spItalicClick = bind(&TfrmMain::spItalicClick);
    h.spUnderlineClick = bind(&TfrmMain::spUnderlineClick);
    h.spLeftClick = bind(&TfrmMain::spLeftClick);
    h.spCenterClick = bind(&TfrmMain::spCenterClick);
    h.spRightClick = bind(&TfrmMain::spRightClick);
    h.spBulletClick = bind(&TfrmMain::spBulletClick);
    h.spZeitStempelClick = bind(&TfrmMain::spZeitStempelClick);
    h.sbCloseClick = bind(&TfrmMain::sbCloseClick);
    m_speedBar1 = BuildSpeedBar1(this, h, m_client);
}

QAction *TfrmMain::addMenuItem(QMenu *menu, const QString &name, const QString &caption, TShortCut shortcut,
                               Handler handler, int glyph)
{
    QString text = caption;
    if (shortcut)
        text += QLatin1Char('\t') + ShortCutToText(shortcut);
    auto *action = new QAction(text, menu);
    action->setObjectName(name);
    if (glyph >= 0)
        action->setIcon(ToolbarIcon(static_cast<GlyphMotif>(glyph), palette()));
    menu->addAction(action);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler, action] { platform::Guarded([&] { (this->*handler)(action); }); });
    m_menuEntries.append({name, action, shortcut, glyph});
    return action;
}

void TfrmMain::createMainMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));

    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mnuDatei"));
    addMenuItem(datei, QStringLiteral("mnuDrucken"), QStringLiteral("&Drucken"), ShortCut('D', scCtrl), &TfrmMain::mnuDruckenClick, int(GlyphMotif::Printer));
    datei->addSeparator()->setObjectName(QStringLiteral("trenner1"));
    // The menu shows Strg+X beside "&Beenden" as well, but the key is the
    // cut's: a slip of the finger must never end the program.
    addMenuItem(datei, QStringLiteral("mnuBeenden"), QStringLiteral("&Beenden"), 0, &TfrmMain::mnuBeendenClick, int(GlyphMotif::Door))
        ->setText(QStringLiteral("&Beenden\t") + ShortCutToText(ShortCut('X', scCtrl)));

    QMenu *bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("mnuBearbeiten"));
    addMenuItem(bearbeiten, QStringLiteral("mnuUnDO"), QStringLiteral("&Rückgängig"), ShortCut('Z', scCtrl), &TfrmMain::mnuUnDOClick, int(GlyphMotif::UndoArrow));
    bearbeiten->addSeparator()->setObjectName(QStringLiteral("Trenner5"));
    addMenuItem(bearbeiten, QStringLiteral("mnuAusschneiden"), QStringLiteral("&Ausschneiden"), ShortCut('X', scCtrl),
                &TfrmMain::ppAusschneidenClick, int(GlyphMotif::Scissors));
    addMenuItem(bearbeiten, QStringLiteral("mnuKopieren"), QStringLiteral("&Kopieren"), ShortCut('C', scCtrl), &TfrmMain::ppKopierenClick, int(GlyphMotif::TwoPages));
    addMenuItem(bearbeiten, QStringLiteral("mnuEinfuegen"), QStringLiteral("&Einfügen"), ShortCut('V', scCtrl), &TfrmMain::ppEinfuegenClick, int(GlyphMotif::Clipboard));

    QMenu *ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    ansicht->setObjectName(QStringLiteral("mnuAnsicht"));
    m_styleGroup = new QActionGroup(this);
    m_styleGroup->setExclusive(true);
    for (QAction *a : {addMenuItem(ansicht, QStringLiteral("mnuRegister"), QStringLiteral("&Register"), 0, &TfrmMain::mnuRegisterClick),
                       addMenuItem(ansicht, QStringLiteral("mnuButtons"), QStringLiteral("&Buttons"), 0, &TfrmMain::mnuButtonsClick),
                       addMenuItem(ansicht, QStringLiteral("mnuFlat"), QStringLiteral("&Flache Buttons"), 0, &TfrmMain::mnuFlatClick)}) {
        a->setCheckable(true);
        m_styleGroup->addAction(a);
    }
    MenuItem(QStringLiteral("mnuRegister"))->setChecked(true);
    QAction *mehrzeilig = addMenuItem(ansicht, QStringLiteral("mnuMehrzeilig"), QStringLiteral("&Mehrzeilig"), 0, &TfrmMain::mnuMehrzeiligClick);
    mehrzeilig->setCheckable(true);
    mehrzeilig->setChecked(true);
    ansicht->addSeparator()->setObjectName(QStringLiteral("trenner3"));
    addMenuItem(ansicht, QStringLiteral("mnuSaveAnsicht"), QStringLiteral("&Ansichtsoptionen speichern"), 0, &TfrmMain::mnuSaveAnsichtClick)
        ->setStatusTip(QStringLiteral("Speichert die Ansichtsoptionen als Standard"));

    QMenu *karte = bar->addMenu(QStringLiteral("&Karte"));
    karte->setObjectName(QStringLiteral("mnuKarte"));
    addMenuItem(karte, QStringLiteral("mnuNeu"), QStringLiteral("&Neu"), 0, &TfrmMain::mnuNeuClick, int(GlyphMotif::BlankPage));
    addMenuItem(karte, QStringLiteral("mnuDelete"), QStringLiteral("&Löschen"), 0, &TfrmMain::mnuDeleteClick, int(GlyphMotif::RedCross));
    addMenuItem(karte, QStringLiteral("mnuRename"), QStringLiteral("&Umbenennen"), 0, &TfrmMain::mnuRenameClick, int(GlyphMotif::RenameAB));
    karte->addSeparator()->setObjectName(QStringLiteral("trenner2"));
    addMenuItem(karte, QStringLiteral("mnuSchrift"), QStringLiteral("&Schrift"), 0, &TfrmMain::mnuSchriftClick, int(GlyphMotif::LetterA));
    karte->addSeparator()->setObjectName(QStringLiteral("trenner6"));
    addMenuItem(karte, QStringLiteral("mnuTextverarbeitung"), QStringLiteral("In &Textverarbeitung öffnen"), 0,
                &TfrmMain::mnuTextverarbeitungClick)
        ->setStatusTip(QStringLiteral("Öffnet die Karte in der Textverarbeitung"));

    createExtrasMenu();

    QMenu *hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("mnuHilfe"));
    addMenuItem(hilfe, QStringLiteral("mnuHilfetext"), QStringLiteral("Zum &Programm"), 0, &TfrmMain::mnuHilfetextClick);
    addMenuItem(hilfe, QStringLiteral("mnuInfo"), QStringLiteral("&Info"), 0, &TfrmMain::mnuInfoClick);
}

void TfrmMain::createExtrasMenu()
{
    m_mnuExtras = menuBar()->addMenu(QStringLiteral("E&xtras"));
    m_mnuExtras->setObjectName(QStringLiteral("mnuExtras"));
    createSpellCheck();
    addMenuItem(m_mnuExtras, QStringLiteral("mnuExportieren"), QStringLiteral("Karte &exportieren \u2026"), 0,
                &TfrmMain::mnuExportierenClick);
    addMenuItem(m_mnuExtras, QStringLiteral("mnuAlleExportieren"), QStringLiteral("&Alle Karten exportieren \u2026"), 0,
                &TfrmMain::mnuAlleExportierenClick);
    addMenuItem(m_mnuExtras, QStringLiteral("mnuFassungen"), QStringLiteral("&Fr\u00fchere Fassungen \u2026"), 0,
                &TfrmMain::mnuFassungenClick);
}

void TfrmMain::createEditorPopupMenu()
{
    // The editor's context menu.
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const struct {
        const char *name;
        const char *caption;
        Handler handler;
    } items[] = {{"ppAusschneiden", "&Ausschneiden", &TfrmMain::ppAusschneidenClick},
                 {"ppKopieren", "&Kopieren", &TfrmMain::ppKopierenClick},
                 {"ppEinfuegen", "&Einfügen", &TfrmMain::ppEinfuegenClick}};
    for (const auto &item : items) {
        auto *action = m_popupMenu1->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        const Handler handler = item.handler;
        connect(action, &QAction::triggered, this, [this, handler, action] { platform::Guarded([&] { (this->*handler)(action); }); });
    }
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_editor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { EditorContextMenu(pos); });
}

QAction *TfrmMain::MenuItem(const QString &name) const
{
    for (const MenuEntry &entry : m_menuEntries)
        if (entry.name == name)
            return entry.action;
    return nullptr;
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_findBar->LeavesKeyToField(watched, *key))
            return false;
        const bool overrideOnly = event->type() == QEvent::ShortcutOverride;
        if (dispatchShortcut(watched, key, overrideOnly))
            return true;
        if (!overrideOnly && !QApplication::activePopupWidget()
            && (m_findBar->HandleKey(watched, *key) || closeMessageStrip(watched, *key)))
            return true;
        return dispatchWindowKey(watched, key, overrideOnly);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::dispatchShortcut(QObject *watched, QKeyEvent *event, bool overrideOnly)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || QApplication::activePopupWidget())
        return false;
    const TShortCut value = ShortCutFromKeyEvent(*event);
    if (value == 0)
        return false;
    for (const MenuEntry &entry : m_menuEntries) {
        if (entry.shortcut != value)
            continue;
        if (overrideOnly) {
            // Claim the key so no control's own shortcut handling takes it.
            event->accept();
            return true;
        }
        if (entry.action->isEnabled())
            entry.action->trigger();
        return true;
    }
    return false;
}

void TfrmMain::ShowNotice(const QString &text) { m_messageStrip->Show(text); }

void TfrmMain::ShowProblem(const QString &text) { m_messageStrip->Show(text, TMessageStrip::Kind::Problem); }

bool TfrmMain::closeMessageStrip(QObject *watched, const QKeyEvent &key)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (key.key() != Qt::Key_Escape || key.modifiers() != Qt::NoModifier || m_messageStrip->isHidden() || !widget
        || widget->window() != this)
        return false;
    m_messageStrip->Close();
    return true;
}

void TfrmMain::refreshGlyphs()
{
    if (!m_speedBar1)
        return;
    SetToolbarGlyphs(m_speedBar1);
    for (const MenuEntry &entry : std::as_const(m_menuEntries))
        if (entry.glyph >= 0)
            entry.action->setIcon(ToolbarIcon(static_cast<GlyphMotif>(entry.glyph), palette()));
}

void TfrmMain::layoutClient()
{
    const int w = m_client->width();
    const int h = m_client->height();
    const int top = m_speedBar1->isVisible() || !isVisible() ? m_speedBar1->Thickness() : 0;
    m_panel1->setGeometry(0, h - kBannerHeight, w, kBannerHeight);
    m_tabControl1->setGeometry(0, top, w, qMax(0, h - top - kBannerHeight));
}

void TfrmMain::updateMinimumSize()
{
    // The limit is on the outer size; the frame is known once the window is mapped.
    const QSize frame = frameGeometry().size() - geometry().size();
    setMinimumSize(kMinOuterWidth - frame.width(), kMinOuterHeight - frame.height());
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutClient();
    FormResize();
}

void TfrmMain::FormCreate()
{
    const platform::ProgramFolders &folders = platform::Folders();
    SetFolders(folders.cards, folders.settings);
}

void TfrmMain::SetFolders(const QString &cardsFolder, const QString &settingsFolder)
{
    m_settingsFolder = settingsFolder;
    m_dataFolder = cardsFolder;
    m_cards->SetCardDir(cards::CardFolderIn(cardsFolder));
    SetCardFolder(cards::ChosenCardFolder(QString(), SettingsFileName(), cards::CardFolderIn(cardsFolder)));
    m_versions->SetFolder(cards::VersionFolder(settingsFolder, platform::Folders().installed));
}

void TfrmMain::SetCardFolder(const QString &folder) { m_cards->SetCardDir(folder); }

QString TfrmMain::SettingsFileName() const { return cards::SettingsFileIn(m_settingsFolder); }

void TfrmMain::FormResize() { SetEditorMargins(); }

void TfrmMain::SetEditorMargins()
{
    m_editor->SetFormatRect(kEditorMargin, 0, m_editor->ClientWidth() - kEditorMargin, m_editor->ClientHeight());
}

void TfrmMain::Panel1Click() { platform::ShellOpen(this, kMakerWebAddress); }

} // namespace ui
