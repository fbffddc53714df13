// frmCalculateMap: opening the map tools, calculators and forms of its menus.
#include <QDialog>
#include <QMenuBar>

#include "ui/common/form_parts.h"
#include "ui/vemap/fuel_pressure_window.h"
#include "ui/vemap/inert_forms.h"
#include "ui/vemap/scale_ve_dialog.h"
#include "ui/vemap/target_afr_dialog.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {
namespace {

// Shows a window that is unloaded when it closes, or brings back the one already open.
template <class Make>
void showOnce(QPointer<QWidget>& slot, Make make) {
  if (!slot) {
    QWidget* created = make();
    created->setAttribute(Qt::WA_DeleteOnClose);
    slot = created;
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
}

}  // namespace

void VeMapWindow::placeBesideWindow(QWidget* dialog) const { form::placeBeside(*dialog, *this); }

// Closing the last such dialog in any way gives the input back.
void VeMapWindow::disableWhileOpen(QDialog* dialog) {
  ++m_blockingDialogs;
  centralWidget()->setEnabled(false);
  menuBar()->setEnabled(false);
  dialog->setWindowModality(Qt::WindowModal);
  connect(dialog, &QDialog::finished, this, [this] {
    if (--m_blockingDialogs > 0) return;
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
  });
}

void VeMapWindow::openBestFitBins() {
  auto* dialog = new BestFitBinsDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  placeBesideWindow(dialog);
  disableWhileOpen(dialog);
  dialog->show();
}

void VeMapWindow::openTargetAfr() {
  auto* dialog = new TargetAfrDialog(
      m_ws, m_store, m_prompts, [this] { tableRewritten(); }, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  placeBesideWindow(dialog);
  disableWhileOpen(dialog);
  dialog->show();
}

void VeMapWindow::openScaleVe() {
  showOnce(m_scaleVe, [this] {
    auto* dialog = new ScaleVeDialog(
        m_ws, m_prompts, [this] { tableRewritten(); }, this);
    placeBesideWindow(dialog);
    return dialog;
  });
}

void VeMapWindow::openUserInfo() {
  showOnce(m_userInfo, [this] {
    auto* window = new UserInfoWindow(this);
    placeBesideWindow(window);
    return window;
  });
}

void VeMapWindow::openFuelPressure() {
  showOnce(m_fuelPressure, [this] { return new FuelPressureWindow(this); });
}

void VeMapWindow::openFuelRequirement() {
  showOnce(m_fuelRequirement, [this] { return new FuelRequirementWindow(this); });
}

}  // namespace tallimar::ui
