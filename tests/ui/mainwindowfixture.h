#pragma once
// A main window on a temporary program folder, started and restored the way
// the program does it.

#include "cardstore.h"
#include "guarded.h"
#include "dialogs.h"
#include "richedit.h"
#include "tabcontrol.h"
#include "tempfolder.h"
#include "kartolinounit.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

struct MainWindowFixture : ::testing::Test {
    testing_support::TempFolder program;
    std::unique_ptr<ui::TfrmMain> window = std::make_unique<ui::TfrmMain>();
    QStringList errors;

    QByteArray oldHome = qgetenv("HOME"), oldDataHome = qgetenv("XDG_DATA_HOME");

    void SetUp() override
    {
        // A deleted card goes to the trash: never the real one.
        program.mkdir("home/data");
        qputenv("HOME", QFile::encodeName(program.file("home")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(program.file("home/data")));
        platform::SetApplicationTitle("Kartolino");
        window->SetProgramFolder(program.path());
        platform::SetErrorPresenter([this](const QString &m) { errors << m; });
    }
    void TearDown() override
    {
        platform::SetErrorPresenter(nullptr);
        qputenv("HOME", oldHome);
        qputenv("XDG_DATA_HOME", oldDataHome);
    }

    void startAndRestore()
    {
        window->StartMinimised();
        // Let the platform report the minimised state before the restore.
        QCoreApplication::processEvents();
        ASSERT_FALSE(window->FirstShowDone());
        window->showNormal();
        ASSERT_TRUE(window->FirstShowDone());
    }
    void withCards(std::initializer_list<std::pair<const char *, const char *>> cards)
    {
        program.mkdir("KRT");
        for (const auto &[name, text] : cards)
            program.write(QString("KRT/%1.rtf").arg(QString::fromUtf8(name)), text);
    }
    void type(const QString &text)
    {
        window->Editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(window->Editor(), text);
    }
    void click(const char *item) { window->MenuItem(QString::fromLatin1(item))->trigger(); }
    controls::TTabControl &tabs() const { return *window->TabControl1(); }
    QString cardText(const QString &name) const
    {
        controls::TRichEdit check;
        check.LoadDocument(window->Cards().CardFileName(name));
        return check.toPlainText();
    }
};
