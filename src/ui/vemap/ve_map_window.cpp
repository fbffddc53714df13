// frmCalculateMap: layout, menus, loading and closing, the grid editing rules and the
// commands that work on the table.
#include "ui/vemap/ve_map_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ve_map_commands.h"
#include "commands/ve_map_file_commands.h"
#include "settings/serial_device.h"
#include "settings/settings_io.h"
#include "ui/common/ecu_reply_timers.h"
#include "ui/common/language_applier.h"
#include "ui/common/qt_serial_link.h"
#include "ui/common/string_list_model.h"
#include "ui/common/window_geometry.h"
#include "ui/plot/plot_widget.h"
#include "ui/plot/report_printer.h"
#include "ui/vemap/filter_run.h"
#include "ui/vemap/ve_plot_panel.h"
#include "vemap/plot_redraw.h"
#include "vemap/table_editing.h"

namespace tallimar::ui {
namespace {

constexpr const char* kOutOfRangeLine = "Values outside -32768 to 32767 were not stored";

}  // namespace

VeMapWindow::VeMapWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                         common::Prompts& prompts, QString programFolder, VeMapWindowHooks hooks,
                         QWidget* parent)
    : QMainWindow(parent),
      m_ws(workspace),
      m_store(store),
      m_prompts(prompts),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(programFolder)),
      m_hooks(std::move(hooks)) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QStringLiteral("Modify VE Map"));
  buildMenus();
  buildClientArea();
  m_link = new QtSerialLink(this);
  m_ecuTimers = new EcuReplyTimers([this](commands::EcuTimer t) { m_ecu->timerFired(t); }, this);
  // Exit in the main window ends the program without closing this window first.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { saveWindowGeometry(*this, m_store); });
  m_ecu = std::make_unique<commands::EcuCommands>(
      m_ws, *m_link, m_prompts, *m_statusLog,
      commands::EcuCommandHooks{[this](commands::EcuTimer t) { m_ecuTimers->start(t); },
                                [this](commands::CommandResult r) { ecuFinished(r); }});
}

// The dialogs are this window's children; they go first, while the window is still whole.
VeMapWindow::~VeMapWindow() {
  // Cells that lose the focus while the window is taken apart are not read back.
  m_grid->blockSignals(true);
  m_filter.reset();
  m_ecuTimers->stopAll();
  m_ecu.reset();  // an unanswered ECU command is dropped and its port closed
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isWindow()) delete child;
}

QAction* VeMapWindow::addEntry(QMenu* menu, const char* name, const char* caption, int index) {
  auto* action = new QAction(QString::fromUtf8(caption), menu);
  action->setObjectName(QString::fromLatin1(name));
  if (index >= 0) action->setProperty("index", index);
  menu->addAction(action);
  return action;
}

