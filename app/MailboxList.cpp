#include "UnitVelmo.h"

#include "FileSystem.h"
#include "IniFile.h"
#include "Interval.h"
#include "MessageBox.h"
#include "SettingsPaths.h"
#include "StringGrid.h"
#include "UnitMailThread.h"

// Hands every entry of the settings folder, in the order listed, to
// TryLoadMailbox; names are not filtered, the loader looks for an options file.
void TForm1::LoadMailboxes()
{
    for (const fs::FolderEntry &entry : fs::FindEntries(settings::Folder(), fs::attr::kDirectory))
        TryLoadMailbox(entry.name);
}

void TForm1::TryLoadMailbox(const std::string &folderName)
{
    if (fs::FileExists(settings::OptionsFile(folderName)))
        LoadMailbox(folderName);
}

void TForm1::LoadMailbox(const std::string &folderName)
{
    namespace s = settings;
    mailInfo info;
    {
        const IniFile ini(s::OptionsFile(folderName));
        info.port = ini.ReadInteger(s::kUserSection, s::kPortKey, 110);
        info.password = ini.ReadString(s::kUserSection, s::kPasswordKey, "");
        info.user = ini.ReadString(s::kUserSection, s::kUserKey, "");
        info.host = ini.ReadString(s::kUserSection, s::kHostKey, "");
        info.letter = ini.ReadString(s::kUserSection, s::kLetterKey, "0");
        info.namemail = ini.ReadString(s::kUserSection, s::kNameMailKey, "");
        info.interval = IntervalFromMinutes(ini.ReadInteger(s::kUserSection, s::kTimeKey, 10));
        info.timeout = kMailTimeoutMs;
    }
    AppendMailbox(info);
}

TForm1::threadList &TForm1::AppendMailbox(const mailInfo &info)
{
    auto entry = std::make_unique<threadList>();
    entry->info = info;
    ++mailCount;
    StringGrid1->SetRowCount(mailCount + 1);
    StringGrid1->SetCells(0, mailCount, entry->info.namemail);
    // Running from here on; its hand-overs wait until the GUI thread takes
    // events, by when the entry is in the list.
    entry->thread = new MailThread(mailCount, entry->info, *this, FHandOvers,
                                   FOptions.threadOptions ? FOptions.threadOptions(entry->info)
                                                          : MailThreadOptions{});
    entry->threadId = entry->thread->ThreadID();
    entry->row = mailCount;
    entry->state = 0;
    mailList.push_back(std::move(entry));
    return *mailList.back();
}

void TForm1::RemoveMailbox(int index)
{
    const int32_t row = mailList.at(index)->row;
    // From here no hand-over of the thread reaches the window, not even one
    // already requested for the row that is about to hold another mailbox.
    mailList[index]->thread->Stop();
    --mailCount;
    for (const std::unique_ptr<threadList> &entry : mailList) {
        if (entry->row > row) {
            --entry->row;
            entry->thread->SetRow(entry->row);
        }
    }
    mailList.erase(mailList.begin() + index);
    StringGrid1->DeleteRow(row);
}

TForm1::threadList *TForm1::SelectedEntry()
{
    if (mailCount == 0)
        return nullptr;
    const int index = IndexOfRow(StringGrid1->Row());
    if (index < 0) {
        ShowRowSelectionError();
        return nullptr;
    }
    return mailList[index].get();
}

int TForm1::IndexOfRow(int32_t row) const
{
    if (row < 1)
        return -1;
    for (size_t i = 0; i < mailList.size(); ++i) {
        if (mailList[i]->row == row)
            return static_cast<int>(i);
    }
    return -1;
}

void TForm1::ShowRowSelectionError()
{
    ShowMessage(QStringLiteral("Ошибка выбора строки"));
}

void TForm1::SetThreadState(uint32_t threadId, int32_t state)
{
    for (const std::unique_ptr<threadList> &entry : mailList) {
        if (entry->threadId == threadId) {
            entry->state = state;
            return;
        }
    }
}
