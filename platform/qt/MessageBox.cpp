#include "MessageBox.h"

#include "VelmoApplication.h"

#include <QMessageBox>

namespace {

QString ApplicationTitle()
{
    auto *app = qobject_cast<VelmoApplication *>(QCoreApplication::instance());
    return app ? app->Title() : QString();
}

void RunMessageBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void ShowMessage(const QString &text)
{
    RunMessageBox(QMessageBox::NoIcon, text);
}

void ShowErrorMessage(const QString &text)
{
    RunMessageBox(QMessageBox::Critical, text);
}
