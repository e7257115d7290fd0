#pragma once

#include <QDialog>

// The About dialog.
class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);
};
