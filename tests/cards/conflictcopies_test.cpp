#include "conflictcopies.h"

#include <gtest/gtest.h>

using namespace cards;

TEST(ConflictCopies, EachEnginesNameGetsACaptionThatSaysWhatItIs)
{
    const struct {
        const char *name;
        const char *caption; // empty: no conflict copy
    } rows[] = {
        {"Brief.sync-conflict-20261210-101000-ABCDEF7", "Brief (Konflikt 10.12.2026 10:10)"},
        {"Ein.Name.sync-conflict-20261210-235959-XYZ1234", "Ein.Name (Konflikt 10.12.2026 23:59)"},
        {"Brief (conflicted copy 2026-12-10 101000)", "Brief (Konflikt 10.12.2026 10:10)"},
        {"Brief (conflicted copy anna 2026-12-10 101000)", "Brief (Konflikt 10.12.2026 10:10)"},
        {"Brief (Anna's conflicted copy 2026-12-10)", "Brief (Konflikt 10.12.2026)"},
        {"Brief (Anna's conflicted copy 2026-12-10 (1))", "Brief (Konflikt 10.12.2026)"},
        {"Brief.sync-conflict-20261310-101000-ABCDEF7", ""}, // no such month
        {"Brief (Kopie)", ""},
        {"sync-conflict", ""},
    };
    for (const auto &row : rows) {
        const std::optional<ConflictCopy> copy = ParseConflictCopy(QString::fromUtf8(row.name));
        EXPECT_EQ(copy ? ConflictCaption(*copy) : QString(), QString::fromUtf8(row.caption)) << row.name;
    }
}

TEST(ConflictCopies, StandRightAfterTheirCardOldestFirst)
{
    const QStringList names{"Brief.sync-conflict-20261211-090000-AAAAAAA", "Einkauf",
                            "Waise.sync-conflict-20261210-101000-AAAAAAA", "brief",
                            "Brief.sync-conflict-20261210-101000-BBBBBBB", "Zettel"};
    EXPECT_EQ(OrderWithConflictCopies(names), QList<int>({1, 2, 3, 4, 0, 5}));
}
