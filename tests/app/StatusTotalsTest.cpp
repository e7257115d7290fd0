// The status bar's totals and result texts, and the tray tip, from real
// checks against scripted POP3 peers.

#include "ModalBoxWatcher.h"
#include "StatusBar.h"
#include "StringGrid.h"
#include "Text.h"
#include "TimeText.h"
#include "TrayIcon.h"
#include "WindowFixture.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using StatusTotalsTest = WindowTest;

bool IsLongTime(const std::string &text)
{
    // Hours, minutes and seconds with two-digit minutes and seconds.
    const QString shown = fromCp1251(text);
    return QTime::fromString(shown, WithoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat)))
        .isValid();
}

// The program's own window, settings and steps: no injected parts at all.
TEST_F(StatusTotalsTest, EndToEndTwoMailboxesShowTheirResultsAndTheTotals)
{
    ScriptedPop3Server first(
        Replies({"+OK ready", "+OK", "+OK", "+OK 5 500", "+OK 5 a5", "+OK 4 a4", "+OK bye"}));
    ScriptedPop3Server second(Replies({"+OK ready", "+OK", "+OK", "+OK 7 700", "-ERR no"}));
    MakeServerMailbox("first", first.port(), "a4");
    MakeServerMailbox("second", second.port());

    TForm1 form;
    form.show();
    TStatusBar &bar = *form.StatusBar1;
    // Panels change only together, in one recount.
    ASSERT_TRUE(WaitUntil([&] {
        return bar.PanelText(0) == Cp("Всего: 12") && bar.PanelText(2) == Cp("Ошибок: 1");
    }));

    EXPECT_EQ(bar.PanelText(1), Cp("Новых: 1"));
    EXPECT_EQ(form.TrayIcon1->Hint(), QStringLiteral("Всего писем: 12\nНовых писем: 1\nОшибок : 1"));
    const TStringGrid &grid = *form.StringGrid1;
    const std::vector<std::vector<std::string>> rows = {
        {"first", "5", "1", Checked()},
        {"second", "7", "0", Failed(1014)},
    };
    for (int row = 1; row <= 2; ++row) {
        SCOPED_TRACE(row);
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(grid.Cells(col, row), rows[row - 1][col]) << "column " << col;
        EXPECT_TRUE(IsLongTime(grid.Cells(4, row))) << grid.Cells(4, row);
    }
    EXPECT_EQ(form.mailList[0]->state, 2);
    EXPECT_EQ(form.mailList[1]->state, 1);
    EXPECT_EQ(first.received(0), "USER user\r\nPASS secret\r\nSTAT\r\nUIDL 5\r\nUIDL 4\r\nQUIT\r\n");
    // Row 1 is current: its result text closes the recount.
    EXPECT_EQ(bar.PanelText(3), Cp("Проверен успешно"));
    // New mail: the tray icon blinks.
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.newMailAlert);
}

TEST_F(StatusTotalsTest, ClickingARowShowsTheResultTextOfItsLastCheck)
{
    ScriptedPop3Server good(Replies({"+OK ready", "+OK", "+OK", "+OK 1 100", "+OK 1 u1", "+OK"}));
    ScriptedPop3Server badPass(Replies({"+OK ready", "+OK", "-ERR denied"}));
    ScriptedPop3Server badUser(Replies({"+OK ready", "-ERR who"}));
    MakeServerMailbox("a", good.port(), "u1");
    MakeServerMailbox("b", badPass.port());
    MakeServerMailbox("c", badUser.port());
    MakeQuietMailbox("d");
    auto form = OpenWindow();
    form->show();
    for (int row = 1; row <= 3; ++row)
        ASSERT_TRUE(WaitUntil([&] { return !form->StringGrid1->Cells(3, row).empty(); })) << row;

    const std::vector<std::string> texts = {
        "Проверен успешно",
        "Неверный пользователь и/или пароль",
        "Напишите разработчику о данной ошибке",
        "Данный ящик еще не проверен",
    };
    TStringGrid &grid = *form->StringGrid1;
    for (int row = 1; row <= 4; ++row) {
        SCOPED_TRACE(row);
        // By mouse: a left click on the row.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row - 1, 1)).center());
        EXPECT_EQ(grid.Row(), row);
        EXPECT_EQ(form->StatusBar1->PanelText(3), Cp(texts[row - 1]));
    }
    // By keyboard: each move of the current row.
    grid.setFocus();
    for (int row = 3; row >= 1; --row) {
        SCOPED_TRACE(row);
        QTest::keyClick(&grid, Qt::Key_Up);
        EXPECT_EQ(grid.Row(), row);
        EXPECT_EQ(form->StatusBar1->PanelText(3), Cp(texts[row - 1]));
    }
}

