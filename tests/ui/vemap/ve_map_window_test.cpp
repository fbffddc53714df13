// The "Modify VE Map" window on the offscreen platform: the grid's keyboard table, editing and
// colours, the view choices the flags offer, the table commands, filtering on the worker (the
// same map as the command on the window's thread), the table files, loading and closing.
#include <QFile>

#include "commands/ve_map_commands.h"
#include "formats/ve_exchange_writer.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using Lines = std::vector<std::string>;
using K = GridCellKind;

const QColor kBlack(0, 0, 0);

TEST_F(VeWindowTest, KeysReleasedInCellsFollowTheKeyboardTable) {
  constexpr int kStay = -1;
  constexpr Qt::Key Enter = Qt::Key_Return, Up = Qt::Key_Up, Down = Qt::Key_Down,
                    Left = Qt::Key_Left, Right = Qt::Key_Right;
  // VE cells are numbered RPM index x 16 + MAP index; RPM bins stop and wrap at 7 whatever
  // the table size; MAP bin 0 is at the bottom, so Up goes to the cell below.
  // clang-format off
  const struct { K kind; int index; Qt::Key key; int to; } table[] = {
      {K::Ve, 243, Enter, 4}, {K::Ve, 239, Enter, 255}, {K::Ve, 255, Enter, kStay},
      {K::Ve, 0, Down, kStay}, {K::Ve, 16, Down, 15}, {K::Ve, 255, Up, kStay},
      {K::Ve, 15, Up, 16}, {K::Ve, 15, Left, kStay}, {K::Ve, 16, Left, 0},
      {K::Ve, 239, Right, 255}, {K::Ve, 240, Right, kStay}, {K::RpmBin, 6, Right, 7},
      {K::RpmBin, 7, Right, kStay}, {K::RpmBin, 8, Right, 9}, {K::RpmBin, 15, Right, kStay},
      {K::RpmBin, 0, Left, kStay}, {K::RpmBin, 7, Enter, 0}, {K::RpmBin, 8, Enter, kStay},
      {K::RpmBin, 3, Up, kStay}, {K::MapBin, 5, Up, 4}, {K::MapBin, 0, Up, kStay},
      {K::MapBin, 3, Down, 4}, {K::MapBin, 7, Down, kStay}, {K::MapBin, 15, Down, kStay},
      {K::MapBin, 6, Enter, 7}, {K::MapBin, 7, Enter, 0}, {K::MapBin, 9, Enter, kStay},
      {K::MapBin, 2, Left, kStay}, {K::Ve, 243, Qt::Key_Enter, 4}};  // the keypad's Enter too
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
  ve(20)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(ve(20)->selectedText(), ve(20)->text());
  rpmBin(2)->setText("0");
  rpmBin(2)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(rpmBin(2)->selectedText(), "0");
  mapBin(2)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(mapBin(2)->selectedText(), "");
  QTest::mouseClick(ve(21), Qt::LeftButton);  // the click that gives focus keeps the selection
  EXPECT_EQ(ve(21)->selectedText(), ve(21)->text());
}

