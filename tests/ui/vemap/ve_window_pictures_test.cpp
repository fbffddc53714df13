// Pictures of the window and its dialogs for a person to look at: written as PNG files to
// the folder named by TALLIMAR_SCREENSHOT_DIR, skipped when it is not set. Run under Xvfb
// (or the offscreen platform) with:
//   TALLIMAR_SCREENSHOT_DIR=/tmp/shots build/dev/tests/ui/vemap/vemap_ui_tests
//   --gtest_filter='Pictures*'
#include <QDir>

#include "ve_window_fixture.h"
#include "vemap/ve_map_commands.h"

namespace tallimar::ui::testing {
namespace {

class Pictures : public VeWindowTest {
 protected:
  void SetUp() override {
    const QByteArray dir = qgetenv("TALLIMAR_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
    m_dir = QString::fromLocal8Bit(dir);
    QDir().mkpath(m_dir);
  }
  void save(QWidget& widget, const QString& name, bool settle = true) {
    if (settle) QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(m_dir + "/" + name + ".png")) << name.toStdString();
  }
  template <class T>
  T* dialog(const char* name) {
    QApplication::processEvents();
    return window->findChild<T*>(name);
  }
  QString m_dir;
};

TEST_F(Pictures, WindowWithBothTableSizes) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  save(open(), "window_8x8");
  window.reset();
  setTable(ws.veTable, 16, 16);
  save(open(), "window_16x16");
  check("chkVEColors")->click();
  save(*window, "window_16x16_no_colours");
  check("chkVEColors")->click();
  // Editing a cell while the mouse holds the crossing of two bin lines on the plot.
  button("cmdRefreshPlotWindow")->click();
  ve(5 * 16 + 7)->setFocus(Qt::TabFocusReason);
  window->plotPanel().mouseMovedAt(ws.veTable.rpmBins[5], 100 - ws.veTable.mapBins[9],
                                   Qt::NoButton);
  save(*window, "window_editing");
}

TEST_F(Pictures, EveryViewAfterFiltering) {
  withGeneratedDatalog();
  setTable(ws.veTable, 8, 8);
  open();
  // What the window shows part way through: filtering usually ends within a few frames, so
  // the first 70 lines are fitted here and shown through the window's own preview.
  std::vector<FilterRun::Line> lines;
  vemap::FilteredMap scratch;
  vemap::filterRawMap(ws.rawMap, vemap::filterOptionsFor(ws), scratch,
                      [&](const vemap::FilterLine& line) {
                        lines.push_back(FilterRun::copyLine(line));
                        return lines.size() < 70;
                      });
  window->plotPanel().beginFilterPreview();
  window->splineView().setGeometry(window->grid().veArea());
  window->splineView().show();
  window->showFilterProgress(lines);
  save(*window, "filtering");
  window->splineView().hide();
  filter();
  button("cmdCalculateMap")->click();
  for (int k = 0; k < plot::kVeViewCount; ++k) {
    view(k)->click();
    save(*window, QStringLiteral("view_%1").arg(k));
  }
  view(1)->click();
  check("chkMiniLegend")->click();
  window->plotPanel().mouseMovedAt(4000, 45, Qt::NoButton);
  save(*window, "read_out");
}

TEST_F(Pictures, Dialogs) {
  setTable(ws.veTable, 12, 8);
  open();
  auto show = [&](const char* menuEntry, const char* name) {
    entry(menuEntry)->trigger();
    QWidget* shown = dialog<QWidget>(name);
    EXPECT_NE(shown, nullptr) << name;
    if (shown) save(*shown, QString::fromLatin1(name));
    return shown;
  };
  show("mnuScaleMap", "frmScaleVE")->close();
  QWidget* afr = show("mnuCreateWBMap", "frmVEAFR");
  for (QLineEdit* target : afr->findChildren<QLineEdit*>("txtAFR"))
    if (target->property("index").toInt() == 5) target->setText("12.25");
  save(*afr, "frmVEAFR_preview");
  save(*window, "window_blocked");
  afr->close();
  button("cmdFitRPMbins")->setEnabled(true);
  button("cmdFitRPMbins")->click();
  save(*dialog<QWidget>("frmBestFitBins"), "frmBestFitBins");
  dialog<QWidget>("frmBestFitBins")->close();
  show("mnuUserInfo", "frmUserInfo");
  show("mnuFuelPressure", "frmFuelPressure");
  show("mnuCalculatePW", "frmFuelRequirement");
}

}  // namespace
}  // namespace tallimar::ui::testing
