#pragma once

#include <QDialog>

// The mailbox settings dialog, shared by the create and edit commands (they set the caption).
class TFrmOption : public QDialog {
    Q_OBJECT
public:
    explicit TFrmOption(QWidget *parent = nullptr);
};
