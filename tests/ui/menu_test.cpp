#include "modaldriver.h"
#include "mainwindowfixture.h"
#include "menushortcut.h"

#include "shell.h"

#include <QActionGroup>
#include <QApplication>
#include <QTimer>
#include <QLabel>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

using namespace ui;

namespace {
struct MenuRow {
    const char *menu;
    const char *name;
    const char *caption;
    const char *shortcut;
};
// The main menu, top to bottom, separators left out.
const MenuRow kMenu[] = {
    {"&Datei", "mnuDrucken", "&Drucken", "Strg+D"},
    {"&Datei", "mnuBeenden", "&Beenden", "Strg+X"}, // shown only: the key cuts
    {"&Bearbeiten", "mnuUnDO", "&Rückgängig", "Strg+Z"},
    {"&Bearbeiten", "mnuAusschneiden", "&Ausschneiden", "Strg+X"},
    {"&Bearbeiten", "mnuKopieren", "&Kopieren", "Strg+C"},
    {"&Bearbeiten", "mnuEinfuegen", "&Einfügen", "Strg+V"},
    {"&Ansicht", "mnuRegister", "&Register", ""},
    {"&Ansicht", "mnuButtons", "&Buttons", ""},
    {"&Ansicht", "mnuFlat", "&Flache Buttons", ""},
    {"&Ansicht", "mnuMehrzeilig", "&Mehrzeilig", ""},
    {"&Ansicht", "mnuSaveAnsicht", "&Ansichtsoptionen speichern", ""},
    {"&Karte", "mnuNeu", "&Neu", ""},
    {"&Karte", "mnuDelete", "&Löschen", ""},
    {"&Karte", "mnuRename", "&Umbenennen", ""},
    {"&Karte", "mnuSchrift", "&Schrift", ""},
    {"&Karte", "mnuTextverarbeitung", "In &Textverarbeitung öffnen", ""},
    {"E&xtras", "mnuRechtschreibung", "&Rechtschreibung prüfen", ""},
    {"E&xtras", "mnuExportieren", "Karte &exportieren …", ""},
    {"E&xtras", "mnuAlleExportieren", "&Alle Karten exportieren …", ""},
    {"E&xtras", "mnuFassungen", "&Frühere Fassungen …", ""},
    {"&Hilfe", "mnuHilfetext", "Zum &Programm", ""},
    {"&Hilfe", "mnuInfo", "&Info", ""},
};
} // namespace

TEST(ShortCutToText, ModifierNamesInOrderThenTheKey)
{
    EXPECT_EQ(ShortCutToText(16452), "Strg+D");
    EXPECT_EQ(ShortCutToText(16472), "Strg+X");
    EXPECT_EQ(ShortCutToText(ShortCut('S', scShift | scCtrl | scAlt)), "Umsch+Strg+Alt+S");
    EXPECT_EQ(ShortCutToText(0x2E | scShift), "Umsch+Entf");
    EXPECT_EQ(ShortCutToText(0x71), "F2");
}

