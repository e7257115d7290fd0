#include "TrayIcon.h"

#include <QMenu>
#include <QWidget>

namespace {

// The size of the image list's pictures, which the blank picture matches.
constexpr int PictureSize = 32;

QIcon BlankPicture()
{
    QPixmap blank(PictureSize, PictureSize);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

}  // namespace

TrayIcon::TrayIcon(QWidget *window, const QList<QPixmap> &pictures, QObject *parent)
    : QObject(parent), FWindow(window), FBlank(BlankPicture()), FIcon(new QSystemTrayIcon(this))
{
    for (const QPixmap &picture : pictures)
        FPictures.append(QIcon(picture));
    connect(FIcon, &QSystemTrayIcon::activated, this, &TrayIcon::Activated);
    SetIconIndex(0);
    FIcon->show();
}

void TrayIcon::SetIconIndex(int index)
{
    FIconIndex = index;
    FIcon->setIcon(index >= 0 && index < FPictures.size() ? FPictures[index] : FBlank);
}

int TrayIcon::IconIndex() const
{
    return FIconIndex;
}

void TrayIcon::SetHint(const QString &hint)
{
    FIcon->setToolTip(hint);
}

QString TrayIcon::Hint() const
{
    return FIcon->toolTip();
}

void TrayIcon::SetPopupMenu(QMenu *menu)
{
    FIcon->setContextMenu(menu);
}

void TrayIcon::Minimize()
{
    FWindow->hide();
    emit OnMinimize();
}

void TrayIcon::Restore()
{
    Qt::WindowStates state = FWindow->windowState();
    state.setFlag(Qt::WindowMinimized, false);
    FWindow->setWindowState(state);
    FWindow->show();
    FWindow->raise();
    FWindow->activateWindow();
    emit OnRestore();
}

bool TrayIcon::IsAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason)
{
    // On X11 a double click arrives as Trigger for the first press and
    // DoubleClick for the second, so it counts as two clicks. The right
    // button's menu is opened by QSystemTrayIcon itself.
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        emit OnClick();
}
