// frmMSMain: layout in twips, menus, MenuButtons, the start-up steps that touch the window,
// the language menu, the "Print Preview" entry and the list enlargement.
#include "ui/app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "common/twips.h"
#include "language/language_table.h"
#include "plot/colour_scale.h"
#include "plot/raw_map_plot.h"
#include "settings/settings_io.h"
#include "ui/common/language_applier.h"
#include "ui/common/string_list_model.h"
#include "ui/common/window_geometry.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

// Plot surface and legend, in twips of the client area.
constexpr double kPicLeft = 480, kPicTop = 300, kPicWidth = 4500, kPicHeight = 2500;
constexpr double kLabelHeight = 225;
constexpr double kLegendLeft = 5100, kLegendRowTwips = kPicHeight / 11;
constexpr double kSwatchWidth = 240, kCaptionLeft = kLegendLeft + 300;

// The two lists: laid out, and enlarged over the lower part of the window by a double-click.
constexpr double kListLeft = 60;
constexpr double kList1Top = 3480, kList1Height = 690;
constexpr double kStatusTop = 4440, kStatusHeight = 645;
constexpr double kEnlargedTop = 60;

// Rows of the client area's layout.
constexpr int kRowTitle = 0, kRowPlot = 1, kRowRpm = 2, kRowList1 = 4, kRowStatus = 6;

// The developer self-test sits right of the window's client area, where nobody reaches it.
constexpr double kSelfTestLeft = 7400;

// The thirteen entries MenuButtons switches, in its order.
constexpr const char* kMenuButtonEntries[] = {"mnuAbout",         "mnuCalculateNewMap",
                                              "mnuclearHDMap",    "mnuCPUAcquire",
                                              "mnuExit",          "mnuHelp",
                                              "mnuOpenDatalog",   "mnuOpenHighDensityMap",
                                              "mnuPrintHDMap",    "mnuPrintPreview",
                                              "mnuSaveCrossover", "mnuSaveHighDensityMap",
                                              "mnuSettings"};

// Entries that read or change the raw data map, the crossover points or the settings while a
// long command works on them: disabled until it ends.
constexpr const char* kBusyEntries[] = {
    "mnuOpenDatalog",     "mnuOpenHighDensityMap", "mnuSaveHighDensityMap",
    "mnuSaveCrossover",   "mnuPrintHDMap",         "mnuclearHDMap",
    "mnuCalculateNewMap", "mnuCPUAcquire",         "mnuSettings"};

}  // namespace

MainWindow::MainWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                       common::Prompts& prompts, QString programFolder, QWidget* parent)
    : QMainWindow(parent),
      m_workspace(workspace),
      m_store(store),
      m_prompts(prompts),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(programFolder)) {
  setObjectName(kWindowName);
  buildMenus();
  buildClientArea();
  buildSelfTest();
  m_statusLog = std::make_unique<ListStatusLog>(*m_lstStatus, *m_statusModel);
  m_crossoverSink = std::make_unique<ListCrossoverList>(*m_list1, *m_crossoverModel);
  m_background = std::make_unique<BackgroundCommand>(BackgroundCommand::Views{
      m_prompts, *m_statusModel, *m_lstStatus, *m_crossoverModel, *m_list1});
  connect(m_background.get(), &BackgroundCommand::progressChanged, m_progress,
          &QProgressBar::setValue);
  // While the command asks something the bar steps aside: beside a message box or file
  // dialog it would only be an empty box in the menu bar.
  connect(m_background.get(), &BackgroundCommand::asking, m_progress,
          [this](bool open) { m_progress->setVisible(busy() && !open); });
  connectCommands();
  // "Exit" and the close box both end the program here.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { saveWindowGeometry(*this, m_store); });
}

MainWindow::~MainWindow() = default;

int MainWindow::px(double twips) const { return common::twipsToPixels(twips, logicalDpiY()); }

void MainWindow::place(QWidget* widget, double left, double top, double width,
                       double height) const {
  widget->setGeometry(px(left), px(top), px(width), px(height));
}

QLabel* MainWindow::addLabel(const QString& name, int index, const QString& caption,
                             Qt::Alignment alignment) {
  auto* label = new QLabel(caption, m_client);
  label->setObjectName(name);
  if (index >= 0) label->setProperty("index", index);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setFixedHeight(px(kLabelHeight));
  return label;
}