void VeMapWindow::buildMenus() {
  auto menu = [this](const char* name, const char* caption) {
    auto* created = new QMenu(QString::fromUtf8(caption), menuBar());
    created->setObjectName(QString::fromLatin1(name));
    menuBar()->addMenu(created);
    return created;
  };
  auto on = [this](QAction* action, auto slot) {
    connect(action, &QAction::triggered, this, slot);
  };

  QMenu* file = menu("mnuFileMenu", "File");
  on(addEntry(file, "mnuImport", "Open LD Map"), [this] { openLdMap(); });
  on(addEntry(file, "mnuExportMap", "Save LD Map"), [this] { saveLdMap(); });
  file->addSeparator();
  addEntry(file, "mnuExportRaw", "Export Raw Map");
  addEntry(file, "mnuExportFilteredMap", "Export Filtered Map");
  file->addSeparator();
  m_mnuPreview = addEntry(file, "mnuPrintPreview", "Preview Mode");
  m_mnuPreview->setCheckable(true);
  connect(m_mnuPreview, &QAction::triggered, this, [this](bool checked) {
    settings::savePrintPreview(m_store, checked);
    if (m_hooks.printPreviewChanged) m_hooks.printPreviewChanged();
  });
  on(addEntry(file, "mnuPrintCurrentPlot", "Print Current Plot"), [this] { printCurrentPlot(); });
  file->addSeparator();
  on(addEntry(file, "mnuClose", "Close"), [this] { close(); });

  QMenu* edit = menu("mnuEditMenu", "Edit");
  m_mnuFilter = addEntry(edit, "mnuFilterRawDatalog", "Filter Raw DataLog");
  on(m_mnuFilter, [this] { m_cmdFilter->click(); });
  m_mnuBestFit = addEntry(edit, "mnuBestFitBins", "Best Fit RPM/MAP Bins");
  m_mnuBestFit->setEnabled(false);
  on(m_mnuBestFit, [this] { openBestFitBins(); });
  m_mnuCalculate = addEntry(edit, "mnuCalcuateMap", "Calculate Map");
  on(m_mnuCalculate, [this] { m_cmdCalculate->click(); });
  edit->addSeparator();
  on(addEntry(edit, "mnuSettings", "Settings"), [this] { settingsCommand(); });
  on(addEntry(edit, "mnuUserInfo", "User Information"), [this] { openUserInfo(); });

  QMenu* tools = menu("mnuToolsMenu", "VE Map Tools");
  on(addEntry(tools, "mnuCreateWBMap", "Create WB Target AFR Map"), [this] { openTargetAfr(); });
  on(addEntry(tools, "mnuScaleMap", "Scale LD Map"), [this] { openScaleVe(); });
  on(addEntry(tools, "mnuSetMapZero", "Clear LD Map"), [this] { Clear8x8Map(); });
  tools->addSeparator();
  on(addEntry(tools, "mnuCalculatePW", "Calculate PW"), [this] { openFuelRequirement(); });
  on(addEntry(tools, "mnuFuelPressure", "Fuel Pressure Calc"), [this] { openFuelPressure(); });

  QMenu* maps = menu("mnuMapMenu", "VE Map");
  for (int k = 0; k < 4; ++k)
    addEntry(maps, "mnuMapNumber", QStringLiteral("Map %1").arg(k).toLatin1().constData(), k);

  QMenu* cpu = menu("mnuCPUMenu", "MS CPU");
  on(addEntry(cpu, "mnuReadVEMap", "Read VE Map"),
     [this] { ecuCommand(&commands::EcuCommands::readVeMap); });
  on(addEntry(cpu, "mnuWriteVEMap", "Send VE Map"),
     [this] { ecuCommand(&commands::EcuCommands::sendVeMap); });
  on(addEntry(cpu, "mnuBurnVEtoFlash", "Burn RAM to Flash"),
     [this] { ecuCommand(&commands::EcuCommands::burnVeToFlash); });
}

QPushButton* VeMapWindow::addButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption));
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

