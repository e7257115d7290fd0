#include "UnitVelmo.h"

#include "DesktopFont.h"
#include "StatusBar.h"
#include "StringGrid.h"
#include "Text.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>

#include <array>
#include <utility>

namespace {

constexpr int kClientWidth = 509;
constexpr int kGridHeight = 189;
constexpr int kHeaderRowHeight = 18;

}  // namespace

TForm1::TForm1(TForm1Options options, QWidget *parent)
    : QMainWindow(parent)
    , StringGrid1(new TStringGrid(this))
    , StatusBar1(new TStatusBar(this))
    , FOptions(std::move(options))
{
    BuildFrame();
    BuildMenus();
    BuildTray();
    LoadGlobalOptions(OpenSettingsFolder());
    ApplyTaskbarSetting();
    LoadMailboxes();
    SetHeaderRow();
    CenterOnDesktop();
}

// The threads' hand-overs could no longer reach the window: stop them all.
// Nothing waits for them; each frees itself.
TForm1::~TForm1()
{
    for (const std::unique_ptr<threadList> &entry : mailList)
        entry->thread->Stop();
}

void TForm1::BuildFrame()
{
    setWindowTitle(QStringLiteral("Велмо (Velmo) v1.2"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(DesktopFont());

    StringGrid1->setFixedSize(kClientWidth, kGridHeight);
    InstallCellDrawing();
    connect(StringGrid1, &TStringGrid::OnClick, this, &TForm1::StringGrid1Click);
    connect(StringGrid1, &TStringGrid::OnMouseDown, this, &TForm1::StringGrid1MouseDown);
    setCentralWidget(StringGrid1);

    StatusBar1->setFixedWidth(kClientWidth);
    StatusBar1->SetPanelText(0, cp1251("Всего: "));
    StatusBar1->SetPanelText(1, cp1251("Новых: "));
    StatusBar1->SetPanelText(2, cp1251("Ошибок: "));
    StatusBar1->SetPanelText(3, std::string());
    setStatusBar(StatusBar1);

    // The window takes the size of its parts (and of a menu bar, when one is
    // set) and the user cannot change it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::SetHeaderRow()
{
    static const std::array<const char *, TStringGrid::kColCount> titles = {
        "Название ящика", "Кол-во писем", "Новые", "Статус", "Время"};
    for (int col = 0; col < TStringGrid::kColCount; ++col)
        StringGrid1->SetCells(col, 0, cp1251(titles[col]));
    StringGrid1->SetRowHeight(0, kHeaderRowHeight);
}

void TForm1::CenterOnDesktop()
{
    adjustSize();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->geometry()));
}

void TForm1::ItexExitsClick()
{
    close();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::exit(0);
}
