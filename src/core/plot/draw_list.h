// DrawList: what a plot, a report page or a gauge draws, as plain data. Core computes it;
// the Qt renderer paints it onto a widget, an image or a printer, so the screen, the PNG
// export and the paper show the same thing and tests can check it without a screen.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "common/rgb.h"

namespace tallimar::plot {

using common::Rgb;

// The user coordinate system of a surface: the point (left, top) is the surface's
// top-left corner and (left + width, top + height) its bottom-right corner. A negative
// height makes y grow upwards (top is then the largest y).
struct UserScale {
  double left = 0;
  double top = 0;
  double width = 1;
  double height = 1;
};

// How a line combines with what is already drawn. MergeNot paints (NOT pen) OR screen,
// as used for lines that are drawn and then drawn again to erase them.
enum class PenMode { Copy, MergeNot };

struct Box {  // filled rectangle between two corners, in user units
  double x1, y1, x2, y2;
  Rgb fill;
  bool outlined = false;  // a 1-pixel border in outline colour
  Rgb outline{};
};

struct Line {
  double x1, y1, x2, y2;
  Rgb colour;
  double widthPixels = 1;
  PenMode mode = PenMode::Copy;
  bool dotted = false;
};

struct Circle {  // radius in user units of the x axis
  double cx, cy, radius;
  Rgb colour;
  bool filled = true;
  double widthPixels = 1;
};

enum class TextAnchor { TopLeft, TopCentre, TopRight, CentreLeft, Centre, CentreRight, BottomLeft, BottomCentre, BottomRight };

struct Text {
  double x, y;  // anchor point in user units
  std::string text;
  Rgb colour;
  std::string fontFamily = "Arial";
  double pointSize = 8;
  bool bold = false;
  TextAnchor anchor = TextAnchor::TopLeft;
};

using Item = std::variant<Box, Line, Circle, Text>;

struct DrawList {
  double widthTwips = 0;   // the surface's laid-out size
  double heightTwips = 0;
  UserScale scale;
  Rgb background{255, 255, 255};
  std::vector<Item> items;
};

}  // namespace tallimar::plot
