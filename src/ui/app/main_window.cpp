// frmMSMain: layout in twips, menus, the start-up steps that touch the window, the
// language menu and the "Print Preview" entry.
#include "ui/app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "common/twips.h"
#include "language/language_table.h"
#include "settings/settings_io.h"
#include "ui/app/language_applier.h"
#include "ui/app/string_list_model.h"

namespace tallimar::ui {
namespace {

// The VE colour scale, lowest band first, and the legend caption of each band.
struct LegendBand {
  int r, g, b;
  const char* caption;
};
constexpr LegendBand kLegend[11] = {
    {128, 0, 0, "= VE < 10"},
    {255, 0, 0, "= VE >= 10 && < 20"},
    {128, 128, 0, "= VE >= 20 && < 30"},
    {255, 255, 0, "= VE >= 30 && < 40"},
    {0, 128, 0, "= VE >= 40 && < 50"},
    {0, 255, 0, "= VE >= 50 && < 60"},
    {0, 128, 128, "= VE >= 60 && < 70"},
    {0, 255, 255, "= VE >= 70 && < 80"},
    {0, 0, 128, "= VE >= 80 && < 90"},
    {0, 0, 255, "= VE >= 90 && < 100"},
    {255, 0, 255, "= VE >= 100"},
};

// Plot surface and legend, in twips of the client area.
constexpr double kPicLeft = 480, kPicTop = 300, kPicWidth = 4500, kPicHeight = 2500;
constexpr double kLabelHeight = 225;
constexpr double kLegendLeft = 5100, kLegendRight = 7035, kLegendRowTwips = kPicHeight / 11;
constexpr double kSwatchWidth = 240, kCaptionLeft = kLegendLeft + 300;

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
  m_statusLog = std::make_unique<ListStatusLog>(*m_lstStatus, *m_statusModel);
}

MainWindow::~MainWindow() = default;

int MainWindow::px(double twips) const { return common::twipsToPixels(twips, logicalDpiY()); }

void MainWindow::place(QWidget* widget, double left, double top, double width,
                       double height) const {
  widget->setGeometry(px(left), px(top), px(width), px(height));
}

QLabel* MainWindow::addLabel(const QString& name, int index, const QString& caption, double left,
                             double top, double width, Qt::Alignment alignment) {
  auto* label = new QLabel(caption, m_client);
  label->setObjectName(name);
  if (index >= 0) label->setProperty("index", index);
  label->setAlignment(alignment | Qt::AlignVCenter);
  place(label, left, top, width, kLabelHeight);
  return label;
}

void MainWindow::buildClientArea() {
  m_client = new QWidget(this);
  m_client->setObjectName("frmMSMainClient");
  QFont font = m_client->font();
  font.setPointSizeF(8.0);
  m_client->setFont(font);
  setCentralWidget(m_client);

  addLabel("Label1", 4, "VE Area Plot", kPicLeft, kPicTop - 270, kPicWidth, Qt::AlignHCenter);
  m_pic = new QWidget(m_client);
  m_pic->setObjectName("Pic");
  m_pic->setAutoFillBackground(true);
  QPalette white = m_pic->palette();
  white.setColor(QPalette::Window, Qt::white);
  m_pic->setPalette(white);
  place(m_pic, kPicLeft, kPicTop, kPicWidth, kPicHeight);

  const double half = kLabelHeight / 2;
  m_lblMapMax =
      addLabel("lblMapMax", -1, QString(), 0, kPicTop - half, kPicLeft - 60, Qt::AlignRight);
  addLabel("Label1", 2, "MAP", 0, kPicTop + kPicHeight / 2 - half, kPicLeft - 60, Qt::AlignRight);
  addLabel("Label1", 5, "0", 0, kPicTop + kPicHeight - half, kPicLeft - 60, Qt::AlignRight);
  const double under = kPicTop + kPicHeight + 30;
  m_lblRPMMin = addLabel("lblRPMMin", -1, QString(), kPicLeft - 450, under, 900, Qt::AlignHCenter);
  m_lblRPMMax = addLabel("lblRPMMax", -1, QString(), kPicLeft + kPicWidth - 450, under, 900,
                         Qt::AlignHCenter);
  addLabel("Label1", 3, "RPM", kPicLeft + kPicWidth / 2 - 450, under, 900, Qt::AlignHCenter);

  buildColorChart();
  buildLists();
}

void MainWindow::buildColorChart() {
  QFont small = m_client->font();
  small.setPointSizeF(7.0);
  for (int band = 0; band < 11; ++band) {
    const double top = kPicTop + band * kLegendRowTwips;
    auto* swatch = new QFrame(m_client);
    swatch->setObjectName("ColorChart");
    swatch->setProperty("index", band);
    swatch->setFrameShape(QFrame::Box);
    swatch->setStyleSheet(QStringLiteral("QFrame { background-color: rgb(%1, %2, %3); }")
                              .arg(kLegend[band].r)
                              .arg(kLegend[band].g)
                              .arg(kLegend[band].b));
    place(swatch, kLegendLeft, top + 20, kSwatchWidth, kLegendRowTwips - 40);
    QLabel* caption = addLabel("lblColorChart", band, kLegend[band].caption, kCaptionLeft, top,
                               kLegendRight - kCaptionLeft, Qt::AlignLeft);
    caption->setFont(small);
    place(caption, kCaptionLeft, top, kLegendRight - kCaptionLeft, kLegendRowTwips);
  }
}

void MainWindow::buildLists() {
  addLabel("Label1", 1, "Crossover Points:", 60, 3480 - 240, 3000, Qt::AlignLeft);
  addLabel("Label1", 0, "Status:", 60, 4440 - 240, 3000, Qt::AlignLeft);

  m_crossoverModel = new StringListModel(this);
  m_list1 = new QListView(m_client);
  m_list1->setObjectName("List1");
  m_list1->setFont(QFont(QStringLiteral("Courier New"), 8));
  m_list1->setModel(m_crossoverModel);
  place(m_list1, 60, 3480, 6915, 690);

  m_statusModel = new StringListModel(this);
  m_lstStatus = new QListView(m_client);
  m_lstStatus->setObjectName("lstStatus");
  m_lstStatus->setModel(m_statusModel);
  place(m_lstStatus, 60, 4440, 6915, 645);

  for (QListView* list : {m_list1, m_lstStatus}) {
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
}

void MainWindow::MenuButtons(bool enabled) {
  static constexpr const char* kEntries[] = {"mnuAbout",         "mnuCalculateNewMap",
                                             "mnuclearHDMap",    "mnuCPUAcquire",
                                             "mnuExit",          "mnuHelp",
                                             "mnuOpenDatalog",   "mnuOpenHighDensityMap",
                                             "mnuPrintHDMap",    "mnuPrintPreview",
                                             "mnuSaveCrossover", "mnuSaveHighDensityMap",
                                             "mnuSettings"};
  for (const char* name : kEntries)
    if (auto* entry = findChild<QAction*>(QString::fromUtf8(name))) entry->setEnabled(enabled);
}

void MainWindow::startUp() { workspace::runStartup(m_workspace, m_store, *m_statusLog, *this); }

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

void MainWindow::placeWindow() {
  const QSize frameExtra = frameGeometry().size() - geometry().size();
  resize(px(kWidthTwips) - frameExtra.width(), px(kHeightTwips) - frameExtra.height());
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
}

void MainWindow::setPrintPreview(bool preview) { m_printPreview->setChecked(preview); }

// The entry's language name, not its caption, is stored: a language file may re-caption
// the entries ("Deutsch" for German.Lang), and the stored name must still open the file.
void MainWindow::chooseLanguage(int index) {
  const QString chosen = m_languageEntries.value(index)->data().toString();
  if (chosen.isEmpty()) return;
  settings::saveLanguage(m_store, chosen.toStdString());
  applyLanguage(settings::readLanguage(m_store));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();  // closing the main window ends the program
}

}  // namespace tallimar::ui
