// The plot area of the "Modify VE Map" window: the surface `PicCalc` with its axis labels,
// the colour legend (`ColorChart` swatches with the caption frames `frmKeyChromatic` and
// `frmKeyChromaticDelta`), the view choices `optVEView`, "Refresh Plot Window", "View Mini
// Legend" with its floating read-out `txtVEDisplay`, and "DataPoint Eraser". On the surface
// the user drags the table's bin lines and erases raw data points.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "common/status_log.h"
#include "plot/legend.h"
#include "plot/spline_view.h"
#include "plot/ve_views.h"
#include "workspace/workspace.h"

class QAbstractButton;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tallimar::ui {

class PlotWidget;
class VeGrid;

// The floating three-line read-out, painted from the same display list the report uses.
class ReadOutBox : public QWidget {
  Q_OBJECT
 public:
  explicit ReadOutBox(QWidget* parent);
  void setText(const std::string& text);
  const std::string& text() const { return m_text; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string m_text;
};

class VePlotPanel : public QWidget {
  Q_OBJECT
 public:
  // `grid` shows the bins being dragged; `readOutParent` (the window) holds the floating
  // read-out so that it may float beyond the plot. Everything must outlive the panel.
  VePlotPanel(workspace::Workspace& workspace, common::StatusLog& log, VeGrid& grid,
              QWidget* readOutParent, QWidget* parent = nullptr);

  plot::VeView selectedView() const { return m_view; }

  // `optVEView` click: the mini legend's state for the view, then the refresh.
  void selectView(plot::VeView view);
  // `cmdRefreshPlotWindow`: the legend frame for the view, "DataPoint Eraser" usable only on
  // "Raw Datalog", and the selected view drawn anew.
  void refresh();
  // One view drawn without changing the choice (the table loaders draw view 0 this way).
  void plotView(plot::VeView view);
  // Enables each view choice as `VEPlotViewButtons` decides.
  void setViewsEnabled(const std::array<bool, plot::kVeViewCount>& enabled);

  // While filtering: the cleared surface, the boxes of accepted curve points, and at the end
  // the bin lines over what was drawn.
  void beginFilterPreview();
  void addFilterPoints(plot::FilterStep step, int line, const std::vector<plot::CurvePoint>& curve);
  void endFilterPreview();

  PlotWidget& surface() const { return *m_pic; }
  ReadOutBox& readOut() const { return *m_readOut; }
  // The frame `fraVEView` with the view choices, "View Mini Legend", "DataPoint Eraser" and
  // "Refresh Plot Window": the window lays it out (it is not in the panel's own layout).
  QWidget* viewChoices() const { return m_choices; }

  // Mouse work on the surface, in plot units (rev/min, MAPMax - MAP), as the surface
  // reports it; public so that a caller can drive it exactly.
  // A press on a bin line picks the bin (both bins at a crossing); it follows the mouse,
  // however far a motion jumps, until the button is released.
  void mouseMovedAt(double x, double y, Qt::MouseButtons buttons);
  void mousePressedAt(double x, double y, Qt::MouseButton button = Qt::LeftButton);
  void mouseReleased();
  // The pointer left the surface: the read-out and the bold cells go, unless a bin is held.
  void mouseLeft();

 private:
  void buildSurface();
  void buildLegend();
  QWidget* buildChoices();
  void showLegend(plot::LegendKind kind);
  struct BinHit {
    int rpm = -1;
    int map = -1;
    bool any() const { return rpm >= 0 || map >= 0; }
  };
  BinHit binsAt(double x, double y) const;
  void binHandles(double x, double y, Qt::MouseButtons buttons);
  void dragBins(int rpmIndex, int mapIndex, double x, double y);
  void eraserMove(double x, double y, Qt::MouseButtons buttons);
  void eraseCell(int j, int i);
  void moveReadOut(double x, double y);
  void showReadOut(bool show);
  bool readOutWanted() const;
  bool eraserOn() const;

  workspace::Workspace& m_ws;
  common::StatusLog& m_log;
  VeGrid& m_grid;
  plot::VeView m_view = plot::VeView::LowDensityMap;
  PlotWidget* m_pic = nullptr;
  QLabel* m_lblMapMax = nullptr;
  QLabel* m_lblRPMMin = nullptr;
  QLabel* m_lblRPMMax = nullptr;
  QFrame* m_keyVe = nullptr;
  QFrame* m_keyDelta = nullptr;
  std::array<QRadioButton*, plot::kVeViewCount> m_views{};
  QPushButton* m_refresh = nullptr;
  QCheckBox* m_miniLegend = nullptr;
  QCheckBox* m_eraser = nullptr;
  ReadOutBox* m_readOut = nullptr;
  QWidget* m_readOutParent = nullptr;
  QWidget* m_choices = nullptr;
  bool m_readOutPlaced = false;
  BinHit m_held;  // the bins picked by the last press, until the release
};

}  // namespace tallimar::ui
