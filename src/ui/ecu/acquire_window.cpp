// The live-data window.
#include "ui/ecu/acquire_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "common/twips.h"
#include "settings/serial_device.h"
#include "ui/common/form_parts.h"
#include "ui/common/qt_serial_link.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/ecu/analog_gauge_page.h"

namespace tallimar::ui {
namespace {

constexpr const char* kTitle = "Tallimar";
// The window's frame (title bar and borders) is part of its laid-out size.
constexpr double kFrameWidthTwips = 120;
constexpr double kFrameHeightTwips = 405;

// Where each gauge sits, in twips of the client area: the RPM, MAP and throttle dials on
// top, the three "Lincoln Dash" dials below them.
struct Placed {
  ecu::LiveGauge gauge;
  double left, top;
};
constexpr Placed kPlaced[] = {
    {ecu::LiveGauge::Rpm, 60, 120},        {ecu::LiveGauge::Map, 2700, 240},
    {ecu::LiveGauge::Throttle, 5100, 240}, {ecu::LiveGauge::O2, 60, 3240},
    {ecu::LiveGauge::Coolant, 2700, 3240}, {ecu::LiveGauge::GammaE, 5340, 3240},
};

constexpr const char* kStatusCaptions[] = {"",       "Cranking", "Running", "Afterstart",
                                           "Warmup", "Accel",    "Decel"};

class QtLiveTimers : public ecu::LiveTimers {
 public:
  QtLiveTimers(QTimer& poll, QTimer& watchdog) : m_poll(poll), m_watchdog(watchdog) {}
  void setEnabled(ecu::LiveTimer timer, bool enabled) override {
    QTimer& t = timer == ecu::LiveTimer::Poll ? m_poll : m_watchdog;
    if (enabled)
      t.start();
    else
      t.stop();
  }