// The grid keeps its cell size on the left, with the view choices and the commands under
// it; the plot panel on the right takes whatever width and height the window gives.
void VeMapWindow::buildClientArea() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("frmCalculateMapClient"));
  setCentralWidget(client);
  auto* rows = new QVBoxLayout(client);
  rows->setContentsMargins(10, 8, 10, 8);
  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  rows->addLayout(top, 3);

  m_statusModel = new StringListModel(this);
  m_lstStatus = new QListView(client);
  m_lstStatus->setObjectName(QStringLiteral("lstStatus"));
  m_lstStatus->setModel(m_statusModel);
  m_lstStatus->setUniformItemSizes(true);
  m_lstStatus->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_lstStatus->setMinimumHeight(m_lstStatus->fontMetrics().height() * 5 + 8);
  m_lstStatus->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  m_statusLog = std::make_unique<ListStatusLog>(*m_lstStatus, *m_statusModel);

  auto* left = new QVBoxLayout;
  m_grid = new VeGrid(true, client);
  connect(m_grid, &VeGrid::cellLeft, this, &VeMapWindow::cellLeft);
  left->addWidget(m_grid);
  m_veColors = new QCheckBox(QStringLiteral("View Colors"), client);
  m_veColors->setObjectName(QStringLiteral("chkVEColors"));
  m_veColors->setChecked(true);
  connect(m_veColors, &QCheckBox::clicked, this, [this](bool ticked) {
    settings::saveVEMapColors(m_store, ticked);
    Display8x8Map();
  });
  left->addWidget(m_veColors);

  // The filtering preview covers the VE cells while the lines are fitted.
  m_splineView = new PlotWidget(m_grid);
  m_splineView->setObjectName(QStringLiteral("SplineView"));
  m_splineView->setGeometry(m_grid->veArea());
  m_splineView->hide();

  m_panel = new VePlotPanel(m_ws, *m_statusLog, *m_grid, this, client);
  left->addWidget(m_panel->viewChoices());
  auto* commands = new QHBoxLayout;
  m_cmdFilter = addButton("cmdFilterRawDatalog", "Filter Raw Datalog");
  m_cmdCalculate = addButton("cmdCalculateMap", "Calculate Map");
  m_cmdFitBins = addButton("cmdFitRPMbins", "Best-Fit RPM/MAP Bins");
  m_cmdFitBins->setEnabled(false);
  connect(m_cmdFilter, &QPushButton::clicked, this, &VeMapWindow::filterRawDatalog);
  connect(m_cmdCalculate, &QPushButton::clicked, this, &VeMapWindow::calculateMap);
  connect(m_cmdFitBins, &QPushButton::clicked, this, &VeMapWindow::openBestFitBins);
  for (QPushButton* b : {m_cmdFilter, m_cmdCalculate, m_cmdFitBins}) commands->addWidget(b);
  left->addLayout(commands);
  left->addStretch();
  top->addLayout(left);
  top->addWidget(m_panel, 1);

  auto* status = new QLabel(QStringLiteral("Status:"), client);
  status->setObjectName(QStringLiteral("lblStatus"));
  rows->addWidget(status);
  rows->addWidget(m_lstStatus, 1);
}

void VeMapWindow::load() {
  common::StatusLog& languageLog = m_hooks.mainStatusLog ? *m_hooks.mainStatusLog : *m_statusLog;
  applyLanguage(*this, kWindowName, m_ws.languageTable, m_programFolder,
                settings::readLanguage(m_store), languageLog);
  m_statusModel->clear();
  VEPlotViewButtons();
  m_veColors->setChecked(settings::readVEMapColors(m_store));
  m_mnuPreview->setChecked(settings::readPrintPreview(m_store));
  m_ecuTimers->setDataRate(m_ws.settings.dataRate);
  // The grid shows the table from the start, so that an edit never reads laid-out
  // placeholder texts over the table's values.
  Display8x8Map();
  if (m_ws.rawDataMapPresent) m_panel->selectView(plot::VeView::RawDatalog);
}

// `PrintPlot` with the selected view. A cancelled print dialog or a printer failure ends the
// command without a word.
void VeMapWindow::printCurrentPlot() {
  commands::ReportOutput* output = m_hooks.reportOutput;
  if (!output) {
    if (!m_ownReportOutput) m_ownReportOutput = std::make_unique<QtReportOutput>(nullptr);
    output = m_ownReportOutput.get();
  }
  (void)commands::PrintPlot(m_ws, m_panel->selectedView(), m_store, m_prompts, *output);
}

const std::vector<std::string>& VeMapWindow::statusLines() const { return m_statusModel->lines(); }

bool VeMapWindow::filtering() const { return m_filter != nullptr; }

void VeMapWindow::Display8x8Map() { m_grid->display(m_ws.veTable, m_veColors->isChecked()); }