// The laid-out window, in layouts: at the laid-out size every control is where the twips
// put it; a larger window gives the plot (which draws its map at the new size) and the two
// lists the room, the axis labels and the legend stay beside the plot.
void MainWindow::buildClientArea() {
  m_client = new QWidget(this);
  m_client->setObjectName("frmMSMainClient");
  QFont font = m_client->font();
  font.setPointSizeF(8.0);
  m_client->setFont(font);
  setCentralWidget(m_client);
  m_layout = new QGridLayout(m_client);
  m_layout->setContentsMargins(px(kListLeft), px(kPicTop - 270), px(kListLeft), px(kListLeft));
  m_layout->setHorizontalSpacing(px(60));
  m_layout->setVerticalSpacing(0);

  m_layout->addWidget(addLabel("Label1", 4, "VE Area Plot", Qt::AlignHCenter), kRowTitle, 1);
  m_pic = new PlotWidget(m_client);
  m_pic->setObjectName("Pic");
  m_pic->setDrawList(plot::rawMapSurface(m_workspace.settings));
  m_pic->setMinimumSize(px(kPicWidth), px(kPicHeight));
  m_pic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  m_layout->addWidget(m_pic, kRowPlot, 1);

  // MAPMax at the plot's top edge, "MAP" at its middle, "0" at its bottom edge.
  auto* axis = new QVBoxLayout;
  axis->setSpacing(0);
  m_lblMapMax = addLabel("lblMapMax", -1, QString(), Qt::AlignRight);
  axis->addWidget(m_lblMapMax);
  axis->addStretch();
  axis->addWidget(addLabel("Label1", 2, "MAP", Qt::AlignRight));
  axis->addStretch();
  axis->addWidget(addLabel("Label1", 5, "0", Qt::AlignRight));
  m_layout->addLayout(axis, kRowPlot, 0);
  m_layout->setColumnMinimumWidth(0, px(kPicLeft - 120));

  auto* under = new QHBoxLayout;
  m_lblRPMMin = addLabel("lblRPMMin", -1, QString(), Qt::AlignLeft);
  m_lblRPMMax = addLabel("lblRPMMax", -1, QString(), Qt::AlignRight);
  under->addWidget(m_lblRPMMin);
  under->addStretch();
  under->addWidget(addLabel("Label1", 3, "RPM", Qt::AlignHCenter));
  under->addStretch();
  under->addWidget(m_lblRPMMax);
  m_layout->addLayout(under, kRowRpm, 1);

  buildColorChart();
  buildLists();
  m_layout->setColumnStretch(1, 1);
  m_layout->setRowStretch(kRowPlot, 2);
  m_layout->setRowStretch(kRowList1, 1);
  m_layout->setRowStretch(kRowStatus, 1);
}

void MainWindow::buildColorChart() {
  QFont small = m_client->font();
  small.setPointSizeF(7.0);
  const auto& captions = plot::veLegendCaptions();
  auto* chart = new QGridLayout;
  chart->setHorizontalSpacing(px(kCaptionLeft - kLegendLeft - kSwatchWidth));
  chart->setVerticalSpacing(0);
  for (int band = 0; band < plot::kBandCount; ++band) {
    const plot::Rgb colour = plot::kBandColours[static_cast<std::size_t>(band)];
    auto* swatch = new QFrame(m_client);
    swatch->setObjectName("ColorChart");
    swatch->setProperty("index", band);
    swatch->setFrameShape(QFrame::Box);
    swatch->setStyleSheet(QStringLiteral("QFrame { background-color: rgb(%1, %2, %3); }")
                              .arg(colour.r)
                              .arg(colour.g)
                              .arg(colour.b));
    swatch->setFixedSize(px(kSwatchWidth), px(kLegendRowTwips - 40));
    chart->addWidget(swatch, band, 0);
    const auto text = captions[static_cast<std::size_t>(band)];
    QLabel* caption = addLabel("lblColorChart", band,
                               QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                               Qt::AlignLeft);
    caption->setFont(small);
    caption->setFixedHeight(px(kLegendRowTwips));
    chart->addWidget(caption, band, 1);
  }
  chart->setRowStretch(plot::kBandCount, 1);  // the rows stay together at the top
  m_layout->addLayout(chart, kRowPlot, 2);
}

