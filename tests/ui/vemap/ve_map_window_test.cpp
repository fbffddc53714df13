// The "Modify VE Map" window on the offscreen platform: the grid's keyboard table, editing and
// colours, the view choices the flags offer, the table commands, the table files,
// loading and closing.
#include <QFile>
#include <QLabel>
#include <map>

#include "files/ve_exchange_writer.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using Lines = std::vector<std::string>;
using K = GridCellKind;

const QColor kBlack(0, 0, 0);

TEST_F(VeWindowTest, KeysReleasedInCellsFollowTheKeyboardTable) {
  using E = GridKey;
  constexpr int kStay = -1;
  // VE cells are numbered RPM index x 16 + MAP index; RPM bins stop and wrap at 7 whatever
  // the table size; MAP bin 0 is at the bottom, so Up goes to the cell below.
  // clang-format off
  const struct {
    K kind;
    int index;
    GridKey key;
    int to;
  } table[] = {
      {K::Ve, 243, E::Enter, 4}, {K::Ve, 239, E::Enter, 255}, {K::Ve, 255, E::Enter, kStay},
      {K::Ve, 0, E::Down, kStay}, {K::Ve, 16, E::Down, 15}, {K::Ve, 255, E::Up, kStay},
      {K::Ve, 15, E::Up, 16}, {K::Ve, 15, E::Left, kStay}, {K::Ve, 16, E::Left, 0},
      {K::Ve, 239, E::Right, 255}, {K::Ve, 240, E::Right, kStay}, {K::RpmBin, 6, E::Right, 7},
      {K::RpmBin, 7, E::Right, kStay}, {K::RpmBin, 8, E::Right, 9},
      {K::RpmBin, 15, E::Right, kStay}, {K::RpmBin, 0, E::Left, kStay}, {K::RpmBin, 7, E::Enter, 0},
      {K::RpmBin, 8, E::Enter, kStay}, {K::RpmBin, 3, E::Up, kStay}, {K::MapBin, 5, E::Up, 4},
      {K::MapBin, 0, E::Up, kStay}, {K::MapBin, 3, E::Down, 4}, {K::MapBin, 7, E::Down, kStay},
      {K::MapBin, 15, E::Down, kStay}, {K::MapBin, 6, E::Enter, 7}, {K::MapBin, 7, E::Enter, 0},
      {K::MapBin, 9, E::Enter, kStay}, {K::MapBin, 2, E::Left, kStay}};
  // clang-format on
  setTable(ws.veTable, 16, 16);
  open();
  auto cell = [this](K kind, int index) {
    return kind == K::Ve ? ve(index) : kind == K::RpmBin ? rpmBin(index) : mapBin(index);
  };
  const std::map<GridKey, Qt::Key> keys = {{E::Enter, Qt::Key_Return}, {E::Up, Qt::Key_Up},
                                           {E::Down, Qt::Key_Down},     {E::Left, Qt::Key_Left},
                                           {E::Right, Qt::Key_Right}};
  for (const auto& row : table) {
    GridCell* from = cell(row.kind, row.index);
    from->setFocus(Qt::TabFocusReason);
    QTest::keyClick(from, keys.at(row.key));
    EXPECT_EQ(QApplication::focusWidget(), cell(row.kind, row.to == kStay ? row.index : row.to))
        << static_cast<int>(row.kind) << " " << row.index << " " << static_cast<int>(row.key);
  }
  ve(255)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(ve(255), Qt::Key_Enter);  // the keypad's Enter too
  EXPECT_EQ(QApplication::focusWidget(), ve(255));
  ve(243)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(ve(243), Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), ve(4));
}

TEST_F(VeWindowTest, FocusSelectsAVeCellWholeAndABinOnlyWhenItIsZero) {
  open();
  ve(20)->setText("62.5");
  ve(20)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(ve(20)->selectedText(), "62.5");
  rpmBin(2)->setText("0");
  rpmBin(2)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(rpmBin(2)->selectedText(), "0");
  mapBin(2)->setFocus(Qt::TabFocusReason);  // "30": nothing selected
  EXPECT_EQ(mapBin(2)->selectedText(), "");
  QTest::mouseClick(ve(21), Qt::LeftButton);  // the click that gives focus keeps the selection
  EXPECT_EQ(ve(21)->selectedText(), ve(21)->text());
}

