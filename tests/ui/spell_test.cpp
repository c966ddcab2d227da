// The spell check in the main window: its menu item and view options, the
// message without a dictionary, and the context menu's suggestions.

#include "mainwindowfixture.h"
#include "modaldriver.h"
#include "profile.h"
#include "spellchecker.h"
#include "spellhighlighter.h"

#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace {

struct SpellFixture : MainWindowFixture {
    bool settled() { return QTest::qWaitFor([this] { return window->SpellHighlighter()->Finished(); }, 10000); }
    QStringList underlined() const
    {
        QStringList words;
        for (const QTextCursor &word : window->SpellHighlighter()->Underlines())
            words << word.selectedText();
        return words;
    }
    // Opens the context menu over the first occurrence of word and picks the
    // item captioned choice; returns the captions the menu showed.
    QStringList pickFromContextMenu(const QString &word, const QString &choice)
    {
        controls::TRichEdit *editor = window->Editor();
        QTextCursor at(editor->document());
        at.setPosition(editor->toPlainText().indexOf(word) + 2);
        QStringList captions;
        QTimer::singleShot(0, [&] {
            if (!QTest::qWaitFor([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()) != nullptr; }, 5000))
                return;
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *a : menu->actions()) {
                captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (a->text() == choice)
                    menu->setActiveAction(a);
            }
            if (choice.isEmpty())
                menu->close();
            else
                QTest::keyClick(menu, Qt::Key_Return);
        });
        window->EditorContextMenu(editor->cursorRect(at).center());
        return captions;
    }
};

TEST_F(SpellFixture, TheCheckItemLeadsExtrasAndIsOnWithADictionary)
{
    const QList<QAction *> menus = window->menuBar()->actions();
    QStringList titles;
    for (QAction *a : menus)
        titles << a->text();
    EXPECT_EQ(titles.mid(3), (QStringList{"&Karte", "E&xtras", "&Hilfe"}));
    const QList<QAction *> extras = menus.at(4)->menu()->actions();
    ASSERT_GE(extras.size(), 4);
    EXPECT_EQ(extras.at(0)->text(), QStringLiteral("&Rechtschreibung pr\u00fcfen"));
    EXPECT_TRUE(extras.at(0)->isCheckable());
    EXPECT_TRUE(extras.at(1)->isSeparator());
    EXPECT_EQ(extras.at(2)->objectName(), QStringLiteral("mnuExportieren"));

    withCards({{"A", "{\\rtf1\\ansi Ein Fehlrwort}"}});
    startAndRestore();
    EXPECT_TRUE(window->MenuItem("mnuRechtschreibung")->isChecked());
    ASSERT_TRUE(settled());
    EXPECT_EQ(underlined(), QStringList{"Fehlrwort"});
    click("mnuRechtschreibung");
    EXPECT_FALSE(window->MenuItem("mnuRechtschreibung")->isChecked());
    EXPECT_TRUE(underlined().isEmpty());
    EXPECT_FALSE(window->Cards().CardModified());
}

TEST_F(SpellFixture, StateAndLanguagesAreViewOptionsInTheEightBitFile)
{
    const QByteArray stored = "[Rechtschreibung]\r\nPr\xFC" "fen=0\r\nSprachen=en_US, xx_XX\r\n";
    program.write("Kartolino.ini", stored);
    startAndRestore();
    EXPECT_FALSE(window->MenuItem("mnuRechtschreibung")->isChecked());
    EXPECT_EQ(window->SpellHighlighter()->Checker(), nullptr);
    click("mnuRechtschreibung");
    ASSERT_NE(window->SpellHighlighter()->Checker(), nullptr);
    EXPECT_EQ(window->SpellHighlighter()->Checker()->Languages(), QStringList{"en_US"});
    EXPECT_EQ(program.read("Kartolino.ini"), stored) << "switching writes nothing";
    click("mnuSaveAnsicht");
    const QByteArray saved = program.read("Kartolino.ini");
    EXPECT_TRUE(saved.contains("[Rechtschreibung]\r\nPr\xFC" "fen=1\r\nSprachen=en_US,xx_XX\r\n")) << saved.constData();
}

