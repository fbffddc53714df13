// AnalogGauge: the needle dial control. The dial (band, ticks, scale labels, caption and
// unit label) is painted once into a pixmap and painted again only when a property that
// shapes it changes; a new Value paints the pixmap and the needle layer over it, so moving
// the needle costs one pixmap copy and three fans of lines.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>

#include "ecu/gauge_model.h"
#include "settings/settings_store.h"
#include "ui/plot/qt_text_metrics.h"

namespace tallimar::ui {

class AnalogGauge : public QWidget {
  Q_OBJECT
 public:
  // A new gauge ("Analog Gauge", 0..100 at 50, ...) on the palette's button colour.
  explicit AnalogGauge(QWidget* parent = nullptr);

  const ecu::GaugeProperties& properties() const { return m_model.properties(); }
  const ecu::GaugeModel& model() const { return m_model; }
  double value() const { return m_model.properties().value; }
  // A pending peak reset reads 1 (see GaugeModel::peakHold).
  std::int16_t peakHold() { return m_model.peakHold(); }

  // Property setters with the gauge's rules (GaugeModel); each but Value announces the
  // change through propertyChanged.
  void setNumber(ecu::GaugeProperty property, double value);
  void setText(ecu::GaugeProperty property, const QString& text);
  void setColour(ecu::GaugeProperty property, const QColor& colour);
  void setValue(double value);

  // Every property at once (design values, or a stored gauge), drawn in full.
  void load(const ecu::GaugeProperties& properties);
  // The gauge kept under `group` of the user's store, when that group holds one.
  bool loadFrom(const settings::SettingsStore& store, const std::string& group);
  void saveTo(settings::SettingsStore& store, const std::string& group) const;

  // How many times the dial has been painted into its pixmap (for tests and benchmarks).
  int dialPaints() const { return m_dialPaints; }
  // The whole gauge as it shows now, at its laid-out size.
  QImage grabImage();

  QSize sizeHint() const override;

 signals:
  void propertyChanged(const QString& name);
  // The user asked to edit this gauge (double-click or the context menu).
  void propertiesRequested(tallimar::ui::AnalogGauge* gauge);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void after(ecu::GaugeRedraw redraw);
  void fitSize();
  void paintDial();

  QtTextMetrics m_metrics;
  ecu::GaugeModel m_model;
  QPixmap m_dial;
  bool m_dialValid = false;
  int m_dialPaints = 0;
};

QColor toQColor(ecu::Rgb colour);
ecu::Rgb toRgb(const QColor& colour);

}  // namespace tallimar::ui
