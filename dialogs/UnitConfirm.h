#pragma once

#include <QDialog>

// The confirmation asked before a mailbox is deleted.
class TFrmConfirm : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfirm(QWidget *parent = nullptr);
};
