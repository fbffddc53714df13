// The preview window of the report page.
#include "ui/plot/print_preview.h"

#include <QPainter>

#include "common/twips.h"
#include "plot/report_page.h"
#include "ui/plot/draw_list_painter.h"

namespace tallimar::ui {

PrintPreview::PrintPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QStringLiteral("Print Preview"));
  const double dpi = logicalDpiX();
  setFixedSize(common::twipsToPixels(plot::kPreviewWidthTwips, dpi),
               common::twipsToPixels(plot::kPreviewHeightTwips, dpi));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PrintPreview::setPage(plot::DrawList page) {
  m_page = std::move(page);
  update();
}

void PrintPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintDrawList(painter, m_page, QRectF(rect()));
}

}  // namespace tallimar::ui
