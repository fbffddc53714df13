// The VE table's grid of text cells: 256 VE cells `txtVEBins` (cell = RPM index x 16 + MAP
// index; columns left to right with the RPM index, rows bottom to top with the MAP index),
// the RPM bin row `txtRPMBin` above them and the MAP bin column `txtMAPBin` left of them.
// Each cell carries its objectName and its index in the property "index", as the language
// files and the tests address it.
//
// The cells are plain line edits on fixed positions; showing a table sets texts and palettes
// in one pass with updates held back, so the grid repaints once.
#pragma once

#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "vemap/table_editing.h"
#include "vemap/ve_table.h"

namespace tallimar::ui {

enum class GridCellKind { Ve, RpmBin, MapBin };

inline constexpr int kVeCellCount = vemap::kMaxBins * vemap::kMaxBins;

// The keys that move between cells.
enum class GridKey { Down, Up, Left, Right, Enter };

// The cell a key released in cell (kind, index) moves to, or nullopt when it stays. VE cells
// move by the grid's numbering (Down to c - 1 wraps to the top of the column to the left);
// the bin keys stop and wrap at index 7 whatever the table size.
std::optional<int> movedCellIndex(GridCellKind kind, int index, GridKey key);

// One cell. It reports leaving it (focus moving elsewhere in the program, not to another
// program's window) and releasing a key, and applies the selection rule on gaining focus:
// a VE cell selects its whole text, a bin cell selects its text only when it is exactly "0".
class GridCell : public QLineEdit {
  Q_OBJECT
 public:
  GridCell(GridCellKind kind, int index, QWidget* parent);
  GridCellKind kind() const { return m_kind; }
  int index() const { return m_index; }

 signals:
  void left(GridCell* cell);
  void keyReleased(GridCell* cell, int key);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void selectOnFocus();

  GridCellKind m_kind;
  int m_index;
  bool m_focusedByMouse = false;
};

class VeGrid : public QWidget {
  Q_OBJECT
 public:
  // An editable grid moves between cells by keyboard and reports leaving cells; a display
  // grid (the AFR dialog's) has read-only cells that take no focus.
  explicit VeGrid(bool editable, QWidget* parent = nullptr);

  GridCell* veCell(int cell) const { return m_ve[static_cast<std::size_t>(cell)]; }
  GridCell* rpmBin(int k) const { return m_rpm[static_cast<std::size_t>(k)]; }
  GridCell* mapBin(int k) const { return m_map[static_cast<std::size_t>(k)]; }
  GridCell* cell(GridCellKind kind, int index) const;

  // The texts as the window is laid out: RPM bin k 500 (k + 1), MAP bin k 10 (k + 1), every
  // VE cell "1", all on the window colour.
  void setInitialTexts();

  // `Display8x8Map`: active bins show their values on the window colour, inactive cells and
  // bins turn black (their texts stay), active VE cells show their values on their VE
  // colour (colours on) or the window colour.
  void display(const vemap::VeTable& table, bool colours);

  // One active VE cell's background: the VE colour of `ve`, or the window colour.
  void colourVeCell(int cell, double ve, bool colours);

  // Every cell's text, for `Read8x8Map`.
  vemap::GridTexts texts() const;

  // Bold type on the bins and the VE cell under the mouse; -1 for none. Only the cells that
  // change are touched.
  void setBoldCells(int rpmIndex, int mapIndex);
  bool isBold(GridCellKind kind, int index) const;

  // Geometry of MAP row m (its VE cells), in the grid's coordinates.
  QRect mapRowRect(int mapIndex) const;
  QRect veArea() const;  // the 16 x 16 VE cells
  int cellHeight() const { return m_cellHeight; }

  // The background a cell shows (for tests and callers that mirror it).
  QColor cellBackground(GridCellKind kind, int index) const;

 signals:
  void cellLeft(GridCellKind kind, int index);

 private:
  enum Fill : int { kWindowFill = -1, kBlackFill = -2 };  // otherwise a VE band 0..10
  void setFill(GridCell* cell, int fill);
  void moveFrom(GridCell* from, int key);
  void layoutCells();
  const QPalette& paletteFor(int fill) const;

  bool m_editable;
  std::array<GridCell*, kVeCellCount> m_ve{};
  std::array<GridCell*, vemap::kMaxBins> m_rpm{};
  std::array<GridCell*, vemap::kMaxBins> m_map{};
  std::array<int, kVeCellCount> m_veFill{};
  std::array<int, vemap::kMaxBins> m_rpmFill{};
  std::array<int, vemap::kMaxBins> m_mapFill{};
  std::vector<QPalette> m_bandPalettes;  // bands 0..10
  QPalette m_windowPalette;
  QPalette m_blackPalette;
  int m_boldRpm = -1;
  int m_boldMap = -1;
  int m_cellWidth = 40;
  int m_cellHeight = 20;
};

}  // namespace tallimar::ui
