#include "WindowFixture.h"

#include "StringGrid.h"
#include "Text.h"

std::string Cp(const std::string &utf8)
{
    return cp1251(utf8);
}

std::string Checked()
{
    return Cp("Проверен");
}

std::string Checking()
{
    return Cp("Проверка");
}

std::string Failed(int32_t code)
{
    return Cp("Ошибка: ") + std::to_string(code);
}

void WindowTest::MakeServerMailbox(const std::string &name, uint16_t port, const std::string &letter)
{
    MakeMailbox(name, "[user]\r\nhost=127.0.0.1\r\nport=" + std::to_string(port)
                          + "\r\nuser=user\r\npassword=secret\r\ntime=10\r\nletter=" + letter
                          + "\r\nnamemail=" + name + "\r\n");
}

TForm1Options WindowTest::Options()
{
    TForm1Options options;
    options.threadOptions = [this](const mailInfo &info) {
        auto &steps = FSteps[info.namemail];
        steps = std::make_shared<ManualStepWaiter>();
        return MailThreadOptions{steps};
    };
    options.clock = [this] { return FNow; };
    options.trayAvailable = [this] { return FTrayAvailable; };
    return options;
}

ManualStepWaiter &WindowTest::Steps(const std::string &namemail)
{
    return *FSteps.at(namemail);
}

bool WindowTest::WaitUntilWaiting(const std::string &namemail, uint64_t taken)
{
    return WaitUntil([&] { return Steps(namemail).IsParkedAt(taken); });
}

bool WindowTest::WaitForStatus(TForm1 &form, int row, const std::string &status)
{
    return WaitUntil([&] { return form.StringGrid1->Cells(3, row) == status; });
}
