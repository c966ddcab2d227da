// Undo, cut, copy and paste through the main window, and the time stamp.

#include "cardstore.h"
#include "guarded.h"
#include "regional.h"
#include "richedit.h"
#include "tempfolder.h"
#include "kartolinounit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::TempFolder;
using ui::TfrmMain;

namespace {

platform::RegionalSettings German()
{
    platform::RegionalSettings s;
    s.shortDatePattern = "dd/mm/yyyy";
    s.dateSeparator = ".";
    s.timeSeparator = ":";
    s.twelveHourClock = false;
    s.leadingZeroHours = true;
    return s;
}

struct ClipboardCommands : ::testing::Test {
    TempFolder program;
    std::unique_ptr<TfrmMain> window = std::make_unique<TfrmMain>();
    controls::TRichEdit *editor = nullptr;
    QStringList errors;

    void SetUp() override
    {
        platform::SetRegionalSettingsSource(German);
        platform::InvalidateRegionalSettings();
        platform::SetErrorPresenter([this](const QString &m) { errors << m; });
        program.mkdir("KRT");
        program.write("KRT/Karte.rtf", "erste Zeile\nzweite Zeile");
        window->SetProgramFolder(program.path());
    }
    void TearDown() override
    {
        platform::SetErrorPresenter(nullptr);
        platform::SetRegionalSettingsSource({});
        platform::InvalidateRegionalSettings();
    }
    void start(const QByteArray &timeStampMode = {})
    {
        if (!timeStampMode.isNull())
            program.write("Kartolino.ini", "[Zeitstempel]\r\nEinsetzen=" + timeStampMode + "\r\n");
        window->StartMinimised();
        window->showNormal();
        ASSERT_TRUE(window->FirstShowDone());
        editor = window->Editor();
        editor->setFocus();
    }
    void select(int from, int to)
    {
        QTextCursor c(editor->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
    }
    // Runs the time stamp and returns the texts the clock allowed for it.
    QStringList stamp()
    {
        const QString before = platform::DateTimeText(QDateTime::currentDateTime());
        window->spZeitStempelClick(nullptr);
        const QString after = platform::DateTimeText(QDateTime::currentDateTime());
        return {before, after};
    }
};

const QRegularExpression kGermanStamp(R"(^\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?$)");

} // namespace

TEST_F(ClipboardCommands, CtrlCCopiesOnceThroughTheMenu)
{
    start();
    select(0, 5);
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "erste");
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("text/rtf"));
    EXPECT_EQ(editor->toPlainText(), "erste Zeile\nzweite Zeile");
}

TEST_F(ClipboardCommands, CtrlXCutsAndTheWindowStays)
{
    start();
    select(0, 6);
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "Zeile\nzweite Zeile");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "erste ");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Cards().CardModified());

    // Paste and undo through the menu's items.
    select(5, 5);
    window->MenuItem("mnuEinfuegen")->trigger();
    EXPECT_EQ(editor->toPlainText(), "Zeileerste \nzweite Zeile");
    window->MenuItem("mnuUnDO")->trigger();
    EXPECT_EQ(editor->toPlainText(), "Zeile\nzweite Zeile");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ClipboardCommands, CaretStampReplacesTheSelectionAndStaysOnTheClipboard)
{
    start("Cursor");
    auto *old = new QMimeData;
    old->setHtml("<b>alt</b>");
    old->setText("alt");
    QGuiApplication::clipboard()->setMimeData(old);
    select(6, 11); // "Zeile"
    const QStringList allowed = stamp();

    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(now, nullptr);
    const QString text = now->text();
    EXPECT_TRUE(allowed.contains(text)) << text.toStdString();
    EXPECT_TRUE(kGermanStamp.match(text).hasMatch()) << text.toStdString();
    EXPECT_FALSE(now->hasHtml());
    EXPECT_EQ(editor->toPlainText(), "erste " + text + "\nzweite Zeile");
    EXPECT_EQ(editor->textCursor().position(), 6 + text.size());
    EXPECT_TRUE(window->Cards().CardModified());
    // Pasted as the user would: undo takes it out again.
    window->mnuUnDOClick(nullptr);
    EXPECT_EQ(editor->toPlainText(), "erste Zeile\nzweite Zeile");
}

TEST_F(ClipboardCommands, TypingBehindACaretStampIsAnUndoStepOfItsOwn)
{
    start("Cursor");
    select(6, 11); // "Zeile"
    stamp();
    const QString stamped = editor->toPlainText();
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), stamped);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "erste Zeile\nzweite Zeile") << "the selection comes back with the next step";
}

TEST_F(ClipboardCommands, TopStampIsANewFirstLineThatUndoKeeps)
{
    start("Anfang");
    select(3, 8);
    QGuiApplication::clipboard()->setText("bleibt");
    const QStringList allowed = stamp();
    const QString first = editor->toPlainText().section('\n', 0, 0);
    EXPECT_TRUE(allowed.contains(first)) << first.toStdString();
    EXPECT_TRUE(kGermanStamp.match(first).hasMatch()) << first.toStdString();
    EXPECT_EQ(editor->toPlainText(), first + "\nerste Zeile\nzweite Zeile");
    EXPECT_FALSE(editor->textCursor().hasSelection());
    EXPECT_EQ(editor->textCursor().position(), first.size() + 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "bleibt");
    EXPECT_TRUE(window->Cards().CardModified());
    window->MenuItem("mnuUnDO")->trigger();
    EXPECT_EQ(editor->toPlainText(), first + "\nerste Zeile\nzweite Zeile");
}

TEST_F(ClipboardCommands, OnlyExactlyCursorStampsAtTheCaret)
{
    start("cursor");
    select(6, 6);
    const QStringList allowed = stamp();
    const QString first = editor->toPlainText().section('\n', 0, 0);
    EXPECT_TRUE(allowed.contains(first)) << first.toStdString();
    EXPECT_TRUE(editor->toPlainText().endsWith("\nerste Zeile\nzweite Zeile"));
}

TEST_F(ClipboardCommands, StampAtTheTopFailsWhenTheCardIsFull)
{
    start();
    editor->SetTextLimit(editor->TextLength() + 5);
    platform::Guarded([&] { window->spZeitStempelClick(nullptr); });
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Fehler bei Einfügen von RichEdit-Zeile");
    EXPECT_EQ(editor->toPlainText(), "erste Zeile\nzweite Zeile");
}
