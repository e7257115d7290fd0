#pragma once

#include <QObject>

class QEvent;
class QWidget;

// Sets or clears the window manager state _NET_WM_STATE_SKIP_TASKBAR of a
// top-level window on X11, which takes its button off the taskbar while the
// window itself stays visible. A window not yet created is left alone (the
// state is then set when it is shown, see TaskbarHint). Without X11 (Wayland,
// offscreen) it does nothing.
void SetSkipTaskbar(QWidget *window, bool skip);

// Keeps a top-level window's taskbar button hidden or shown. The setting is
// applied at once and again every time the window is shown, before it is
// mapped, so it survives hiding to the tray. It is kept without X11 too, where
// it has no effect.
class TaskbarHint : public QObject {
    Q_OBJECT
public:
    explicit TaskbarHint(QWidget *window);  // becomes a child of the window

    void SetSkipTaskbar(bool skip);
    bool SkipTaskbar() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *FWindow;
    bool FSkip = false;
};
