// QPainter renderer of display lists.
#include "ui/plot/draw_list_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "common/twips.h"

namespace tallimar::ui {

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr double kReferenceDpi = 96.0;  // line widths are pixels of a 96-dpi screen
constexpr double kFarAway = 1e6;        // device units beyond which nothing can be seen

QColor toQColor(plot::Rgb c) { return QColor(c.r, c.g, c.b); }

bool finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Liang-Barsky: shortens the segment a-b to the part inside r; false when nothing is left.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  double t0 = 0;
  double t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = start + QPointF(dx * t0, dy * t0);
  b = start + QPointF(dx * t1, dy * t1);
  return true;
}

QPainter::CompositionMode rasterOp(plot::PenMode mode) {
  return mode == plot::PenMode::MergePenNot ? QPainter::RasterOp_SourceOrNotDestination
                                            : QPainter::RasterOp_NotSourceOrDestination;
}

class ItemPainter {
 public:
  ItemPainter(QPainter& painter, const plot::DrawList& list, const QRectF& target)
      : m_painter(painter),
        m_list(list),
        m_target(target),
        m_map(list, target, painter.device() ? painter.device()->logicalDpiX() : kReferenceDpi),
        m_rasterOps(painter.paintEngine() &&
                    painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {}

  bool visible() const { return m_map.visible(); }
  void operator()(const plot::Box& b) const;
  void operator()(const plot::Line& l) const;
  void operator()(const plot::Circle& c) const;
  void operator()(const plot::Text& t) const;

 private:
  double penWidth(double widthPixels) const {
    const double w =
        widthPixels * (common::kTwipsPerInch / kReferenceDpi) * m_map.deviceUnitsPerTwip();
    return std::max(1.0, std::isfinite(w) ? w : 1.0);
  }

  QPainter& m_painter;
  const plot::DrawList& m_list;
  QRectF m_target;
  DrawListMapping m_map;
  bool m_rasterOps;
};

void ItemPainter::operator()(const plot::Box& b) const {
  if (!finite({b.x1, b.y1, b.x2, b.y2})) return;
  const QRectF r = QRectF(m_map.toDevice(b.x1, b.y1), m_map.toDevice(b.x2, b.y2)).normalized();
  const QRectF bounds = m_target.adjusted(-1, -1, 1, 1);
  const double l = std::max(r.left(), bounds.left());
  const double rr = std::min(r.right(), bounds.right());
  const double t = std::max(r.top(), bounds.top());
  const double bb = std::min(r.bottom(), bounds.bottom());
  if (l > rr || t > bb) return;
  // Whole device pixels, edges rounded, so that neighbouring boxes tile without gaps or
  // overlap; a box thinner than a pixel still shows as one pixel.
  const int left = static_cast<int>(std::lround(l));
  const int top = static_cast<int>(std::lround(t));
  const int right = std::max(left + 1, static_cast<int>(std::lround(rr)));
  const int bottom = std::max(top + 1, static_cast<int>(std::lround(bb)));
  const QRect pixels(left, top, right - left, bottom - top);
  m_painter.fillRect(pixels, toQColor(b.fill));
  if (b.outlined) {
    m_painter.setPen(QPen(toQColor(b.outline), 0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(pixels.adjusted(0, 0, -1, -1));
  }
}

void ItemPainter::operator()(const plot::Line& l) const {
  if (!finite({l.x1, l.y1, l.x2, l.y2})) return;
  const double width = penWidth(l.widthPixels);
  QPointF a = m_map.toDevice(l.x1, l.y1);
  QPointF b = m_map.toDevice(l.x2, l.y2);
  if (!clipSegment(a, b, m_target.adjusted(-width, -width, width, width))) return;
  QColor colour = toQColor(l.colour);
  const bool merge = l.mode != plot::PenMode::Copy;
  if (merge && !m_rasterOps)
    colour = toQColor(plot::combinePen(l.mode, l.colour, m_list.background));
  QPen pen(colour, width, l.dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap);
  m_painter.setPen(pen);
  if (merge && m_rasterOps) m_painter.setCompositionMode(rasterOp(l.mode));
  m_painter.drawLine(a, b);
  if (merge && m_rasterOps) m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void ItemPainter::operator()(const plot::Circle& c) const {
  if (!finite({c.cx, c.cy, c.radius})) return;
  const QPointF centre = m_map.toDevice(c.cx, c.cy);
  const double r = std::fabs(c.radius * m_map.deviceUnitsPerUserX());
  if (std::fabs(centre.x()) > kFarAway || std::fabs(centre.y()) > kFarAway || r > kFarAway) return;
  m_painter.setRenderHint(QPainter::Antialiasing, true);
  m_painter.setPen(QPen(toQColor(c.colour), penWidth(c.widthPixels)));
  m_painter.setBrush(c.filled ? QBrush(toQColor(c.colour)) : QBrush(Qt::NoBrush));
  m_painter.drawEllipse(centre, r, r);
  m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void ItemPainter::operator()(const plot::Text& t) const {
  if (!finite({t.x, t.y, t.pointSize}) || t.text.empty()) return;
  const QPointF anchor = m_map.toDevice(t.x, t.y);
  if (std::fabs(anchor.x()) > kFarAway || std::fabs(anchor.y()) > kFarAway) return;
  QFont font(QString::fromStdString(t.fontFamily));
  font.setBold(t.bold);
  const double pixels = t.pointSize * kTwipsPerPoint * m_map.deviceUnitsPerTwip();
  const double dpi = m_painter.device() ? m_painter.device()->logicalDpiY() : kReferenceDpi;
  font.setPointSizeF(std::clamp(pixels * 72.0 / dpi, 0.5, 2000.0));
  const QString text = QString::fromStdString(t.text);
  const QFontMetricsF metrics(font, m_painter.device());
  const double w = metrics.horizontalAdvance(text);
  const double h = metrics.height();
  using A = plot::TextAnchor;
  double left = anchor.x();
  double top = anchor.y();
  if (t.anchor == A::TopCentre || t.anchor == A::Centre || t.anchor == A::BottomCentre)
    left -= w / 2;
  if (t.anchor == A::TopRight || t.anchor == A::CentreRight || t.anchor == A::BottomRight)
    left -= w;
  if (t.anchor == A::CentreLeft || t.anchor == A::Centre || t.anchor == A::CentreRight)
    top -= h / 2;
  if (t.anchor == A::BottomLeft || t.anchor == A::BottomCentre || t.anchor == A::BottomRight)
    top -= h;
  m_painter.setFont(font);
  m_painter.setPen(toQColor(t.colour));
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
  m_painter.drawText(QPointF(left, top + metrics.ascent()), text);
}

void paintItems(QPainter& painter, const plot::DrawList& list, std::size_t first,
                const QRectF& target) {
  const ItemPainter itemPainter(painter, list, target);
  if (!itemPainter.visible()) return;
  for (std::size_t k = first; k < list.items.size(); ++k) std::visit(itemPainter, list.items[k]);
}

}  // namespace

DrawListMapping::DrawListMapping(const plot::DrawList& list, const QRectF& target, double deviceDpi)
    : m_scale(list.scale), m_target(target) {
  m_sx = target.width() / m_scale.width;
  m_sy = target.height() / m_scale.height;
  m_visible = m_scale.width != 0 && m_scale.height != 0 && !target.isEmpty() &&
              finite({m_sx, m_sy, m_scale.left, m_scale.top});
  if (list.widthTwips > 0 && list.heightTwips > 0)
    m_perTwip = std::sqrt(target.width() / list.widthTwips * (target.height() / list.heightTwips));
  else
    m_perTwip = deviceDpi / common::kTwipsPerInch;
}

QPointF DrawListMapping::toDevice(double x, double y) const {
  return {m_target.left() + (x - m_scale.left) * m_sx, m_target.top() + (y - m_scale.top) * m_sy};
}

QPointF DrawListMapping::toUser(const QPointF& device) const {
  if (!m_visible) return {m_scale.left, m_scale.top};
  return {m_scale.left + (device.x() - m_target.left()) / m_sx,
          m_scale.top + (device.y() - m_target.top()) / m_sy};
}

void paintDrawList(QPainter& painter, const plot::DrawList& list, const QRectF& target) {
  painter.save();
  painter.setClipRect(target, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.fillRect(target, toQColor(list.background));
  paintItems(painter, list, 0, target);
  painter.restore();
}

void paintDrawListItems(QPainter& painter, const plot::DrawList& list, std::size_t first,
                        const QRectF& target) {
  painter.save();
  painter.setClipRect(target, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter.setRenderHint(QPainter::Antialiasing, false);
  paintItems(painter, list, first, target);
  painter.restore();
}

QImage renderDrawList(const plot::DrawList& list, const QSize& sizePixels) {
  if (sizePixels.isEmpty()) return {};
  QImage image(sizePixels, QImage::Format_RGB32);
  if (image.isNull()) return {};
  constexpr int kDotsPerMeterAt96Dpi = 3780;
  image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  QPainter painter(&image);
  paintDrawList(painter, list, QRectF(QPointF(0, 0), QSizeF(sizePixels)));
  return image;
}

QSize laidOutSizePixels(const plot::DrawList& list, double dpi) {
  return {std::max(1, common::twipsToPixels(list.widthTwips, dpi)),
          std::max(1, common::twipsToPixels(list.heightTwips, dpi))};
}

}  // namespace tallimar::ui
