#include "VelmoApplication.h"

#include "MessageBox.h"

#include <QScopedValueRollback>

#include <exception>

VelmoApplication::VelmoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
}

bool VelmoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    return false;
}

void VelmoApplication::ShowException(const QString &message)
{
    if (FErrorBoxOpen)
        return;
    const QScopedValueRollback<bool> boxOpen(FErrorBoxOpen, true);
    ShowErrorMessage(message);
}