void MainWindow::buildLists() {
  m_layout->addWidget(addLabel("Label1", 1, "Crossover Points:", Qt::AlignLeft), kRowList1 - 1, 0,
                      1, 3, Qt::AlignBottom);
  m_layout->addWidget(addLabel("Label1", 0, "Status:", Qt::AlignLeft), kRowStatus - 1, 0, 1, 3,
                      Qt::AlignBottom);
  m_layout->setRowMinimumHeight(kRowList1 - 1,
                                px(kList1Top - kPicTop - kPicHeight - kLabelHeight - 30));
  m_layout->setRowMinimumHeight(kRowStatus - 1, px(kStatusTop - kList1Top - kList1Height));

  m_crossoverModel = new StringListModel(this);
  m_list1 = new QListView(m_client);
  m_list1->setObjectName("List1");
  m_list1->setFont(QFont(QStringLiteral("Courier New"), 8));
  m_list1->setModel(m_crossoverModel);
  m_list1->setMinimumHeight(px(kList1Height));

  m_statusModel = new StringListModel(this);
  m_lstStatus = new QListView(m_client);
  m_lstStatus->setObjectName("lstStatus");
  m_lstStatus->setModel(m_statusModel);
  m_lstStatus->setMinimumHeight(px(kStatusHeight));

  for (QListView* list : {m_list1, m_lstStatus}) {
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    list->viewport()->installEventFilter(this);
    m_layout->addWidget(list, list == m_list1 ? kRowList1 : kRowStatus, 0, 1, 3);
  }
  m_client->installEventFilter(this);  // an enlarged list follows the window's size
}

// Command1 runs the B-spline self-test into List2; Command2 and Command3 do nothing. None of
// them can be reached in the laid-out window.
void MainWindow::buildSelfTest() {
  m_list2Model = new StringListModel(this);
  m_list2 = new QListView(m_client);
  m_list2->setObjectName("List2");
  m_list2->setModel(m_list2Model);
  m_list2->setUniformItemSizes(true);
  place(m_list2, kSelfTestLeft, 1200, 2000, 1500);
  m_list2->hide();
  const char* names[] = {"Command1", "Command2", "Command3"};
  for (int k = 0; k < 3; ++k) {
    auto* button = new QPushButton(QString::fromUtf8(names[k]), m_client);
    button->setObjectName(QString::fromUtf8(names[k]));
    place(button, kSelfTestLeft, 300 + k * 300, 1000, 255);
    button->hide();
    if (k == 0) connect(button, &QPushButton::clicked, this, &MainWindow::bSplineSelfTest);
  }
}

QAction* MainWindow::addEntry(QMenu* menu, const char* name, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), menu);
  action->setObjectName(QString::fromUtf8(name));
  menu->addAction(action);
  return action;
}

