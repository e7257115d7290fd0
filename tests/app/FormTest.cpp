// The main window's frame, its table and status bar as they stand after
// construction, and the dialogs created at start-up.

#include "AppFixture.h"
#include "StatusBar.h"
#include "StringGrid.h"
#include "Text.h"
#include "UnitAbout.h"
#include "UnitConfirm.h"
#include "UnitGlobOpt.h"
#include "UnitOptMail.h"
#include "UnitVelmo.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QColor kSkyBlue(166, 202, 240);

class FormTest : public InTempDir {
protected:
    void SetUp() override { MakeMailbox("box", "[user]\r\nnamemail=box\r\n"); }
};

}  // namespace

TEST_F(FormTest, WindowHasItsCaptionAndAFixedSizeWithoutMaximise)
{
    TForm1 form;
    form.show();

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Велмо (Velmo) v1.2"));
    EXPECT_EQ(form.size(), QSize(509, 204));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);

    EXPECT_EQ(form.StringGrid1->geometry(), QRect(0, 0, 509, 189));
    EXPECT_EQ(form.StatusBar1->geometry(), QRect(0, 189, 509, 15));

    EXPECT_EQ(form.font().pointSize(), 8);
    EXPECT_FALSE(form.font().bold());
}

TEST_F(FormTest, WindowIsCentredOnTheDesktop)
{
    TForm1 form;
    form.show();
    const QRect desktop = form.screen()->geometry();
    const QRect window = form.geometry();
    // Equal room on either side, give or take the odd pixel.
    EXPECT_LE(std::abs((window.left() - desktop.left()) - (desktop.right() - window.right())), 1);
    EXPECT_LE(std::abs((window.top() - desktop.top()) - (desktop.bottom() - window.bottom())), 1);
}

TEST_F(FormTest, TableHasFiveFixedColumnsAndTheHeaderRow)
{
    TForm1 form;
    form.show();
    TStringGrid &grid = *form.StringGrid1;

    const std::vector<std::pair<int, std::string>> columns = {
        {164, "Название ящика"}, {92, "Кол-во писем"}, {66, "Новые"}, {102, "Статус"}, {59, "Время"}};
    ASSERT_EQ(grid.columnCount(), 5);
    for (int col = 0; col < 5; ++col) {
        SCOPED_TRACE(col);
        EXPECT_EQ(grid.ColWidth(col), columns[col].first);
        EXPECT_EQ(grid.Cells(col, 0), cp1251(columns[col].second));
        EXPECT_EQ(grid.horizontalHeaderItem(col)->text(), QString::fromStdString(columns[col].second));
    }
    EXPECT_EQ(grid.Cells(2, 0), "\xcd\xee\xe2\xfb\xe5");  // "Новые" in Windows-1251

    EXPECT_EQ(grid.RowHeight(0), 18);
    EXPECT_EQ(grid.horizontalHeader()->height(), 18);
    EXPECT_EQ(grid.RowHeight(1), 24);

    EXPECT_FALSE(grid.showGrid());
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_FALSE(grid.horizontalHeader()->sectionsMovable());
    EXPECT_FALSE(grid.verticalHeader()->isVisible());
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

    EXPECT_TRUE(grid.font().bold());
    EXPECT_EQ(grid.font().pointSize(), 8);

    // The header row is painted flat in sky blue; sample its empty lower right corner.
    const QImage header = grid.horizontalHeader()->grab().toImage();
    EXPECT_EQ(header.pixelColor(160, 16), kSkyBlue);
    EXPECT_EQ(header.pixelColor(480, 16), kSkyBlue);
    // Beyond the last column (483 pixels wide in all) the table's background shows.
    EXPECT_EQ(header.pixelColor(header.width() - 2, 9), grid.palette().color(QPalette::Base));
}

TEST_F(FormTest, StatusBarHasFourPanelsWithTheirFirstTexts)
{
    TForm1 form;
    form.show();
    TStatusBar &bar = *form.StatusBar1;

    EXPECT_FALSE(bar.isSizeGripEnabled());
    EXPECT_EQ(bar.height(), 15);
    const std::vector<std::pair<int, std::string>> panels = {
        {80, "Всего: "}, {80, "Новых: "}, {80, "Ошибок: "}, {100, ""}};
    int left = 0;
    for (int panel = 0; panel < 4; ++panel) {
        SCOPED_TRACE(panel);
        EXPECT_EQ(bar.PanelWidth(panel), panels[panel].first);
        EXPECT_EQ(bar.PanelText(panel), cp1251(panels[panel].second));
        left += panels[panel].first;
    }
    EXPECT_EQ(bar.PanelText(2), "\xce\xf8\xe8\xe1\xee\xea: ");  // "Ошибок: "
    EXPECT_EQ(left, 340);

    bar.SetPanelText(3, "\xcf\xf0\xee\xe2\xe5\xf0\xe5\xed");
    EXPECT_EQ(bar.PanelText(3), "\xcf\xf0\xee\xe2\xe5\xf0\xe5\xed");

    const QImage image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(500, 7), kSkyBlue);
}

TEST_F(FormTest, ClosingTheMainWindowEndsTheEventLoop)
{
    TForm1 form;
    form.show();
    QTimer::singleShot(0, &form, [&] { form.close(); });
    // A bound, so that a window that does not end the loop fails instead of hanging.
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    bound.start(30000);

    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(form.isVisible());
}

TEST(DialogsTest, TheFourDialogsHaveTheirCaptionsAndSizes)
{
    TFrmOption option;
    TFrmAbout about;
    TFrmGlobOpt globOpt;
    TFrmConfirm confirm;
    const std::vector<std::tuple<QDialog *, QString, QSize>> dialogs = {
        {&option, QStringLiteral("Настройки нового ящика"), {256, 324}},
        {&about, QStringLiteral("О программе Velmo v1.2"), {418, 238}},
        {&globOpt, QStringLiteral("Общие настройки программы"), {356, 133}},
        {&confirm, QStringLiteral("Подтверждение"), {294, 113}},
    };
    for (const auto &[dialog, caption, size] : dialogs) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(dialog->windowTitle(), caption);
        EXPECT_EQ(dialog->minimumSize(), size);
        EXPECT_EQ(dialog->maximumSize(), size);
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowContextHelpButtonHint);
        EXPECT_FALSE(dialog->isVisible());
    }
}