TEST_F(VeWindowTest, LaidOutTextsGiveWayToTheTableOnLoading) {
  setTable(ws.veTable, 8, 8);
  build();
  EXPECT_EQ(rpmBin(0)->text(), "500");
  // Loaded, the grid shows the table, so that editing one cell reads no placeholder into
  // the others.
  const vemap::VeTable before = ws.veTable;
  window->load();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(rpmBin(0)->text(), "1500");
  EXPECT_EQ(ve(3 * 16 + 2)->text(), QString::number(before.at(3, 2)));
  EXPECT_EQ(ve(255)->text(), "1");  // inactive: left as it was
  typeAndLeave(ve(0), "61", ve(1));
  EXPECT_EQ(ws.veTable.at(0, 0), 61);
  EXPECT_EQ(ws.veTable.at(7, 7), before.at(7, 7));
  EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);
}

TEST_F(VeWindowTest, LeavingAVeCellStoresTheValueRoundedDownAndColoursIt) {
  open();
  EXPECT_FALSE(view(0)->isEnabled());
  typeAndLeave(ve(3 * 16 + 2), "62.9", ve(0));
  EXPECT_EQ(ws.veTable.at(3, 2), 62);
  EXPECT_EQ(ve(50)->text(), "62.9");
  EXPECT_EQ(background(K::Ve, 50), QColor(0, 128, 128));
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(view(0)->isEnabled());

  typeAndLeave(ve(1), "55abc", ve(0));
  EXPECT_EQ(ve(1)->text(), "55");
  EXPECT_EQ(ws.veTable.at(0, 1), 55);
  typeAndLeave(ve(2), "abc", ve(0));
  EXPECT_EQ(ve(2)->text(), "0");
  typeAndLeave(ve(3), "-5", ve(0));
  EXPECT_EQ(ws.veTable.at(0, 3), -5);
  EXPECT_EQ(background(K::Ve, 3), QColor(128, 0, 0));
  // Too large for the table: the table keeps its value and the cell shows it again.
  typeAndLeave(ve(4), "40000", ve(0));
  EXPECT_EQ(ws.veTable.at(0, 4), 0);
  EXPECT_EQ(ve(4)->text(), "0");
  EXPECT_EQ(window->statusLines().back(), "Values outside -32768 to 32767 were not stored");
  // A bin cell is read back without touching the flag or the colours.
  rpmBin(1)->setFocus(Qt::TabFocusReason);
  ws.veTable.lowDensityMapPresent = false;
  typeAndLeave(rpmBin(1), "1234.9", rpmBin(2));
  EXPECT_EQ(ws.veTable.rpmBins[1], 1234);
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  // An inactive cell is not part of the table and stays black.
  typeAndLeave(ve(8), "70", ve(0));
  EXPECT_EQ(background(K::Ve, 8), kBlack);
}

TEST_F(VeWindowTest, InactiveCellsAndBinsAreBlack) {
  for (const auto& [sizeRpm, sizeMap] : {std::pair{8, 8}, std::pair{12, 8}}) {
    setTable(ws.veTable, sizeRpm, sizeMap);
    open();
    int active = 0;
    for (int r = 0; r < 16; ++r)
      for (int m = 0; m < 16; ++m) {
        const bool isActive = r < sizeRpm && m < sizeMap;
        EXPECT_EQ(background(K::Ve, 16 * r + m) == kBlack, !isActive) << r << "," << m;
        if (isActive) {
          ++active;
          EXPECT_EQ(ve(16 * r + m)->text(), QString::number(ws.veTable.at(r, m)));
        }
      }
    EXPECT_EQ(active, sizeRpm * sizeMap);
    for (int k = 0; k < 16; ++k) {
      EXPECT_EQ(background(K::RpmBin, k) == kBlack, k >= sizeRpm) << k;
      EXPECT_EQ(background(K::MapBin, k) == kBlack, k >= sizeMap) << k;
    }
  }
}

