// The order of the card list: without regard to case, umlauts after the
// letters as the upper-case code order has them, a name that is not UTF-8 by
// its bytes, names of equal keys in the order they were listed.

#include "cardorder.h"
#include "files.h"

#include <gtest/gtest.h>

using namespace cards;

TEST(CardOrder, CaseIgnoredUmlautsAndBytesAndStable)
{
    const QString koeln = platform::DecodeFileName("K\xF6ln.rtf");
    QStringList files{"karte 5.rtf", "Zettel.rtf", QString::fromUtf8("äpfel.rtf"), "Karte 1.rtf", koeln,
                      QString::fromUtf8("Grüße an alle.rtf"), "einkauf.rtf", "Karte 4.rtf", "Karte-2.rtf"};
    SortCardFiles(files);
    EXPECT_EQ(files, QStringList({"einkauf.rtf", QString::fromUtf8("Grüße an alle.rtf"), "Karte 1.rtf", "Karte 4.rtf",
                                  "karte 5.rtf", "Karte-2.rtf", koeln, "Zettel.rtf", QString::fromUtf8("äpfel.rtf")}));
    for (const QStringList &same : {QStringList{"NOTIZ.rtf", "Notiz.rtf"}, QStringList{"Notiz.rtf", "NOTIZ.rtf"}}) {
        QStringList sorted = same;
        SortCardFiles(sorted);
        EXPECT_EQ(sorted, same);
    }
    EXPECT_EQ(CardOrderPosition(files, "Karte 3.rtf"), 3);
    EXPECT_EQ(CardOrderPosition(files, "KARTE 4.rtf"), 4);
    EXPECT_EQ(CardOrderPosition(files, "aaa.rtf"), 0);
    EXPECT_EQ(CardOrderPosition(files, QString::fromUtf8("Ölbild.rtf")), files.size());
}
