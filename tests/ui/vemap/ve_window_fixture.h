// A "Modify VE Map" window over a fresh Workspace, with scripted prompts and an in-memory
// store, and the data the window tests feed it: a raw data map as a drive leaves it (the
// cells visited by a wandering engine speed and load, noisy around a smooth VE surface).
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <memory>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "ui/plot/plot_widget.h"
#include "ui/vemap/ve_grid.h"
#include "ui/vemap/ve_map_window.h"
#include "ui/vemap/ve_plot_panel.h"
#include "workspace/workspace.h"

namespace tallimar::ui::testing {

// VE percent at RPM index j (hundreds of rev/min) and MAP i kPa.
inline double driveVe(double j, double i) {
  return 20.0 + 0.55 * i + 18.0 * std::sin(j / 110.0 * 3.14159265358979);
}

// The cells a drive of `samples` steps visits: engine speed and load wander as on a road,
// each visit adds its corrected VE (with up to +/-3 of noise) to the cell's average.
inline void fillDrivenRawMap(engine::RawDataMap& raw, int samples = 6000) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
  };
  double j = 20;
  double i = 40;
  for (int s = 0; s < samples; ++s) {
    j = std::clamp(j + (next() - 0.5) * 6.0, 8.0, 95.0);
    i = std::clamp(i + (next() - 0.5) * 5.0, 18.0, 98.0);
    const int cj = static_cast<int>(std::lround(j));
    const int ci = static_cast<int>(std::lround(i));
    auto& cell = raw.at(cj, ci);
    const auto ve = static_cast<std::int16_t>(std::lround(driveVe(cj, ci) + (next() - 0.5) * 6.0));
    cell.values += (cell.values.empty() ? "" : ",") + std::to_string(ve);
    cell.average = ve;
    cell.median = ve;
  }
}

// A table of the given size with bins spread over 1500..9500 rev/min and 20..100 kPa and
// values from the same surface.
inline void setTable(vemap::VeTable& t, int sizeRpm, int sizeMap) {
  t.sizeRpm = static_cast<std::int16_t>(sizeRpm);
  t.sizeMap = static_cast<std::int16_t>(sizeMap);
  for (int k = 0; k < sizeRpm; ++k)
    t.rpmBins[static_cast<std::size_t>(k)] =
        static_cast<std::int16_t>((1500 + 8000 * k / std::max(1, sizeRpm - 1)) / 100 * 100);
  for (int k = 0; k < sizeMap; ++k)
    t.mapBins[static_cast<std::size_t>(k)] =
        static_cast<std::int16_t>(20 + 80 * k / std::max(1, sizeMap - 1));
  for (int r = 0; r < sizeRpm; ++r)
    for (int m = 0; m < sizeMap; ++m)
      t.at(r, m) = static_cast<std::int16_t>(std::lround(driveVe(
          t.rpmBins[static_cast<std::size_t>(r)] / 100.0, t.mapBins[static_cast<std::size_t>(m)])));
  t.lowDensityMapPresent = true;
}

class VeWindowTest : public ::testing::Test {
 protected:
  VeWindowTest() {
    ws.veTable.setStartupBins();
    ws.veTable.sizeRpm = 8;
    ws.veTable.sizeMap = 8;
  }

  VeMapWindowHooks hooks() {
    VeMapWindowHooks h;
    h.closed = [this] { ++closedCount; };
    h.settings = [this](VeMapWindow&) { ++settingsCount; };
    h.mainStatusLog = &mainLog;
    return h;
  }
  // The window as laid out, not loaded.
  VeMapWindow& build() {
    window = std::make_unique<VeMapWindow>(ws, store, prompts, folder.path(), hooks());
    return *window;
  }
  // The window loaded, shown and active (so that cells take the keyboard focus).
  VeMapWindow& open() {
    build();
    window->load();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return *window;
  }

  void withRawMap() {
    fillDrivenRawMap(ws.rawMap);
    ws.rawDataMapPresent = true;
  }
  // Runs "Filter Raw Datalog" to its end.
  void filter() {
    QSignalSpy done(window.get(), &VeMapWindow::filteringFinished);
    button("cmdFilterRawDatalog")->click();
    ASSERT_TRUE(done.count() > 0 || done.wait(20000));
  }

  GridCell* ve(int cell) const { return window->grid().veCell(cell); }
  GridCell* rpmBin(int k) const { return window->grid().rpmBin(k); }
  GridCell* mapBin(int k) const { return window->grid().mapBin(k); }
  QColor background(GridCellKind kind, int index) const {
    return window->grid().cellBackground(kind, index);
  }
  QAction* entry(const char* name) const { return window->findChild<QAction*>(name); }
  QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
  QCheckBox* check(const char* name) const { return window->findChild<QCheckBox*>(name); }
  QRadioButton* view(int k) const {
    for (QRadioButton* option : window->findChildren<QRadioButton*>("optVEView"))
      if (option->property("index").toInt() == k) return option;
    return nullptr;
  }
  PlotWidget& surface() const { return window->plotPanel().surface(); }
  std::string stored(const char* key) const {
    return store.get(settings::kApplication, settings::kSection, key, "<none>");
  }
  // Types into a cell that has focus and leaves it by moving the focus elsewhere.
  void typeAndLeave(GridCell* cell, const QString& text, QWidget* next) {
    cell->setFocus(Qt::MouseFocusReason);
    cell->selectAll();
    QTest::keyClicks(cell, text);
    next->setFocus(Qt::MouseFocusReason);
  }

  workspace::Workspace ws;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog mainLog;
  QTemporaryDir folder;
  std::unique_ptr<VeMapWindow> window;
  int closedCount = 0;
  int settingsCount = 0;
};

}  // namespace tallimar::ui::testing
