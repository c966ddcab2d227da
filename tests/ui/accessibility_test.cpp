// What a screen reader reads of the main window and the about and help
// windows through the program's own interfaces: the card tabs and their
// press action with the card store behind it, the editor's name, the banner
// and the about window's links, the names of the find bar and help text.

#include "accessibility.h"
#include "buttonaccessible.h"
#include "findbar.h"
#include "flatbuttonunit.h"
#include "hilfe2.h"
#include "info2.h"
#include "makerlogo.h"
#include "mainwindowfixture.h"
#include "shell.h"
#include "speedbar.h"
#include "tabcontrolaccessible.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <sys/stat.h>

namespace {

QStringList g_opened;

struct AccessibilityFixture : MainWindowFixture {
    static void SetUpTestSuite() { ui::InstallAccessibleFactories(); }
    static void TearDownTestSuite()
    {
        QAccessible::removeFactory(controls::TabControlAccessibleFactory);
        QAccessible::removeFactory(widgets::ButtonAccessibleFactory);
        QAccessible::removeFactory(ui::ClickableAccessibleFactory);
    }
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        g_opened.clear();
        platform::SetShellOpener([](const QString &target) { g_opened << target; });
    }
    void TearDown() override
    {
        platform::SetShellOpener(nullptr);
        MainWindowFixture::TearDown();
    }
    static QAccessibleInterface *of(QObject *object) { return QAccessible::queryAccessibleInterface(object); }
    QString editorName() { return of(window->Editor())->text(QAccessible::Name); }
    void press(QAccessibleInterface *iface)
    {
        ASSERT_TRUE(iface && iface->actionInterface());
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
};

} // namespace

TEST_F(AccessibilityFixture, PressingATabKeepsTheLeavingCardAndRenamesTheEditor)
{
    withCards({{"Eins", "eins"}, {"Zwei", "zwei"}});
    startAndRestore();
    QAccessibleInterface *row = of(&tabs());
    ASSERT_EQ(row->role(), QAccessible::PageTabList);
    EXPECT_EQ(row->text(QAccessible::Name), "Karten");
    const QString first = tabs().Tab(0), second = tabs().Tab(1);
    EXPECT_EQ(row->child(1)->text(QAccessible::Name), second);
    EXPECT_EQ(editorName(), "Karte: " + first);

    type(" neu");
    press(row->child(1));
    EXPECT_EQ(tabs().TabIndex(), 1);
    EXPECT_TRUE(row->child(1)->state().selected);
    EXPECT_EQ(cardText(first), first.toLower() + " neu");
    EXPECT_EQ(editorName(), "Karte: " + second);
    EXPECT_EQ(of(window->Editor())->role(), QAccessible::EditableText) << "Qt's own text interface stays";
    EXPECT_TRUE(of(window->Editor())->textInterface());

    // A leaving card that cannot be written keeps its tab.
    ::chmod(QFile::encodeName(window->Cards().CardFileName(second)).constData(), 0444);
    type("x");
    press(row->child(0));
    EXPECT_EQ(tabs().TabIndex(), 1);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(editorName(), "Karte: " + second);
}

TEST_F(AccessibilityFixture, BannerIsALinkThatOpensTheWebSite)
{
    startAndRestore();
    QAccessibleInterface *banner = of(window->Panel1());
    EXPECT_EQ(banner->role(), QAccessible::Link);
    EXPECT_EQ(banner->text(QAccessible::Name), window->Label1()->text());
    EXPECT_EQ(banner->childCount(), 0) << "its label is no second link";
    press(banner);
    EXPECT_EQ(g_opened, QStringList{ui::kMakerWebAddress});
    EXPECT_EQ(editorName(), "Keine Karte");
}

TEST_F(AccessibilityFixture, FindBarAndToolbarAreNamedInGerman)
{
    startAndRestore();
    ui::TFindBar *bar = window->FindBar();
    bar->Open();
    auto *field = bar->findChild<QLineEdit *>();
    QTest::keyClicks(field, "x");
    auto *clear = field->findChild<QToolButton *>();
    ASSERT_TRUE(clear);
    EXPECT_EQ(of(field)->text(QAccessible::Name), "Suchen in allen Karten");
    EXPECT_EQ(of(clear)->text(QAccessible::Name), "Suchtext löschen");
    EXPECT_EQ(of(bar->findChild<QCheckBox *>())->text(QAccessible::Name), "Umlaute auch als ae, oe, ue und ß als ss finden");
    EXPECT_EQ(of(window->SpeedBar1())->text(QAccessible::Name), "Werkzeugleiste");
    auto *close = window->SpeedBar1()->findChild<QWidget *>("sbClose");
    EXPECT_EQ(of(close)->role(), QAccessible::Button);
    EXPECT_EQ(of(close)->text(QAccessible::Name), "Schließen");
}

TEST_F(AccessibilityFixture, AboutAndHelpWindowsAreNamed)
{
    ui::TfrmInfo info(nullptr);
    info.FormShow();
    struct Row {
        QLabel *label;
        QString name, opens;
    };
    const Row rows[] = {
        {info.Image1, "Logo von " + ui::kMakerName, ui::kMakerWebAddress},
        {info.lURL, ui::kMakerWebHost, ui::kMakerWebAddress},
        {info.lMail, ui::kMakerMailAddress, "mailto:" + ui::kMakerMailAddress},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        g_opened.clear();
        EXPECT_EQ(of(row.label)->role(), QAccessible::Link);
        EXPECT_EQ(of(row.label)->text(QAccessible::Name), row.name);
        press(of(row.label));
        EXPECT_EQ(g_opened, QStringList{row.opens});
    }
    EXPECT_EQ(of(info.BitBtn1)->text(QAccessible::Name), "OK");
    ui::TfrmHilfe help(nullptr);
    EXPECT_EQ(of(help.Memo1)->text(QAccessible::Name), "Hilfetext");
}
