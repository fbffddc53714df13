// The plot area: views, legend, bin dragging, the eraser and the read-out.
#include "ui/vemap/ve_plot_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "common/twips.h"
#include "plot/colour_scale.h"
#include "plot/legend.h"
#include "plot/read_out.h"
#include "ui/plot/draw_list_painter.h"
#include "ui/plot/plot_widget.h"
#include "ui/vemap/ve_grid.h"
#include "workspace/view_inputs.h"

namespace tallimar::ui {
namespace {

using plot::VeView;

constexpr double kSurfaceMinimumZoom = 0.75;  // of the laid-out size, in a narrow window
constexpr int kLegendRows = 6;                // the eleven bands in two columns
constexpr int kLegendRowPixels = 20;
constexpr double kRpmGrabRevs = 110;  // an RPM bin line is grabbed within this many rev/min
constexpr double kMapGrabKpa = 2;     // a MAP bin line within this many kPa
constexpr double kReadOutRightTwips = 200;
constexpr double kReadOutUpTwips = 280;
constexpr plot::Rgb kBlack{0, 0, 0};
constexpr plot::Rgb kWhite{255, 255, 255};

std::int16_t clampToInt16(double value) {
  return static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
}

// The eraser pointer: a tilted eraser block whose lower-left corner is the hot spot.
QCursor eraserCursor() {
  QPixmap image(24, 24);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(4, 20);
    p.rotate(-40);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(QColor(235, 120, 140));
    p.drawRoundedRect(QRectF(0, -6, 11, 12), 2, 2);
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(11, -6, 11, 12), 2, 2);
  }
  return QCursor(image, 1, 22);
}

QLabel* axisLabel(const QString& name, const QString& text, QWidget* parent, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(align);
  return label;
}

}  // namespace

ReadOutBox::ReadOutBox(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("txtVEDisplay"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFixedSize(laidOutSizePixels(plot::readOutDrawList(""), logicalDpiX()));
  hide();
}

void ReadOutBox::setText(const std::string& text) {
  if (text == m_text) return;
  m_text = text;
  update();
}

void ReadOutBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintDrawList(painter, plot::readOutDrawList(m_text), QRectF(rect()));
}

