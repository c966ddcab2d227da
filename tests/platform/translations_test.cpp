// Qt's own dialogs in the user's language beside the program's German texts.

#include "translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(PlatformTranslations, GermanLocaleTranslatesQtsDialogsAndAnUnknownOneLeavesThem)
{
    EXPECT_FALSE(platform::InstallPlatformTranslations(QLocale(QLocale::C)));
    EXPECT_EQ(QFontDialog().windowTitle(), "Select Font");

    ASSERT_TRUE(platform::InstallPlatformTranslations(QLocale(QLocale::German, QLocale::Germany)))
        << "qtbase_de missing: Debian package qt6-translations-l10n";
    QFontDialog dialog;
    EXPECT_NE(dialog.windowTitle(), "Select Font");
    const auto *box = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
}
