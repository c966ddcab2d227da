#include "mybib.h"
#include "files.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace cards;

TEST(ExtractBaseName, DropsFolderAndLastExtensionOnly)
{
    EXPECT_EQ(ExtractBaseName("Einkauf.rtf"), "Einkauf");
    EXPECT_EQ(ExtractBaseName("a.b.rtf"), "a.b");
    EXPECT_EQ(ExtractBaseName("/home/x/KRT/Plan.rtf"), "Plan");
    // Only "/" separates folders: ":" and "\" belong to the name.
    EXPECT_EQ(ExtractBaseName("12:30 Termin.rtf"), "12:30 Termin");
    EXPECT_EQ(ExtractBaseName("/k/a\\b.rtf"), "a\\b");
    EXPECT_EQ(ExtractBaseName("ohnepunkt"), "ohnepunkt");
    EXPECT_EQ(ExtractBaseName(".rtf"), "");
    EXPECT_EQ(ExtractBaseName("dir.d/datei"), "datei");
}

TEST(ListFiles, OptionsShapeTheEntries)
{
    testing_support::TempFolder dir;
    dir.write("Einkauf.rtf", "");
    QStringList list{"alt"};
    ListFiles(dir.path(), "*.rtf", list, 0);
    EXPECT_EQ(list, QStringList{"Einkauf.rtf"});
    ListFiles(dir.path(), "*.rtf", list, lfAppend | lfBaseName);
    EXPECT_EQ(list, QStringList({"Einkauf.rtf", "Einkauf"}));
    // Without a trailing separator the folder gets one.
    QString folder = dir.path();
    folder.chop(1);
    ListFiles(folder, "*.rtf", list, lfWithFolder);
    EXPECT_EQ(list, QStringList{dir.path() + "Einkauf.rtf"});
    ListFiles(folder, "*.rtf", list, lfWithFolder | lfBaseName);
    EXPECT_EQ(list, QStringList{dir.path() + "Einkauf"});
}

TEST(ListFiles, NothingFoundLeavesTheListAlone)
{
    testing_support::TempFolder dir;
    QStringList list{"bleibt"};
    ListFiles(dir.path(), "*.rtf", list, 0);
    EXPECT_EQ(list, QStringList{"bleibt"});
    ListFiles("/kein/solcher/ordner", "*.rtf", list, 0);
    EXPECT_EQ(list, QStringList{"bleibt"});
}

TEST(ListFiles, FolderOrderIsKeptNotSorted)
{
    testing_support::TempFolder dir;
    for (const char *name : {"zebra.rtf", "Alpha.rtf", "mitte.rtf", "b.rtf", "Z2.rtf", "a1.rtf"})
        dir.write(name, "");
    QStringList raw;
    ASSERT_TRUE(platform::FindEntries(dir.path(), "*.rtf", raw));
    QStringList list;
    ListFiles(dir.path(), "*.rtf", list, 0);
    EXPECT_EQ(list, raw);
}