void MainWindow::buildMenus() {
  auto menu = [this](QMenu* parentMenu, const char* name, const char* caption) {
    auto* created = parentMenu ? new QMenu(QString::fromUtf8(caption), parentMenu)
                               : new QMenu(QString::fromUtf8(caption), menuBar());
    created->setObjectName(QString::fromUtf8(name));
    if (parentMenu)
      parentMenu->addMenu(created);
    else
      menuBar()->addMenu(created);
    return created;
  };

  QMenu* file = menu(nullptr, "mnuFileMenu", "File");
  addEntry(file, "mnuOpenDatalog", "Open Datalog");
  addEntry(file, "mnuOpenHighDensityMap", "Open Raw Data Map");
  file->addSeparator();
  addEntry(file, "mnuSaveHighDensityMap", "Save Raw Data Map");
  addEntry(file, "mnuSaveCrossover", "Save Crossover Points");
  file->addSeparator();
  m_printPreview = addEntry(file, "mnuPrintPreview", "Print Preview");
  m_printPreview->setCheckable(true);
  connect(m_printPreview, &QAction::triggered, this,
          [this](bool checked) { settings::savePrintPreview(m_store, checked); });
  addEntry(file, "mnuPrintHDMap", "Print Raw Data Map");
  file->addSeparator();
  QMenu* languages = menu(file, "mnuLanguageMenu", "Language");
  for (int k = 0; k < 10; ++k) {
    QAction* entry = addEntry(languages, "mnuLanguage", "");
    entry->setProperty("index", k);
    entry->setVisible(false);
    connect(entry, &QAction::triggered, this, [this, k] { chooseLanguage(k); });
    m_languageEntries.append(entry);
  }
  file->addSeparator();
  connect(addEntry(file, "mnuExit", "Exit"), &QAction::triggered, this, &QCoreApplication::quit);

  QMenu* edit = menu(nullptr, "mnuEditMenu", "Edit");
  addEntry(edit, "mnuCalculateNewMap", "Modify VE Map");
  edit->addSeparator();
  addEntry(edit, "mnuclearHDMap", "Clear Raw Data Map");
  edit->addSeparator();
  addEntry(edit, "mnuSettings", "Settings");

  QMenu* tools = menu(nullptr, "mnuToolsMenu", "Tools");
  addEntry(tools, "mnuCreateWBFactor", "WB Factor Tables");
  addEntry(tools, "mnuUploadS19", "Upload S19");

  QMenu* cpu = menu(nullptr, "mnuCPUMenu", "MS CPU");
  addEntry(cpu, "mnuCPUAcquire", "Acquire Data");

  QMenu* help = menu(nullptr, "mnuHelpMenu", "Help");
  addEntry(help, "mnuAbout", "About");
  addEntry(help, "mnuHelp", "Help");
  addEntry(help, "mnuGaugeExerciser", "Gauge Exerciser");

  // Progress of a long command, at the right end of the menu bar: the window's lower edge
  // is taken by the status list.
  m_progress = new QProgressBar(menuBar());
  m_progress->setObjectName("prgCommand");
  m_progress->setRange(0, 1000);
  m_progress->setTextVisible(false);
  m_progress->setFixedWidth(px(1500));
  m_progress->setMaximumHeight(menuBar()->sizeHint().height() - 6);
  menuBar()->setCornerWidget(m_progress);
  m_progress->hide();
}

QAction* MainWindow::entry(const char* name) const {
  return findChild<QAction*>(QString::fromUtf8(name));
}

void MainWindow::MenuButtons(bool enabled) {
  m_menusEnabled = enabled;
  applyMenuState();
}

void MainWindow::applyMenuState() {
  for (const char* name : kMenuButtonEntries)
    if (QAction* found = entry(name)) found->setEnabled(m_menusEnabled);
  if (!busy()) return;
  for (const char* name : kBusyEntries)
    if (QAction* found = entry(name)) found->setEnabled(false);
}

bool MainWindow::busy() const { return m_background && m_background->running(); }

void MainWindow::connectCommands() {
  auto on = [this](const char* name, void (MainWindow::*command)()) {
    connect(entry(name), &QAction::triggered, this, command);
  };
  on("mnuOpenDatalog", &MainWindow::openDatalog);
  on("mnuOpenHighDensityMap", &MainWindow::openRawDataMap);
  on("mnuSaveHighDensityMap", &MainWindow::saveRawDataMap);
  on("mnuSaveCrossover", &MainWindow::saveCrossoverPoints);
  on("mnuPrintHDMap", &MainWindow::printRawDataMap);
  on("mnuCalculateNewMap", &MainWindow::modifyVeMap);
  on("mnuclearHDMap", &MainWindow::clearRawDataMap);
  on("mnuSettings", &MainWindow::openSettings);
  on("mnuCreateWBFactor", &MainWindow::openWbFactorTables);
  on("mnuCPUAcquire", &MainWindow::acquireData);
  on("mnuAbout", &MainWindow::showAbout);
  on("mnuGaugeExerciser", &MainWindow::openGaugeExerciser);
  // "Upload S19" and "Help" do nothing.
}

void MainWindow::startUp() {
  (void)commands::runStartup(m_workspace, m_store, *m_statusLog, *this);
}

void MainWindow::fillLanguageMenu() {
  const auto choices = language::listLanguages(m_programFolder.toStdString(),
                                               static_cast<std::size_t>(m_languageEntries.size()));
  for (qsizetype k = 0; k < m_languageEntries.size(); ++k) {
    QAction* entry = m_languageEntries[k];
    const bool used = k < static_cast<qsizetype>(choices.size());
    const auto& choice = used ? choices[static_cast<std::size_t>(k)] : language::LanguageChoice{};
    entry->setText(QString::fromStdString(choice.caption));
    entry->setData(QString::fromStdString(choice.language));
    entry->setVisible(used);
  }
}