TEST_F(MainWindowFixture, MenuHoldsEveryItemInOrder)
{
    QStringList seen;
    for (QAction *top : window->menuBar()->actions()) {
        for (QAction *item : top->menu()->actions()) {
            if (item->isSeparator())
                continue;
            seen << top->text() + "|" + item->objectName() + "|" + item->text();
            EXPECT_TRUE(item->isEnabled());
        }
    }
    QStringList expected;
    for (const MenuRow &row : kMenu) {
        QString text = QString::fromUtf8(row.caption);
        if (*row.shortcut)
            text += "\t" + QString::fromLatin1(row.shortcut);
        expected << QString::fromUtf8(row.menu) + "|" + row.name + "|" + text;
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(window->MenuItem("mnuSaveAnsicht")->statusTip(), "Speichert die Ansichtsoptionen als Standard");
    EXPECT_EQ(window->MenuItem("mnuTextverarbeitung")->statusTip(), "Öffnet die Karte in der Textverarbeitung");
}

TEST_F(MainWindowFixture, StyleItemsAreOneRadioGroup)
{
    QAction *reg = window->MenuItem("mnuRegister");
    QAction *buttons = window->MenuItem("mnuButtons");
    QAction *flat = window->MenuItem("mnuFlat");
    ASSERT_NE(reg->actionGroup(), nullptr);
    EXPECT_TRUE(reg->actionGroup()->isExclusive());
    EXPECT_EQ(reg->actionGroup(), buttons->actionGroup());
    EXPECT_EQ(reg->actionGroup(), flat->actionGroup());
    startAndRestore();
    for (QAction *a : {reg, buttons, flat, reg}) {
        a->trigger();
        EXPECT_EQ(int(reg->isChecked()) + int(buttons->isChecked()) + int(flat->isChecked()), 1);
        EXPECT_TRUE(a->isChecked());
    }
}

TEST_F(MainWindowFixture, CtrlCCopiesOnceThroughTheMenu)
{
    withCards({{"A", "Hallo Welt"}});
    startAndRestore();
    QSignalSpy copies(window->MenuItem("mnuKopieren"), &QAction::triggered);
    QGuiApplication::clipboard()->clear();
    window->Editor()->selectAll();
    window->Editor()->setFocus();
    QTest::keyClick(window->Editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies.count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo Welt");
}

TEST_F(MainWindowFixture, CtrlXCutsAndNeverCloses)
{
    withCards({{"A", "weg damit"}});
    startAndRestore();
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    QSignalSpy cuts(window->MenuItem("mnuAusschneiden"), &QAction::triggered);
    window->Editor()->selectAll();
    QTest::keyClick(window->Editor(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(cuts.count(), 1);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Editor()->toPlainText().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "weg damit");
}

TEST_F(MainWindowFixture, KeysWithoutMenuItemReachTheEditor)
{
    withCards({{"A", ""}});
    startAndRestore();
    QTest::keyClicks(window->Editor(), "abc");
    QTest::keyClick(window->Editor(), Qt::Key_A, Qt::ControlModifier); // select all, the editor's own
    QTest::keyClick(window->Editor(), Qt::Key_Delete);
    EXPECT_TRUE(window->Editor()->toPlainText().isEmpty());
}

TEST_F(MainWindowFixture, EditorsOwnFormattingKeysBehindTheMenu)
{
    withCards({{"A", "Hallo"}});
    startAndRestore();
    controls::TRichEdit *editor = window->Editor();
    editor->setFocus();
    editor->selectAll();
    auto ctrl = [&](Qt::Key key) { QTest::keyClick(editor, key, Qt::ControlModifier); };
    auto style = [&] { return window->CurrentAttributes().Style(); };

    const struct {
        Qt::Key key;
        controls::TFontStyles flag;
    } toggles[] = {{Qt::Key_B, controls::fsBold}, {Qt::Key_I, controls::fsItalic}, {Qt::Key_U, controls::fsUnderline}};
    for (const auto &t : toggles) {
        ctrl(t.key);
        EXPECT_EQ(style(), t.flag) << t.key;
        ctrl(t.key);
        EXPECT_EQ(style(), 0u) << t.key;
    }
    // Without a selection the key changes what is typed next.
    editor->moveCursor(QTextCursor::End);
    ctrl(Qt::Key_B);
    QTest::keyClicks(editor, "X");
    QTextCursor typed(editor->document());
    typed.movePosition(QTextCursor::End);
    EXPECT_EQ(controls::StyleOfFormat(typed.charFormat()), controls::TFontStyles(controls::fsBold));
    EXPECT_EQ(editor->toPlainText(), "HalloX");

    const struct {
        Qt::Key key;
        controls::TAlignment alignment;
    } aligns[] = {{Qt::Key_E, controls::taCenter}, {Qt::Key_R, controls::taRightJustify}, {Qt::Key_L, controls::taLeftJustify}};
    for (const auto &a : aligns) {
        ctrl(a.key);
        EXPECT_EQ(editor->ParagraphAttributes().Alignment(), a.alignment) << a.key;
    }

    // Ctrl+Z is still the menu's; Ctrl+Y redoes what it took back.
    QSignalSpy undos(window->MenuItem("mnuUnDO"), &QAction::triggered);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(undos.count(), 1);
    EXPECT_EQ(editor->ParagraphAttributes().Alignment(), controls::taRightJustify);
    ctrl(Qt::Key_Y);
    EXPECT_EQ(editor->ParagraphAttributes().Alignment(), controls::taLeftJustify);
    EXPECT_EQ(undos.count(), 1);
}

TEST_F(MainWindowFixture, BannerAndLabelOpenTheMakersSite)
{
    static QStringList opened;
    opened.clear();
    platform::SetShellOpener([](const QString &target) { opened << target; });
    startAndRestore();
    QTest::mouseClick(window->Panel1(), Qt::LeftButton, {}, QPoint(window->Panel1()->width() - 5, 5));
    QTest::mouseClick(window->Label1(), Qt::LeftButton, {}, QPoint(3, 3));
    platform::SetShellOpener(nullptr);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], opened[1]);
    EXPECT_TRUE(opened[0].startsWith("https://"));
    EXPECT_EQ(window->Label1()->palette().color(QPalette::WindowText), QColor(255, 215, 42));
    EXPECT_EQ(window->Panel1()->height(), 27);
}

TEST_F(MainWindowFixture, PopupMenuIsTheEditorsContextMenu)
{
    QStringList names;
    for (QAction *a : window->PopupMenu1()->actions())
        names << a->objectName() + "|" + a->text();
    EXPECT_EQ(names, QStringList({"ppAusschneiden|&Ausschneiden", "ppKopieren|&Kopieren", "ppEinfuegen|&Einfügen"}));
    EXPECT_EQ(window->Editor()->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(MainWindowFixture, WindowCannotBeMadeSmallerThanTheMinimum)
{
    startAndRestore();
    window->resize(100, 100);
    EXPECT_GE(window->frameGeometry().width(), 567);
    EXPECT_GE(window->frameGeometry().height(), 300);
}

TEST_F(MainWindowFixture, KeysOnNoMenuRunTheirCommands)
{
    withCards({{"A", "Hallo"}});
    startAndRestore();
    controls::TRichEdit *editor = window->Editor();
    editor->setFocus();
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(editor, k, m); };

    type("X");
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(cardText("A"), "HalloX") << "Ctrl+S is a save point";
    key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->ParagraphAttributes().Numbering(), controls::nsBullet);
    const QString before = editor->toPlainText();
    key(Qt::Key_F5);
    EXPECT_GT(editor->toPlainText().size(), before.size()) << "F5 is the time stamp";

    // The menu bar and the context menu from the keyboard.
    key(Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), window->findChild<QMenu *>("mnuDatei"));
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    for (const auto &[k, m] : {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        QWidget *shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activePopupWidget();
            if (shown)
                shown->close();
        });
        key(k, m);
        QCoreApplication::processEvents();
        EXPECT_NE(qobject_cast<QMenu *>(shown), nullptr) << k;
    }

    // Modal windows: the help window and the new card's name.
    ModalDriver driver;
    driver.Press("OK");
    key(Qt::Key_F1);
    driver.Escape();
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(driver.WaitUntilDone());
    ASSERT_EQ(driver.Seen().size(), 2);
    EXPECT_EQ(driver.Seen().at(1).title, "Neue Karte anlegen");

    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(window->isMinimized() || window->isHidden()) << "Ctrl+W is Schließen";
    EXPECT_EQ(closed.count(), 0);
    window->showNormal();
    window->Editor()->setFocus();
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(closed.count(), 1);
}