 private:
  QTimer& m_poll;
  QTimer& m_watchdog;
};

QLineEdit* field(QWidget* parent, const char* name, const QString& text, int index = -1) {
  QLineEdit* edit = form::lineEdit(parent, name, text, index);
  edit->setReadOnly(true);
  edit->setAlignment(Qt::AlignCenter);
  edit->setFocusPolicy(Qt::NoFocus);
  return edit;
}

}  // namespace

AcquireWindow::AcquireWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                             common::Prompts& prompts, AcquireWindowHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_workspace(workspace),
      m_store(store),
      m_prompts(prompts),
      m_hooks(std::move(hooks)) {
  setObjectName(kWindowName);
  setWindowTitle("MegaSquirt Data Grabber");
  setAttribute(Qt::WA_DeleteOnClose);
  build();

  const int dataRate = m_workspace.settings.dataRate;
  m_tmrComm = new QTimer(this);
  m_tmrComm->setObjectName("tmrComm");
  m_tmrComm->setTimerType(Qt::PreciseTimer);
  m_tmrComm->setInterval(ecu::pollIntervalMs(dataRate));
  connect(m_tmrComm, &QTimer::timeout, this, &AcquireWindow::pollTick);
  m_tmrWatchDog = new QTimer(this);
  m_tmrWatchDog->setObjectName("tmrWatchDog");
  m_tmrWatchDog->setTimerType(Qt::PreciseTimer);
  m_tmrWatchDog->setInterval(ecu::watchdogIntervalMs(dataRate));
  connect(m_tmrWatchDog, &QTimer::timeout, this, &AcquireWindow::watchdogTick);
  m_timers = std::make_unique<QtLiveTimers>(*m_tmrComm, *m_tmrWatchDog);

  if (m_hooks.makeLink) m_link = m_hooks.makeLink();
  if (!m_link) m_link = std::make_unique<QtSerialLink>();
  m_link->notifyWhenWaiting(ecu::kLiveRecordBytes, [this] { notification(); });
  const formats::FactorTables& factors = m_workspace.factors;
  m_acquisition = std::make_unique<ecu::Acquisition>(
      *m_link, *m_timers, settings::serialDevicePath(m_store, m_workspace.settings.comPort),
      ecu::LiveFactorTables{factors[formats::FactorKind::Kpa],
                            factors[formats::FactorKind::Thermistor],
                            factors[formats::FactorKind::Throttle]});
  showIndicators();
}

AcquireWindow::~AcquireWindow() {
  // The line goes before the acquisition that uses it is gone; close it first.
  if (m_acquisition) m_acquisition->close();
}

void AcquireWindow::build() {
  const double dpi = logicalDpiY();
  auto px = [dpi](double twips) { return common::twipsToPixels(twips, dpi); };
  auto place = [&](QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
  };
  setFixedSize(px(kWidthTwips - kFrameWidthTwips), px(kHeightTwips - kFrameHeightTwips));

  const ecu::Rgb face = toRgb(palette().color(QPalette::Button));
  const ecu::Rgb menu = toRgb(QApplication::palette("QMenu").color(QPalette::Window));
  for (const Placed& placed : kPlaced) {
    auto* gauge = new AnalogGauge(this);
    gauge->load(ecu::liveGaugeDesign(placed.gauge, face, menu));
    hostGauge(*gauge, kWindowName, ecu::liveGaugeName(placed.gauge), m_store, m_prompts);
    gauge->move(px(placed.left), px(placed.top));
    m_gauges[static_cast<std::size_t>(placed.gauge)] = gauge;
  }

  constexpr double kRight = 8000;
  auto* status = form::frame(this, "fraStatus", "Engine Status");
  place(status, kRight, 60, 3640, 1300);
  for (int i = 1; i <= 6; ++i) {
    QLineEdit* lamp = field(status, "txtStatus", kStatusCaptions[i], i);
    const int column = (i - 1) % 3;
    const int row = (i - 1) / 3;
    place(lamp, 120 + column * 1160, 360 + row * 420, 1100, 330);
    lamp->setEnabled(false);
    m_status[static_cast<std::size_t>(i)] = lamp;
  }

  place(form::label(this, "lblSamples", "Samples:"), kRight, 1560, 1700, 300);
  m_samples = field(this, "Text2", "0");
  place(m_samples, kRight + 1800, 1520, 1500, 330);
  place(form::label(this, "lblCollecting", "Collecting Data:"), kRight, 1980, 1700, 300);
  m_collector = field(this, "txtDataCollector", "NO");
  m_collector->setAutoFillBackground(true);
  place(m_collector, kRight + 1800, 1940, 1500, 330);

  place(form::label(this, "lblVEBins", "VE:"), kRight, 2460, 1700, 300);
  for (int i = 0; i < 2; ++i) {
    m_veCells[static_cast<std::size_t>(i)] = field(this, "txtVEBins", "", i);
    place(m_veCells[static_cast<std::size_t>(i)], kRight + i * 1820, 2760, 1760, 330);
  }

  m_start = form::button(this, "cmdStartComm", "Start");
  m_pause = form::button(this, "cmdPauseToggle", "Pause");
  m_close = form::button(this, "cmdClose", "Close");
  place(m_start, kRight, 5100, 1150, 450);
  place(m_pause, kRight + 1245, 5100, 1150, 450);
  place(m_close, kRight + 2490, 5100, 1150, 450);
  connect(m_start, &QPushButton::clicked, this, &AcquireWindow::cmdStartComm);
  connect(m_pause, &QPushButton::clicked, this, &AcquireWindow::cmdPauseToggle);
  connect(m_close, &QPushButton::clicked, this, &AcquireWindow::cmdClose);
}

void AcquireWindow::cmdStartComm() {
  if (common::Outcome started = m_acquisition->start(); !started)
    reportOpenFailure(started.reason());
  showIndicators();
}

void AcquireWindow::cmdPauseToggle() {
  m_acquisition->pause();
  showIndicators();
}

void AcquireWindow::cmdClose() { close(); }

void AcquireWindow::closeEvent(QCloseEvent* event) {
  m_acquisition->close();
  showIndicators();
  if (!m_closedReported) {
    m_closedReported = true;
    if (m_hooks.closed) m_hooks.closed();
  }
  event->accept();
}

void AcquireWindow::pollTick() { m_acquisition->pollTick(); }

void AcquireWindow::watchdogTick() {
  if (!m_acquisition->watchdogTick()) return;
  showIndicators();
  m_prompts.message(kTitle, ecu::kWatchdogMessage, common::MessageButtons::Ok,
                    common::MessageIcon::None);
}

void AcquireWindow::notification() {
  const ecu::Acquisition::Notified notified = m_acquisition->notification();
  if (notified.sample) showSample(*notified.sample);
  showIndicators();
  if (!notified.failure.empty()) reportOpenFailure(notified.failure);
}

void AcquireWindow::showSample(const ecu::LiveSample& s) {
  gauge(ecu::LiveGauge::Map)->setValue(s.mapKpa);
  gauge(ecu::LiveGauge::O2)->setValue(s.o2Volts);
  gauge(ecu::LiveGauge::Rpm)->setValue(s.rpmHundreds);
  gauge(ecu::LiveGauge::GammaE)->setValue(s.gammaE);
  gauge(ecu::LiveGauge::Throttle)->setValue(s.throttle);
  gauge(ecu::LiveGauge::Coolant)->setValue(s.coolant);
  m_veCells[0]->setText(QStringLiteral("O2-2 %1").arg(s.secondO2));
  m_veCells[1]->setText(QStringLiteral("O2En %1").arg(s.o2Enable));
  m_status[1]->setEnabled(s.cranking);
  m_status[2]->setEnabled(s.running);
  m_status[3]->setEnabled(s.afterstart);
  m_status[4]->setEnabled(s.warmup);
}

void AcquireWindow::showIndicators() {
  const ecu::Acquisition::Indicators& ind = m_acquisition->indicators();
  m_start->setEnabled(ind.startEnabled);
  m_pause->setEnabled(ind.pauseEnabled);
  m_samples->setText(QString::number(ind.samples));
  m_collector->setText(ind.collecting ? "YES" : "NO");
  QPalette palette = m_collector->palette();
  palette.setColor(QPalette::Base, ind.collecting ? QColor(0, 255, 0) : QColor(255, 0, 0));
  m_collector->setPalette(palette);
}

void AcquireWindow::reportOpenFailure(const std::string& reason) {
  m_prompts.message(kTitle, reason, common::MessageButtons::Ok, common::MessageIcon::Exclamation);
}

}  // namespace tallimar::ui
