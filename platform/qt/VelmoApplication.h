#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown
// with its message in a modal message box and the program goes on; closing the
// box never quits the program.
class VelmoApplication : public QApplication {
    Q_OBJECT
public:
    VelmoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows a message in a modal box (the ShowMessage of the program's texts).
    // Errors raised while an error box is open are not stacked: at most one
    // error box is open at a time, later errors wait for nothing and are dropped.
    void ShowException(const QString &message);
};
