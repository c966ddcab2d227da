#include "modaldriver.h"
#include "mainwindowfixture.h"

#include "shell.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>

using namespace ui;

namespace {
const QString kDuplicate = "Eine Karte mit der Beschriftung \"%1\" ist bereits vorhanden!\nBitte vergeben Sie einen anderen Namen.";
}

TEST_F(MainWindowFixture, NewCardAsksWithItsTextsAndIsWrittenAtOnce)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    ModalDriver driver;
    driver.TypeAndPress("  Notizen ", "OK");
    click("mnuNeu");
    ASSERT_EQ(driver.Seen().size(), 1);
    const SeenDialog &box = driver.Seen()[0];
    EXPECT_EQ(box.title, "Neue Karte anlegen");
    EXPECT_EQ(box.texts.value(0), "Geben Sie die Beschriftung ein");
    EXPECT_EQ(box.editText, "Neue Karte");
    EXPECT_EQ(box.selectedText, "Neue Karte");
    EXPECT_EQ(tabs().Tabs(), QStringList({"A", "Notizen"}));
    EXPECT_EQ(tabs().TabIndex(), 1);
    EXPECT_TRUE(window->Editor()->toPlainText().isEmpty());
    EXPECT_TRUE(program.exists("KRT/Notizen.rtf"));
    // Left without typing, it still loads again.
    ASSERT_TRUE(tabs().SelectByUser(0));
    ASSERT_TRUE(tabs().SelectByUser(1));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(MainWindowFixture, NewCardTypesPlainWhateverTheCaretStoodOn)
{
    withCards({{"A", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 {\\b\\i\\ul\\cf1 fett}}"}});
    startAndRestore();
    window->Editor()->moveCursor(QTextCursor::End);
    ASSERT_EQ(controls::StyleOfFormat(window->Editor()->currentCharFormat()), 7u) << "caret on bold italic underlined text";
    ModalDriver driver;
    driver.TypeAndEnter("Neu");
    click("mnuNeu");
    QTest::keyClicks(window->Editor(), "x"); // where the caret is: a move would reset the typing format
    QTextCursor typed(window->Editor()->document());
    typed.movePosition(QTextCursor::End);
    EXPECT_EQ(controls::StyleOfFormat(typed.charFormat()), 0u);
    EXPECT_EQ(window->CurrentAttributes().Style(), 0u);
    EXPECT_EQ(typed.charFormat().fontFamilies().toStringList().value(0), "Arial");
    EXPECT_EQ(typed.charFormat().fontPointSize(), 10);
}

TEST_F(MainWindowFixture, NewCardWritesTheChangedCardFirst)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    type(" beta");
    ModalDriver driver;
    driver.Press("Abbrechen");
    click("mnuNeu");
    EXPECT_EQ(cardText("A"), "alpha beta");
    EXPECT_EQ(tabs().TabCount(), 1);
    EXPECT_TRUE(window->Cards().CardModified());
}

TEST_F(MainWindowFixture, NewCardTypedTextTakesTheNewCardFont)
{
    program.write("Kartolino.ini", "[Schrift]\r\nName=Courier New\r\nSize=14\r\n");
    startAndRestore();
    ModalDriver driver;
    driver.TypeAndEnter("Plan");
    click("mnuNeu");
    EXPECT_FALSE(window->Cards().CardModified());
    type("x");
    EXPECT_TRUE(window->Cards().CardModified());
    const QTextCharFormat format = window->Editor()->currentCharFormat();
    EXPECT_EQ(format.fontFamilies().toStringList().value(0), "Courier New");
    EXPECT_EQ(format.fontPointSize(), 14);
}

TEST_F(MainWindowFixture, DuplicateNamesAskAgainWithTheDefaultText)
{
    withCards({{"neue karte", "n"}});
    startAndRestore();
    ModalDriver driver;
    driver.Enter();           // "Neue Karte" is taken (a to z fold)
    driver.Press("OK");       // the duplicate message
    driver.Escape();          // asked again, then cancelled
    click("mnuNeu");
    ASSERT_EQ(driver.Seen().size(), 3);
    EXPECT_EQ(driver.Seen()[1].title, "Fehler");
    EXPECT_EQ(driver.Seen()[1].text, kDuplicate.arg("Neue Karte"));
    EXPECT_EQ(driver.Seen()[1].buttons, QStringList{"OK"});
    EXPECT_EQ(driver.Seen()[2].editText, "Neue Karte");
    EXPECT_EQ(tabs().TabCount(), 1);
}

TEST_F(MainWindowFixture, ForbiddenCharactersAreRefusedWithTheInput)
{
    startAndRestore();
    ModalDriver driver;
    driver.TypeAndEnter(" Plan.A ");
    driver.Enter();
    driver.Escape();
    click("mnuNeu");
    ASSERT_EQ(driver.Seen().size(), 3);
    EXPECT_EQ(driver.Seen()[1].text,
              "Verwenden Sie keines dieser Zeichen  / \\ \" : . * ?  < > |  in der Beschriftung!\nIhre Eingabe: Plan.A");
    EXPECT_EQ(tabs().TabCount(), 0);
}

TEST_F(MainWindowFixture, BlankNameMakesACardWithEmptyCaption)
{
    startAndRestore();
    ModalDriver driver;
    driver.TypeAndEnter("   ");
    click("mnuNeu");
    EXPECT_EQ(tabs().Tabs(), QStringList{""});
    EXPECT_TRUE(program.exists("KRT/.rtf"));
}

TEST_F(MainWindowFixture, DeleteAsksAndLoadsTheFirstCard)
{
    withCards({{"A", "alpha"}, {"B", "beta"}, {"C", "gamma"}});
    startAndRestore();
    tabs().SetTabIndex(2);
    window->Cards().LoadCurrentCard();
    const QString victim = tabs().Tab(2);
    ModalDriver driver;
    driver.Press("&Ja");
    click("mnuDelete");
    ASSERT_EQ(driver.Seen().size(), 1);
    EXPECT_EQ(driver.Seen()[0].title, "Bestätigung");
    EXPECT_EQ(driver.Seen()[0].text, QString("Soll die Karte  \"%1\"  gelöscht werden?").arg(victim));
    EXPECT_EQ(driver.Seen()[0].buttons, QStringList({"&Ja", "&Nein"}));
    EXPECT_EQ(driver.Seen()[0].defaultButton, "&Ja");
    EXPECT_FALSE(program.exists("KRT/" + victim + ".rtf"));
    // In the trash, so a mistaken "Ja" can be undone.
    EXPECT_FALSE(program.read("home/data/Trash/files/" + victim + ".rtf").isEmpty());
    EXPECT_EQ(tabs().TabCount(), 2);
    EXPECT_EQ(tabs().TabIndex(), 0);
    EXPECT_EQ(window->Editor()->toPlainText(), program.read("KRT/" + tabs().Tab(0) + ".rtf"));
}

TEST_F(MainWindowFixture, DeleteAnsweredNoOrTheLastCardChangesNothing)
{
    withCards({{"A", "alpha"}, {"B", "beta"}});
    startAndRestore();
    ModalDriver driver;
    driver.Escape();
    click("mnuDelete");
    EXPECT_EQ(tabs().TabCount(), 2);
    driver.Press("&Ja");
    click("mnuDelete");
    EXPECT_EQ(tabs().TabCount(), 1);
    driver.Press("OK");
    click("mnuDelete");
    ASSERT_EQ(driver.Seen().size(), 3);
    EXPECT_EQ(driver.Seen()[2].title, "Information");
    EXPECT_EQ(driver.Seen()[2].text, "Die letzte Karte kann nicht gelöscht werden!");
    EXPECT_EQ(tabs().TabCount(), 1);
}

TEST_F(MainWindowFixture, CommandsThatNeedACardDoNothingWithoutOne)
{
    static QStringList opened;
    opened.clear();
    platform::SetShellOpener([](const QString &target) { opened << target; });
    startAndRestore();
    ModalDriver driver;
    controls::TRichEdit *editor = window->Editor();
    const QTextCharFormat format = editor->DefaultCharFormat();
    const QTextBlockFormat block = editor->document()->firstBlock().blockFormat();
    for (const char *item : {"mnuDrucken", "mnuUnDO", "mnuAusschneiden", "mnuKopieren", "mnuEinfuegen", "mnuDelete", "mnuRename",
                             "mnuSchrift", "mnuTextverarbeitung", "mnuExportieren", "mnuAlleExportieren"})
        click(item);
    for (auto handler : {&TfrmMain::spDruckenClick, &TfrmMain::spBoldClick, &TfrmMain::spItalicClick, &TfrmMain::spUnderlineClick,
                         &TfrmMain::spLeftClick, &TfrmMain::spCenterClick, &TfrmMain::spRightClick, &TfrmMain::spBulletClick,
                         &TfrmMain::spZeitStempelClick})
        platform::Guarded([&] { (window.get()->*handler)(nullptr); });
    editor->setFocus();
    for (const auto &[key, mods] : {std::pair{Qt::Key_B, Qt::ControlModifier}, std::pair{Qt::Key_K, Qt::ControlModifier},
                                    std::pair{Qt::Key_S, Qt::ControlModifier}, std::pair{Qt::Key_F5, Qt::NoModifier},
                                    std::pair{Qt::Key_V, Qt::ControlModifier}})
        QTest::keyClick(editor, key, mods);
    platform::SetShellOpener(nullptr);
    EXPECT_TRUE(driver.Seen().isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    EXPECT_EQ(editor->DefaultCharFormat(), format);
    EXPECT_EQ(editor->document()->firstBlock().blockFormat(), block);
}

TEST_F(MainWindowFixture, RenameMovesTheFileAndKeepsTheText)
{
    withCards({{"notizen", "alt"}});
    startAndRestore();
    type(" neu");
    ModalDriver driver;
    driver.Enter();                       // unchanged: taken by itself
    driver.Press("OK");
    driver.TypeAndEnter("Notizen");       // only the case: still the same card
    driver.Press("OK");
    driver.TypeAndEnter("Ideen");
    click("mnuRename");
    ASSERT_EQ(driver.Seen().size(), 5);
    EXPECT_EQ(driver.Seen()[0].title, "Karte \"notizen\" umbenennen");
    EXPECT_EQ(driver.Seen()[0].texts.value(0), "Geben Sie die neue Beschriftung ein");
    EXPECT_EQ(driver.Seen()[0].editText, "notizen");
    EXPECT_EQ(driver.Seen()[1].text, kDuplicate.arg("notizen"));
    EXPECT_EQ(driver.Seen()[3].text, kDuplicate.arg("Notizen"));
    EXPECT_EQ(tabs().Tabs(), QStringList{"Ideen"});
    EXPECT_FALSE(program.exists("KRT/notizen.rtf"));
    EXPECT_EQ(program.read("KRT/Ideen.rtf"), "alt");
    EXPECT_TRUE(window->Editor()->toPlainText().endsWith(" neu"));
    EXPECT_TRUE(window->Cards().CardModified());
    window->close();
    EXPECT_EQ(cardText("Ideen"), "alt neu");
}

TEST_F(MainWindowFixture, ANameWhoseFileArrivedWithoutATabIsTaken)
{
    withCards({{"A", "alpha"}});
    program.write("KRT/B.rtf.x", "");
    startAndRestore();
    program.write("KRT/B.rtf", "fremd"); // delivered after the start: no tab
    program.write("KRT/Neue Karte.rtf", "auch fremd");
    ModalDriver driver;
    driver.TypeAndEnter("B").Enter().Escape();
    click("mnuRename");
    driver.Enter().Enter().Escape();
    click("mnuNeu");
    ASSERT_EQ(driver.Seen().size(), 6);
    EXPECT_EQ(driver.Seen()[1].text, kDuplicate.arg("B"));
    EXPECT_EQ(driver.Seen()[4].text, kDuplicate.arg("Neue Karte"));
    EXPECT_EQ(tabs().Tabs(), QStringList{"A"});
    EXPECT_EQ(program.read("KRT/A.rtf"), "alpha");
    EXPECT_EQ(program.read("KRT/B.rtf"), "fremd");
    EXPECT_EQ(program.read("KRT/Neue Karte.rtf"), "auch fremd");
}

// A tab click used to put the caret at the start and the view at the top, so
// text typed after it landed at the top of the card.
TEST_F(MainWindowFixture, EachCardKeepsItsCaretSelectionAndScrollAcrossSwitches)
{
    QByteArray longCard = "{\\rtf1\\ansi ";
    for (int i = 0; i < 300; ++i)
        longCard += "Zeile " + QByteArray::number(i) + "\\par ";
    longCard += "Ende}";
    withCards({{"Alpha", longCard.constData()}, {"Beta", "beta"}});
    startAndRestore();
    ASSERT_EQ(tabs().Tab(0), "Alpha");
    window->resize(500, 300);
    QCoreApplication::processEvents();
    QTextCursor cursor(window->Editor()->document());
    cursor.setPosition(200);
    cursor.setPosition(205, QTextCursor::KeepAnchor);
    window->Editor()->setTextCursor(cursor);
    QScrollBar *bar = window->Editor()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();

    ASSERT_TRUE(tabs().SelectByUser(1));
    EXPECT_EQ(window->Editor()->textCursor().position(), 0) << "a card never shown starts at its top";
    ASSERT_TRUE(tabs().SelectByUser(0));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Editor()->textCursor().anchor(), 200);
    EXPECT_EQ(window->Editor()->textCursor().position(), 205);
    EXPECT_EQ(bar->value(), scrolled);
    QTest::keyClicks(window->Editor(), "Q");
    EXPECT_TRUE(window->Editor()->toPlainText().mid(200, 1) == "Q") << "typed where the user stood";
}
