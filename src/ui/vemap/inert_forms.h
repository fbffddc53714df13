// The forms of the VE window that collect nothing: "Best Fit RPM/MAP Bins" (`frmBestFitBins`),
// "User Information" (`frmUserInfo`) and the "Fuel Requirement Calculator"
// (`frmFuelRequirement`). Their fields start from the same texts on every opening and are
// never read; only the buttons that close them act.
#pragma once

#include <QDialog>

namespace tallimar::ui {

// "OK" (`Command1`), "Cancel" (`Command2`) and the close box all just close it.
class BestFitBinsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit BestFitBinsDialog(QWidget* parent = nullptr);
};

// "Save" and "Cancel" do nothing; the close box closes it.
class UserInfoWindow : public QDialog {
  Q_OBJECT
 public:
  explicit UserInfoWindow(QWidget* parent = nullptr);
};

// "OK" (`Command1`) closes it; "Required Fuel PW:" is not computed.
class FuelRequirementWindow : public QDialog {
  Q_OBJECT
 public:
  explicit FuelRequirementWindow(QWidget* parent = nullptr);
};

}  // namespace tallimar::ui