// Where the user left the window last time, when that is still on a screen; otherwise the
// laid-out size, centred in the work area.
void MainWindow::placeWindow() {
  if (!restoreWindowGeometry(*this, m_store)) placeLaidOut();
  activateLayouts();
}

void MainWindow::placeLaidOut() {
  const QSize frameExtra = frameGeometry().size() - geometry().size();
  resize(QSize(px(kWidthTwips), px(kHeightTwips)) - frameExtra);
  resize(size().expandedTo(minimumSizeHint()));
  const QScreen* where = screen();
  if (!where) return;
  const QRect work = where->availableGeometry();
  const QSize outer = size() + frameExtra;
  move(work.left() + (work.width() - outer.width()) / 2,
       work.top() + (work.height() - outer.height()) / 2);
}

void MainWindow::setTitle() {
  setWindowTitle(QStringLiteral("Tallimar V%1.%2.%3")
                     .arg(TALLIMAR_VERSION_MAJOR)
                     .arg(TALLIMAR_VERSION_MINOR)
                     .arg(TALLIMAR_VERSION_PATCH));
}

void MainWindow::applyLanguage(const std::string& language) {
  ui::applyLanguage(*this, kWindowName, m_workspace.languageTable, m_programFolder, language,
                    *m_statusLog);
}

void MainWindow::showPlotLimits(const settings::Settings& settings) {
  m_lblRPMMax->setText(QString::number(settings.rpmMax));
  m_lblRPMMin->setText(QString::number(settings.rpmMin));
  m_lblMapMax->setText(QString::number(settings.mapMax));
  m_plotScale.left = settings.rpmMin / 100.0;
  m_plotScale.width = (settings.rpmMax - settings.rpmMin) / 100.0;
  m_plotScale.height = settings.mapMax;
  m_pic->setDrawList(plot::rawMapSurface(settings));
}

void MainWindow::setPrintPreview(bool preview) { m_printPreview->setChecked(preview); }

void MainWindow::showPrintPreviewSetting() {
  m_printPreview->setChecked(settings::readPrintPreview(m_store));
}

// The entry's language name, not its caption, is stored: a language file may re-caption
// the entries ("Deutsch" for German.Lang), and the stored name must still open the file.
void MainWindow::chooseLanguage(int index) {
  const QString chosen = m_languageEntries.value(index)->data().toString();
  if (chosen.isEmpty()) return;
  settings::saveLanguage(m_store, chosen.toStdString());
  applyLanguage(settings::readLanguage(m_store));
}

// A double-click enlarges a list over the whole client area (out of the layout, which
// keeps the rest where it was) and hides the other one; the next double-click puts both back.
void MainWindow::toggleEnlarged(QListView* list) {
  QListView* other = list == m_list1 ? m_lstStatus : m_list1;
  if (m_enlarged != list) {
    m_layout->removeWidget(list);
    m_enlarged = list;
    placeEnlarged();
    list->raise();
    other->hide();
  } else {
    m_enlarged = nullptr;
    m_layout->addWidget(list, list == m_list1 ? kRowList1 : kRowStatus, 0, 1, 3);
    other->show();
    activateLayouts();
  }
}

// The layouts place their widgets at once, also while the window is not shown (when they
// would wait for it to be shown).
void MainWindow::activateLayouts() {
  layout()->activate();
  m_layout->activate();
}

void MainWindow::placeEnlarged() {
  if (!m_enlarged) return;
  activateLayouts();
  const QRect area = m_client->rect();
  m_enlarged->setGeometry(px(kListLeft), px(kEnlargedTop), area.width() - 2 * px(kListLeft),
                          area.height() - px(kEnlargedTop) - px(kListLeft));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_client && event->type() == QEvent::Resize) placeEnlarged();
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == m_list1->viewport())
      toggleEnlarged(m_list1);
    else if (watched == m_lstStatus->viewport())
      toggleEnlarged(m_lstStatus);
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();           // the geometry is saved as the program quits
  QCoreApplication::quit();  // closing the main window ends the program
}

}  // namespace tallimar::ui
