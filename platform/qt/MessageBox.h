#pragma once

#include <QString>

// Modal message boxes with an OK button, over the active window (none when the
// program has no active window), captioned with the application's title.

// The program's messages to the user.
void ShowMessage(const QString &text);

// An error that reached the application: the same box with the error icon.
void ShowErrorMessage(const QString &text);