VePlotPanel::VePlotPanel(workspace::Workspace& workspace, common::StatusLog& log, VeGrid& grid,
                         QWidget* readOutParent, QWidget* parent)
    : QWidget(parent), m_ws(workspace), m_log(log), m_grid(grid), m_readOutParent(readOutParent) {
  setObjectName(QStringLiteral("VEPlotPanel"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  auto* plotRow = new QHBoxLayout;
  buildSurface();

  auto* axis = new QVBoxLayout;
  axis->setSpacing(0);
  axis->addWidget(m_lblMapMax);
  axis->addStretch();
  axis->addWidget(
      axisLabel("lblMapAxis", QStringLiteral("MAP"), this, Qt::AlignRight | Qt::AlignVCenter));
  axis->addStretch();
  axis->addWidget(
      axisLabel("lblMapZero", QStringLiteral("0"), this, Qt::AlignRight | Qt::AlignBottom));
  axis->addSpacing(fontMetrics().height() + 4);
  auto* axisColumn = new QWidget(this);
  axisColumn->setLayout(axis);
  axis->setContentsMargins(0, 0, 0, 0);
  const int axisWidth = axisColumn->sizeHint().width() + plotRow->spacing();
  axisColumn->setFixedWidth(axisColumn->sizeHint().width());
  plotRow->addWidget(axisColumn);

  auto* surfaceColumn = new QVBoxLayout;
  surfaceColumn->setSpacing(2);
  surfaceColumn->addWidget(m_pic, 1);
  auto* rpmAxis = new QHBoxLayout;
  rpmAxis->addWidget(m_lblRPMMin);
  rpmAxis->addStretch();
  rpmAxis->addWidget(axisLabel("lblRPMAxis", QStringLiteral("RPM"), this, Qt::AlignCenter));
  rpmAxis->addStretch();
  rpmAxis->addWidget(m_lblRPMMax);
  surfaceColumn->addLayout(rpmAxis);
  plotRow->addLayout(surfaceColumn, 1);
  column->addLayout(plotRow, 1);

  // The legend sits under the plot in two columns, so that the plot keeps the width.
  buildLegend();
  auto* legendRow = new QHBoxLayout;
  legendRow->addSpacing(axisWidth);
  legendRow->addWidget(findChild<QWidget*>(QStringLiteral("VELegend")));
  legendRow->addStretch();
  column->addLayout(legendRow);

  m_choices = buildChoices();

  m_readOut = new ReadOutBox(m_readOutParent);
  showLegend(plot::LegendKind::Ve);
}

void VePlotPanel::buildSurface() {
  const settings::Settings& s = m_ws.settings;
  m_pic = new PlotWidget(this);
  m_pic->setObjectName(QStringLiteral("PicCalc"));
  m_pic->setDrawList(plot::veSurface(s));
  // The surface grows with the window and draws its list at whatever size it has.
  m_pic->setMinimumSize(m_pic->sizeHint() * kSurfaceMinimumZoom);
  m_pic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  connect(m_pic, &PlotWidget::userMouseMoved, this,
          [this](double x, double y, Qt::MouseButtons buttons) { mouseMovedAt(x, y, buttons); });
  connect(m_pic, &PlotWidget::userMousePressed, this,
          [this](double x, double y, Qt::MouseButton b) { mousePressedAt(x, y, b); });
  connect(m_pic, &PlotWidget::userMouseReleased, this,
          [this](double x, double y, Qt::MouseButton b) {
            if (b != Qt::LeftButton) return;
            mouseReleased();
            // A drag that ended outside the surface: the pointer has left it already.
            if (!m_pic->rect().contains(m_pic->toWidget(x, y).toPoint())) mouseLeft();
          });
  connect(m_pic, &PlotWidget::mouseLeft, this, &VePlotPanel::mouseLeft);

  const auto top = Qt::AlignRight | Qt::AlignTop;
  m_lblMapMax = axisLabel("lblMapMax", QString::number(s.mapMax), this, top);
  m_lblRPMMin = axisLabel("lblRPMMin", QString::number(s.rpmMin), this, Qt::AlignLeft);
  m_lblRPMMax = axisLabel("lblRPMMax", QString::number(s.rpmMax), this, Qt::AlignRight);
}

// Each caption frame holds its eleven bands, swatch and caption, in two columns from the
// lowest band down; only the frame of the selected view's scale is shown.
void VePlotPanel::buildLegend() {
  auto* legend = new QWidget(this);
  legend->setObjectName(QStringLiteral("VELegend"));
  auto* stack = new QGridLayout(legend);
  stack->setContentsMargins(0, 0, 0, 0);
  QFont small = font();
  small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1));
  auto makeFrame = [&](const char* frameName, const char* captionName, plot::LegendKind kind) {
    auto* frame = new QFrame(legend);
    frame->setObjectName(QString::fromLatin1(frameName));
    auto* rows = new QGridLayout(frame);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(0);
    rows->setColumnMinimumWidth(2, 12);
    const auto& captions = plot::legendCaptions(kind);
    for (int band = 0; band < plot::kBandCount; ++band) {
      const int row = band % kLegendRows;
      const int column = band / kLegendRows * 3;
      const plot::Rgb c = plot::kBandColours[static_cast<std::size_t>(band)];
      auto* swatch = new QFrame(frame);
      swatch->setObjectName(QStringLiteral("ColorChart"));
      swatch->setProperty("index", band);
      swatch->setFixedSize(26, kLegendRowPixels - 5);
      swatch->setFrameShape(QFrame::Box);
      swatch->setAutoFillBackground(true);
      QPalette p = swatch->palette();
      p.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
      p.setColor(QPalette::WindowText, QColor(60, 60, 60));
      swatch->setPalette(p);
      rows->addWidget(swatch, row, column, Qt::AlignVCenter);
      const std::string_view text = captions[static_cast<std::size_t>(band)];
      auto* caption =
          new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), frame);
      caption->setObjectName(QString::fromLatin1(captionName));
      caption->setProperty("index", band);
      caption->setFont(small);
      caption->setFixedHeight(kLegendRowPixels);
      caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      rows->addWidget(caption, row, column + 1);
    }
    stack->addWidget(frame, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    return frame;
  };
  m_keyVe = makeFrame("frmKeyChromatic", "lblKeyChromatic", plot::LegendKind::Ve);
  m_keyDelta = makeFrame("frmKeyChromaticDelta", "lblKeyChromaticDelta", plot::LegendKind::VeDelta);
  // Switching the frames never moves the plot: the legend is as large as the larger one.
  legend->setMinimumSize(m_keyVe->sizeHint().expandedTo(m_keyDelta->sizeHint()));
}

