// Paints a DrawList with QPainter onto any surface: a widget, a QImage (PNG export) or a
// QPrinter (paper or PDF). One function serves them all, so every target shows the same.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <cstddef>

#include "plot/draw_list.h"

class QPainter;
class QImage;

namespace tallimar::ui {

// Maps a DrawList's user units onto a target rectangle of a paint device and back.
class DrawListMapping {
 public:
  DrawListMapping(const plot::DrawList& list, const QRectF& target, double deviceDpi);

  bool visible() const { return m_visible; }  // false for a scale without extent
  QPointF toDevice(double x, double y) const;
  QPointF toUser(const QPointF& device) const;
  double deviceUnitsPerUserX() const { return m_sx; }
  // Device units per twip of the laid-out surface: line widths and fonts scale with it.
  double deviceUnitsPerTwip() const { return m_perTwip; }

 private:
  plot::UserScale m_scale;
  QRectF m_target;
  double m_sx = 0;
  double m_sy = 0;
  double m_perTwip = 0;
  bool m_visible = false;
};

// Clears `target` to the list's background and paints the items in order, clipped to
// `target`. Lines in a merge pen mode combine with the surface where the device supports
// raster operations (images, widgets); elsewhere (printers) they take the colour they would
// leave on the list's background. Items with coordinates that are not finite are skipped.
void paintDrawList(QPainter& painter, const plot::DrawList& list, const QRectF& target);

// Paints only the items [first, end) of `list` over what `target` already shows, with the
// list's mapping (for drawing over a plot without repainting it: dragged bin lines, erased
// points).
void paintDrawListItems(QPainter& painter, const plot::DrawList& list, std::size_t first,
                        const QRectF& target);

// The list rendered into a new 32-bit RGB image of the given size in pixels (96 dpi).
QImage renderDrawList(const plot::DrawList& list, const QSize& sizePixels);

// The surface's laid-out size in pixels at the given resolution (1 pixel at least).
QSize laidOutSizePixels(const plot::DrawList& list, double dpi = 96.0);

}  // namespace tallimar::ui
