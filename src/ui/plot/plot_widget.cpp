// PlotWidget: shows a DrawList from a cached image.
#include "ui/plot/plot_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/plot/draw_list_painter.h"

namespace tallimar::ui {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void PlotWidget::setDrawList(plot::DrawList list) {
  m_list = std::move(list);
  m_cacheValid = false;
  update();
}

void PlotWidget::addItems(const std::vector<plot::Item>& items) {
  const std::size_t first = m_list.items.size();
  m_list.items.insert(m_list.items.end(), items.begin(), items.end());
  if (m_cacheValid) {
    // Paint in the image's own pixels, as the whole list was painted.
    const double ratio = m_cache.devicePixelRatio();
    m_cache.setDevicePixelRatio(1);
    {
      QPainter painter(&m_cache);
      paintDrawListItems(painter, m_list, first, deviceRect());
    }
    m_cache.setDevicePixelRatio(ratio);
  }
  update();
}

QRectF PlotWidget::deviceRect() const {
  return {QPointF(0, 0), QSizeF(size()) * devicePixelRatioF()};
}

QPointF PlotWidget::toUser(const QPointF& widgetPosition) const {
  const DrawListMapping map(m_list, QRectF(QPointF(0, 0), QSizeF(size())), logicalDpiX());
  return map.toUser(widgetPosition);
}

QPointF PlotWidget::toWidget(double x, double y) const {
  const DrawListMapping map(m_list, QRectF(QPointF(0, 0), QSizeF(size())), logicalDpiX());
  return map.toDevice(x, y);
}

QSize PlotWidget::sizeHint() const {
  if (m_list.widthTwips <= 0 || m_list.heightTwips <= 0) return QWidget::sizeHint();
  return laidOutSizePixels(m_list, logicalDpiX());
}

void PlotWidget::renderCache() {
  const QRectF device = deviceRect();
  m_cache = renderDrawList(m_list, device.size().toSize());
  m_cache.setDevicePixelRatio(devicePixelRatioF());
  m_cacheValid = !m_cache.isNull();
}

void PlotWidget::paintEvent(QPaintEvent*) {
  if (!m_cacheValid) renderCache();
  QPainter painter(this);
  if (m_cacheValid)
    painter.drawImage(QPointF(0, 0), m_cache);
  else
    painter.fillRect(rect(), QColor(m_list.background.r, m_list.background.g, m_list.background.b));
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
  m_cacheValid = false;
  QWidget::resizeEvent(event);
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF user = toUser(event->position());
  emit userMouseMoved(user.x(), user.y(), event->buttons());
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
  const QPointF user = toUser(event->position());
  emit userMousePressed(user.x(), user.y(), event->button());
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF user = toUser(event->position());
  emit userMouseReleased(user.x(), user.y(), event->button());
}

void PlotWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit mouseLeft();
}

}  // namespace tallimar::ui
