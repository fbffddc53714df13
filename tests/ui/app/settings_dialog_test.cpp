// The settings dialog from both windows: caller out of use and given back, Save and Cancel,
// path buttons and per-port devices (the form's rules are pinned in core).
#include "ui/app/settings_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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
  bool dialogGone() {  // the dialog deletes itself once closed
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dialog.isNull();
  }

  QPointer<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, FromTheMainWindowCancelWritesNothingSaveWritesARefusalStaysOpen) {
  ASSERT_NE(openFrom(window.get()), nullptr);
  EXPECT_FALSE(window->isEnabled());
  type("txtEGOcross", "0.45");
  type("txtMaxRPM", "6789");  // corrected on leaving the box: rounded down, above Min RPM
  EXPECT_EQ(control("txtMaxRPM")->text(), "6700");
  type("txtMinRPM", "7000");
  type("txtMaxRPM", "6789");
  EXPECT_EQ(control("txtMaxRPM")->text(), "10000");
  click("cmdCancel");
  EXPECT_TRUE(window->isEnabled() && dialogGone());
  openFrom(window.get());  // closing the dialog by its close box counts as Cancel
  type("txtEGOcross", "0.45");
  dialog->close();
  EXPECT_TRUE(window->isEnabled() && dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "<none>");

  openFrom(window.get());
  type("txtEGOcross", "0.45");
  type("txtBSpline", "150");  // more than the bar takes: Save refuses and stays open
  click("cmdOK");
  ASSERT_FALSE(dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "<none>");
  type("txtBSpline", "60");
  click("cmdOK");
  EXPECT_TRUE(window->isEnabled() && dialogGone());
  EXPECT_EQ(stored("O2Transfer"), "0.45");
  EXPECT_EQ(workspace.settings.o2Transfer, 0.45f);
}

TEST_F(SettingsDialogTest, FromTheVeWindowItTakesThatWindowOutOfUseAndResizesItsTable) {
  entry("mnuCalculateNewMap")->trigger();
  auto* ve = window->findChild<VeMapWindow*>(VeMapWindow::kWindowName);
  ASSERT_NE(ve, nullptr);
  ASSERT_NE(openFrom(ve), nullptr);
  EXPECT_FALSE(ve->acceptsInput() || ve->menuBar()->isEnabled());
  control<QRadioButton>("optMapSize", 1)->click();
  click("cmdOK");
  EXPECT_TRUE(ve->acceptsInput() && ve->menuBar()->isEnabled());
  EXPECT_EQ(workspace.veTable.sizeRpm, 12);
  ve->close();
}

TEST_F(SettingsDialogTest, PathButtonsAndADevicePerPort) {
  put("ComDevice2", "/dev/ttyUSB0");
  openFrom(window.get());
  prompts.openAnswers = {{"/opt/ms/inc/kpafactor.inc"}};
  click("Command2");
  EXPECT_EQ(prompts.asked.back().request.initialFolder, emptyFolder.path().toStdString());
  EXPECT_EQ(control("txtINCPath")->text(), "/opt/ms/inc");

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
  click("cmdOK");
  EXPECT_EQ(stored("ComDevice3"), "/dev/pts/5");
  EXPECT_EQ(stored("ComPort"), "3");
}

}  // namespace
}  // namespace tallimar::ui
