// Text metrics of a Qt paint device, so that core lays a page out exactly as QPainter will
// write it on that device (the screen, a printer or a PDF file).
#pragma once

#include "common/text_metrics.h"

class QPaintDevice;

namespace tallimar::ui {

class QtTextMetrics : public common::TextMetrics {
 public:
  // Measures as painted on `device`; the screen when none is given. The device must outlive
  // the metrics.
  explicit QtTextMetrics(QPaintDevice* device = nullptr) : m_device(device) {}
  double widthTwips(const std::string& text, const common::FontSpec& font) const override;
  double heightTwips(const common::FontSpec& font) const override;

 private:
  QPaintDevice* m_device;
};

}  // namespace tallimar::ui