TEST_F(VeWindowTest, LoadingShowsTheTableAndLeavingACellStoresItRoundedDown) {
  setTable(ws.veTable, 12, 8);
  const vemap::VeTable before = ws.veTable;
  build();
  EXPECT_EQ(rpmBin(0)->text(), "500");  // laid out
  window->load();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  // Loaded, the grid shows the table, so that editing one cell reads no placeholder into the
  // others; cells outside the table are black.
  EXPECT_EQ(rpmBin(0)->text(), "1500");
  EXPECT_EQ(ve(16 * 11 + 7)->text(), QString::number(before.at(11, 7)));
  EXPECT_NE(background(K::Ve, 16 * 11 + 7), kBlack);
  for (int outside : {16 * 11 + 8, 16 * 12}) EXPECT_EQ(background(K::Ve, outside), kBlack);
  EXPECT_EQ(background(K::MapBin, 8), kBlack);

  ws.veTable.lowDensityMapPresent = false;
  window->VEPlotViewButtons();
  typeAndLeave(ve(3 * 16 + 2), "62.9", ve(0));
  EXPECT_EQ(ws.veTable.at(3, 2), 62);
  EXPECT_EQ(ve(50)->text(), "62.9");
  EXPECT_EQ(background(K::Ve, 50), QColor(0, 128, 128));
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(view(0)->isEnabled());
  EXPECT_EQ(ws.veTable.at(7, 7), before.at(7, 7));

  // Too large for the table: the table keeps its value and the cell shows it again.
  typeAndLeave(ve(1), "40000", ve(0));
  EXPECT_EQ(ws.veTable.at(0, 1), before.at(0, 1));
  EXPECT_EQ(ve(1)->text(), QString::number(before.at(0, 1)));
  EXPECT_EQ(window->statusLines().back(), "Values outside -32768 to 32767 were not stored");
  // A bin cell is read back without touching the flag or the colours.
  rpmBin(1)->setFocus(Qt::TabFocusReason);
  ws.veTable.lowDensityMapPresent = false;
  typeAndLeave(rpmBin(1), "1234.9", rpmBin(2));
  EXPECT_EQ(ws.veTable.rpmBins[1], 1234);
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  typeAndLeave(ve(12 * 16), "70", ve(0));  // outside the table: stays black
  EXPECT_EQ(background(K::Ve, 12 * 16), kBlack);
}

TEST_F(VeWindowTest, ViewColorsIsStoredAndRecoloursTheGrid) {
  setTable(ws.veTable, 8, 8);
  ws.veTable.at(0, 0) = 95;
  open();
  EXPECT_EQ(background(K::Ve, 0), QColor(0, 0, 255));
  check("chkVEColors")->click();
  EXPECT_EQ(stored("VEMapColors"), "False");
  EXPECT_EQ(background(K::Ve, 0), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(background(K::Ve, 255), kBlack);
  open();  // the next opening starts unticked from the stored setting
  EXPECT_FALSE(check("chkVEColors")->isChecked());
  check("chkVEColors")->click();
  EXPECT_EQ(stored("VEMapColors"), "True");
  EXPECT_EQ(background(K::Ve, 0), QColor(0, 0, 255));
}

TEST_F(VeWindowTest, TheThreeFlagsEnableExactlyTheirViewsAndCommands) {
  for (int flags = 0; flags < 8; ++flags) {
    const bool low = flags & 1, raw = flags & 2, filtered = flags & 4;
    ws.veTable.lowDensityMapPresent = low;
    ws.rawDataMapPresent = raw;
    ws.veTable.filteredMapPresent = filtered;
    open();
    // Which views each flag offers is pinned in core; here that the options follow it.
    EXPECT_EQ(view(4)->isEnabled(), low && filtered) << flags;
    EXPECT_EQ(button("cmdCalculateMap")->isEnabled(), raw);
    EXPECT_EQ(entry("mnuCalcuateMap")->isEnabled(), raw);
    EXPECT_EQ(button("cmdFilterRawDatalog")->isEnabled(), raw);
    EXPECT_EQ(entry("mnuFilterRawDatalog")->isEnabled(), raw);
    EXPECT_EQ(view(1)->isChecked(), raw);  // a raw data map opens on its own view
  }
}

TEST_F(VeWindowTest, ClearLdMapRedrawsTheSelectedView) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  ASSERT_TRUE(view(1)->isChecked());
  entry("mnuSetMapZero")->trigger();  // the selected raw view is drawn again
  EXPECT_EQ(ws.veTable.at(7, 7), 0);
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_FALSE(view(0)->isEnabled());
  EXPECT_EQ(window->statusLines(), (Lines{"Finished Plotting", "Finished Plotting"}));
  EXPECT_GT(plot::itemsOfKind<plot::Box>(surface().drawList()).size(), 500u);  // raw points
}