QWidget* VePlotPanel::buildChoices() {
  auto* box = new QGroupBox(this);
  box->setObjectName(QStringLiteral("fraVEView"));
  auto* layout = new QGridLayout(box);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setVerticalSpacing(2);
  auto* group = new QButtonGroup(box);
  for (int k = 0; k < plot::kVeViewCount; ++k) {
    const std::string_view caption = plot::veViewCaption(static_cast<VeView>(k));
    auto* option = new QRadioButton(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), box);
    option->setObjectName(QStringLiteral("optVEView"));
    option->setProperty("index", k);
    group->addButton(option, k);
    // Table-based views in the first column, data views in the second and third.
    static constexpr int kRow[] = {0, 0, 0, 1, 1, 1};
    static constexpr int kColumn[] = {0, 1, 2, 0, 1, 2};
    layout->addWidget(option, kRow[k], kColumn[k]);
    m_views[static_cast<std::size_t>(k)] = option;
  }
  m_views[0]->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this,
          [this](int id) { selectView(static_cast<VeView>(id)); });

  m_refresh = new QPushButton(QStringLiteral("Refresh Plot Window"), box);
  m_refresh->setObjectName(QStringLiteral("cmdRefreshPlotWindow"));
  connect(m_refresh, &QPushButton::clicked, this, &VePlotPanel::refresh);
  m_miniLegend = new QCheckBox(QStringLiteral("View Mini Legend"), box);
  m_miniLegend->setObjectName(QStringLiteral("chkMiniLegend"));
  m_miniLegend->setEnabled(false);
  connect(m_miniLegend, &QCheckBox::clicked, this, [this](bool ticked) { showReadOut(ticked); });
  m_eraser = new QCheckBox(QStringLiteral("DataPoint Eraser"), box);
  m_eraser->setObjectName(QStringLiteral("chkEraseData"));
  m_eraser->setEnabled(false);
  layout->addWidget(m_miniLegend, 2, 0);
  layout->addWidget(m_eraser, 2, 1);
  layout->addWidget(m_refresh, 2, 2);
  return box;
}

void VePlotPanel::showLegend(plot::LegendKind kind) {
  m_keyVe->setVisible(kind == plot::LegendKind::Ve);
  m_keyDelta->setVisible(kind == plot::LegendKind::VeDelta);
}

void VePlotPanel::setViewsEnabled(const std::array<bool, plot::kVeViewCount>& enabled) {
  for (std::size_t k = 0; k < enabled.size(); ++k) m_views[k]->setEnabled(enabled[k]);
}

void VePlotPanel::selectView(VeView view) {
  m_view = view;
  m_views[static_cast<std::size_t>(view)]->setChecked(true);
  const bool dataView = view == VeView::RawDatalog || view == VeView::FilteredDatalog;
  m_miniLegend->setEnabled(dataView);
  showReadOut(dataView && m_miniLegend->isChecked());
  refresh();
}

void VePlotPanel::refresh() {
  showLegend(plot::legendFor(m_view));
  const bool raw = m_view == VeView::RawDatalog;
  m_eraser->setEnabled(raw);
  if (!raw) m_eraser->setChecked(false);
  plotView(m_view);
}

void VePlotPanel::plotView(VeView view) {
  plot::ViewPlot drawn = plot::plotVeView(view, workspace::viewInputs(m_ws));
  // The closing line follows the picture; every other line comes before it.
  bool finished = false;
  for (const std::string& line : drawn.statusLines) {
    if (line == plot::kFinishedPlotting)
      finished = true;
    else
      m_log.append(line);
  }
  m_pic->setDrawList(std::move(drawn.drawing));
  m_grid.setBoldCells(-1, -1);
  if (finished) m_log.append(std::string(plot::kFinishedPlotting));
}

