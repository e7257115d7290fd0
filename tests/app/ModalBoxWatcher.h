#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// While it lives, answers every modal message box that opens with OK and
// records what the box showed. A hook may run while a box is open, before it
// is answered.
class ModalBoxWatcher {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QPointer<QWidget> parent;
    };

    explicit ModalBoxWatcher(std::function<void(QMessageBox &)> whileOpen = {});

    const std::vector<Box> &Boxes() const { return FBoxes; }

private:
    void Poll();

    std::function<void(QMessageBox &)> FWhileOpen;
    std::vector<Box> FBoxes;
    QTimer FTimer;
};
