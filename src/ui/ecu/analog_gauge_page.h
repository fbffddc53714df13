// AnalogGaugePage ("Analog Gauge Properties"): edits the properties of the selected gauge.
// Every control is loaded from the gauge when the selection changes; an edit marks the page
// changed; Apply (or OK) writes the page back to the gauge in a fixed order. Colours are
// chosen through Prompts.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

#include "common/prompts.h"
#include "ui/ecu/analog_gauge.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tallimar::ui {

class AnalogGaugePage : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "AnalogGaugePage";

  explicit AnalogGaugePage(common::Prompts& prompts, QWidget* parent = nullptr);

  void setSelectedGauge(AnalogGauge* gauge);
  AnalogGauge* selectedGauge() const { return m_gauge; }
  bool changed() const { return m_changed; }
  // Writes the page to the gauge: PeakHold, TextFormat, NumericFormat, Style (when one of
  // the three options is chosen), Label, Caption, the four colours, then Min, Max,
  // TicksSmall, TicksLarge and the four range limits, each number the leading number of its
  // text. Does nothing without a gauge.
  void applyChanges();

 signals:
  // The page was written to the gauge (the host saves it).
  void applied(tallimar::ui::AnalogGauge* gauge);

 private:
  void build();
  void chooseColour(int index);
  void markChanged() { m_changed = true; }
  QColor swatch(int index) const;
  void setSwatch(int index, const QColor& colour);

  common::Prompts& m_prompts;
  QPointer<AnalogGauge> m_gauge;
  bool m_changed = false;
  QLineEdit* m_caption = nullptr;
  QLineEdit* m_label = nullptr;
  QLineEdit* m_min = nullptr;
  QLineEdit* m_max = nullptr;
  QLineEdit* m_smallTicks = nullptr;
  QLineEdit* m_largeTicks = nullptr;
  QLineEdit* m_grMin = nullptr;
  QLineEdit* m_grMax = nullptr;
  QLineEdit* m_rrMin = nullptr;
  QLineEdit* m_rrMax = nullptr;
  QLineEdit* m_textFormat = nullptr;
  QLineEdit* m_numericFormat = nullptr;
  QButtonGroup* m_styles = nullptr;
  std::array<QRadioButton*, 3> m_styleOptions{};
  QCheckBox* m_peakHold = nullptr;
  std::array<QFrame*, 4> m_swatches{};
};

}  // namespace tallimar::ui

namespace tallimar::settings {
class SettingsStore;
}

namespace tallimar::ui {

// Makes `gauge` a kept gauge of its window: named `gaugeName` (its objectName), loaded from
// the user's store when it was saved there before (group gaugeGroup(windowName,
// gaugeName)), and saved there each time the property page, opened by double-clicking the
// gauge or from its context menu, applies changes to it. Store and prompts must outlive
// the gauge.
void hostGauge(AnalogGauge& gauge, const std::string& windowName, const char* gaugeName,
               settings::SettingsStore& store, common::Prompts& prompts);

}  // namespace tallimar::ui