void VePlotPanel::beginFilterPreview() { m_pic->setDrawList(plot::veSurface(m_ws.settings)); }

void VePlotPanel::addFilterPoints(plot::FilterStep step, int line,
                                  const std::vector<plot::CurvePoint>& curve) {
  std::vector<plot::Item> boxes;
  boxes.reserve(curve.size());
  for (const plot::CurvePoint& q : curve)
    if (q.y > 0) boxes.emplace_back(plot::filterCurvePointBox(step, line, q, m_ws.settings));
  if (!boxes.empty()) m_pic->addItems(boxes);
}

void VePlotPanel::endFilterPreview() {
  plot::DrawList lines = plot::veSurface(m_ws.settings);
  plot::DrawBinLines(lines, m_ws.veTable, m_ws.settings);
  m_pic->addItems(lines.items);
}

bool VePlotPanel::eraserOn() const { return m_eraser->isChecked(); }

void VePlotPanel::mouseMovedAt(double x, double y, Qt::MouseButtons buttons) {
  if (eraserOn())
    eraserMove(x, y, buttons);
  else
    binHandles(x, y, buttons);
  if (readOutWanted() && m_readOut->isHidden()) showReadOut(true);
  moveReadOut(x, y);
}

void VePlotPanel::mousePressedAt(double x, double y, Qt::MouseButton button) {
  if (!eraserOn()) {
    if (button != Qt::LeftButton) return;
    m_held = binsAt(x, y);
    if (m_held.any()) m_grid.setBoldCells(m_held.rpm, m_held.map);
    return;
  }
  const int j = static_cast<int>(std::floor(x / 100.0));
  const int i = static_cast<int>(std::floor(m_ws.settings.mapMax - y));
  if (!engine::RawDataMap::inside(j, i) || m_ws.rawMap.at(j, i).average <= 1) return;
  m_pic->setCursor(Qt::ArrowCursor);
  eraseCell(j, i);
}

void VePlotPanel::mouseReleased() { m_held = {}; }

void VePlotPanel::mouseLeft() {
  if (m_held.any()) return;
  m_grid.setBoldCells(-1, -1);
  m_readOut->hide();
}

VePlotPanel::BinHit VePlotPanel::binsAt(double x, double y) const {
  const vemap::VeTable& t = m_ws.veTable;
  const double map = m_ws.settings.mapMax - y;
  BinHit hit;
  for (int k = 0; k < t.activeRpm(); ++k) {
    const double bin = t.rpmBins[static_cast<std::size_t>(k)];
    if (bin - kRpmGrabRevs < x && x < bin + kRpmGrabRevs) hit.rpm = k;
  }
  for (int k = 0; k < t.activeMap(); ++k) {
    const double bin = t.mapBins[static_cast<std::size_t>(k)];
    if (bin - kMapGrabKpa < map && map < bin + kMapGrabKpa) hit.map = k;
  }
  return hit;
}

// Which bin lines lie under the mouse: the grabbed bins turn bold, the pointer shows the
// direction they can move in, and with the left button held they follow the mouse. Bins
// picked by a press stay picked until the release, so a quick drag that jumps past the
// grab distance between two motions keeps its bins.
void VePlotPanel::binHandles(double x, double y, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) m_held = {};  // the release happened elsewhere
  const BinHit hit = m_held.any() ? m_held : binsAt(x, y);
  if (buttons & Qt::LeftButton) m_held = hit;  // a line swept over with the button down
  m_grid.setBoldCells(hit.rpm, hit.map);
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (hit.rpm >= 0 && hit.map >= 0)
    shape = Qt::SizeAllCursor;
  else if (hit.rpm >= 0)
    shape = Qt::SizeHorCursor;
  else if (hit.map >= 0)
    shape = Qt::SizeVerCursor;
  m_pic->setCursor(shape);
  if ((buttons & Qt::LeftButton) && hit.any()) dragBins(hit.rpm, hit.map, x, y);
}

