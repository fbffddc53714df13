// Text metrics through QFontMetricsF.
#include "ui/plot/qt_text_metrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <algorithm>

#include "common/twips.h"

namespace tallimar::ui {

namespace {

QFont qtFont(const common::FontSpec& spec) {
  QFont font(QString::fromStdString(spec.family));
  font.setBold(spec.bold);
  font.setPointSizeF(std::clamp(spec.pointSize, 0.5, 2000.0));
  return font;
}

double deviceDpi(const QPaintDevice* device) {
  if (device) return device->logicalDpiY();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

double QtTextMetrics::widthTwips(const std::string& text, const common::FontSpec& font) const {
  const QFontMetricsF metrics(qtFont(font), m_device);
  return common::pixelsToTwips(metrics.horizontalAdvance(QString::fromStdString(text)),
                               deviceDpi(m_device));
}

double QtTextMetrics::heightTwips(const common::FontSpec& font) const {
  const QFontMetricsF metrics(qtFont(font), m_device);
  return common::pixelsToTwips(metrics.height(), deviceDpi(m_device));
}

}  // namespace tallimar::ui
