#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

// The program's icon in the system tray: a picture chosen by index from an
// image list, a tip, a pop-up menu on the right button, and hiding the main
// window to the tray and bringing it back. The icon is shown from creation
// until the object is destroyed.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // window: the main window that Minimize hides and Restore shows.
    // pictures: the image list; picture 0 is shown at creation.
    TrayIcon(QWidget *window, const QList<QPixmap> &pictures, QObject *parent = nullptr);

    // Shows picture `index` at once. An index outside the image list shows a
    // fully transparent picture, so the icon's place in the tray is blank.
    void SetIconIndex(int index);
    int IconIndex() const;  // the index last written

    // The tip shown while the mouse rests on the icon; line feeds start new lines.
    void SetHint(const QString &hint);
    QString Hint() const;

    // The menu opened by the right button at the mouse position; not owned.
    void SetPopupMenu(QMenu *menu);

    // Hides the window, so that only the tray icon is left; then OnMinimize.
    void Minimize();
    // Shows the window again, no longer minimised, raised and active; then OnRestore.
    void Restore();

    // Whether the desktop has a system tray at this moment.
    static bool IsAvailable();

signals:
    void OnClick();  // the left button on the icon; a double click is two clicks
    void OnMinimize();
    void OnRestore();

private:
    void Activated(QSystemTrayIcon::ActivationReason reason);

    QWidget *FWindow;
    QList<QIcon> FPictures;
    QIcon FBlank;
    QSystemTrayIcon *FIcon;  // a child of this object
    int FIconIndex = 0;
};
