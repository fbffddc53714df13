// The settings dialog opened from both windows: its caller taken out of use and given back,
// the coupling of its controls, Save and Cancel, and its pictures.
#include "ui/app/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include "main_window_fixture.h"
#include "program_windows.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {
namespace {

class SettingsDialogTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    connectProgramWindows(*window);
  }
  SettingsDialog* openFromMain() {
    entry("mnuSettings")->trigger();
    dialog = window->findChild<SettingsDialog*>(SettingsDialog::kWindowName);
    return dialog;
  }
  VeMapWindow* openVeWindow() {
    entry("mnuCalculateNewMap")->trigger();
    return window->findChild<VeMapWindow*>(VeMapWindow::kWindowName);
  }
  template <class T = QLineEdit>
  T* control(const char* name, int index = -1) const {
    for (T* found : dialog->findChildren<T*>(name))
      if (index < 0 || found->property("index").toInt() == index) return found;
    return nullptr;
  }
  // Types over a text box's text and leaves the box (Return ends the editing).
  void type(const char* name, const QString& text) {
    QLineEdit* edit = control(name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  void click(const char* name) { control<QPushButton>(name)->click(); }
  // The dialog deletes itself once closed.
  bool dialogGone() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dialog.isNull();
  }

  QPointer<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, FromTheMainWindowCancelWritesNothingAndSaveWritesTheRecord) {
  ASSERT_NE(openFromMain(), nullptr);
  EXPECT_EQ(dialog->caller(), SettingsCaller::MainWindow);
  EXPECT_FALSE(window->isEnabled());
  EXPECT_TRUE(dialog->isEnabled());

  type("txtEGOcross", "0.45");
  click("cmdCancel");
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "<none>");
  EXPECT_EQ(workspace.settings.o2Transfer, 0.5f);

  openFromMain();
  type("txtEGOcross", "0.45");
  control<QCheckBox>("chkBSplineOutlier")->click();
  type("txtBSplineSigma", "2,5");
  click("cmdOK");
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "0.45");
  EXPECT_EQ(stored("BSplineSigma"), "2");
  EXPECT_EQ(workspace.settings.o2Transfer, 0.45f);

  openFromMain();  // closing the dialog by its close box counts as Cancel
  dialog->close();
  EXPECT_TRUE(window->isEnabled());
}

TEST_F(SettingsDialogTest, EachOpeningReadsTheStoredLanguageAgain) {
  QTemporaryDir languages;
  QFile file(languages.filePath("Svenska.lang"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("frmSettings,cmdCancel,:Avbryt\r\nfrmSettings,optMapSize,3:Egen\r\n");
  file.close();
  start(languages.path());
  connectProgramWindows(*window);
  put("Language", "Svenska");
  openFromMain();
  EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "Avbryt");
  EXPECT_EQ(control<QRadioButton>("optMapSize", 3)->text(), "Egen");
  EXPECT_EQ(control<QPushButton>("cmdOK")->text(), "Save");
  click("cmdCancel");

  put("Language", "Dansk");  // no such file: the main window says so
  openFromMain();
  EXPECT_EQ(statusLines().back(), "Failed Reading Dansk.Lang - Default is English");
  click("cmdCancel");
}

TEST_F(SettingsDialogTest, WbFactorTablesOpensTheCreatorBesideTheMainWindow) {
  entry("mnuCreateWBFactor")->trigger();
  QWidget* creator = window->findChild<QWidget*>("frmMakeWBFactor");
  ASSERT_NE(creator, nullptr);
  EXPECT_TRUE(creator->isVisible());
  EXPECT_TRUE(window->isEnabled());
  creator->close();
}

TEST_F(SettingsDialogTest, FieldsAreCorrectedOnLeavingAndBarsFollowTheirTexts) {
  openFromMain();
  type("txtMaxRPM", "1250");
  EXPECT_EQ(control("txtMaxRPM")->text(), "10000");  // not above the minimum of 1200
  type("txtMaxMAP", "105");
  EXPECT_EQ(control("txtMaxMAP")->text(), "100");
  type("txtDataRate", "20");
  EXPECT_EQ(control("txtDataRate")->text(), "30");

  auto* first = control<QScrollBar>("scrollBSpline");
  auto* second = control<QScrollBar>("scrollBSpline2");
  first->setValue(45);
  EXPECT_EQ(control("txtBSpline")->text(), "45");
  EXPECT_EQ(control("txtBSpline2")->text(), "22");
  EXPECT_EQ(second->value(), 22);
  type("txtBSpline", "60");
  EXPECT_EQ(control("txtBSpline")->text(), "60");
  EXPECT_EQ(first->value(), 60);
  EXPECT_EQ(second->value(), 30);

  EXPECT_FALSE(second->isEnabled());
  control<QRadioButton>("optFiltering", 2)->click();
  EXPECT_TRUE(second->isEnabled());
  EXPECT_FALSE(control("txtSigma")->isEnabled());
  control<QCheckBox>("chkVEOutlier")->click();
  EXPECT_TRUE(control("txtSigma")->isEnabled());

  // A typed value the bar cannot take leaves the bar at the last one it could ("15" on the
  // way to "150"); Save refuses it and stays open.
  type("txtBSpline", "150");
  EXPECT_EQ(first->value(), 15);
  EXPECT_EQ(control("txtBSpline")->text(), "150");
  click("cmdOK");
  ASSERT_FALSE(dialogGone());
  EXPECT_FALSE(window->isEnabled());
  EXPECT_EQ(prompts.asked.back().icon, common::MessageIcon::Stop);
  EXPECT_EQ(stored("BSpline"), "<none>");
}

TEST_F(SettingsDialogTest, FromTheVeWindowItTakesThatWindowOutOfUseAndResizesItsTable) {
  VeMapWindow* ve = openVeWindow();
  ASSERT_NE(ve, nullptr);
  ve->findChild<QAction*>("mnuSettings")->trigger();
  dialog = ve->findChild<SettingsDialog*>(SettingsDialog::kWindowName);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->caller(), SettingsCaller::ModifyVeMap);
  EXPECT_FALSE(ve->acceptsInput());
  EXPECT_FALSE(ve->menuBar()->isEnabled());
  EXPECT_TRUE(dialog->isEnabled());
  click("cmdCancel");
  EXPECT_TRUE(ve->acceptsInput());
  EXPECT_TRUE(ve->menuBar()->isEnabled());

  ve->findChild<QAction*>("mnuSettings")->trigger();
  dialog = ve->findChild<SettingsDialog*>(SettingsDialog::kWindowName);
  control<QRadioButton>("optMapSize", 1)->click();
  click("cmdOK");
  EXPECT_TRUE(ve->acceptsInput());
  EXPECT_EQ(workspace.veTable.sizeRpm, 12);
  EXPECT_EQ(workspace.veTable.sizeMap, 12);
  EXPECT_EQ(stored("VESizeRPM"), "12");
  ve->close();
}

