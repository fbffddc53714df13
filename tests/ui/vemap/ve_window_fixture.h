// A "Modify VE Map" window over a fresh Workspace, scripted prompts and an in-memory store,
// fed with the plot tests' synthetic maps (tests/core/plot/plot_fixtures.h).
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
#include <memory>

#include "common/scripted_prompts.h"
#include "core/plot/plot_fixtures.h"
#include "settings/settings_io.h"
#include "ui/plot/plot_widget.h"
#include "ui/vemap/ve_grid.h"
#include "ui/vemap/ve_map_window.h"
#include "ui/vemap/ve_plot_panel.h"
#include "workspace/workspace.h"

namespace tallimar::ui::testing {

// A table of that size, bins over 1500..9500 rev/min and 20..100 kPa, smooth VE values;
// the filtered-map flag is left as it was.
inline void setTable(vemap::VeTable& t, int sizeRpm, int sizeMap) {
  const bool filtered = t.filteredMapPresent;
  t = plot::fixtures::sampledTable(sizeRpm, sizeMap, 1500, 9500, 20, 100);
  t.filteredMapPresent = filtered;
}

class VeWindowTest : public ::testing::Test {
 protected:
  VeWindowTest() { ws.veTable.setStartupBins(); }  // the window's own start, 8 x 8

  // The window loaded, shown and active (so that cells take the keyboard focus).
  VeMapWindow& open() {
    VeMapWindowHooks hooks;
    hooks.closed = [this] { ++closedCount; };
    hooks.settings = [this](VeMapWindow&) { ++settingsCount; };
    hooks.mainStatusLog = &mainLog;
    window = std::make_unique<VeMapWindow>(ws, store, prompts, folder.path(), hooks);
    window->load();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return *window;
  }

  void withRawMap() {
    plot::fixtures::fillRawMap(ws.rawMap);
    ws.rawDataMapPresent = true;
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