TEST_F(VeWindowTest, ViewColorsIsStoredAndRecoloursTheGrid) {
  setTable(ws.veTable, 8, 8);
  ws.veTable.at(0, 0) = 95;
  open();
  EXPECT_TRUE(check("chkVEColors")->isChecked());
  EXPECT_EQ(background(K::Ve, 0), QColor(0, 0, 255));
  check("chkVEColors")->click();
  EXPECT_EQ(stored("VEMapColors"), "False");
  EXPECT_EQ(background(K::Ve, 0), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(background(K::Ve, 255), kBlack);
  check("chkVEColors")->click();
  EXPECT_EQ(stored("VEMapColors"), "True");
  EXPECT_EQ(background(K::Ve, 0), QColor(0, 0, 255));
  // The next opening starts unticked from the stored setting.
  check("chkVEColors")->click();
  open();
  EXPECT_FALSE(check("chkVEColors")->isChecked());
}

TEST_F(VeWindowTest, TheThreeFlagsEnableExactlyTheirViewsAndCommands) {
  for (int flags = 0; flags < 8; ++flags) {
    const bool low = flags & 1, raw = flags & 2, filtered = flags & 4;
    ws.veTable.lowDensityMapPresent = low;
    ws.rawDataMapPresent = raw;
    ws.veTable.filteredMapPresent = filtered;
    open();
    const bool expected[6] = {low, raw, filtered, low && raw, low && filtered, raw && filtered};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(view(k)->isEnabled(), expected[k]) << flags << "/" << k;
    EXPECT_EQ(button("cmdCalculateMap")->isEnabled(), raw);
    EXPECT_EQ(entry("mnuCalcuateMap")->isEnabled(), raw);
    EXPECT_EQ(button("cmdFilterRawDatalog")->isEnabled(), raw);
    EXPECT_EQ(entry("mnuFilterRawDatalog")->isEnabled(), raw);
    EXPECT_FALSE(button("cmdFitRPMbins")->isEnabled());
    EXPECT_FALSE(entry("mnuBestFitBins")->isEnabled());
    // A raw data map opens on its own view.
    EXPECT_EQ(view(1)->isChecked(), raw);
  }
}

TEST_F(VeWindowTest, ClearLdMapWithoutAndWithARawMap) {
  setTable(ws.veTable, 8, 8);
  ws.veTable.at(10, 10) = 44;
  open();
  entry("mnuSetMapZero")->trigger();  // no raw map: the empty table plot
  EXPECT_FALSE(view(0)->isEnabled());
  EXPECT_EQ(window->statusLines(), (Lines{"Plotting VE Map", "Finished Plotting"}));
  EXPECT_TRUE(plot::itemsOfKind<plot::Box>(surface().drawList()).empty());
  EXPECT_EQ(plot::itemsOfKind<plot::Line>(surface().drawList()).size(), 16u);  // bin lines

  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  ASSERT_TRUE(view(1)->isChecked());
  entry("mnuSetMapZero")->trigger();  // the selected raw view is drawn again
  for (int r = 0; r < 8; ++r)
    for (int m = 0; m < 8; ++m) EXPECT_EQ(ws.veTable.at(r, m), 0);
  EXPECT_EQ(ws.veTable.at(10, 10), 44);
  EXPECT_EQ(ws.veTable.rpmBins[1], 2600);
  EXPECT_EQ(ve(0)->text(), "0");
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_FALSE(view(0)->isEnabled());
  EXPECT_EQ(window->statusLines(), (Lines{"Finished Plotting", "Finished Plotting"}));
  EXPECT_GT(plot::itemsOfKind<plot::Box>(surface().drawList()).size(), 500u);  // raw points
}

TEST_F(VeWindowTest, CalculateMapFillsTheGridFromTheRawMap) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  ws.veTable.lowDensityMapPresent = false;
  open();
  button("cmdCalculateMap")->click();
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(view(0)->isEnabled());
  for (int c : {0, 17, 3 * 16 + 5})
    EXPECT_EQ(ve(c)->text(), QString::number(ws.veTable.at(c / 16, c % 16)));
}

