// PlotWidget: a plain widget that shows one DrawList. The list is painted once into an image
// of the widget's size and shown from there, so repaints cost one image copy; new items
// added over it (dragged bin lines, erased points) are painted onto that image alone.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "plot/draw_list.h"

namespace tallimar::ui {

class PlotWidget : public QWidget {
  Q_OBJECT
 public:
  explicit PlotWidget(QWidget* parent = nullptr);

  // Replaces what is shown (a full redraw of the plot).
  void setDrawList(plot::DrawList list);
  // Draws the items over what is shown, in the list's scale, and keeps them in the list.
  void addItems(const std::vector<plot::Item>& items);
  const plot::DrawList& drawList() const { return m_list; }

  // Widget position <-> the list's user units.
  QPointF toUser(const QPointF& widgetPosition) const;
  QPointF toWidget(double x, double y) const;

  // The list's laid-out size at the screen's resolution.
  QSize sizeHint() const override;

 signals:
  // Mouse positions in the list's user units (the plot's rev/min and MAP units).
  void userMouseMoved(double x, double y, Qt::MouseButtons buttons);
  void userMousePressed(double x, double y, Qt::MouseButton button);
  void userMouseReleased(double x, double y, Qt::MouseButton button);
  // The pointer left the widget.
  void mouseLeft();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QRectF deviceRect() const;
  void renderCache();

  plot::DrawList m_list;
  QImage m_cache;  // m_list painted at the widget's size in device pixels
  bool m_cacheValid = false;
};

}  // namespace tallimar::ui
