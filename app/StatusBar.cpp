#include "StatusBar.h"

#include "Text.h"
#include "WindowColours.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr std::array<int, TStatusBar::kPanelCount> kPanelWidths = {80, 80, 80, 100};
// The raw bytes of a panel's text, next to the text shown.
constexpr char kBytesProperty[] = "cp1251";

}  // namespace

TStatusBar::TStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    QPalette barPalette = palette();
    barPalette.setColor(QPalette::Window, colours::kSkyBlue);
    setPalette(barPalette);
    setAutoFillBackground(true);

    // The panels sit in one row of their own, so that they touch each other
    // and start at the bar's left edge whatever spacing the bar's layout uses.
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int panel = 0; panel < kPanelCount; ++panel) {
        FPanels[panel] = new QLabel(row);
        FPanels[panel]->setFixedWidth(kPanelWidths[panel]);
        FPanels[panel]->setIndent(2);
        FPanels[panel]->setTextFormat(Qt::PlainText);
        layout->addWidget(FPanels[panel]);
    }
    layout->addStretch(1);
    addWidget(row, 1);
    setContentsMargins(0, 0, 0, 0);
}

std::string TStatusBar::PanelText(int panel) const
{
    return FPanels.at(panel)->property(kBytesProperty).toByteArray().toStdString();
}

void TStatusBar::SetPanelText(int panel, const std::string &text)
{
    QLabel *label = FPanels.at(panel);
    label->setProperty(kBytesProperty, QByteArray::fromStdString(text));
    label->setText(fromCp1251(text));
}

int TStatusBar::PanelWidth(int panel) const
{
    return FPanels.at(panel)->width();
}