TEST_F(SettingsDialogTest, PathButtonsAndTheFactorTablesReloadedOnSave) {
  openFromMain();
  click("Command1");
  EXPECT_EQ(control("txtINCPath")->text(), emptyFolder.path());
  prompts.openAnswers = {{"/opt/ms/inc/kpafactor.inc", "/opt/ms/inc/thermfactor.inc"}, {}};
  click("Command2");
  EXPECT_EQ(prompts.asked.back().title, "*.INC Path");
  EXPECT_EQ(prompts.asked.back().request.initialFolder, emptyFolder.path().toStdString());
  EXPECT_EQ(control("txtINCPath")->text(), "/opt/ms/inc");
  click("Command2");  // cancelled: the path stays
  EXPECT_EQ(control("txtINCPath")->text(), "/opt/ms/inc");

  click("Command1");
  const std::size_t before = statusLines().size();
  click("cmdOK");
  const Lines reloaded = newStatusLines(before);
  ASSERT_EQ(reloaded.size(), 7u);
  EXPECT_EQ(reloaded.front(), "Failed Loading kPaFactor.inc");
  EXPECT_EQ(stored("INCPath"), emptyFolder.path().toStdString());
}

TEST_F(SettingsDialogTest, EachPortKeepsItsOwnDevice) {
  put("ComDevice2", "/dev/ttyUSB0");
  openFromMain();
  auto* port = control<QComboBox>("cmbPort");
  auto* device = control<QComboBox>("cmbPortDevice");
  EXPECT_EQ(device->currentText(), "/dev/ttyS0");
  port->setCurrentIndex(1);
  EXPECT_EQ(device->currentText(), "/dev/ttyUSB0");
  port->setCurrentIndex(2);
  device->setEditText("/dev/pts/5");
  port->setCurrentIndex(1);
  port->setCurrentIndex(2);
  EXPECT_EQ(device->currentText(), "/dev/pts/5");
  click("cmdOK");
  EXPECT_EQ(stored("ComDevice3"), "/dev/pts/5");
  EXPECT_EQ(stored("ComDevice2"), "/dev/ttyUSB0");
  EXPECT_EQ(stored("ComDevice1"), "<none>");
  EXPECT_EQ(stored("ComPort"), "3");
}

// Pictures of every tab and of the wide-band window, for a person to look at, written to the
// folder named by TALLIMAR_SCREENSHOT_DIR (skipped when it is not set).
TEST_F(SettingsDialogTest, Pictures) {
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
  QDir().mkpath(dir);
  openFromMain();
  dialog->show();
  auto* tabs = dialog->findChild<QTabWidget*>("SSTab1");
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->grab().save(dir + QStringLiteral("/frmSettings_%1.png").arg(tab)));
  }
  dialog->close();
  entry("mnuCreateWBFactor")->trigger();
  auto* wb = window->findChild<QWidget*>("frmMakeWBFactor");
  ASSERT_NE(wb, nullptr);
  QApplication::processEvents();
  EXPECT_TRUE(wb->grab().save(dir + "/frmMakeWBFactor.png"));
  wb->close();
}

}  // namespace
}  // namespace tallimar::ui
