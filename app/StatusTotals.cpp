#include "UnitVelmo.h"

#include "StatusBar.h"
#include "StrToInt.h"
#include "StringGrid.h"
#include "Text.h"
#include "TrayIcon.h"

#include <string>

namespace {

// The code the window uses for a mailbox that has not reported yet.
constexpr int32_t kNotCheckedYet = 1009;

// Sums wrap around at 32 bits, as the counts they add up do.
int32_t Add(int32_t sum, int32_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(sum) + static_cast<uint32_t>(value));
}

}  // namespace

// Letters and new letters as the table shows them; errors as the entries hold them.
void TForm1::UpdateTotals()
{
    int32_t total = 0;
    int32_t fresh = 0;
    int32_t errors = 0;
    for (int row = 1; row < StringGrid1->RowCount(); ++row) {
        const std::string letters = StringGrid1->Cells(1, row);
        if (!letters.empty())
            total = Add(total, StrToInt(letters));
        const std::string newLetters = StringGrid1->Cells(2, row);
        if (!newLetters.empty())
            fresh = Add(fresh, StrToInt(newLetters));
    }
    for (const std::unique_ptr<threadList> &entry : mailList) {
        if (entry->state == 1)
            ++errors;
    }
    StatusBar1->SetPanelText(0, cp1251("Всего: ") + std::to_string(total));
    StatusBar1->SetPanelText(1, cp1251("Новых: ") + std::to_string(fresh));
    StatusBar1->SetPanelText(2, cp1251("Ошибок: ") + std::to_string(errors));
    DecideAlert(fresh, errors);
    TrayIcon1->SetHint(fromCp1251(cp1251("Всего писем: ") + std::to_string(total)
                                  + cp1251("\nНовых писем: ") + std::to_string(fresh)
                                  + cp1251("\nОшибок : ") + std::to_string(errors)));
    StringGrid1Click();
}

std::string TForm1::ResultText(int32_t code)
{
    const char *text;
    switch (code) {
    case 100: text = "Неизвестная ошибка"; break;
    case 101: text = "Ошибка операции работы с сервером"; break;
    case 102: text = "Не удалось соединиться с данным сервером"; break;
    case 103: text = "Неверный POP3 сервер"; break;
    case kNotCheckedYet: text = "Данный ящик еще не проверен"; break;
    case 1012: text = "Неверный пользователь и/или пароль"; break;
    case 10060: text = "Таймаут соединения"; break;
    default: text = code > 0 ? "Напишите разработчику о данной ошибке" : "Проверен успешно"; break;
    }
    return cp1251(text);
}

void TForm1::StringGrid1Click()
{
    const threadList *selected = SelectedEntry();
    if (!selected)
        return;
    const threadList &entry = *selected;
    int32_t code = entry.thread->LastCode();
    if (StringGrid1->Cells(3, entry.row).empty())
        code = kNotCheckedYet;
    StatusBar1->SetPanelText(3, ResultText(code));
}
