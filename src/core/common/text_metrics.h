// TextMetrics: width and height of a text in a page or surface font, in twips, so that core
// can lay out reports, legends and gauges exactly as the surface will draw them.
#pragma once

#include <string>

namespace tallimar::common {

struct FontSpec {
  std::string family = "Arial";
  double pointSize = 8.0;
  bool bold = false;
};

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual double widthTwips(const std::string& text, const FontSpec& font) const = 0;
  virtual double heightTwips(const FontSpec& font) const = 0;
};

// Fixed-pitch stand-in for tests: every character is 0.6 em wide, a line is 1.2 em high
// (1 point = 20 twips).
class FixedPitchTextMetrics : public TextMetrics {
 public:
  double widthTwips(const std::string& text, const FontSpec& font) const override {
    return static_cast<double>(text.size()) * font.pointSize * 20.0 * 0.6;
  }
  double heightTwips(const FontSpec& font) const override { return font.pointSize * 20.0 * 1.2; }
};

}  // namespace tallimar::common