TEST_F(VeWindowTest, FilteringRunsOnTheWorkerThenCalculateMapFillsTheGrid) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  ws.veTable.lowDensityMapPresent = false;
  workspace::Workspace direct = ws;  // the same filter on this thread
  common::VectorStatusLog directLog;
  ASSERT_TRUE(commands::filterRawDatalogCommand(direct, directLog).ok());
  open();
  bool previewShown = false;
  QObject::connect(window.get(), &VeMapWindow::filterPreviewUpdated,
                   [&] { previewShown = previewShown || window->splineView().isVisible(); });
  QSignalSpy done(window.get(), &VeMapWindow::filteringFinished);
  button("cmdFilterRawDatalog")->click();
  EXPECT_TRUE(window->filtering());
  EXPECT_FALSE(button("cmdFilterRawDatalog")->isEnabled());
  ASSERT_TRUE(done.wait(20000));
  EXPECT_TRUE(previewShown);
  EXPECT_FALSE(window->splineView().isVisible());
  EXPECT_TRUE(ws.veTable.filteredMapPresent);
  EXPECT_TRUE(view(2)->isChecked());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");
  for (int j = 0; j < engine::kRawRpmCells; ++j)
    for (int i = 0; i < engine::kRawMapCells; ++i)
      ASSERT_EQ(ws.filteredMap.at(j, i), direct.filteredMap.at(j, i)) << j << "," << i;

  button("cmdCalculateMap")->click();
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(view(0)->isEnabled());
  EXPECT_EQ(ve(3 * 16 + 5)->text(), QString::number(ws.veTable.at(3, 5)));
}

TEST_F(VeWindowTest, ClosingWhileFilteringLeavesTheFilteredMapAsItWas) {
  withRawMap();
  open();
  button("cmdFilterRawDatalog")->click();
  window->close();
  QApplication::processEvents();
  EXPECT_FALSE(window->filtering());
  EXPECT_FALSE(ws.veTable.filteredMapPresent);
  for (int j = 0; j < engine::kRawRpmCells; ++j)
    for (int i = 0; i < engine::kRawMapCells; ++i) ASSERT_EQ(ws.filteredMap.at(j, i), 0.0f);
  EXPECT_EQ(closedCount, 1);
}

TEST_F(VeWindowTest, LdMapFilesOverwriteQuestionOpenAndSave) {
  vemap::VeTable file;
  setTable(file, 12, 12);
  const QString path = folder.filePath("Map Export.vex");
  {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(*formats::veExchangeText(file)));
  }
  setTable(ws.veTable, 8, 8);
  const vemap::VeTable before = ws.veTable;
  open();
  prompts.answers = {common::Answer::No};
  entry("mnuImport")->trigger();
  ASSERT_EQ(prompts.asked.size(), 1u);  // the overwrite question, answered No
  EXPECT_TRUE(window->statusLines().empty());
  EXPECT_EQ(ws.veTable.ve, before.ve);

  prompts.answers = {common::Answer::Yes};
  prompts.openAnswers = {{path.toStdString()}};
  entry("mnuImport")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");  // imported, then plotted
  EXPECT_EQ(ve(11 * 16 + 11)->text(), QString::number(file.at(11, 11)));
  EXPECT_NE(background(K::Ve, 11 * 16 + 11), kBlack);

  const QString saved = folder.filePath("saved.vex");
  prompts.saveAnswers = {saved.toStdString()};
  entry("mnuExportMap")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Exporting");
  EXPECT_TRUE(QFile::exists(saved));
}

TEST_F(VeWindowTest, PreviewModeSettingsAndCloseKeepingTheCellBeingEdited) {
  setTable(ws.veTable, 8, 8);
  open();
  entry("mnuPrintPreview")->trigger();
  EXPECT_EQ(stored("PrintPreview"), "False");
  entry("mnuSettings")->trigger();
  EXPECT_EQ(settingsCount, 1);
  ve(5)->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(ve(5), "77");  // the focus selected the old text: typing replaces it
  entry("mnuClose")->trigger();
  EXPECT_EQ(ws.veTable.at(0, 5), 77);
  EXPECT_EQ(closedCount, 1);
  EXPECT_FALSE(window->isVisible());
  open();  // a new opening starts from the stored state
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
}

}  // namespace
}  // namespace tallimar::ui::testing
