#pragma once

#include <QStatusBar>

#include <array>
#include <string>

class QLabel;

// The status bar under the mailbox table: four fixed-width panels side by
// side, texts in the core's Windows-1251.
class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 4;
    static constexpr int kHeight = 15;

    explicit TStatusBar(QWidget *parent = nullptr);

    std::string PanelText(int panel) const;
    void SetPanelText(int panel, const std::string &text);
    int PanelWidth(int panel) const;

private:
    std::array<QLabel *, kPanelCount> FPanels{};
};
