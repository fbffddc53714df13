// The gauge exerciser window.
#include "ui/ecu/gauge_exerciser.h"

#include <QLineEdit>
#include <QTimer>

#include "common/number_text.h"
#include "common/twips.h"
#include "ecu/live_gauges.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/ecu/analog_gauge_page.h"

namespace tallimar::ui {
namespace {

constexpr double kWidthTwips = 4800;
constexpr double kHeightTwips = 4650;

struct Placed {
  ecu::LiveGauge design;
  double left, top;
};
// Gauges 1..4: RPM, coolant, O2, throttle (the throttle on the 90-degree dial).
constexpr Placed kPlaced[] = {{ecu::LiveGauge::Rpm, 120, 120},
                              {ecu::LiveGauge::Coolant, 120, 2640},
                              {ecu::LiveGauge::O2, 2450, 2640},
                              {ecu::LiveGauge::Throttle, 2550, 120}};

}  // namespace

GaugeExerciser::GaugeExerciser(settings::SettingsStore& store, common::Prompts& prompts,
                               QWidget* parent)
    : QWidget(parent) {
  setObjectName(kWindowName);
  setWindowTitle("Form1");
  const double dpi = logicalDpiY();
  auto px = [dpi](double twips) { return common::twipsToPixels(twips, dpi); };
  setFixedSize(px(kWidthTwips), px(kHeightTwips));
  const ecu::Rgb face = toRgb(palette().color(QPalette::Button));
  const ecu::Rgb menu = toRgb(palette().color(QPalette::Base));
  for (std::size_t i = 0; i < m_gauges.size(); ++i) {
    auto* gauge = new AnalogGauge(this);
    ecu::GaugeProperties design = ecu::liveGaugeDesign(kPlaced[i].design, face, menu);
    if (i == 3) design.style = 0;
    gauge->load(design);
    const std::string name = "AnalogGauge" + std::to_string(i + 1);
    hostGauge(*gauge, kWindowName, name.c_str(), store, prompts);
    gauge->move(px(kPlaced[i].left), px(kPlaced[i].top));
    m_gauges[i] = gauge;
  }
  m_text1 = new QLineEdit(this);
  m_text1->setObjectName("Text1");
  m_text1->setReadOnly(true);
  m_text1->setGeometry(px(2550), px(4150), px(1500), px(300));

  m_timer1 = new QTimer(this);
  m_timer1->setObjectName("Timer1");
  m_timer1->setInterval(1);
  connect(m_timer1, &QTimer::timeout, this, &GaugeExerciser::timer1Tick);
  m_timer2 = new QTimer(this);
  m_timer2->setObjectName("Timer2");
  m_timer2->setInterval(2000);
  connect(m_timer2, &QTimer::timeout, this, &GaugeExerciser::timer2Tick);
  m_sinceTick.start();
  m_timer1->start();
  m_timer2->start();
}

// The counter runs up past 100, then down below 1; now and then a random draw turns it. The
// ends are checked last, so that the counter stays within 0..101 whatever the draw.
void GaugeExerciser::timer1Tick() {
  m_counter += m_up ? 1 : -1;
  const int draw = std::uniform_int_distribution<int>(1, 100)(m_random);
  if (draw > 95) m_up = true;
  if (draw < 5) m_up = false;
  if (m_counter > 100) m_up = false;
  if (m_counter < 1) m_up = true;
  gauge(1)->setValue(m_counter);
  gauge(2)->setValue(m_counter);
  gauge(3)->setValue(m_counter / 100.0);
  gauge(4)->setValue(m_counter);
  const double seconds = static_cast<double>(m_sinceTick.nsecsElapsed()) / 1e9;
  m_sinceTick.restart();
  m_text1->setText(QString::fromStdString(common::formatPattern(seconds, "0.####")));
}

void GaugeExerciser::timer2Tick() {
  for (int i : {1, 2, 4}) gauge(i)->setNumber(ecu::GaugeProperty::PeakHold, 2);
}

}  // namespace tallimar::ui
