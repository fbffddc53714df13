// The VE grid: cell placement, colours, keyboard movement and the focus rules.
#include "ui/vemap/ve_grid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "plot/colour_scale.h"

namespace tallimar::ui {
namespace {

constexpr int kLastBin = vemap::kMaxBins - 1;
constexpr int kBinKeyStop = 7;  // the bin keys stop and wrap here whatever the table size
constexpr int kCellGap = 1;     // between neighbouring cells: the grid lines
constexpr int kBinGap = 4;      // between the bins and the VE cells

std::optional<GridKey> gridKeyOf(int key) {
  switch (key) {
    case Qt::Key_Down:
      return GridKey::Down;
    case Qt::Key_Up:
      return GridKey::Up;
    case Qt::Key_Left:
      return GridKey::Left;
    case Qt::Key_Right:
      return GridKey::Right;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return GridKey::Enter;
    default:
      return std::nullopt;
  }
}

std::optional<int> moveVeCell(int c, GridKey key) {
  constexpr int kLast = kVeCellCount - 1;
  switch (key) {
    case GridKey::Down:
      return c == 0 ? std::nullopt : std::optional(c - 1);
    case GridKey::Up:
      return c == kLast ? std::nullopt : std::optional(c + 1);
    case GridKey::Left:
      return c < vemap::kMaxBins ? std::nullopt : std::optional(c - vemap::kMaxBins);
    case GridKey::Right:
      return c > kLast - vemap::kMaxBins ? std::nullopt : std::optional(c + vemap::kMaxBins);
    case GridKey::Enter:
      if (c < kVeCellCount - vemap::kMaxBins) return c + vemap::kMaxBins;
      if (c < kLast) return c - (kVeCellCount - vemap::kMaxBins - 1);  // next row, column 0
      return std::nullopt;
  }
  return std::nullopt;
}

// Bins: `back` moves towards index 0, `forward` towards 15 but never on from 7 or 15.
std::optional<int> moveBin(int k, GridKey key, GridKey back, GridKey forward) {
  if (key == back) return k == 0 ? std::nullopt : std::optional(k - 1);
  if (key == forward)
    return k == kBinKeyStop || k == kLastBin ? std::nullopt : std::optional(k + 1);
  if (key == GridKey::Enter) {
    if (k < kBinKeyStop) return k + 1;
    if (k == kBinKeyStop) return 0;
  }
  return std::nullopt;
}

QColor toQColor(common::Rgb c) { return QColor(c.r, c.g, c.b); }

// Dark cell colours take white digits so that every number stays readable.
QPalette filledPalette(const QPalette& base, const QColor& fill, bool hideText) {
  QPalette p = base;
  p.setColor(QPalette::Base, fill);
  const int brightness = (299 * fill.red() + 587 * fill.green() + 114 * fill.blue()) / 1000;
  const QColor text = hideText ? fill : (brightness < 140 ? QColor(Qt::white) : QColor(Qt::black));
  p.setColor(QPalette::Text, text);
  return p;
}

}  // namespace

std::optional<int> movedCellIndex(GridCellKind kind, int index, GridKey key) {
  switch (kind) {
    case GridCellKind::Ve:
      return moveVeCell(index, key);
    case GridCellKind::RpmBin:
      return moveBin(index, key, GridKey::Left, GridKey::Right);
    case GridCellKind::MapBin:  // index 0 is the bottom row: Up moves down the index
      return moveBin(index, key, GridKey::Up, GridKey::Down);
  }
  return std::nullopt;
}

GridCell::GridCell(GridCellKind kind, int index, QWidget* parent)
    : QLineEdit(parent), m_kind(kind), m_index(index) {
  static constexpr const char* kNames[] = {"txtVEBins", "txtRPMBin", "txtMAPBin"};
  setObjectName(QString::fromLatin1(kNames[static_cast<int>(kind)]));
  setProperty("index", index);
  setFrame(false);
  setAlignment(Qt::AlignCenter);
}

void GridCell::selectOnFocus() {
  if (m_kind == GridCellKind::Ve) {
    selectAll();
  } else if (text() == QLatin1String("0")) {
    setSelection(0, 1);
  } else {
    deselect();
  }
}

void GridCell::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  m_focusedByMouse = event->reason() == Qt::MouseFocusReason;
  selectOnFocus();
}

// Leaving a cell for a menu counts (a menu command then sees what was typed); losing focus
// because another window became active does not, as the cell is still the window's current
// one, and a message box must not trigger a second read while it is up.
void GridCell::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason) emit left(this);
}

void GridCell::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (!event->isAutoRepeat()) emit keyReleased(this, event->key());
}

// The press that gives a cell focus would place the caret and drop the selection just
// made; the selection rule applies after it.
void GridCell::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (m_focusedByMouse) {
    m_focusedByMouse = false;
    selectOnFocus();
  }
}