TEST_F(StatusTotalsTest, ResultTexts)
{
    const std::vector<std::pair<int32_t, std::string>> cases = {
        {-7, "Проверен успешно"},
        {0, "Проверен успешно"},
        {100, "Неизвестная ошибка"},
        {101, "Ошибка операции работы с сервером"},
        {102, "Не удалось соединиться с данным сервером"},
        {103, "Неверный POP3 сервер"},
        {1009, "Данный ящик еще не проверен"},
        {1012, "Неверный пользователь и/или пароль"},
        {10060, "Таймаут соединения"},
        {1, "Напишите разработчику о данной ошибке"},
        {1011, "Напишите разработчику о данной ошибке"},
        {1014, "Напишите разработчику о данной ошибке"},
        {10061, "Напишите разработчику о данной ошибке"},
        {INT32_MAX, "Напишите разработчику о данной ошибке"},
    };
    for (const auto &[code, text] : cases)
        EXPECT_EQ(TForm1::ResultText(code), Cp(text)) << code;
}

TEST_F(StatusTotalsTest, WithoutMailboxesTheResultTextStaysAndTotalsAreZero)
{
    ModalBoxWatcher watcher;
    auto form = OpenWindow();
    TStatusBar &bar = *form->StatusBar1;

    form->StringGrid1Click();
    EXPECT_EQ(bar.PanelText(3), "");
    EXPECT_EQ(bar.PanelText(0), Cp("Всего: "));
    EXPECT_EQ(form->TrayIcon1->Hint(), QStringLiteral("Velmo v1.2"));

    bar.SetPanelText(3, Cp("Проверен успешно"));
    form->UpdateTotals();
    EXPECT_EQ(bar.PanelText(0), Cp("Всего: 0"));
    EXPECT_EQ(bar.PanelText(1), Cp("Новых: 0"));
    EXPECT_EQ(bar.PanelText(2), Cp("Ошибок: 0"));
    EXPECT_EQ(bar.PanelText(3), Cp("Проверен успешно"));
    EXPECT_EQ(form->TrayIcon1->Hint(), QStringLiteral("Всего писем: 0\nНовых писем: 0\nОшибок : 0"));
    EXPECT_TRUE(watcher.Boxes().empty());
}

// Totals come from the table's cells and the entries' states, whoever wrote them.
TEST_F(StatusTotalsTest, TotalsCountTheCellsAndTheFailedEntries)
{
    for (const char *name : {"a", "b", "c"})
        MakeQuietMailbox(name);
    auto form = OpenWindow();
    TStringGrid &grid = *form->StringGrid1;
    grid.SetCells(1, 1, "5");
    grid.SetCells(2, 1, "1");
    grid.SetCells(1, 2, "7");
    grid.SetCells(2, 2, "0");
    // Row 3 has not reported: its empty cells count as nothing.
    form->mailList[1]->state = 1;
    form->mailList[2]->state = 1;

    form->UpdateTotals();
    EXPECT_EQ(form->StatusBar1->PanelText(0), Cp("Всего: 12"));
    EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: 1"));
    EXPECT_EQ(form->StatusBar1->PanelText(2), Cp("Ошибок: 2"));
    EXPECT_EQ(form->TrayIcon1->Hint(), QStringLiteral("Всего писем: 12\nНовых писем: 1\nОшибок : 2"));
    EXPECT_EQ(form->StatusBar1->PanelText(3), Cp("Данный ящик еще не проверен"));
}

TEST_F(StatusTotalsTest, ACurrentRowWithoutEntryIsReported)
{
    MakeQuietMailbox("a");
    auto form = OpenWindow();
    form->StatusBar1->SetPanelText(3, "kept");
    // The bookkeeping broken on purpose: no entry owns row 1 any more.
    form->mailList[0]->row = 7;

    ModalBoxWatcher watcher;
    const std::vector<std::pair<const char *, std::function<void()>>> commands = {
        {"click", [&] { form->StringGrid1Click(); }},
        {"check now", [&] { form->ItemCheckNowClick(); }},
        {"mark as read", [&] { form->ItemReadLetterClick(); }},
    };
    for (const auto &[name, command] : commands) {
        SCOPED_TRACE(name);
        const size_t before = watcher.Boxes().size();
        command();
        ASSERT_EQ(watcher.Boxes().size(), before + 1);
        EXPECT_EQ(watcher.Boxes().back().text, QStringLiteral("Ошибка выбора строки"));
    }
    EXPECT_EQ(form->StatusBar1->PanelText(3), "kept");
    form->mailList[0]->row = 1;
}

}  // namespace