TEST_F(VeWindowTest, FilteringShowsItsProgressAndEndsOnTheFilteredView) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  int previews = 0;
  bool previewShown = false;
  QObject::connect(window.get(), &VeMapWindow::filterPreviewUpdated, [&] {
    ++previews;
    previewShown = previewShown || window->splineView().isVisible();
  });
  QSignalSpy done(window.get(), &VeMapWindow::filteringFinished);
  button("cmdFilterRawDatalog")->click();
  EXPECT_TRUE(window->filtering());
  EXPECT_FALSE(button("cmdFilterRawDatalog")->isEnabled());
  EXPECT_FALSE(entry("mnuFilterRawDatalog")->isEnabled());
  ASSERT_TRUE(done.wait(20000));
  EXPECT_GE(previews, 1);
  EXPECT_TRUE(previewShown);
  EXPECT_FALSE(window->splineView().isVisible());
  EXPECT_TRUE(ws.veTable.filteredMapPresent);
  int filteredCells = 0;
  for (int j = 0; j < engine::kRawRpmCells; ++j)
    for (int i = 0; i < engine::kRawMapCells; ++i) filteredCells += ws.filteredMap.at(j, i) > 0;
  EXPECT_GT(filteredCells, 2000);
  EXPECT_TRUE(view(2)->isChecked());
  EXPECT_TRUE(button("cmdFitRPMbins")->isEnabled());
  EXPECT_TRUE(entry("mnuBestFitBins")->isEnabled());
  EXPECT_TRUE(button("cmdFilterRawDatalog")->isEnabled());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");
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
    out.write(QByteArray::fromStdString(*files::veExchangeText(file)));
  }
  setTable(ws.veTable, 8, 8);
  const vemap::VeTable before = ws.veTable;
  open();
  prompts.answers = {common::Answer::No};
  entry("mnuImport")->trigger();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text,
            "8x8 VE Map already loaded, do you wish to overwrite the map? <No> to cancel");
  EXPECT_EQ(prompts.asked[0].buttons, common::MessageButtons::YesNo);
  EXPECT_TRUE(window->statusLines().empty());
  EXPECT_EQ(ws.veTable.ve, before.ve);

  prompts.answers = {common::Answer::Yes};
  prompts.openAnswers = {{path.toStdString()}};
  entry("mnuImport")->trigger();
  EXPECT_EQ(window->statusLines(), (Lines{"Importing MegaTune Dump File", "Finished Loading",
                                          "Plotting VE Map", "Finished Plotting"}));
  EXPECT_EQ(ws.veTable.sizeRpm, 12);
  EXPECT_EQ(rpmBin(11)->text(), QString::number(file.rpmBins[11]));
  EXPECT_EQ(ve(11 * 16 + 11)->text(), QString::number(file.at(11, 11)));
  EXPECT_NE(background(K::Ve, 11 * 16 + 11), kBlack);

  const QString saved = folder.filePath("saved.vex");
  prompts.saveAnswers = {saved.toStdString()};
  entry("mnuExportMap")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Exporting");
  EXPECT_EQ(prompts.asked.back().title, "Export VE Map");
  QFile back(saved);
  ASSERT_TRUE(back.open(QIODevice::ReadOnly));
  EXPECT_EQ(back.readAll().toStdString(), *files::veExchangeText(ws.veTable));
}

TEST_F(VeWindowTest, PreviewModeSettingsAndCloseKeepingTheCellBeingEdited) {
  setTable(ws.veTable, 8, 8);
  open();
  EXPECT_TRUE(entry("mnuPrintPreview")->isChecked());
  entry("mnuPrintPreview")->trigger();
  EXPECT_EQ(stored("PrintPreview"), "False");
  entry("mnuSettings")->trigger();
  EXPECT_EQ(settingsCount, 1);
  EXPECT_EQ(closedCount, 0);
  ve(5)->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(ve(5), "77");  // the focus selected the old text: typing replaces it
  entry("mnuClose")->trigger();
  EXPECT_EQ(ws.veTable.at(0, 5), 77);
  EXPECT_EQ(closedCount, 1);
  EXPECT_FALSE(window->isVisible());
  open();  // a new opening starts from the stored state
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
}

TEST_F(VeWindowTest, LanguageFileRecaptionsTheWindowAndFailuresGoToTheMainList) {
  open();
  EXPECT_EQ(mainLog.lines, (Lines{"Failed Reading English.Lang - Default is English"}));
  EXPECT_TRUE(window->statusLines().empty());
  QFile file(folder.filePath("English.lang"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "frmCalculateMap,cmdCalculateMap,:Berechnen\r\n"
      "frmCalculateMap,optVEView,1:Rohdaten\r\n"
      "frmCalculateMap,mnuSetMapZero,:Tabelle leeren\r\n"
      "frmCalculateMap,lblKeyChromatic,0:= VE unter 10\r\n"
      "frmMSMain,cmdCalculateMap,:Falsch\r\n");
  file.close();
  open();
  EXPECT_EQ(button("cmdCalculateMap")->text(), "Berechnen");
  EXPECT_EQ(view(1)->text(), "Rohdaten");
  EXPECT_EQ(view(0)->text(), "Low Density Map");
  EXPECT_EQ(entry("mnuSetMapZero")->text(), "Tabelle leeren");
  EXPECT_EQ(window->findChildren<QLabel*>("lblKeyChromatic").value(0)->text(), "= VE unter 10");
}

}  // namespace
}  // namespace tallimar::ui::testing
