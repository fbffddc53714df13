// Text sizes from QFontMetricsF, measured on a 96-dpi image.
#include "ui/ecu/qt_text_metrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

namespace tallimar::ui {
namespace {

// The painter draws a font of p points as p * 96 / 72 pixels of the laid-out surface, and a
// laid-out pixel is 15 twips: measuring on a 96-dpi image matches it, whatever the screen.
constexpr double kTwipsPerPixel = 15.0;

QFontMetricsF metricsOf(const common::FontSpec& spec) {
  static const QImage reference = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    return image;
  }();
  QFont font(QString::fromStdString(spec.family));
  font.setBold(spec.bold);
  font.setPointSizeF(spec.pointSize > 0 ? spec.pointSize : 1.0);
  return QFontMetricsF(font, &reference);
}

}  // namespace

double QtTextMetrics::widthTwips(const std::string& text, const common::FontSpec& font) const {
  return metricsOf(font).horizontalAdvance(QString::fromStdString(text)) * kTwipsPerPixel;
}

double QtTextMetrics::heightTwips(const common::FontSpec& font) const {
  return metricsOf(font).height() * kTwipsPerPixel;
}

}  // namespace tallimar::ui
