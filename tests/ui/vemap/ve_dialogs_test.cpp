// The dialogs and calculators of the "Modify VE Map" window: which of them block the window
// and that their buttons reach the table (their arithmetic and refusals are pinned in core).
#include <QMenuBar>

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
  void click(QWidget* in, const char* name) const {
    in->findChild<QAbstractButton*>(name)->click();
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
  EXPECT_TRUE(windowTakesInput());
  const vemap::VeTable before = ws.veTable;
  field(dialog, "txtNewPW")->setText("0");
  click(dialog, "Command1");  // refused: the command's message, the dialog stays
  EXPECT_EQ(std::pair(prompts.asked.size(), dialog->isVisible()), std::pair(std::size_t{1}, true));
  EXPECT_EQ(ws.veTable.ve, before.ve);

  field(dialog, "txtNewPW")->setText("13");  // from 6.5: halves the table
  click(dialog, "Command1");
  EXPECT_NE(ws.veTable.ve, before.ve);
  EXPECT_EQ(ve(16 + 1)->text(), QString::number(ws.veTable.at(1, 1)));
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");  // the plot was refreshed
}

TEST_F(DialogTest, TargetAfrPreviewsEveryChangeOkWritesTheTableCancelNothing) {
  ws.veTable.at(2, 5) = 60;
  entry("mnuCreateWBMap")->trigger();
  auto* dialog = window->findChild<TargetAfrDialog*>("frmVEAFR");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(windowTakesInput());
  dialog->target(5)->setText("12.25");  // every change shows the table it would give
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 5)->text(), "72");  // 60 x 14.7 / 12.25
  dialog->target(6)->setText("13.5");
  const vemap::AfrGrid shown = dialog->shown();
  click(dialog, "Command2");
  EXPECT_EQ(ws.veTable.at(2, 5), shown[2][5]);
  EXPECT_EQ(ve(2 * 16 + 5)->text(), QString::number(shown[2][5]));
  EXPECT_TRUE(windowTakesInput());

  entry("mnuCreateWBMap")->trigger();
  dialog = static_cast<TargetAfrDialog*>(opened("frmVEAFR"));
  const vemap::VeTable applied = ws.veTable;
  dialog->target(0)->setText("10");
  click(dialog, "Command1");  // Cancel
  EXPECT_EQ(ws.veTable.ve, applied.ve);
}

TEST_F(DialogTest, CalculatorsAndInertFormsOnlyCloseAndBestFitBlocksTheWindowMeanwhile) {
  const vemap::VeTable before = ws.veTable;
  button("cmdFitRPMbins")->setEnabled(true);
  button("cmdFitRPMbins")->click();
  EXPECT_FALSE(windowTakesInput());
  click(opened("frmBestFitBins"), "Command1");
  EXPECT_TRUE(windowTakesInput());

  entry("mnuFuelPressure")->trigger();
  QWidget* calc = opened("frmFuelPressure");
  const QString first = field(calc, "txtModifiedFlow")->text();
  field(calc, "txtStockPressure")->setText("30");  // the result follows each change
  EXPECT_NE(field(calc, "txtModifiedFlow")->text(), first);

  entry("mnuUserInfo")->trigger();
  entry("mnuUserInfo")->trigger();  // the open form comes forward, no second one
  EXPECT_EQ(window->findChildren<QWidget*>("frmUserInfo").size(), 1);
  EXPECT_EQ(std::pair(ws.veTable.ve, ws.veTable.rpmBins), std::pair(before.ve, before.rpmBins));
}

}  // namespace
}  // namespace tallimar::ui::testing
