#include "UnitVelmo.h"

#include "StringGrid.h"
#include "TimeText.h"

#include <string>

// What the check threads hand over, run on the GUI thread.

void TForm1::SyncState(uint32_t threadId, int32_t state)
{
    SetThreadState(threadId, state);
}

// Column by column from the time to the name, so the name comes last.
void TForm1::SyncRow(int32_t row, const std::string &status, int32_t newCount, int32_t count,
                     const std::string &namemail)
{
    StringGrid1->SetCells(4, row, LongTimeText(FOptions.clock()));
    StringGrid1->SetCells(3, row, status);
    StringGrid1->SetCells(2, row, std::to_string(newCount));
    StringGrid1->SetCells(1, row, std::to_string(count));
    StringGrid1->SetCells(0, row, namemail);
}

void TForm1::SyncTotals()
{
    UpdateTotals();
}
