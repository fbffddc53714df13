// The "Modify VE Map" window on the offscreen platform: the grid's keyboard table, editing and
// colours, the view choices the flags offer, the table commands, the table files, menus,
// loading and closing.
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include "files/ve_exchange_writer.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using Lines = std::vector<std::string>;
using K = GridCellKind;

const QColor kBlack(0, 0, 0);

TEST(GridMoves, FollowTheKeyboardTable) {
  auto move = [](K kind, int index, GridKey key) { return movedCellIndex(kind, index, key); };
  // VE cells: numbered RPM index x 16 + MAP index.
  EXPECT_EQ(move(K::Ve, 243, GridKey::Enter), 4);
  EXPECT_EQ(move(K::Ve, 239, GridKey::Enter), 255);
  EXPECT_EQ(move(K::Ve, 255, GridKey::Enter), std::nullopt);
  EXPECT_EQ(move(K::Ve, 0, GridKey::Down), std::nullopt);
  EXPECT_EQ(move(K::Ve, 16, GridKey::Down), 15);  // bottom of a column to the top of the left one
  EXPECT_EQ(move(K::Ve, 255, GridKey::Up), std::nullopt);
  EXPECT_EQ(move(K::Ve, 15, GridKey::Up), 16);
  EXPECT_EQ(move(K::Ve, 15, GridKey::Left), std::nullopt);
  EXPECT_EQ(move(K::Ve, 16, GridKey::Left), 0);
  EXPECT_EQ(move(K::Ve, 239, GridKey::Right), 255);
  EXPECT_EQ(move(K::Ve, 240, GridKey::Right), std::nullopt);
  // RPM bins stop and wrap at 7 whatever the table size.
  EXPECT_EQ(move(K::RpmBin, 6, GridKey::Right), 7);
  EXPECT_EQ(move(K::RpmBin, 7, GridKey::Right), std::nullopt);
  EXPECT_EQ(move(K::RpmBin, 8, GridKey::Right), 9);
  EXPECT_EQ(move(K::RpmBin, 15, GridKey::Right), std::nullopt);
  EXPECT_EQ(move(K::RpmBin, 0, GridKey::Left), std::nullopt);
  EXPECT_EQ(move(K::RpmBin, 7, GridKey::Enter), 0);
  EXPECT_EQ(move(K::RpmBin, 8, GridKey::Enter), std::nullopt);
  EXPECT_EQ(move(K::RpmBin, 3, GridKey::Up), std::nullopt);
  // MAP bins: index 0 at the bottom; Up goes to the cell below.
  EXPECT_EQ(move(K::MapBin, 5, GridKey::Up), 4);
  EXPECT_EQ(move(K::MapBin, 0, GridKey::Up), std::nullopt);
  EXPECT_EQ(move(K::MapBin, 3, GridKey::Down), 4);
  EXPECT_EQ(move(K::MapBin, 7, GridKey::Down), std::nullopt);
  EXPECT_EQ(move(K::MapBin, 15, GridKey::Down), std::nullopt);
  EXPECT_EQ(move(K::MapBin, 6, GridKey::Enter), 7);
  EXPECT_EQ(move(K::MapBin, 7, GridKey::Enter), 0);
  EXPECT_EQ(move(K::MapBin, 9, GridKey::Enter), std::nullopt);
  EXPECT_EQ(move(K::MapBin, 2, GridKey::Left), std::nullopt);
}

TEST_F(VeWindowTest, KeysReleasedInCellsMoveTheFocus) {
  setTable(ws.veTable, 16, 16);
  open();
  auto pressIn = [](GridCell* cell, Qt::Key key) {
    cell->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cell, key);
    return QApplication::focusWidget();
  };
  EXPECT_EQ(pressIn(ve(243), Qt::Key_Return), ve(4));
  EXPECT_EQ(pressIn(ve(255), Qt::Key_Enter), ve(255));
  EXPECT_EQ(pressIn(ve(0), Qt::Key_Down), ve(0));
  EXPECT_EQ(pressIn(ve(17), Qt::Key_Down), ve(16));
  EXPECT_EQ(pressIn(ve(17), Qt::Key_Right), ve(33));
  EXPECT_EQ(pressIn(rpmBin(7), Qt::Key_Right), rpmBin(7));
  EXPECT_EQ(pressIn(rpmBin(7), Qt::Key_Return), rpmBin(0));
  EXPECT_EQ(pressIn(mapBin(3), Qt::Key_Up), mapBin(2));
  EXPECT_EQ(pressIn(mapBin(3), Qt::Key_Left), mapBin(3));
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
  EXPECT_EQ(rpmBin(15)->text(), "8000");
  EXPECT_EQ(mapBin(0)->text(), "10");
  EXPECT_EQ(mapBin(15)->text(), "160");
  EXPECT_EQ(ve(0)->text(), "1");
  EXPECT_EQ(ve(255)->text(), "1");
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

TEST_F(VeWindowTest, ClearLdMapWithARawMapRefreshesTheSelectedView) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  ws.veTable.at(10, 10) = 44;
  open();
  ASSERT_TRUE(view(1)->isChecked());
  entry("mnuSetMapZero")->trigger();
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