TEST_F(SpellFixture, WithoutSettingsTheLocaleChoosesTheLanguages)
{
    QLocale::setDefault(QLocale(QStringLiteral("de_AT")));
    startAndRestore();
    QLocale::setDefault(QLocale::system());
    click("mnuSaveAnsicht");
    const platform::TIniFile ini(window->SettingsFileName());
    EXPECT_EQ(ini.ReadString("Rechtschreibung", "Pr\u00fcfen", "?"), "1");
    EXPECT_EQ(ini.ReadString("Rechtschreibung", "Sprachen", "?"), "de_AT,en_US");
}

TEST_F(SpellFixture, WithoutADictionaryTurningOnSaysSoOnceAndGoesOn)
{
    program.mkdir("keine");
    window->SetDictionaryFolders({program.file("keine")});
    withCards({{"A", "{\\rtf1\\ansi Ein Fehlrwort}"}});
    startAndRestore();
    EXPECT_FALSE(window->MenuItem("mnuRechtschreibung")->isChecked());
    ModalDriver driver;
    driver.Press("OK");
    click("mnuRechtschreibung");
    ASSERT_EQ(driver.Seen().size(), 1);
    EXPECT_EQ(driver.Seen().at(0).text,
              QStringLiteral("F\u00fcr die Rechtschreibpr\u00fcfung ist kein W\u00f6rterbuch installiert (Paket hunspell-de-de)."));
    click("mnuRechtschreibung");
    click("mnuRechtschreibung");
    EXPECT_EQ(driver.Seen().size(), 1);
    EXPECT_TRUE(window->MenuItem("mnuRechtschreibung")->isChecked());
    EXPECT_TRUE(settled());
    EXPECT_TRUE(underlined().isEmpty());
    type(QStringLiteral(" weiter"));
    EXPECT_TRUE(window->Cards().CardModified());
}

TEST_F(SpellFixture, ASuggestionReplacesTheWordInOneUndoStep)
{
    withCards({{"A", "{\\rtf1\\ansi Das \\b Hauss\\b0  steht.}"}});
    startAndRestore();
    ASSERT_TRUE(settled());
    const QStringList captions = pickFromContextMenu(QStringLiteral("Hauss"), QStringLiteral("Haus"));
    ASSERT_GE(captions.size(), 7);
    EXPECT_LE(captions.size(), 11);
    EXPECT_TRUE(captions.contains(QStringLiteral("Haus"))) << captions.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(captions.mid(captions.size() - 6),
              (QStringList{QStringLiteral("Zum W\u00f6rterbuch hinzuf\u00fcgen"), "Ignorieren", "-", "&Ausschneiden", "&Kopieren",
                           QStringLiteral("&Einf\u00fcgen")}));
    EXPECT_EQ(window->Editor()->toPlainText(), "Das Haus steht.");
    EXPECT_TRUE(window->Cards().CardModified());
    QTextCursor bold(window->Editor()->document());
    bold.setPosition(6);
    EXPECT_TRUE(bold.charFormat().fontWeight() > QFont::Normal);
    EXPECT_EQ(window->PopupMenu1()->actions().size(), 3);
    window->Editor()->undo();
    EXPECT_EQ(window->Editor()->toPlainText(), "Das Hauss steht.");

    // Over a right word the menu holds its three items alone.
    EXPECT_EQ(pickFromContextMenu(QStringLiteral("steht"), QString()),
              (QStringList{"&Ausschneiden", "&Kopieren", QStringLiteral("&Einf\u00fcgen")}));
}

TEST_F(SpellFixture, AddedAndIgnoredWordsLoseTheirUnderline)
{
    withCards({{"A", "{\\rtf1\\ansi Fennwick und Bauum}"}});
    startAndRestore();
    ASSERT_TRUE(settled());
    ASSERT_EQ(underlined(), (QStringList{"Fennwick", "Bauum"}));
    pickFromContextMenu(QStringLiteral("Fennwick"), QStringLiteral("Zum W\u00f6rterbuch hinzuf\u00fcgen"));
    pickFromContextMenu(QStringLiteral("Bauum"), QStringLiteral("Ignorieren"));
    ASSERT_TRUE(settled());
    EXPECT_TRUE(underlined().isEmpty());
    EXPECT_EQ(program.read("Woerterbuch.txt"), "Fennwick\n");
    EXPECT_FALSE(window->Cards().CardModified());
}

} // namespace
