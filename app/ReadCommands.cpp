#include "UnitVelmo.h"

#include "IniFile.h"
#include "SettingsPaths.h"
#include "StringGrid.h"

// The commands that reach the check threads: check now, and mark as read.
// Marking is refused by a thread in the middle of a check; a refused mark is
// not remembered.

void TForm1::ItemCheckNowClick()
{
    if (threadList *entry = SelectedEntry())
        entry->thread->CheckNow();
}

void TForm1::ItemCheckAllClick()
{
    if (mailCount == 0)
        return;
    for (const std::unique_ptr<threadList> &entry : mailList)
        entry->thread->CheckNow();
}

void TForm1::ItemReadLetterClick()
{
    threadList *selected = SelectedEntry();
    if (!selected)
        return;
    threadList &entry = *selected;
    if (!entry.thread->MarkRead())
        return;
    entry.info.letter = entry.thread->CurrentLetter();
    if (entry.state == 2)
        entry.state = 0;
    StringGrid1->SetCells(2, StringGrid1->Row(), "0");
    StringGrid1->viewport()->update();
    WriteLetter(entry);
    UpdateTotals();
}

// A refused write ends the command where it stands: the mailboxes after it
// stay unmarked and the table is not recounted.
void TForm1::ItemReadLetterAllClick()
{
    if (mailCount == 0)
        return;
    for (const std::unique_ptr<threadList> &entry : mailList) {
        if (!entry->thread->MarkRead())
            continue;
        if (entry->state == 2)
            entry->state = 0;
        StringGrid1->SetCells(2, entry->row, "0");
        entry->info.letter = entry->thread->CurrentLetter();
        WriteLetter(*entry);
    }
    StringGrid1->viewport()->update();
    UpdateTotals();
}

void TForm1::WriteLetter(const threadList &entry)
{
    IniFile ini(settings::OptionsFile(settings::DiskName(entry.info.namemail)), true);
    ini.WriteString(settings::kUserSection, settings::kLetterKey, entry.info.letter);
}
