#pragma once

#include <QApplication>
#include <QString>

// The application object. An exception that escapes an event handler is shown
// with its message in a modal message box and the program goes on. Closing a
// box never quits the program: the last window closed does not end it, the
// main window ends it explicitly.
class VelmoApplication : public QApplication {
    Q_OBJECT
public:
    VelmoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The application title: the caption of the program's message boxes.
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &title) { FTitle = title; }

    // Shows an error's message in a modal box. Error boxes are not stacked:
    // while one is open, further errors (raised by events handled in its modal
    // loop) are dropped, so at most one error box is open at a time.
    void ShowException(const QString &message);

private:
    QString FTitle;
    bool FErrorBoxOpen = false;
};
