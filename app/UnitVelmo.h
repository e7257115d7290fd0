#pragma once

#include "MailInfo.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MailThread;
class TStatusBar;
class TStringGrid;

// The main window: the mailbox table over the status bar, and the list of
// mailboxes behind the table's rows.
//
// Construction builds the window, finds or creates the settings folder, reads
// the program settings, loads every mailbox of the settings folder (one list
// entry and one table row each, in the folder's order) and finally writes the
// table's header row.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // One mailbox: its settings, its check thread and where it is shown.
    struct threadList {
        MailThread *thread = nullptr;  // not owned: the thread frees itself when it ends
        mailInfo info;                 // the window's own copy of the settings
        int32_t row = 0;               // table row, from 1
        uint32_t threadId = 0;         // the system id of thread
        int32_t state = 0;             // last check: 0 checked, 1 failed, 2 new letters
    };

    explicit TForm1(QWidget *parent = nullptr);

    TStringGrid *StringGrid1;
    TStatusBar *StatusBar1;

    // In load and creation order; position i shows in table row i + 1.
    std::vector<std::unique_ptr<threadList>> mailList;
    int32_t mailCount = 0;  // the number of entries in mailList

    bool hideTaskbarButton = false;  // program setting "taskbar"
    bool blinkOnError = true;        // program setting "iconerror"
    bool windowShown = false;

    // Loads the mailbox of a settings-folder entry (its on-disk name) if the
    // entry holds an options file; otherwise does nothing.
    void TryLoadMailbox(const std::string &folderName);
    // Reads the mailbox's options file and appends the mailbox.
    void LoadMailbox(const std::string &folderName);
    // Appends a mailbox: a new last table row showing its name, a new entry at
    // the end of mailList. Shared by start-up and the create command.
    threadList &AppendMailbox(const mailInfo &info);
    // The list position of the entry shown in a table row; -1 for the header
    // row and for rows no entry has.
    int IndexOfRow(int32_t row) const;
    // The outcome of a check, reported by the check thread with its id. An id
    // no entry has (its mailbox was deleted) changes nothing.
    void SetThreadState(uint32_t threadId, int32_t state);
    // Reads the program settings file of the settings folder.
    void LoadGlobalOptions(const std::string &settingsFolder);

protected:
    // Closing the main window ends the program.
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildFrame();
    std::string OpenSettingsFolder();
    void LoadMailboxes();
    void SetHeaderRow();
    void CenterOnDesktop();
};
