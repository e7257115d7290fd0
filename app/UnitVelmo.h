#pragma once

#include "HandOver.h"
#include "MailInfo.h"
#include "MailThreadSink.h"
#include "TrayIcon.h"
#include "UnitMailThread.h"

#include <QMainWindow>
#include <QTime>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPainter;
class QTimer;
class TaskbarHint;
class TStatusBar;
class TStringGrid;

// What the main window takes from its surroundings; the defaults are the
// program's own.
struct TForm1Options {
    // The options of a mailbox's check thread, asked once per thread as it is
    // made; null: MailThread's defaults (real one-second steps).
    std::function<MailThreadOptions(const mailInfo &info)> threadOptions;
    // The time of day the rows' time column shows.
    std::function<QTime()> clock = &QTime::currentTime;
    // Whether the desktop has a system tray the window can hide in.
    std::function<bool()> trayAvailable = &TrayIcon::IsAvailable;
};

// The main window: the mailbox table over the status bar, the list of
// mailboxes behind the table's rows with their check threads, the tray icon
// with its alert, and the table's and the tray's menus.
//
// Construction builds the window, finds or creates the settings folder, reads
// the program settings, loads every mailbox of the settings folder (one list
// entry, one table row and one running check thread each, in the folder's
// order) and finally writes the table's header row.
//
// The check threads report through the MailThreadSink hand-overs, which run
// on the GUI thread whenever it processes events. The window never waits for
// a thread; destroying it stops every thread it started.
class TForm1 : public QMainWindow, public MailThreadSink {
    Q_OBJECT
public:
    // One mailbox: its settings, its check thread and where it is shown.
    struct threadList {
        MailThread *thread = nullptr;  // not owned: the thread frees itself when it ends
        mailInfo info;                 // the window's own copy of the settings
        int32_t row = 0;               // table row, from 1
        uint32_t threadId = 0;         // the id of thread
        int32_t state = 0;             // last check: 0 checked, 1 failed, 2 new letters
    };

    explicit TForm1(TForm1Options options = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    TStringGrid *StringGrid1;
    TStatusBar *StatusBar1;
    TrayIcon *TrayIcon1 = nullptr;
    QTimer *Timer1 = nullptr;  // the tray alert's blinking, 400 ms, off at start

    // The table's pop-up menu, attached per right click.
    QMenu *PopupMenu1 = nullptr;
    QAction *PopReadLetter = nullptr;
    QAction *N9 = nullptr;
    QAction *PopCheckNow = nullptr;  // the default item, in bold
    // The tray icon's menu.
    QMenu *PopupMenu2 = nullptr;
    QAction *N3 = nullptr;
    QAction *N7 = nullptr;
    QAction *N12 = nullptr;
    QAction *N11 = nullptr;
    QAction *N10 = nullptr;

    // In load and creation order; position i shows in table row i + 1.
    std::vector<std::unique_ptr<threadList>> mailList;
    int32_t mailCount = 0;  // the number of entries in mailList

    bool hideTaskbarButton = false;  // program setting "taskbar"
    bool blinkOnError = true;        // program setting "iconerror"
    bool windowShown = false;        // shown, as opposed to hidden in the tray
    bool newMailAlert = false;       // some mailbox has new letters
    bool errorAlert = false;         // none has, some failed, and blinkOnError is set

    // --- The mailbox list.
    // Loads the mailbox of a settings-folder entry (its on-disk name) if the
    // entry holds an options file; otherwise does nothing.
    void TryLoadMailbox(const std::string &folderName);
    // Reads the mailbox's options file and appends the mailbox.
    void LoadMailbox(const std::string &folderName);
    // Appends a mailbox: a new last table row showing its name, its check
    // thread (running at once), a new entry at the end of mailList. Shared by
    // start-up and the create command.
    threadList &AppendMailbox(const mailInfo &info);
    // Takes the mailbox at a list position out of the list and the table: its
    // thread is stopped first, the rows below move up and their threads learn
    // their new rows. Recounting is left to the caller.
    void RemoveMailbox(int index);
    // The list position of the entry shown in a table row; -1 for the header
    // row and for rows no entry has.
    int IndexOfRow(int32_t row) const;
    // The outcome of a check, reported by the check thread with its id. An id
    // no entry has (its mailbox was deleted) changes nothing.
    void SetThreadState(uint32_t threadId, int32_t state);
    // Reads the program settings file of the settings folder.
    void LoadGlobalOptions(const std::string &settingsFolder);

    // --- Hand-overs of the check threads (GUI thread).
    void SyncState(uint32_t threadId, int32_t state) override;
    void SyncRow(int32_t row, const std::string &status, int32_t newCount, int32_t count,
                 const std::string &namemail) override;
    void SyncTotals() override;

    // --- The table.
    // Paints data cell (ACol, ARow) over its default look, in the colours of
    // its mailbox's state.
    void StringGrid1DrawCell(QPainter &painter, int ACol, int ARow, const QRect &Rect,
                             bool selected);
    // A right click on a data row makes it current and attaches PopupMenu1;
    // anywhere else it detaches the menu.
    void StringGrid1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

    // --- The status bar (texts in Windows-1251).
    // Totals of letters, new letters and failed mailboxes into the status bar
    // and the tray tip; decides the tray alert; refreshes the result text.
    void UpdateTotals();
    // The text for a check's result code.
    static std::string ResultText(int32_t code);
    // The current row's result text into the last panel.
    void StringGrid1Click();

    // --- The tray.
    void Timer1Timer();
    void TrayIcon1Click();
    void N3Click();
    void TrayIcon1Minimize();
    void TrayIcon1Restore();
    void FormShow();
    void FormActivate();
    void ItexExitsClick();

    // --- Check requests and read marking.
    void ItemCheckNowClick();
    void ItemCheckAllClick();
    void ItemReadLetterClick();
    void ItemReadLetterAllClick();

protected:
    // Closing the main window ends the program.
    void closeEvent(QCloseEvent *event) override;
    // The minimise button hides the window in the tray, when there is one.
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void BuildFrame();
    void BuildMenus();
    void BuildTray();
    void InstallCellDrawing();
    std::string OpenSettingsFolder();
    void LoadMailboxes();
    void SetHeaderRow();
    void CenterOnDesktop();
    void DecideAlert(int32_t newCount, int32_t errors);
    void ApplyTaskbarSetting();
    // Writes the entry's letter to its options file.
    static void WriteLetter(const threadList &entry);
    static void ShowRowSelectionError();
    // The entry of the table's current row, for the commands that act on it:
    // nullptr with no mailbox at all, and nullptr after the message
    // "Ошибка выбора строки" when the current row has no entry.
    threadList *SelectedEntry();

    const TForm1Options FOptions;
    const std::shared_ptr<HandOverQueue> FHandOvers = std::make_shared<HandOverQueue>();
    HandOverPump FPump{FHandOvers};
    TaskbarHint *FTaskbar = nullptr;
};
