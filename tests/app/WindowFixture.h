#pragma once

#include "AppFixture.h"
#include "ManualStepWaiter.h"
#include "ScriptedPop3Server.h"
#include "UnitVelmo.h"

#include <QTime>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// Windows-1251 form of one of the program's texts.
std::string Cp(const std::string &utf8);

// A main window over a temp settings folder whose mailboxes are checked
// against scripted POP3 peers on 127.0.0.1. Each mailbox's check thread waits
// between checks in steps the test grants by hand, so after its first check a
// thread stays put until the test says otherwise; the rows' clock stands
// still at FNow.
class WindowTest : public InTempDir {
protected:
    // A mailbox folder whose options file points at `port` on 127.0.0.1 (user
    // "user", password "secret", 10 minutes), with its stored letter.
    void MakeServerMailbox(const std::string &name, uint16_t port, const std::string &letter = "0");
    // A mailbox whose server greets and then says nothing: its first check
    // never ends, so its thread never hands anything over.
    void MakeQuietMailbox(const std::string &name) { MakeServerMailbox(name, FQuiet.port()); }

    TForm1Options Options();
    std::unique_ptr<TForm1> OpenWindow() { return std::make_unique<TForm1>(Options()); }
    // The wait steps of the mailbox with this name.
    ManualStepWaiter &Steps(const std::string &namemail);

    // Processes events until the mailbox's thread waits after `taken` steps:
    // its check and hand-overs are over, so it takes a mark as read.
    bool WaitUntilWaiting(const std::string &namemail, uint64_t taken = 0);
    // Processes events until row `row` shows the status; false after kLimit.
    static bool WaitForStatus(TForm1 &form, int row, const std::string &status);

    QTime FNow{9, 5, 7};
    bool FTrayAvailable = true;
    ScriptedPop3Server FQuiet{{ScriptedPop3Server::reply("+OK ready\r\n"), ScriptedPop3Server::silence()}};

private:
    std::map<std::string, std::shared_ptr<ManualStepWaiter>> FSteps;
};

// The status texts of the table, in Windows-1251.
std::string Checked();   // "Проверен"
std::string Checking();  // "Проверка"
std::string Failed(int32_t code);