TEST_F(VeWindowTest, ClearLdMapWithoutARawMapDrawsTheEmptyTablePlot) {
  setTable(ws.veTable, 8, 8);
  open();
  entry("mnuSetMapZero")->trigger();
  EXPECT_FALSE(view(0)->isEnabled());
  EXPECT_EQ(window->statusLines(), (Lines{"Plotting VE Map", "Finished Plotting"}));
  EXPECT_TRUE(plot::itemsOfKind<plot::Box>(surface().drawList()).empty());
  EXPECT_EQ(plot::itemsOfKind<plot::Line>(surface().drawList()).size(), 16u);  // bin lines
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

TEST_F(VeWindowTest, OpenLdMapAsksBeforeOverwritingAndNoEndsTheCommand) {
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
}

TEST_F(VeWindowTest, OpenLdMapLoadsAnExchangeFileAndShowsIt) {
  vemap::VeTable file;
  setTable(file, 12, 12);
  const QString path = folder.filePath("Map Export.vex");
  {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(*files::veExchangeText(file)));
  }
  open();
  prompts.openAnswers = {{path.toStdString()}};
  entry("mnuImport")->trigger();
  EXPECT_EQ(window->statusLines(), (Lines{"Importing MegaTune Dump File", "Finished Loading",
                                          "Plotting VE Map", "Finished Plotting"}));
  EXPECT_EQ(ws.veTable.sizeRpm, 12);
  EXPECT_EQ(rpmBin(11)->text(), QString::number(file.rpmBins[11]));
  EXPECT_EQ(ve(11 * 16 + 11)->text(), QString::number(file.at(11, 11)));
  EXPECT_NE(background(K::Ve, 11 * 16 + 11), kBlack);
  EXPECT_TRUE(view(0)->isEnabled());
}

TEST_F(VeWindowTest, SaveLdMapWritesTheTable) {
  setTable(ws.veTable, 8, 8);
  open();
  const QString path = folder.filePath("saved.vex");
  prompts.saveAnswers = {path.toStdString()};
  entry("mnuExportMap")->trigger();
  EXPECT_EQ(window->statusLines(), (Lines{"Exporting VE Map", "Finished Exporting"}));
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(prompts.asked.at(0).title, "Export VE Map");
}

TEST_F(VeWindowTest, MenusCarryEveryEntry) {
  build();
  const std::pair<const char*, const char*> entries[] = {
      {"mnuImport", "Open LD Map"},
      {"mnuExportMap", "Save LD Map"},
      {"mnuExportRaw", "Export Raw Map"},
      {"mnuExportFilteredMap", "Export Filtered Map"},
      {"mnuPrintPreview", "Preview Mode"},
      {"mnuPrintCurrentPlot", "Print Current Plot"},
      {"mnuClose", "Close"},
      {"mnuFilterRawDatalog", "Filter Raw DataLog"},
      {"mnuBestFitBins", "Best Fit RPM/MAP Bins"},
      {"mnuCalcuateMap", "Calculate Map"},
      {"mnuSettings", "Settings"},
      {"mnuUserInfo", "User Information"},
      {"mnuCreateWBMap", "Create WB Target AFR Map"},
      {"mnuScaleMap", "Scale LD Map"},
      {"mnuSetMapZero", "Clear LD Map"},
      {"mnuCalculatePW", "Calculate PW"},
      {"mnuFuelPressure", "Fuel Pressure Calc"},
      {"mnuReadVEMap", "Read VE Map"},
      {"mnuWriteVEMap", "Send VE Map"},
      {"mnuBurnVEtoFlash", "Burn RAM to Flash"}};
  for (const auto& [name, caption] : entries) {
    ASSERT_NE(entry(name), nullptr) << name;
    EXPECT_EQ(entry(name)->text(), caption);
  }
  const auto maps = window->findChildren<QAction*>("mnuMapNumber");
  ASSERT_EQ(maps.size(), 4);
  EXPECT_EQ(maps[3]->text(), "Map 3");
  EXPECT_EQ(maps[3]->property("index").toInt(), 3);
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"File", "Edit", "VE Map Tools", "VE Map", "MS CPU"}));
}

TEST_F(VeWindowTest, PreviewModeSettingsAndClose) {
  open();
  EXPECT_TRUE(entry("mnuPrintPreview")->isChecked());
  entry("mnuPrintPreview")->trigger();
  EXPECT_EQ(stored("PrintPreview"), "False");
  entry("mnuSettings")->trigger();
  EXPECT_EQ(ws.settingsCallerCode, 2);
  EXPECT_EQ(settingsCount, 1);
  EXPECT_EQ(closedCount, 0);
  entry("mnuClose")->trigger();
  EXPECT_EQ(closedCount, 1);
  EXPECT_FALSE(window->isVisible());
  open();  // a new opening starts from the stored state
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
}

TEST_F(VeWindowTest, OpenedWindowSitsTopLeftAndIsUnloadedWhenClosed) {
  QPointer<VeMapWindow> shown = showVeMapWindow(ws, store, prompts, folder.path(), hooks());
  ASSERT_FALSE(shown.isNull());
  EXPECT_TRUE(shown->isVisible());
  EXPECT_EQ(shown->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_EQ(shown->findChild<GridCell*>("txtVEBins")->text(), "0");  // loaded: the table shows
  shown->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(shown.isNull());
  EXPECT_EQ(closedCount, 1);
}

TEST_F(VeWindowTest, ClosingKeepsWhatWasTypedInTheCellBeingEdited) {
  setTable(ws.veTable, 8, 8);
  open();
  ve(5)->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(ve(5), "77");  // the focus selected the old text: typing replaces it
  window->close();
  EXPECT_EQ(ws.veTable.at(0, 5), 77);
  EXPECT_EQ(closedCount, 1);
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
