// The "Modify VE Map" window: the grid's keyboard table, editing and colours, the views the
// flags offer, the table commands, filtering on the worker, the table files and closing.
#include "commands/ve_map_commands.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using Lines = std::vector<std::string>;
using K = GridCellKind;

const QColor kBlack(0, 0, 0);

// Every cell of a filtered map, to compare whole maps.
std::vector<float> cellsOf(const vemap::FilteredMap& map) {
  std::vector<float> cells;
  for (int j = 0; j < engine::kRawRpmCells; ++j)
    for (int i = 0; i < engine::kRawMapCells; ++i) cells.push_back(map.at(j, i));
  return cells;
}

TEST_F(VeWindowTest, KeysReleasedInCellsFollowTheKeyboardTable) {
  constexpr int kStay = -1;
  constexpr Qt::Key Enter = Qt::Key_Return, Up = Qt::Key_Up, Down = Qt::Key_Down,
                    Left = Qt::Key_Left, Right = Qt::Key_Right;
  // VE cells are numbered RPM index x 16 + MAP index; RPM bins stop and wrap at 7 whatever
  // the table size; MAP bin 0 is at the bottom, so Up goes to the cell below.
  // clang-format off
  const struct { K kind; int index; Qt::Key key; int to; } table[] = {
      {K::Ve, 243, Enter, 4}, {K::Ve, 255, Enter, kStay}, {K::Ve, 0, Down, kStay},
      {K::Ve, 16, Down, 15}, {K::Ve, 15, Up, 16}, {K::Ve, 15, Left, kStay},
      {K::Ve, 16, Left, 0}, {K::Ve, 239, Right, 255}, {K::Ve, 240, Right, kStay},
      {K::RpmBin, 7, Right, kStay}, {K::RpmBin, 8, Right, 9}, {K::RpmBin, 7, Enter, 0},
      {K::RpmBin, 8, Enter, kStay}, {K::MapBin, 5, Up, 4}, {K::MapBin, 0, Up, kStay},
      {K::MapBin, 7, Down, kStay}, {K::MapBin, 7, Enter, 0}, {K::MapBin, 9, Enter, kStay},
      {K::Ve, 243, Qt::Key_Enter, 4}};  // the keypad's Enter too
  // clang-format on
  setTable(ws.veTable, 16, 16);
  open();
  auto cell = [this](K kind, int index) {
    return kind == K::Ve ? ve(index) : kind == K::RpmBin ? rpmBin(index) : mapBin(index);
  };
  for (const auto& row : table) {
    cell(row.kind, row.index)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cell(row.kind, row.index), row.key);
    EXPECT_EQ(QApplication::focusWidget(), cell(row.kind, row.to == kStay ? row.index : row.to))
        << static_cast<int>(row.kind) << " " << row.index << " " << row.key;
  }

  // Focus selects a VE cell whole, a bin only when it reads 0.
  rpmBin(2)->setText("0");
  rpmBin(2)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(rpmBin(2)->selectedText(), "0");
  mapBin(2)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(mapBin(2)->selectedText(), "");
  QTest::mouseClick(ve(21), Qt::LeftButton);  // the click that gives focus keeps the selection
  EXPECT_EQ(ve(21)->selectedText(), ve(21)->text());
}

