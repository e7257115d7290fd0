#include "UnitVelmo.h"

#include "TaskbarHint.h"
#include "TrayPictures.h"

#include <QShowEvent>
#include <QTimer>

namespace {

constexpr int kBlinkIntervalMs = 400;

}  // namespace

void TForm1::BuildTray()
{
    TrayIcon1 = new TrayIcon(this, TrayPictures::ImageList(), this);
    TrayIcon1->SetHint(QStringLiteral("Velmo v1.2"));
    TrayIcon1->SetPopupMenu(PopupMenu2);
    connect(TrayIcon1, &TrayIcon::OnClick, this, &TForm1::TrayIcon1Click);
    connect(TrayIcon1, &TrayIcon::OnMinimize, this, &TForm1::TrayIcon1Minimize);
    connect(TrayIcon1, &TrayIcon::OnRestore, this, &TForm1::TrayIcon1Restore);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kBlinkIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    FTaskbar = new TaskbarHint(this);
}

// New mail wins over errors; errors blink only when the user asked for it.
void TForm1::DecideAlert(int32_t newCount, int32_t errors)
{
    if (newCount > 0) {
        if (!Timer1->isActive())
            Timer1->start();
        newMailAlert = true;
        return;
    }
    newMailAlert = false;
    if (errors > 0 && blinkOnError) {
        if (!Timer1->isActive())
            Timer1->start();
        errorAlert = true;
    } else {
        Timer1->stop();
        errorAlert = false;
        TrayIcon1->SetIconIndex(TrayPictures::Normal);
    }
}

// One phase of the blinking: the alert's picture and the blank one by turns.
void TForm1::Timer1Timer()
{
    int picture;
    if (newMailAlert)
        picture = TrayPictures::Normal;
    else if (errorAlert && blinkOnError)
        picture = TrayPictures::Error;
    else
        return;
    TrayIcon1->SetIconIndex(TrayIcon1->IconIndex() == TrayPictures::Blank ? picture
                                                                          : TrayPictures::Blank);
}

void TForm1::TrayIcon1Click()
{
    if (windowShown) {
        windowShown = false;
        TrayIcon1->Minimize();
    } else {
        windowShown = true;
        TrayIcon1->Restore();
    }
}

void TForm1::N3Click()
{
    TrayIcon1Click();
}

void TForm1::TrayIcon1Minimize()
{
    windowShown = false;
}

void TForm1::TrayIcon1Restore()
{
    ApplyTaskbarSetting();
}

void TForm1::FormShow()
{
    windowShown = true;
}

void TForm1::FormActivate()
{
    ApplyTaskbarSetting();
}

// Without a tray the taskbar button is the only way back to a minimised
// window, so it is never hidden there.
void TForm1::ApplyTaskbarSetting()
{
    FTaskbar->SetSkipTaskbar(hideTaskbarButton && FOptions.trayAvailable());
}

void TForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !FOptions.trayAvailable())
        return;
    // Hidden once the state change is over, unless the window came back meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isMinimized())
                TrayIcon1->Minimize();
        },
        Qt::QueuedConnection);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}
