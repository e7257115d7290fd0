#include "ModalBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>

ModalBoxWatcher::ModalBoxWatcher(std::function<void(QMessageBox &)> whileOpen)
    : FWhileOpen(std::move(whileOpen))
{
    FTimer.setInterval(1);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
    FTimer.start();
}

void ModalBoxWatcher::Poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    FBoxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                      box->parentWidget()});
    if (FWhileOpen)
        FWhileOpen(*box);
    box->button(QMessageBox::Ok)->click();
}