// A dragged line is drawn once at its old place, which restores the plot under it (the bin
// lines invert what they cross), and once at the new place. MAP bins land on whole kPa,
// RPM bins on whole hundreds of rev/min.
void VePlotPanel::dragBins(int rpmIndex, int mapIndex, double x, double y) {
  vemap::VeTable& t = m_ws.veTable;
  const double top = m_ws.settings.mapMax;
  const double right = m_ws.settings.rpmMax;
  std::vector<plot::Item> lines;
  auto line = [](double x1, double y1, double x2, double y2) {
    return plot::Line{x1, y1, x2, y2, kBlack, 1, plot::PenMode::MergePenNot};
  };
  if (mapIndex >= 0) {
    std::int16_t& bin = t.mapBins[static_cast<std::size_t>(mapIndex)];
    lines.emplace_back(line(0, top - bin, right, top - bin));
    bin = clampToInt16(common::roundHalfEven(top - y));
    m_grid.mapBin(mapIndex)->setText(QString::number(bin));
    lines.emplace_back(line(0, top - bin, right, top - bin));
  }
  if (rpmIndex >= 0) {
    std::int16_t& bin = t.rpmBins[static_cast<std::size_t>(rpmIndex)];
    lines.emplace_back(line(bin, 0, bin, top));
    bin = static_cast<std::int16_t>(100 *
                                    std::clamp(common::roundHalfEven(x / 100.0), -327.0, 327.0));
    m_grid.rpmBin(rpmIndex)->setText(QString::number(bin));
    lines.emplace_back(line(bin, 0, bin, top));
  }
  m_pic->addItems(lines);
}

void VePlotPanel::eraserMove(double x, double y, Qt::MouseButtons buttons) {
  const int j = static_cast<int>(std::floor(x / 100.0));
  const int i = static_cast<int>(std::floor(m_ws.settings.mapMax - y));
  const bool hasData = engine::RawDataMap::inside(j, i) && m_ws.rawMap.at(j, i).average >= 2;
  if (!hasData) {
    m_pic->setCursor(Qt::UpArrowCursor);
    return;
  }
  static const QCursor eraser = eraserCursor();
  m_pic->setCursor(eraser);
  if (buttons & Qt::LeftButton) eraseCell(j, i);
}

// The cell's reduced values go; its list of collected values stays, so a later rebuild of
// the map from the values brings the point back.
void VePlotPanel::eraseCell(int j, int i) {
  engine::RawDataCell& cell = m_ws.rawMap.at(j, i);
  cell.average = 0;
  cell.median = 0;
  ++m_ws.rawMapRevision;  // a filtered map made before the erasure is now out of date
  m_pic->addItems({plot::dataPointBox(m_ws.settings, 100.0 * j, i, kWhite)});
}

// Until the mouse first crosses the surface the read-out waits over its middle.
bool VePlotPanel::readOutWanted() const {
  return m_miniLegend->isEnabled() && m_miniLegend->isChecked();
}

void VePlotPanel::showReadOut(bool show) {
  if (show && !m_readOutPlaced) {
    const plot::UserScale& s = m_pic->drawList().scale;
    moveReadOut(s.left + s.width / 2, s.top + s.height / 2);
  }
  m_readOut->setVisible(show);
  if (show) m_readOut->raise();
}

void VePlotPanel::moveReadOut(double x, double y) {
  const QPointF onSurface = m_pic->toWidget(x, y);
  if (!std::isfinite(onSurface.x()) || !std::isfinite(onSurface.y())) return;
  const double dpi = logicalDpiX();
  const QPoint mouse = m_pic->mapTo(m_readOutParent, onSurface.toPoint());
  m_readOutPlaced = true;
  m_readOut->move(mouse + QPoint(common::twipsToPixels(kReadOutRightTwips, dpi),
                                 -common::twipsToPixels(kReadOutUpTwips, dpi)));
  if (auto text = plot::readOutText(m_view, workspace::viewInputs(m_ws), x, y))
    m_readOut->setText(*text);
}

}  // namespace tallimar::ui