void VeMapWindow::VEPlotViewButtons() {
  const vemap::PlotViewButtons b = vemap::vePlotViewButtons(m_ws.veTable, m_ws.rawDataMapPresent);
  m_panel->setViewsEnabled(b.views);
  m_cmdCalculate->setEnabled(b.calculateMap);
  m_mnuCalculate->setEnabled(b.calculateMap);
  const bool filter = b.filterRawDatalog && !filtering();
  m_cmdFilter->setEnabled(filter);
  m_mnuFilter->setEnabled(filter);
}

// `Read8x8Map`. A cell whose number does not fit the table's 16 bits keeps the table's
// value, shows it again, and the status list says so.
void VeMapWindow::Read8x8Map() {
  const vemap::GridReadResult result = vemap::read8x8Map(m_ws.veTable, m_grid->texts());
  if (result.allRead()) return;
  const vemap::VeTable& t = m_ws.veTable;
  for (int c : result.refusedVeCells) {
    const int ve = t.at(c / vemap::kMaxBins, c % vemap::kMaxBins);
    m_grid->veCell(c)->setText(QString::number(ve));
    m_grid->colourVeCell(c, ve, m_veColors->isChecked());
  }
  for (int k : result.refusedRpmBins)
    m_grid->rpmBin(k)->setText(QString::number(t.rpmBins[static_cast<std::size_t>(k)]));
  for (int k : result.refusedMapBins)
    m_grid->mapBin(k)->setText(QString::number(t.mapBins[static_cast<std::size_t>(k)]));
  m_statusLog->append(kOutOfRangeLine);
}

void VeMapWindow::cellLeft(GridCellKind kind, int index) {
  Read8x8Map();
  if (kind != GridCellKind::Ve) return;
  GridCell* cell = m_grid->veCell(index);
  const std::string text = cell->text().toStdString();
  if (vemap::cellTextValue(text)) {
    cell->setText(QString::fromStdString(vemap::cellTextShown(text)));
    const int r = index / vemap::kMaxBins;
    const int m = index % vemap::kMaxBins;
    // Cells outside the table's size stay black: their values are not part of the table.
    if (r < m_ws.veTable.activeRpm() && m < m_ws.veTable.activeMap())
      m_grid->colourVeCell(index, vemap::cellTextNumber(text), m_veColors->isChecked());
  }
  m_ws.veTable.lowDensityMapPresent = true;
  VEPlotViewButtons();
}

// A cell being edited when the window closes keeps what was typed.
void VeMapWindow::commitFocusedCell() {
  auto* cell = qobject_cast<GridCell*>(focusWidget());
  if (cell && cell->isModified() && m_grid->isAncestorOf(cell)) {
    cell->setModified(false);
    cellLeft(cell->kind(), cell->index());
  }
}

void VeMapWindow::Clear8x8Map() {
  (void)commands::clearLdMapCommand(m_ws);
  Display8x8Map();
  VEPlotViewButtons();
  redraw(vemap::redrawAfterTableChange(m_ws.rawDataMapPresent));
}

void VeMapWindow::redraw(vemap::PlotRedraw what) {
  switch (what) {
    case vemap::PlotRedraw::None:
      break;
    case vemap::PlotRedraw::RefreshPlotWindow:
      m_panel->refresh();
      break;
    case vemap::PlotRedraw::LowDensityMap:
      m_panel->plotView(plot::VeView::LowDensityMap);
      break;
    case vemap::PlotRedraw::FilteredDatalog:
      m_panel->selectView(plot::VeView::FilteredDatalog);
      break;
  }
}

void VeMapWindow::filterRawDatalog() {
  if (m_filter) return;
  m_filter = std::make_unique<FilterRun>(m_ws);
  connect(m_filter.get(), &FilterRun::linesReady, this, &VeMapWindow::showFilterLines);
  connect(m_filter.get(), &FilterRun::finished, this, &VeMapWindow::finishFiltering);
  VEPlotViewButtons();
  m_panel->beginFilterPreview();
  m_splineView->setDrawList(
      plot::splineView(plot::FilterStep::AlongMap, {}, {}, m_ws.veTable, m_ws.settings));
  m_splineView->setGeometry(m_grid->veArea());
  m_splineView->show();
  m_splineView->raise();
  m_filter->start();
}

