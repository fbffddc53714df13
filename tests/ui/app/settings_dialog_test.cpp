// The settings dialog opened from both windows: its caller taken out of use and given back,
// Save and Cancel, the controls wired to the form's rules (the rules themselves are pinned in
// core), the per-port devices, and its pictures (see ui/pictures.h).
#include "ui/app/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
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
#include "ui/pictures.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {
namespace {

class SettingsDialogTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    connectProgramWindows(*window);
  }
  // Opens the dialog from the named window's "Settings" entry.
  SettingsDialog* openFrom(QWidget* caller) {
    caller->findChild<QAction*>("mnuSettings")->trigger();
    dialog = caller->findChild<SettingsDialog*>(SettingsDialog::kWindowName);
    return dialog;
  }
  template <class T = QLineEdit>
  T* control(const char* name, int index = -1) const {
    for (T* found : dialog->findChildren<T*>(name))
      if (index < 0 || found->property("index").toInt() == index) return found;
    return nullptr;
  }
  // Types over a text box's text and leaves the box (Return ends the editing).
  void type(const char* name, const QString& text) {
    control(name)->selectAll();
    QTest::keyClicks(control(name), text);
    QTest::keyClick(control(name), Qt::Key_Return);
  }
  void click(const char* name) { control<QPushButton>(name)->click(); }
  // The dialog deletes itself once closed.
  bool dialogGone() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dialog.isNull();
  }

  QPointer<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, FromTheMainWindowCancelWritesNothingSaveWritesARefusalStaysOpen) {
  ASSERT_NE(openFrom(window.get()), nullptr);
  EXPECT_EQ(dialog->caller(), SettingsCaller::MainWindow);
  EXPECT_FALSE(window->isEnabled());
  type("txtEGOcross", "0.45");
  click("cmdCancel");
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "<none>");

  openFrom(window.get());
  type("txtMaxRPM", "1250");  // leaving a field corrects it
  EXPECT_EQ(control("txtMaxRPM")->text(), "10000");
  control<QScrollBar>("scrollBSpline")->setValue(45);  // the second bar follows the first
  EXPECT_EQ(control("txtBSpline2")->text(), "22");
  type("txtBSpline", "150");  // more than the bar takes: Save refuses and stays open
  click("cmdOK");
  ASSERT_FALSE(dialogGone());
  EXPECT_EQ(prompts.asked.back().icon, common::MessageIcon::Stop);
  EXPECT_EQ(stored("BSpline"), "<none>");

  type("txtBSpline", "60");
  type("txtEGOcross", "0.45");
  click("cmdOK");
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "0.45");
  EXPECT_EQ(stored("BSpline2"), "30");
  EXPECT_EQ(workspace.settings.o2Transfer, 0.45f);

  openFrom(window.get());  // closing the dialog by its close box counts as Cancel
  dialog->close();
  EXPECT_TRUE(window->isEnabled());
}

TEST_F(SettingsDialogTest, FromTheVeWindowItTakesThatWindowOutOfUseAndResizesItsTable) {
  entry("mnuCalculateNewMap")->trigger();
  auto* ve = window->findChild<VeMapWindow*>(VeMapWindow::kWindowName);
  ASSERT_NE(ve, nullptr);
  ASSERT_NE(openFrom(ve), nullptr);
  EXPECT_EQ(dialog->caller(), SettingsCaller::ModifyVeMap);
  EXPECT_FALSE(ve->acceptsInput());
  EXPECT_FALSE(ve->menuBar()->isEnabled());
  control<QRadioButton>("optMapSize", 1)->click();
  click("cmdOK");
  EXPECT_TRUE(ve->acceptsInput());
  EXPECT_TRUE(ve->menuBar()->isEnabled());
  EXPECT_EQ(workspace.veTable.sizeRpm, 12);
  ve->close();
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
  openFrom(window.get());
  EXPECT_EQ(control<QPushButton>("cmdCancel")->text(), "Avbryt");
  EXPECT_EQ(control<QRadioButton>("optMapSize", 3)->text(), "Egen");
  click("cmdCancel");
  put("Language", "Dansk");  // no such file: the main window says so
  openFrom(window.get());
  EXPECT_EQ(statusLines().back(), "Failed Reading Dansk.Lang - Default is English");
  click("cmdCancel");
}

TEST_F(SettingsDialogTest, PathButtonsPortDevicesAndTheFactorTablesReloadedOnSave) {
  put("ComDevice2", "/dev/ttyUSB0");
  openFrom(window.get());
  prompts.openAnswers = {{"/opt/ms/inc/kpafactor.inc"}, {}};
  click("Command2");
  EXPECT_EQ(prompts.asked.back().request.initialFolder, emptyFolder.path().toStdString());
  EXPECT_EQ(control("txtINCPath")->text(), "/opt/ms/inc");
  click("Command2");  // cancelled: the path stays
  EXPECT_EQ(control("txtINCPath")->text(), "/opt/ms/inc");
  click("Command1");  // the program's folder
  EXPECT_EQ(control("txtINCPath")->text(), emptyFolder.path());

  auto* port = control<QComboBox>("cmbPort");
  auto* device = control<QComboBox>("cmbPortDevice");
  port->setCurrentIndex(1);
  EXPECT_EQ(device->currentText(), "/dev/ttyUSB0");
  port->setCurrentIndex(2);
  device->setEditText("/dev/pts/5");
  port->setCurrentIndex(1);
  port->setCurrentIndex(2);
  EXPECT_EQ(device->currentText(), "/dev/pts/5");  // each port keeps its own device
  auto* tabs = dialog->findChild<QTabWidget*>("SSTab1");
  for (int tab = 0; tab < tabs->count(); ++tab) {  // pictures of every tab, when wanted
    tabs->setCurrentIndex(tab);
    testing::savePicture(dialog, QStringLiteral("frmSettings_%1").arg(tab));
  }

  const std::size_t before = statusLines().size();
  click("cmdOK");
  EXPECT_EQ(newStatusLines(before).size(), 7u);  // one line per factor table
  EXPECT_EQ(stored("ComDevice3"), "/dev/pts/5");
  EXPECT_EQ(stored("ComPort"), "3");
}

TEST_F(SettingsDialogTest, WbFactorTablesOpensTheCreatorBesideTheMainWindow) {
  entry("mnuCreateWBFactor")->trigger();
  QWidget* creator = window->findChild<QWidget*>("frmMakeWBFactor");
  ASSERT_TRUE(creator && creator->isVisible());
  EXPECT_TRUE(window->isEnabled());
  testing::savePicture(creator, "frmMakeWBFactor");
  creator->close();
}

}  // namespace
}  // namespace tallimar::ui