TEST_F(VeWindowTest, LoadingShowsTheTableLeavingACellStoresItViewColorsOff) {
  setTable(ws.veTable, 12, 8);
  const vemap::VeTable before = ws.veTable;
  open();
  // The grid shows the table, so that editing one cell reads no placeholder into the others;
  // cells outside the table are black.
  EXPECT_EQ(ve(16 * 11 + 7)->text(), QString::number(before.at(11, 7)));
  for (int outside : {16 * 11 + 8, 16 * 12}) EXPECT_EQ(background(K::Ve, outside), kBlack);

  typeAndLeave(ve(3 * 16 + 2), "62.9", ve(0));
  EXPECT_EQ(ws.veTable.at(3, 2), 62);
  EXPECT_EQ(background(K::Ve, 50), QColor(0, 128, 128));

  // Too large for the table: the table keeps its value and the cell shows it again.
  typeAndLeave(ve(1), "40000", ve(0));
  EXPECT_EQ(ws.veTable.at(0, 1), before.at(0, 1));
  EXPECT_EQ(ve(1)->text(), QString::number(before.at(0, 1)));
  EXPECT_EQ(window->statusLines().back(), "Values outside -32768 to 32767 were not stored");
  typeAndLeave(rpmBin(1), "1234.9", rpmBin(2));  // a bin cell too
  EXPECT_EQ(ws.veTable.rpmBins[1], 1234);

  check("chkVEColors")->click();  // "View Colors" off: stored, the table's cells plain
  EXPECT_FALSE(settings::readVEMapColors(store));
  EXPECT_EQ(background(K::Ve, 50), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(background(K::Ve, 16 * 12), kBlack);
}

TEST_F(VeWindowTest, TheFlagsEnableTheirViewsAndCommands) {
  for (int flags = 0; flags < 8; ++flags) {
    const bool low = flags & 1, raw = flags & 2, filtered = flags & 4;
    ws.veTable.lowDensityMapPresent = low;
    ws.rawDataMapPresent = raw;
    ws.veTable.filteredMapPresent = filtered;
    open();
    // Which views each flag offers is pinned in core; here that the options follow it.
    EXPECT_EQ(view(4)->isEnabled(), low && filtered) << flags;
    EXPECT_EQ(entry("mnuCalcuateMap")->isEnabled(), raw);
    EXPECT_EQ(view(1)->isChecked(), raw);  // a raw data map opens on its own view
  }
}

TEST_F(VeWindowTest, FilteringRunsOnTheWorkerCalculateMapFillsTheGridClosingStopsIt) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  ws.veTable.lowDensityMapPresent = false;
  workspace::Workspace direct = ws;  // the same filter on this thread
  common::VectorStatusLog directLog;
  ASSERT_TRUE(commands::filterRawDatalogCommand(direct, directLog).ok());
  open();
  QSignalSpy done(window.get(), &VeMapWindow::filteringFinished);
  button("cmdFilterRawDatalog")->click();
  EXPECT_FALSE(button("cmdFilterRawDatalog")->isEnabled());
  ASSERT_TRUE(done.wait(20000));
  EXPECT_TRUE(view(2)->isChecked());
  EXPECT_TRUE(cellsOf(ws.filteredMap) == cellsOf(direct.filteredMap));

  button("cmdCalculateMap")->click();
  EXPECT_TRUE(view(0)->isEnabled());
  EXPECT_EQ(ve(3 * 16 + 5)->text(), QString::number(ws.veTable.at(3, 5)));
  entry("mnuSetMapZero")->trigger();  // "Clear LD Map" zeroes the grid and redraws
  EXPECT_EQ(ve(3 * 16 + 5)->text(), "0");
  EXPECT_FALSE(view(0)->isEnabled());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");

  ws.filteredMap.clear();  // closing while filtering leaves the filtered map as it was
  ws.veTable.filteredMapPresent = false;
  button("cmdFilterRawDatalog")->click();
  window->close();
  QApplication::processEvents();
  EXPECT_FALSE(window->filtering() || ws.veTable.filteredMapPresent);
  EXPECT_TRUE(cellsOf(ws.filteredMap) == cellsOf(vemap::FilteredMap()));
  EXPECT_EQ(closedCount, 1);
}

TEST_F(VeWindowTest, LdMapFileSavedAndOpenedAgainSettingsAndCloseKeepingTheCellBeingEdited) {
  setTable(ws.veTable, 12, 12);
  const vemap::VeTable exported = ws.veTable;
  open();
  const std::string path = folder.filePath("Map Export.vex").toStdString();
  prompts.saveAnswers = {path};
  entry("mnuExportMap")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Exporting");

  setTable(ws.veTable, 8, 8);
  prompts.answers = {common::Answer::Yes};  // the overwrite question
  prompts.openAnswers = {{path}};
  entry("mnuImport")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");  // imported, then plotted
  EXPECT_EQ(ve(11 * 16 + 11)->text(), QString::number(exported.at(11, 11)));

  entry("mnuSettings")->trigger();
  EXPECT_EQ(settingsCount, 1);
  ve(5)->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(ve(5), "77");  // the focus selected the old text: typing replaces it
  entry("mnuClose")->trigger();   // and closing keeps the cell being edited
  EXPECT_EQ(ws.veTable.at(0, 5), 77);
  EXPECT_EQ(closedCount, 1);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tallimar::ui::testing
