// The spell check against the system's real German and English dictionaries,
// the personal dictionary, and dictionaries in other encodings.

#include "exception.h"
#include "hunspelldictionary.h"
#include "spellchecker.h"
#include "tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QStringList kGermanAndEnglish{QStringLiteral("de_DE"), QStringLiteral("en_US")};

QStringList wrongWords(const platform::TSpellChecker &checker, const QString &text)
{
    QStringList words;
    for (const platform::TWordRange &w : checker.Misspelled(text))
        words << text.mid(w.start, w.length);
    return words;
}

struct SpellCheckerTest : ::testing::Test {
    testing_support::TempFolder folder;
    QString personal = folder.file(QStringLiteral("Woerterbuch.txt"));
    platform::TSpellChecker checker{kGermanAndEnglish, platform::SystemDictionaryFolders(), personal};
};

TEST_F(SpellCheckerTest, FindsTheWrongWordsOfGermanTextWithEnglishInIt)
{
    ASSERT_EQ(checker.Languages(), kGermanAndEnglish) << "hunspell-de-de and hunspell-en-us must be installed";
    const struct {
        const char *text;
        QStringList wrong;
    } cases[] = {
        {"Die Straße ist schön, die Füße sind müde.", {}},
        {"Hausaufgabenheft Gartenzaunpfosten Donaudampfschiff", {}},
        {"Wir haben ein Meeting mit dem Team, the weather is nice.", {}},
        {"Das Hauss hat einen Garrten, teh house.", {"Hauss", "Garrten", "teh"}},
        {"Dr. Müller kommt usw. z.B. per E-Mail.", {}},
        {"A4 3D Win10 2x Zimmr12 ABC XYZQW PDFXX", {}},
        {"Siehe https://www.beispel.de/fehlr?x=qwertz, www.fehlr.de oder mailto:fehlr@x.de und Fehlrwort", {"Fehlrwort"}},
        {"Schreib an max.fehlr@beispel.de (bitte), Fehlrwort!", {"Fehlrwort"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrongWords(checker, QString::fromUtf8(c.text)), c.wrong) << c.text;
}

TEST_F(SpellCheckerTest, SuggestsFromBothLanguagesAtMostFive)
{
    const QStringList german = checker.Suggestions(QStringLiteral("Strase"));
    EXPECT_TRUE(german.contains(QStringLiteral("Straße"))) << german.join(QLatin1Char(',')).toStdString();
    EXPECT_LE(german.size(), 5);
    const QStringList english = checker.Suggestions(QStringLiteral("wheather"));
    EXPECT_TRUE(english.contains(QStringLiteral("weather"))) << english.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(checker.Suggestions(QStringLiteral("Strase"), 2).size(), 2);
}

TEST_F(SpellCheckerTest, PersonalWordsAreWrittenAsUtf8AndRightAtOnceAndAtTheNextStart)
{
    const int generation = checker.Generation();
    checker.AddToDictionary(QStringLiteral("Kartolinö"));
    EXPECT_GT(checker.Generation(), generation);
    EXPECT_TRUE(checker.IsCorrect(QStringLiteral("Kartolinö")));
    checker.AddToDictionary(QStringLiteral("fennwicksch"));
    EXPECT_EQ(folder.read(QStringLiteral("Woerterbuch.txt")), QByteArray("Kartolin\xc3\xb6\nfennwicksch\n"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".tmp")).isEmpty());

    const platform::TSpellChecker next(kGermanAndEnglish, platform::SystemDictionaryFolders(), personal);
    EXPECT_EQ(wrongWords(next, QStringLiteral("Kartolinö und Fennwicksch, fennwickschx")), QStringList{"fennwickschx"});
}

TEST_F(SpellCheckerTest, AFailedWriteKeepsTheListAsItWasAndSaysWhy)
{
    // A file where the folder should be: no one, not even root, can write there.
    folder.write(QStringLiteral("blocked"), "a file");
    platform::TSpellChecker blocked(kGermanAndEnglish, platform::SystemDictionaryFolders(),
                                    folder.file(QStringLiteral("blocked/Woerterbuch.txt")));
    try {
        blocked.AddToDictionary(QStringLiteral("Fehlrwort"));
        ADD_FAILURE() << "no exception";
    } catch (const platform::Exception &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Woerterbuch.txt kann nicht erstellt werden (Fehler "))) << e.what();
    }
    EXPECT_FALSE(blocked.IsCorrect(QStringLiteral("Fehlrwort")));
}

TEST_F(SpellCheckerTest, IgnoredWordsAreRightForTheRunOnly)
{
    checker.Ignore(QStringLiteral("Fehlrwort"));
    EXPECT_TRUE(wrongWords(checker, QStringLiteral("Fehlrwort")).isEmpty());
    EXPECT_FALSE(folder.exists(QStringLiteral("Woerterbuch.txt")));
    const platform::TSpellChecker next(kGermanAndEnglish, platform::SystemDictionaryFolders(), personal);
    EXPECT_EQ(wrongWords(next, QStringLiteral("Fehlrwort")), QStringList{"Fehlrwort"});
}

TEST(SpellDictionaries, DefaultsFollowTheLocaleAndAddEnglish)
{
    const QStringList all{"de_AT", "de_CH", "de_DE", "en_GB", "en_US"};
    const QStringList usual{"de_DE", "en_US"};
    const struct {
        const char *locale;
        QStringList installed, expected;
    } cases[] = {
        {"de_DE.UTF-8", all, {"de_DE", "en_US"}},
        {"de_AT.UTF-8", all, {"de_AT", "en_US"}},
        {"de_CH", all, {"de_CH", "en_US"}},
        {"de_CH.UTF-8", usual, {"de_DE", "en_US"}},
        {"C", usual, {"de_DE", "en_US"}},
        {"en_GB.UTF-8", all, {"en_GB", "en_US"}},
        {"en_GB", usual, {"en_US"}},
        {"fr_FR.UTF-8", {"de_DE"}, {}},
        {"de_DE", {}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::DefaultDictionaries(QString::fromLatin1(c.locale), c.installed), c.expected) << c.locale;
}

// A dictionary of one word in an 8-bit encoding, made in folder.
void writeDictionary(const testing_support::TempFolder &folder, const QString &language, const QByteArray &encoding,
                     const QByteArray &word)
{
    folder.write(language + QStringLiteral(".aff"), "SET " + encoding + "\nTRY " + word + "\n");
    folder.write(language + QStringLiteral(".dic"), "1\n" + word + "\n");
}

TEST(SpellDictionaries, WordsReachAnEightBitDictionaryInItsEncoding)
{
    testing_support::TempFolder folder;
    writeDictionary(folder, QStringLiteral("xx_LATIN"), "ISO8859-1", "Gr\xfc\xdf" "e");
    writeDictionary(folder, QStringLiteral("xx_EURO"), "ISO8859-15", "\xa6uma");
    folder.write(QStringLiteral("xx_HALF.aff"), "SET UTF-8\n");
    EXPECT_EQ(platform::InstalledDictionaries({folder.path(), folder.file(QStringLiteral("missing"))}),
              (QStringList{"xx_EURO", "xx_LATIN"}));

    const platform::THunspellDictionary latin(QStringLiteral("xx_LATIN"), {folder.path()});
    EXPECT_TRUE(latin.Spell(QStringLiteral("Grüße")));
    EXPECT_FALSE(latin.Spell(QStringLiteral("Grüse")));
    EXPECT_FALSE(latin.Spell(QStringLiteral("Grüße\u20ac")));
    EXPECT_TRUE(latin.Suggest(QStringLiteral("Grüse")).contains(QStringLiteral("Grüße")));

    const platform::THunspellDictionary euro(QStringLiteral("xx_EURO"), {folder.path()});
    EXPECT_TRUE(euro.Spell(QStringLiteral("\u0160uma")));
    EXPECT_TRUE(euro.Suggest(QStringLiteral("\u0160uuma")).contains(QStringLiteral("\u0160uma")));

    EXPECT_FALSE(platform::THunspellDictionary(QStringLiteral("xx_HALF"), {folder.path()}).IsLoaded());
}

} // namespace
