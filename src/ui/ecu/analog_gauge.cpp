// The analog gauge control over GaugeModel, with its dial cached in a pixmap.
#include "ui/ecu/analog_gauge.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>

#include "common/twips.h"
#include "ecu/gauge_properties.h"
#include "ui/plot/draw_list_painter.h"

namespace tallimar::ui {

QColor toQColor(ecu::Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

ecu::Rgb toRgb(const QColor& colour) {
  return ecu::Rgb{static_cast<std::uint8_t>(colour.red()),
                  static_cast<std::uint8_t>(colour.green()),
                  static_cast<std::uint8_t>(colour.blue())};
}

namespace {

// The painter draws a font of p points as p * 96 / 72 pixels of the laid-out surface, and a
// laid-out pixel is 15 twips: measuring on a 96-dpi image matches it, whatever the screen.
QPaintDevice* layoutDevice() {
  static QImage reference = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    return image;
  }();
  return &reference;
}

ecu::GaugeProperties newGauge(const QWidget& widget) {
  ecu::GaugeProperties p;
  p.backColor = toRgb(widget.palette().color(QPalette::Button));
  return p;
}

}  // namespace

AnalogGauge::AnalogGauge(QWidget* parent)
    : QWidget(parent), m_metrics(layoutDevice()), m_model(m_metrics, newGauge(*this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_model.onPropertyChanged = [this](const std::string& name) {
    emit propertyChanged(QString::fromStdString(name));
  };
  fitSize();
}

void AnalogGauge::setNumber(ecu::GaugeProperty property, double value) {
  after(m_model.setNumber(property, value));
}

void AnalogGauge::setText(ecu::GaugeProperty property, const QString& text) {
  after(m_model.setText(property, text.toStdString()));
}

void AnalogGauge::setColour(ecu::GaugeProperty property, const QColor& colour) {
  after(m_model.setColour(property, toRgb(colour)));
}

void AnalogGauge::setValue(double value) {
  m_model.setValue(value);
  update();
}

void AnalogGauge::load(const ecu::GaugeProperties& properties) {
  m_model.load(properties);
  after(ecu::GaugeRedraw::Full);
}

bool AnalogGauge::loadFrom(const settings::SettingsStore& store, const std::string& group) {
  if (!ecu::gaugeStored(store, group)) return false;
  load(ecu::loadGaugeProperties(store, group));
  return true;
}

void AnalogGauge::saveTo(settings::SettingsStore& store, const std::string& group) const {
  ecu::saveGaugeProperties(store, group, m_model.properties());
}

void AnalogGauge::after(ecu::GaugeRedraw redraw) {
  if (redraw == ecu::GaugeRedraw::None) return;
  if (redraw != ecu::GaugeRedraw::Needle) {
    m_dialValid = false;
    fitSize();
  }
  update();
}

void AnalogGauge::fitSize() {
  const double dpi = logicalDpiY();
  setFixedSize(common::twipsToPixels(m_model.width(), dpi),
               common::twipsToPixels(m_model.height(), dpi));
}

QSize AnalogGauge::sizeHint() const {
  const double dpi = logicalDpiY();
  return {common::twipsToPixels(m_model.width(), dpi),
          common::twipsToPixels(m_model.height(), dpi)};
}

void AnalogGauge::paintDial() {
  const qreal ratio = devicePixelRatioF();
  m_dial = QPixmap(size() * ratio);
  m_dial.setDevicePixelRatio(ratio);
  QPainter painter(&m_dial);
  paintDrawList(painter, m_model.dial(), QRectF(QPointF(0, 0), QSizeF(size())));
  m_dialValid = true;
  ++m_dialPaints;
}

void AnalogGauge::paintEvent(QPaintEvent*) {
  if (!m_dialValid || m_dial.size() != size() * devicePixelRatioF()) paintDial();
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_dial);
  const QRectF whole(QPointF(0, 0), QSizeF(size()));
  const double perTwip = height() / m_model.height();
  painter.setClipRect(
      QRectF(0, ecu::kGaugeSurfaceTop * perTwip, width(), m_model.surfaceHeight() * perTwip));
  paintDrawListItems(painter, m_model.needles(), 0, whole);
}

QImage AnalogGauge::grabImage() { return grab().toImage(); }

void AnalogGauge::mouseDoubleClickEvent(QMouseEvent*) { emit propertiesRequested(this); }

void AnalogGauge::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(tr("Properties..."), this, [this] { emit propertiesRequested(this); });
  menu.exec(event->globalPos());
}

}  // namespace tallimar::ui
