#include "cardfolder.h"
#include "tempfolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace cards;
using testing_support::TempFolder;

namespace {
struct CardFolderFixture : ::testing::Test {
    TempFolder dir;
    QString choose(const QStringList &arguments) const
    {
        return ChosenCardFolder(CardFolderOption(arguments), dir.file("Kartolino.ini"), dir.file("KRT/"));
    }
};
} // namespace

TEST_F(CardFolderFixture, CommandLineBeforeSettingsBeforeTheDescribedFolder)
{
    const QString home = QDir::homePath();
    EXPECT_EQ(choose({"Kartolino"}), dir.file("KRT/"));
    // 8-bit settings file as the program writes it: "Ü" is the byte DC.
    dir.write("Kartolino.ini", "[Ansicht]\nBreite=700\n[Karten]\nOrdner=~/Sync/Notizen \xdc\n");
    EXPECT_EQ(choose({"Kartolino"}), home + "/Sync/Notizen \u00dc/");
    EXPECT_EQ(choose({"Kartolino", "--kartenordner", "/media/stick/Karten/"}), "/media/stick/Karten/");
    EXPECT_EQ(choose({"Kartolino", "--kartenordner=~"}), home + "/");
    EXPECT_EQ(choose({"Kartolino", "--kartenordner=Hier"}), QDir::currentPath() + "/Hier/");
    // A relative folder in the settings is taken from the settings file's folder.
    dir.write("Kartolino.ini", "[Karten]\nOrdner=../Gemeinsam\n");
    EXPECT_EQ(choose({"Kartolino"}), QDir::cleanPath(dir.file("../Gemeinsam")) + "/");
}

TEST_F(CardFolderFixture, StateTellsAMissingFromAnEmptiedFolder)
{
    EXPECT_EQ(StateOfCardFolder(dir.file("fehlt/")), CardFolderState::Missing);
    dir.mkdir("KRT");
    dir.write("KRT/.stfolder", "");
    EXPECT_EQ(StateOfCardFolder(dir.file("KRT/")), CardFolderState::Empty);
    dir.write("KRT/Notiz.RTF", "{\\rtf1 x}");
    EXPECT_EQ(StateOfCardFolder(dir.file("KRT/")), CardFolderState::HoldsCards);
}
