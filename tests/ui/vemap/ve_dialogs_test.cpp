// The dialogs and calculators of the "Modify VE Map" window: where they open, which of them
// block the window, and that their buttons reach the table (the arithmetic and refusals of
// "Scale VE", the target AFRs and the fuel pressure are pinned in core).
#include <QMenuBar>

#include "common/twips.h"
#include "ui/vemap/target_afr_dialog.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

class DialogTest : public VeWindowTest {
 protected:
  void SetUp() override {
    setTable(ws.veTable, 8, 8);
    open();
  }
  // The open form of that name (forms closed before are unloaded first).
  QWidget* opened(const char* name) const {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window->findChild<QWidget*>(name);
  }
  QLineEdit* field(QWidget* in, const char* name) const { return in->findChild<QLineEdit*>(name); }
  QAbstractButton* control(QWidget* in, const char* name, int index = -1) const {
    for (QAbstractButton* b : in->findChildren<QAbstractButton*>(name))
      if (index < 0 || b->property("index").toInt() == index) return b;
    return nullptr;
  }
  QPoint besideWindow() const {
    const int d = common::twipsToPixels(120, window->logicalDpiX());
    return window->frameGeometry().topLeft() + QPoint(d, d);
  }
  bool windowTakesInput() const {
    return window->acceptsInput() && window->centralWidget()->isEnabled() &&
           window->menuBar()->isEnabled();
  }
};

TEST_F(DialogTest, ScaleVeRefusesAZeroWidthAndScalesTheTable) {
  entry("mnuScaleMap")->trigger();
  QWidget* dialog = opened("frmScaleVE");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->pos(), besideWindow());
  EXPECT_TRUE(windowTakesInput());
  const vemap::VeTable before = ws.veTable;
  field(dialog, "txtNewPW")->setText("0");
  control(dialog, "Command1")->click();  // refused: the command's message, the dialog stays
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(ws.veTable.ve, before.ve);

  field(dialog, "txtNewPW")->setText("13");  // from 6.5: halves the table
  control(dialog, "Command1")->click();
  EXPECT_NE(ws.veTable.ve, before.ve);
  EXPECT_EQ(ve(16 + 1)->text(), QString::number(ws.veTable.at(1, 1)));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");  // the plot was refreshed
}

TEST_F(DialogTest, TargetAfrPreviewsEveryChangeOkWritesTheTableCancelNothing) {
  ws.veTable.at(2, 5) = 60;
  entry("mnuCreateWBMap")->trigger();
  auto* dialog = window->findChild<TargetAfrDialog*>("frmVEAFR");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->pos(), besideWindow());
  EXPECT_FALSE(windowTakesInput());
  const vemap::VeTable before = ws.veTable;
  dialog->target(5)->setText("12.25");  // every change shows the table it would give
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 5)->text(), "72");  // 60 x 14.7 / 12.25
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 4)->text(), QString::number(before.at(2, 4)));
  field(dialog, "txtBaseLineAFR")->setText("0");
  dialog->target(6)->setText("13");
  EXPECT_EQ(prompts.asked.back().text, "Invalid Value for Baseline AFR");

  field(dialog, "txtBaseLineAFR")->setText("14.7");
  dialog->target(6)->setText("13.5");
  const vemap::AfrGrid shown = dialog->shown();
  control(dialog, "Command2")->click();
  EXPECT_EQ(ws.veTable.at(2, 5), shown[2][5]);
  EXPECT_EQ(ve(2 * 16 + 5)->text(), QString::number(shown[2][5]));
  EXPECT_TRUE(windowTakesInput());

  entry("mnuCreateWBMap")->trigger();
  dialog = static_cast<TargetAfrDialog*>(opened("frmVEAFR"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->target(5)->text(), "14.7");  // a fresh form on every opening
  const vemap::VeTable applied = ws.veTable;
  dialog->target(0)->setText("10");
  control(dialog, "Command1")->click();
  EXPECT_EQ(ws.veTable.ve, applied.ve);
  EXPECT_TRUE(windowTakesInput());
}

TEST_F(DialogTest, CalculatorsAndInertFormsOnlyCloseAndBestFitBlocksTheWindowMeanwhile) {
  const vemap::VeTable before = ws.veTable;
  button("cmdFitRPMbins")->setEnabled(true);
  button("cmdFitRPMbins")->click();
  QWidget* bestFit = opened("frmBestFitBins");
  ASSERT_NE(bestFit, nullptr);
  EXPECT_FALSE(windowTakesInput());
  control(bestFit, "Command1")->click();
  EXPECT_TRUE(windowTakesInput());
  EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);

  entry("mnuFuelPressure")->trigger();
  QWidget* calc = opened("frmFuelPressure");
  ASSERT_NE(calc, nullptr);
  EXPECT_TRUE(windowTakesInput());
  QLineEdit* result = field(calc, "txtModifiedFlow");
  const QString first = result->text();
  field(calc, "txtStockPressure")->setText("30");  // the result follows each change
  EXPECT_NE(result->text(), first);
  control(calc, "Command1")->click();
  EXPECT_FALSE(calc->isVisible());

  entry("mnuUserInfo")->trigger();
  QWidget* info = opened("frmUserInfo");
  ASSERT_NE(info, nullptr);
  control(info, "cmdCancel")->click();  // changes nothing, not even its own visibility
  EXPECT_TRUE(info->isVisible());
  entry("mnuUserInfo")->trigger();  // the open form comes forward, no second one
  EXPECT_EQ(window->findChildren<QWidget*>("frmUserInfo").size(), 1);
  EXPECT_EQ(ws.veTable.ve, before.ve);
}

}  // namespace
}  // namespace tallimar::ui::testing