void GridCell::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

VeGrid::VeGrid(bool editable, QWidget* parent) : QWidget(parent), m_editable(editable) {
  setObjectName(QStringLiteral("VEGrid"));
  // A point smaller than the window's text keeps all sixteen columns within a laptop screen.
  QFont numbers = font();
  numbers.setPointSizeF(std::max(8.0, numbers.pointSizeF() - 1.0));
  setFont(numbers);
  m_windowPalette = QApplication::palette();
  m_blackPalette = filledPalette(m_windowPalette, Qt::black, true);
  for (const common::Rgb& band : plot::kBandColours)
    m_bandPalettes.push_back(filledPalette(m_windowPalette, toQColor(band), false));

  // Grid lines show through the gaps between the cells.
  setAutoFillBackground(true);
  QPalette lines = palette();
  lines.setColor(QPalette::Window, QColor(168, 172, 178));
  setPalette(lines);

  auto make = [this](GridCellKind kind, int index) {
    auto* cell = new GridCell(kind, index, this);
    cell->setPalette(m_windowPalette);
    if (m_editable) {
      connect(cell, &GridCell::left, this,
              [this](GridCell* c) { emit cellLeft(c->kind(), c->index()); });
      connect(cell, &GridCell::keyReleased, this, &VeGrid::moveFrom);
    } else {
      cell->setReadOnly(true);
      cell->setFocusPolicy(Qt::NoFocus);
    }
    return cell;
  };
  // Creation order is the Tab order: the RPM bins, the MAP bins, then the VE cells.
  for (int k = 0; k < vemap::kMaxBins; ++k)
    m_rpm[static_cast<std::size_t>(k)] = make(GridCellKind::RpmBin, k);
  for (int k = 0; k < vemap::kMaxBins; ++k)
    m_map[static_cast<std::size_t>(k)] = make(GridCellKind::MapBin, k);
  for (int c = 0; c < kVeCellCount; ++c)
    m_ve[static_cast<std::size_t>(c)] = make(GridCellKind::Ve, c);
  m_veFill.fill(kWindowFill);
  m_rpmFill.fill(kWindowFill);
  m_mapFill.fill(kWindowFill);
  layoutCells();
  setInitialTexts();
}

GridCell* VeGrid::cell(GridCellKind kind, int index) const {
  switch (kind) {
    case GridCellKind::Ve:
      return veCell(index);
    case GridCellKind::RpmBin:
      return rpmBin(index);
    case GridCellKind::MapBin:
      return mapBin(index);
  }
  return nullptr;
}

void VeGrid::layoutCells() {
  const QFontMetrics metrics(font());
  m_cellWidth = std::max(38, metrics.horizontalAdvance(QStringLiteral("00000")) + 8);
  m_cellHeight = std::max(19, metrics.height() + 6);
  const int left = m_cellWidth + kBinGap;
  const int top = m_cellHeight + kBinGap;
  auto columnX = [&](int r) { return left + r * (m_cellWidth + kCellGap); };
  auto rowY = [&](int m) { return top + (kLastBin - m) * (m_cellHeight + kCellGap); };
  for (int k = 0; k < vemap::kMaxBins; ++k) {
    rpmBin(k)->setGeometry(columnX(k), 0, m_cellWidth, m_cellHeight);
    mapBin(k)->setGeometry(0, rowY(k), m_cellWidth, m_cellHeight);
  }
  for (int r = 0; r < vemap::kMaxBins; ++r)
    for (int m = 0; m < vemap::kMaxBins; ++m)
      veCell(r * vemap::kMaxBins + m)->setGeometry(columnX(r), rowY(m), m_cellWidth, m_cellHeight);
  setFixedSize(columnX(vemap::kMaxBins) - kCellGap, rowY(-1) - kCellGap);
}

QRect VeGrid::mapRowRect(int mapIndex) const {
  const QRect first = veCell(mapIndex)->geometry();
  return {first.topLeft(), veCell(kLastBin * vemap::kMaxBins + mapIndex)->geometry().bottomRight()};
}

QRect VeGrid::veArea() const {
  return {veCell(kLastBin)->geometry().topLeft(),
          veCell(kVeCellCount - vemap::kMaxBins)->geometry().bottomRight()};
}

const QPalette& VeGrid::paletteFor(int fill) const {
  if (fill == kWindowFill) return m_windowPalette;
  if (fill == kBlackFill) return m_blackPalette;
  return m_bandPalettes[static_cast<std::size_t>(fill)];
}

