// DrawList: what a plot, a report page or a gauge draws, as plain data. Core computes it;
// the Qt renderer paints it onto a widget, an image or a printer, so the screen, the PNG
// export and the paper show the same thing and tests can check it without a screen.
//
// Items are painted in list order over the background, each one over what came before.
// Positions are in the list's user units (see UserScale). Line widths are in pixels of the
// surface at its laid-out size on a 96-dpi screen (15 twips each) and font sizes in points
// of that laid-out size; a renderer that paints the list larger or smaller (a PNG of another
// size, a printer page) scales both with the surface so that the picture keeps its look.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/rgb.h"

namespace tallimar::plot {

using common::Rgb;

// The user coordinate system of a surface: the point (left, top) is the surface's
// top-left corner and (left + width, top + height) its bottom-right corner. A negative
// height makes y grow upwards (top is then the largest y). A zero width or height leaves
// nothing visible but the background.
struct UserScale {
  double left = 0;
  double top = 0;
  double width = 1;
  double height = 1;
};

// How a line combines with what is already drawn, bit by bit on the red, green and blue
// values.
enum class PenMode {
  Copy,         // the pen colour replaces the surface
  MergePenNot,  // pen OR (NOT surface): a black pen inverts what lies under it, so the same
                // line drawn twice leaves the surface as it was (bin lines that are dragged)
  MergeNot,     // (NOT pen) OR surface: a black pen paints white, a white pen changes nothing
};

// The colour a pen in the given mode leaves on a surface pixel of colour `under`. Renderers
// that cannot combine with the surface (printers) use it with the list's background.
constexpr Rgb combinePen(PenMode mode, Rgb pen, Rgb under) {
  auto mix = [mode](std::uint8_t p, std::uint8_t s) {
    switch (mode) {
      case PenMode::MergePenNot:
        return static_cast<std::uint8_t>(p | static_cast<std::uint8_t>(~s));
      case PenMode::MergeNot:
        return static_cast<std::uint8_t>(static_cast<std::uint8_t>(~p) | s);
      case PenMode::Copy:
        break;
    }
    return p;
  };
  return Rgb{mix(pen.r, under.r), mix(pen.g, under.g), mix(pen.b, under.b)};
}

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

struct Circle {  // radius in user units of the x axis; always round on the surface
  double cx, cy, radius;
  Rgb colour;
  bool filled = true;
  double widthPixels = 1;
};

enum class TextAnchor {
  TopLeft,
  TopCentre,
  TopRight,
  CentreLeft,
  Centre,
  CentreRight,
  BottomLeft,
  BottomCentre,
  BottomRight
};

struct Text {   // one line of text; the anchor names which point of its box lies at (x, y)
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
  double widthTwips = 0;  // the surface's laid-out size
  double heightTwips = 0;
  UserScale scale;
  Rgb background{255, 255, 255};
  std::vector<Item> items;

  template <class T>
  void add(T item) {
    items.emplace_back(std::move(item));
  }
  std::size_t size() const { return items.size(); }
};

// The items of one kind, in list order (for tests and callers that inspect a list).
template <class T>
std::vector<T> itemsOfKind(const DrawList& list) {
  std::vector<T> found;
  for (const Item& item : list.items)
    if (const T* p = std::get_if<T>(&item)) found.push_back(*p);
  return found;
}

}  // namespace tallimar::plot