void VeMapWindow::showFilterLines() {
  if (m_filter) showFilterProgress(m_filter->takeLines());
}

void VeMapWindow::showFilterProgress(const std::vector<FilterRun::Line>& lines) {
  const FilterRun::Line* lastFitted = nullptr;
  for (const FilterRun::Line& line : lines) {
    if (!line.fitted) continue;
    m_panel->addFilterPoints(line.step, line.line, line.curve);
    lastFitted = &line;
  }
  if (lastFitted)
    m_splineView->setDrawList(plot::splineView(lastFitted->step, lastFitted->controlPoints,
                                               lastFitted->curve, m_ws.veTable, m_ws.settings));
  if (!lines.empty()) emit filterPreviewUpdated();
}

void VeMapWindow::finishFiltering() {
  showFilterLines();
  FilterRun* run = m_filter.release();
  run->deleteLater();  // it is the sender of the signal that got us here
  m_splineView->hide();
  m_panel->endFilterPreview();
  const bool completed = run->commit(m_ws, *m_statusLog);
  VEPlotViewButtons();
  if (completed) {
    m_panel->selectView(plot::VeView::FilteredDatalog);
    m_cmdFitBins->setEnabled(true);
    m_mnuBestFit->setEnabled(true);
  }
  emit filteringFinished();
}

void VeMapWindow::calculateMap() {
  (void)commands::calculateMapCommand(m_ws, *m_statusLog);
  Display8x8Map();
  VEPlotViewButtons();
}

void VeMapWindow::openLdMap() {
  const commands::CommandResult result =
      commands::openLdMapCommand(m_ws, m_prompts, *m_statusLog, m_programFolder.toStdString());
  if (!result.ok()) return;
  Display8x8Map();
  VEPlotViewButtons();
  redraw(vemap::redrawAfterTableChange(m_ws.rawDataMapPresent));
}

void VeMapWindow::saveLdMap() {
  (void)commands::saveLdMapCommand(m_ws, m_prompts, *m_statusLog, m_programFolder.toStdString());
}

void VeMapWindow::settingsCommand() {
  if (m_hooks.settings) m_hooks.settings(*this);
}

bool VeMapWindow::ecuBusy() const { return m_ecu->busy(); }

// The table the ECU gets is the one in the grid, including a cell still being typed in.
void VeMapWindow::ecuCommand(
    commands::CommandResult (commands::EcuCommands::*start)(const std::string&)) {
  commitFocusedCell();
  const std::string device = settings::serialDevicePath(m_store, m_ws.settings.comPort);
  (void)((*m_ecu).*start)(device);  // what went wrong is already in a message box
}

void VeMapWindow::ecuFinished(commands::CommandResult result) {
  if (!result.changed) return;
  Display8x8Map();
  VEPlotViewButtons();
  if (!m_ws.rawDataMapPresent) redraw(vemap::PlotRedraw::LowDensityMap);
}

void VeMapWindow::tableRewritten() {
  Display8x8Map();
  m_panel->refresh();
}

void VeMapWindow::closeEvent(QCloseEvent* event) {
  saveWindowGeometry(*this, m_store);
  commitFocusedCell();
  m_filter.reset();  // an unfinished filtering is dropped; the filtered map stays as it was
  event->accept();
  if (m_hooks.closed) m_hooks.closed();
}

VeMapWindow* createVeMapWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                               common::Prompts& prompts, const QString& programFolder,
                               VeMapWindowHooks hooks, QWidget* parent) {
  auto* window =
      new VeMapWindow(workspace, store, prompts, programFolder, std::move(hooks), parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->load();
  window->resize(defaultWindowSize(*window, kVeMapWindowDefaultSize));
  return window;
}

}  // namespace tallimar::ui