void VeGrid::setFill(GridCell* cell, int fill) {
  int* current = nullptr;
  const auto i = static_cast<std::size_t>(cell->index());
  switch (cell->kind()) {
    case GridCellKind::Ve:
      current = &m_veFill[i];
      break;
    case GridCellKind::RpmBin:
      current = &m_rpmFill[i];
      break;
    case GridCellKind::MapBin:
      current = &m_mapFill[i];
      break;
  }
  if (*current == fill) return;
  *current = fill;
  cell->setPalette(paletteFor(fill));
}

QColor VeGrid::cellBackground(GridCellKind kind, int index) const {
  return cell(kind, index)->palette().color(QPalette::Base);
}

void VeGrid::setInitialTexts() {
  setUpdatesEnabled(false);
  for (int k = 0; k < vemap::kMaxBins; ++k) {
    rpmBin(k)->setText(QString::number(500 * (k + 1)));
    mapBin(k)->setText(QString::number(10 * (k + 1)));
    setFill(rpmBin(k), kWindowFill);
    setFill(mapBin(k), kWindowFill);
  }
  for (GridCell* c : m_ve) {
    c->setText(QStringLiteral("1"));
    setFill(c, kWindowFill);
  }
  setUpdatesEnabled(true);
}

void VeGrid::display(const vemap::VeTable& table, bool colours) {
  const int sizeRpm = table.activeRpm();
  const int sizeMap = table.activeMap();
  auto setText = [](GridCell* c, int value) {
    const QString text = QString::number(value);
    if (c->text() != text) c->setText(text);
  };
  setUpdatesEnabled(false);
  for (int k = 0; k < vemap::kMaxBins; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (k < sizeMap) setText(mapBin(k), table.mapBins[i]);
    if (k < sizeRpm) setText(rpmBin(k), table.rpmBins[i]);
    setFill(mapBin(k), k < sizeMap ? kWindowFill : kBlackFill);
    setFill(rpmBin(k), k < sizeRpm ? kWindowFill : kBlackFill);
  }
  for (int r = 0; r < vemap::kMaxBins; ++r) {
    for (int m = 0; m < vemap::kMaxBins; ++m) {
      GridCell* c = veCell(r * vemap::kMaxBins + m);
      if (r >= sizeRpm || m >= sizeMap) {
        setFill(c, kBlackFill);
        continue;
      }
      const int ve = table.at(r, m);
      setText(c, ve);
      setFill(c, colours ? plot::veBand(ve) : kWindowFill);
    }
  }
  setUpdatesEnabled(true);
}

void VeGrid::colourVeCell(int cellNumber, double ve, bool colours) {
  setFill(veCell(cellNumber), colours ? plot::veBand(ve) : kWindowFill);
}

vemap::GridTexts VeGrid::texts() const {
  vemap::GridTexts texts;
  for (std::size_t k = 0; k < m_rpm.size(); ++k) {
    texts.rpmBins[k] = m_rpm[k]->text().toStdString();
    texts.mapBins[k] = m_map[k]->text().toStdString();
  }
  for (std::size_t c = 0; c < m_ve.size(); ++c) texts.ve[c] = m_ve[c]->text().toStdString();
  return texts;
}

void VeGrid::setBoldCells(int rpmIndex, int mapIndex) {
  if (rpmIndex == m_boldRpm && mapIndex == m_boldMap) return;
  auto setBold = [](GridCell* c, bool bold) {
    QFont f = c->font();
    if (f.bold() == bold) return;
    f.setBold(bold);
    c->setFont(f);
  };
  auto veOf = [](int r, int m) { return r >= 0 && m >= 0 ? r * vemap::kMaxBins + m : -1; };
  const int oldVe = veOf(m_boldRpm, m_boldMap);
  const int newVe = veOf(rpmIndex, mapIndex);
  if (m_boldRpm >= 0 && m_boldRpm != rpmIndex) setBold(rpmBin(m_boldRpm), false);
  if (m_boldMap >= 0 && m_boldMap != mapIndex) setBold(mapBin(m_boldMap), false);
  if (oldVe >= 0 && oldVe != newVe) setBold(veCell(oldVe), false);
  if (rpmIndex >= 0) setBold(rpmBin(rpmIndex), true);
  if (mapIndex >= 0) setBold(mapBin(mapIndex), true);
  if (newVe >= 0) setBold(veCell(newVe), true);
  m_boldRpm = rpmIndex;
  m_boldMap = mapIndex;
}

bool VeGrid::isBold(GridCellKind kind, int index) const { return cell(kind, index)->font().bold(); }

void VeGrid::moveFrom(GridCell* from, int key) {
  const std::optional<GridKey> gridKey = gridKeyOf(key);
  if (!gridKey) return;
  if (const auto to = movedCellIndex(from->kind(), from->index(), *gridKey))
    cell(from->kind(), *to)->setFocus(Qt::OtherFocusReason);
}

}  // namespace tallimar::ui
