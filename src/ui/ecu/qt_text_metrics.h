// Text sizes in twips from Qt's font metrics, at the screen's 96-dpi laid-out scale that the
// display-list painter draws fonts at.
#pragma once

#include "common/text_metrics.h"

namespace tallimar::ui {

class QtTextMetrics : public common::TextMetrics {
 public:
  double widthTwips(const std::string& text, const common::FontSpec& font) const override;
  double heightTwips(const common::FontSpec& font) const override;
};

}  // namespace tallimar::ui
