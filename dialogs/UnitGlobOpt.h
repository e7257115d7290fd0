#pragma once

#include <QDialog>

// The program settings dialog.
class TFrmGlobOpt : public QDialog {
    Q_OBJECT
public:
    explicit TFrmGlobOpt(QWidget *parent = nullptr);
};
