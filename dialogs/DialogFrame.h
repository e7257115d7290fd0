#pragma once

#include <QString>

class QDialog;

// The frame every dialog of the program has: a fixed-size dialog border with
// a caption and a close box (no maximise, no help button), the given client
// area, and the desktop font at 8 points. Shown without a parent, the dialog
// is centred on the desktop.
void SetDialogFrame(QDialog &dialog, const QString &caption, int clientWidth, int clientHeight);
