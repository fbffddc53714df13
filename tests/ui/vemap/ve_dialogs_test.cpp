// The dialogs and calculators of the "Modify VE Map" window: where they open, which of them
// block the window, the refusals and results of "Scale VE" and "Modify VE Map with AFR's",
// the live fuel pressure result, and the forms that change nothing.
#include <QMenuBar>

#include "common/twips.h"
#include "ui/vemap/target_afr_dialog.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

class DialogTest : public VeWindowTest {
 protected:
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
  const common::ScriptedPrompts::Question& lastQuestion() const { return prompts.asked.back(); }
};

TEST_F(DialogTest, ScaleVeRefusesAZeroWidthAndHalvesTheTable) {
  setTable(ws.veTable, 8, 8);
  ws.veTable.at(1, 1) = 55;
  ws.veTable.at(2, 2) = 57;
  ws.veTable.at(9, 9) = 90;  // inactive: untouched
  open();
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

  field(dialog, "txtNewPW")->setText("13");  // from 6.5
  control(dialog, "Command1")->click();
  EXPECT_EQ(ws.veTable.at(1, 1), 28);  // 27.5
  EXPECT_EQ(ws.veTable.at(2, 2), 28);  // 28.5
  EXPECT_EQ(ws.veTable.at(9, 9), 90);
  EXPECT_EQ(ve(16 + 1)->text(), "28");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");  // the plot was refreshed
}

TEST_F(DialogTest, TargetAfrPreviewsEveryChangeOkWritesTheActiveCellsCancelNothing) {
  setTable(ws.veTable, 12, 8);
  for (int r = 0; r < 12; ++r) ws.veTable.at(r, 5) = 60;
  const vemap::VeTable before = ws.veTable;
  open();
  entry("mnuCreateWBMap")->trigger();
  auto* dialog = window->findChild<TargetAfrDialog*>("frmVEAFR");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->pos(), besideWindow());
  EXPECT_FALSE(windowTakesInput());
  dialog->target(5)->setText("12.25");
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 5)->text(), "72");  // 60 x 14.7 / 12.25
  EXPECT_EQ(dialog->grid().cellBackground(GridCellKind::Ve, 2 * 16 + 5), QColor(0, 255, 255));
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 4)->text(), QString::number(before.at(2, 4)));

  // A momentary 0 while typing stops the run silently; a 0 baseline is refused at the next run.
  const std::size_t asked = prompts.asked.size();
  dialog->target(3)->setText("0");
  field(dialog, "txtBaseLineAFR")->setText("0");  // no run on the baseline alone
  EXPECT_EQ(prompts.asked.size(), asked);
  dialog->target(6)->setText("13");
  EXPECT_EQ(lastQuestion().text, "Invalid Value for Baseline AFR");
  // The colour switch shows the table again, and the preview starts over from it.
  control(dialog, "chkVEColors")->click();
  EXPECT_EQ(dialog->grid().veCell(2 * 16 + 5)->text(), "60");
  EXPECT_EQ(dialog->grid().cellBackground(GridCellKind::Ve, 2 * 16 + 5),
            QApplication::palette().color(QPalette::Base));

  field(dialog, "txtBaseLineAFR")->setText("14.7");
  for (int m = 0; m < 8; ++m) dialog->target(m)->setText(QString::number(14.7 - m * 0.3));
  const vemap::AfrGrid shown = dialog->shown();
  control(dialog, "Command2")->click();
  EXPECT_EQ(ws.veTable.at(11, 7), shown[11][7]);  // each cell from its own row's target
  EXPECT_NE(ws.veTable.at(11, 7), before.at(11, 7));
  EXPECT_EQ(ws.veTable.at(12, 7), before.at(12, 7));  // outside the table: untouched
  EXPECT_EQ(ve(11 * 16 + 7)->text(), QString::number(ws.veTable.at(11, 7)));
  EXPECT_TRUE(windowTakesInput());

  entry("mnuCreateWBMap")->trigger();
  dialog = static_cast<TargetAfrDialog*>(opened("frmVEAFR"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->target(0)->text(), "14.7");  // a fresh form on every opening
  const vemap::VeTable applied = ws.veTable;
  dialog->target(0)->setText("10");
  control(dialog, "Command1")->click();
  EXPECT_EQ(ws.veTable.ve, applied.ve);
  EXPECT_TRUE(windowTakesInput());
}

TEST_F(DialogTest, CalculatorsAndInertFormsOnlyCloseAndBestFitBlocksTheWindowMeanwhile) {
  setTable(ws.veTable, 8, 8);
  const vemap::VeTable before = ws.veTable;
  open();
  button("cmdFitRPMbins")->setEnabled(true);
  button("cmdFitRPMbins")->click();
  QWidget* bestFit = opened("frmBestFitBins");
  ASSERT_NE(bestFit, nullptr);
  EXPECT_EQ(bestFit->pos(), besideWindow());
  EXPECT_FALSE(windowTakesInput());
  field(bestFit, "txtRPMMax")->setText("7000");
  control(bestFit, "chkRPMBins")->click();
  control(bestFit, "Command1")->click();
  EXPECT_FALSE(bestFit->isVisible());
  EXPECT_TRUE(windowTakesInput());
  EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);
  EXPECT_EQ(ws.veTable.ve, before.ve);

  entry("mnuFuelPressure")->trigger();
  QWidget* calc = opened("frmFuelPressure");
  ASSERT_NE(calc, nullptr);
  EXPECT_TRUE(windowTakesInput());
  // The result follows each change of the form (the formula is pinned in the core tests).
  QLineEdit* result = field(calc, "txtModifiedFlow");
  const QString first = result->text();
  control(calc, "optModifiedInjectorFlow", 1)->click();
  EXPECT_NE(result->text(), first);
  const QString second = result->text();
  field(calc, "txtStockPressure")->setText("30");
  EXPECT_NE(result->text(), second);
  control(calc, "Command1")->click();
  EXPECT_FALSE(calc->isVisible());

  entry("mnuCalculatePW")->trigger();
  QWidget* fuel = opened("frmFuelRequirement");
  ASSERT_NE(fuel, nullptr);
  control(fuel, "Command1")->click();
  EXPECT_FALSE(fuel->isVisible());

  entry("mnuUserInfo")->trigger();
  QWidget* info = opened("frmUserInfo");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->pos(), besideWindow());
  control(info, "cmdCancel")->click();
  EXPECT_TRUE(info->isVisible());
  entry("mnuUserInfo")->trigger();  // the open form comes forward, no second one
  EXPECT_EQ(window->findChildren<QWidget*>("frmUserInfo").size(), 1);
}

}  // namespace
}  // namespace tallimar::ui::testing
