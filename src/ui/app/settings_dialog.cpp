// The settings dialog: its tabs, the coupling of its controls, and its buttons.
#include "ui/app/settings_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QVBoxLayout>

#include "commands/settings_command.h"
#include "common/twips.h"
#include "settings/settings_io.h"
#include "ui/common/form_parts.h"
#include "ui/common/language_applier.h"

namespace tallimar::ui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string ss(const QString& text) { return text.toStdString(); }

QComboBox* portList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  for (int port = 1; port <= settings::kComPortCount; ++port)
    list->addItem(QStringLiteral("Com:%1").arg(port));
  return list;
}

// A frame holding one row of option buttons (an option array), the first one selected.
template <std::size_t N>
QGroupBox* optionFrame(QWidget* parent, const char* frameName, const QString& caption,
                       const char* optionName, const std::array<const char*, N>& captions,
                       std::array<QRadioButton*, N>* options = nullptr) {
  QGroupBox* frame = form::frame(parent, frameName, caption);
  auto* layout = new QVBoxLayout(frame);
  for (std::size_t i = 0; i < N; ++i) {
    QRadioButton* option =
        form::option(frame, optionName, static_cast<int>(i), QString::fromLatin1(captions[i]));
    option->setChecked(i == 0);
    layout->addWidget(option);
    if (options) (*options)[i] = option;
  }
  layout->addStretch();
  return frame;
}

template <std::size_t N>
int checkedIndex(const std::array<QRadioButton*, N>& options) {
  for (std::size_t i = 0; i < N; ++i)
    if (options[i] && options[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

// Selects option index, or none when index is out of range (an exclusive group cannot
// uncheck its last button, so exclusivity is lifted for that moment).
template <std::size_t N>
void select(const std::array<QRadioButton*, N>& options, int index) {
  for (std::size_t i = 0; i < N; ++i) {
    if (!options[i]) continue;
    options[i]->setAutoExclusive(false);
    options[i]->setChecked(static_cast<int>(i) == index);
    options[i]->setAutoExclusive(true);
  }
}

}  // namespace

SettingsDialog::SettingsDialog(workspace::Workspace& workspace, settings::SettingsStore& store,
                               common::Prompts& prompts, common::StatusLog& factorLog,
                               QString programFolder, SettingsCaller caller, QWidget* callerWindow,
                               QWidget* parent)
    : QDialog(parent),
      m_ws(workspace),
      m_store(store),
      m_prompts(prompts),
      m_factorLog(factorLog),
      m_programFolder(std::move(programFolder)),
      m_caller(caller),
      m_callerWindow(callerWindow) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("SSTab1"));
  layout->addWidget(m_tabs);
  const std::pair<const char*, void (SettingsDialog::*)(QWidget*)> tabs[] = {
      {"Engine Specific", &SettingsDialog::buildEngineTab},
      {"User Prefrences", &SettingsDialog::buildPreferencesTab},
      {"Serial I/O", &SettingsDialog::buildSerialTab},
      {"Additional Input", &SettingsDialog::buildInputTab}};
  for (const auto& [caption, build] : tabs) {
    auto* tab = new QWidget(m_tabs);
    (this->*build)(tab);
    m_tabs->addTab(tab, QString::fromLatin1(caption));
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* saveButton = form::button(this, "cmdOK", QStringLiteral("Save"));
  QPushButton* cancelButton = form::button(this, "cmdCancel", QStringLiteral("Cancel"));
  buttons->addWidget(saveButton);
  buttons->addWidget(cancelButton);
  layout->addLayout(buttons);
  connect(saveButton, &QPushButton::clicked, this, &SettingsDialog::save);
  connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::reject);

  connectFieldChecks();
  connectSmoothing();
  load(settings::settingsFormFor(m_ws.settings, m_store));
  m_tabs->setCurrentIndex(0);
  setCallerEnabled(false);
}

void SettingsDialog::buildEngineTab(QWidget* tab) {
  auto* grid = new QGridLayout(tab);
  grid->addWidget(buildVeRangeFrame(tab), 0, 0);
  grid->addWidget(buildFilteringFrame(tab), 0, 1, 2, 1);
  grid->addWidget(buildRangeSettingsFrame(tab), 1, 0);
  grid->addWidget(buildPathFrame(tab), 2, 0, 1, 2);
  grid->addWidget(buildMapSizeFrame(tab), 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
}

QWidget* SettingsDialog::buildVeRangeFrame(QWidget* tab) {
  QGroupBox* frame = form::frame(tab, "fraVERange", QStringLiteral("VE Range Calculation"));
  auto* rows = new QFormLayout(frame);
  auto* options = new QHBoxLayout;
  m_veRange[0] = form::option(frame, "VERangeOption", 0, QStringLiteral("Average"));
  m_veRange[1] = form::option(frame, "VERangeOption", 1, QStringLiteral("Median"));
  options->addWidget(m_veRange[0]);
  options->addWidget(m_veRange[1]);
  options->addStretch();
  rows->addRow(options);
  m_veOutlier = form::checkBox(frame, "chkVEOutlier", QStringLiteral("Outlier Elimination"));
  rows->addRow(m_veOutlier);
  m_sigma = form::lineEdit(frame, "txtSigma", QString());
  rows->addRow(form::label(frame, "lblSigma", QStringLiteral("Sigma:")), m_sigma);
  m_egoCross = form::lineEdit(frame, "txtEGOcross", QString());
  rows->addRow(form::label(frame, "lblEGOcross", QStringLiteral("EGO Crossover Voltage:")),
               m_egoCross);
  connect(m_veOutlier, &QCheckBox::toggled, m_sigma, &QWidget::setEnabled);
  return frame;
}

QWidget* SettingsDialog::buildFilteringFrame(QWidget* tab) {
  QGroupBox* frame = form::frame(tab, "fraFiltering", QStringLiteral("Data Filtering and Fitting"));
  auto* rows = new QFormLayout(frame);
  m_filtering[1] = form::option(frame, "optFiltering", 1, QStringLiteral("1 Step Filtering"));
  m_filtering[2] = form::option(frame, "optFiltering", 2, QStringLiteral("2 Step Filtering"));
  rows->addRow(m_filtering[1]);
  rows->addRow(m_filtering[2]);
  auto smoothing = [&](const char* barName, const char* textName, int index) {
    auto* bar = new QScrollBar(Qt::Horizontal, frame);
    bar->setObjectName(QString::fromLatin1(barName));
    bar->setRange(0, 100);
    bar->setMinimumWidth(120);
    QLineEdit* text = form::lineEdit(frame, textName, QString());
    text->setMaximumWidth(48);
    auto* row = new QHBoxLayout;
    row->addWidget(bar, 1);
    row->addWidget(text);
    QLabel* caption = form::label(frame, "lblSmoothing", QStringLiteral("Smoothing %:"));
    caption->setProperty("index", index);
    rows->addRow(caption, row);
    return std::pair{bar, text};
  };
  std::tie(m_bSpline, m_bSplineText) = smoothing("scrollBSpline", "txtBSpline", 0);
  std::tie(m_bSpline2, m_bSpline2Text) = smoothing("scrollBSpline2", "txtBSpline2", 1);
  m_bSplineOutlier =
      form::checkBox(frame, "chkBSplineOutlier", QStringLiteral("Outlier Elimination"));
  rows->addRow(m_bSplineOutlier);
  m_bSplineSigma = form::lineEdit(frame, "txtBSplineSigma", QString());
  QLabel* sigma = form::label(frame, "lblBSplineSigma", QStringLiteral("Sigma:"));
  rows->addRow(sigma, m_bSplineSigma);
  connect(m_bSplineOutlier, &QCheckBox::toggled, m_bSplineSigma, &QWidget::setEnabled);
  connect(m_filtering[2], &QRadioButton::toggled, this, [this](bool twoSteps) {
    m_bSpline2->setEnabled(twoSteps);
    m_bSpline2Text->setEnabled(twoSteps);
  });
  return frame;
}

QWidget* SettingsDialog::buildRangeSettingsFrame(QWidget* tab) {
  QGroupBox* frame = form::frame(tab, "fraRangeSettings", QStringLiteral("VE Range Settings"));
  auto* rows = new QFormLayout(frame);
  m_minRpm = form::lineEdit(frame, "txtMinRPM", QString());
  m_maxRpm = form::lineEdit(frame, "txtMaxRPM", QString());
  m_maxMap = form::lineEdit(frame, "txtMaxMAP", QString());
  // Wide enough for five digits ("10000") beside the long captions.
  const int fiveDigits = frame->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12;
  for (QLineEdit* field : {m_minRpm, m_maxRpm, m_maxMap}) field->setMinimumWidth(fiveDigits);
  rows->addRow(form::label(frame, "lblMinRPM", QStringLiteral("Min RPM for O2 crossover points")),
               m_minRpm);
  rows->addRow(form::label(frame, "lblMaxRPM", QStringLiteral("Max RPM to Plot")), m_maxRpm);
  rows->addRow(form::label(frame, "lblMaxMAP", QStringLiteral("Max MAP to Plot")), m_maxMap);
  return frame;
}

QWidget* SettingsDialog::buildPathFrame(QWidget* tab) {
  QGroupBox* frame =
      form::frame(tab, "fraINCPath", QStringLiteral("Path to *.inc Files and DataLog files"));
  auto* row = new QHBoxLayout(frame);
  m_incPath = form::lineEdit(frame, "txtINCPath", QString());
  m_incPath->setMinimumWidth(260);
  QPushButton* current = form::button(frame, "Command1", QStringLiteral("Current"));
  QPushButton* browse = form::button(frame, "Command2", QStringLiteral("Browse"));
  row->addWidget(m_incPath, 1);
  row->addWidget(current);
  row->addWidget(browse);
  connect(current, &QPushButton::clicked, this, &SettingsDialog::useProgramFolder);
  connect(browse, &QPushButton::clicked, this, &SettingsDialog::browseIncPath);
  return frame;
}

QWidget* SettingsDialog::buildMapSizeFrame(QWidget* tab) {
  QGroupBox* frame = form::frame(tab, "fraMapSize", QStringLiteral("LD Map Size"));
  auto* row = new QHBoxLayout(frame);
  const char* captions[] = {"8x8", "12x12", "16x16", "Custom"};
  for (int i = 0; i < 4; ++i) {
    m_mapSize[static_cast<std::size_t>(i)] =
        form::option(frame, "optMapSize", i, QString::fromLatin1(captions[i]));
    row->addWidget(m_mapSize[static_cast<std::size_t>(i)]);
  }
  row->addStretch();
  return frame;
}

// Shown as the tuner knows them; none of these controls is loaded or saved.
void SettingsDialog::buildPreferencesTab(QWidget* tab) {
  auto* grid = new QGridLayout(tab);
  QGroupBox* log = form::frame(tab, "fraDataLog", QStringLiteral("Data Log Options"));
  auto* logRows = new QFormLayout(log);
  logRows->addRow(
      form::checkBox(log, "chkAutoIncrement", QStringLiteral("Auto Increment File Name")));
  logRows->addRow(form::checkBox(log, "chkLogSizeLimit", QStringLiteral("Limit File Size")));
  logRows->addRow(form::label(log, "lblLogSize", QStringLiteral("Size Limit (KB):")),
                  form::lineEdit(log, "txtLogSize", QStringLiteral("1000")));
  grid->addWidget(log, 0, 0);
  grid->addWidget(optionFrame(tab, "fraLoadType", QStringLiteral("Engine Load Type"), "optLoadType",
                              std::array{"MAP - SD", "TPS - Alpha-N"}),
                  0, 1);
  QGroupBox* units = form::frame(tab, "fraUnits", QStringLiteral("Units"));
  auto* unitRow = new QHBoxLayout(units);
  unitRow->addWidget(optionFrame(units, "fraUnitMAP", QStringLiteral("MAP"), "optUnitMAP",
                                 std::array{"kPa", "Inch HG", "Bar"}, &m_unitMap));
  unitRow->addWidget(optionFrame(units, "fraTemp", QStringLiteral("Temperature"), "optTemp",
                                 std::array{"Fahrenheit", "Celsius", "Kelvin"}, &m_temp));
  grid->addWidget(units, 1, 0, 1, 2);
  grid->setRowStretch(2, 1);
}

void SettingsDialog::buildSerialTab(QWidget* tab) {
  auto* grid = new QGridLayout(tab);
  QGroupBox* ms = form::frame(tab, "fraMegaSquirtIO", QStringLiteral("MegaSquirt I/O"));
  auto* rows = new QFormLayout(ms);
  m_port = portList(ms, "cmbPort");
  rows->addRow(form::label(ms, "lblPort", QStringLiteral("Com Port:")), m_port);
  m_portDevice = new QComboBox(ms);
  m_portDevice->setObjectName(QStringLiteral("cmbPortDevice"));
  m_portDevice->setEditable(true);
  m_portDevice->setInsertPolicy(QComboBox::NoInsert);
  m_portDevice->setMinimumWidth(200);
  m_portDevice->setToolTip(
      QStringLiteral("The serial device this port opens; type any path, such as /dev/pts/3"));
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    m_portDevice->addItem(info.systemLocation());
  rows->addRow(form::label(ms, "lblPortDevice", QStringLiteral("Device:")), m_portDevice);
  m_dataRate = form::lineEdit(ms, "txtDataRate", QString());
  rows->addRow(form::label(ms, "lblDataRate", QStringLiteral("Data Rate (ms)")), m_dataRate);
  grid->addWidget(ms, 0, 0, 1, 3);
  connect(m_port, &QComboBox::currentIndexChanged, this, &SettingsDialog::showPortDevice);

  // The other instruments' ports are shown only.
  const std::pair<const char*, const char*> others[] = {{"NMEA GPS", "cmbGPSPort"},
                                                        {"DataQ DI-194RS ADC", "cmbDataQPort"},
                                                        {"OZ-DIY-WB Meter I/O", "cmbWBPort"}};
  int column = 0;
  for (const auto& [caption, name] : others) {
    QGroupBox* frame = form::frame(tab, "fraPort", QString::fromLatin1(caption));
    frame->setProperty("index", column);
    auto* frameRows = new QFormLayout(frame);
    frameRows->addRow(form::label(frame, "lblPort", QStringLiteral("Com Port:")),
                      portList(frame, name));
    grid->addWidget(frame, 1, column++);
  }
  grid->setRowStretch(2, 1);
}

void SettingsDialog::buildInputTab(QWidget* tab) {
  auto* grid = new QGridLayout(tab);
  grid->addWidget(optionFrame(tab, "fraO2Source", QStringLiteral("O2 Sensor Source"), "optO2Source",
                              std::array{"MegaSquirt", "OZ-DIY-WB Meter", "DI-194RS"}),
                  0, 0);
  QGroupBox* channels = form::frame(tab, "fraDI194", QStringLiteral("DI-194RS"));
  auto* rows = new QFormLayout(channels);
  const char* inputs[] = {"O2:", "RPM:", "MAP:", "TPS:"};
  for (int i = 0; i < 4; ++i) {
    auto* channel = new QComboBox(channels);
    channel->setObjectName(QStringLiteral("cmbDI194Channel"));
    channel->setProperty("index", i);
    channel->addItems({QStringLiteral("None"), QStringLiteral("Channel 1"),
                       QStringLiteral("Channel 2"), QStringLiteral("Channel 3"),
                       QStringLiteral("Channel 4")});
    QLabel* caption = form::label(channels, "lblDI194Channel", QString::fromLatin1(inputs[i]));
    caption->setProperty("index", i);
    rows->addRow(caption, channel);
  }
  grid->addWidget(channels, 0, 1);
  grid->setRowStretch(1, 1);
}

void SettingsDialog::connectFieldChecks() {
  auto onLeave = [this](QLineEdit* edit, auto correct) {
    connect(edit, &QLineEdit::editingFinished, this, [edit, correct] {
      const QString corrected = qs(correct(ss(edit->text())));
      if (corrected != edit->text()) edit->setText(corrected);
    });
  };
  onLeave(m_minRpm, [](const std::string& text) { return settings::rpmFieldLeft(text); });
  onLeave(m_maxRpm, [this](const std::string& text) {
    return settings::maxRpmAgainstMin(ss(m_minRpm->text()), settings::rpmFieldLeft(text));
  });
  onLeave(m_maxMap, [](const std::string& text) { return settings::mapFieldLeft(text); });
  onLeave(m_dataRate, [](const std::string& text) { return settings::dataRateLeft(text); });
}

// The first bar shows its position in its text and half of it in the second text, which
// moves the second bar. A typed text moves its bar when it is a number from 0 to 100; other
// texts leave the bar where it is and are refused by Save.
void SettingsDialog::connectSmoothing() {
  auto follow = [this](QScrollBar* bar, QLineEdit* text) {
    connect(text, &QLineEdit::textChanged, this, [bar](const QString& typed) {
      if (auto position = settings::typedSmoothing(ss(typed))) bar->setValue(*position);
    });
    connect(bar, &QScrollBar::valueChanged, this, [text](int position) {
      if (settings::typedSmoothing(ss(text->text())) != position)
        text->setText(QString::number(position));
    });
  };
  follow(m_bSpline, m_bSplineText);
  follow(m_bSpline2, m_bSpline2Text);
  connect(m_bSpline, &QScrollBar::valueChanged, this, [this](int position) {
    m_bSpline2Text->setText(QString::number(settings::halfSmoothing(position)));
  });
}

void SettingsDialog::load(const settings::SettingsForm& form) {
  m_devices = form.comDevices;
  showTexts(form);
  select(m_veRange, form.veRangeOption);
  m_veOutlier->setChecked(form.veOutlier);
  m_port->setCurrentIndex(form.comPortIndex);
  showPortDevice(form.comPortIndex);
  select(m_temp, form.temperatureOption);
  select(m_unitMap, form.manifoldOption);
  // The first bar sets the second text; the second bar's own value comes after it.
  m_bSpline->setValue(form.bSpline);
  m_bSplineText->setText(qs(form.bSplineText));
  m_bSpline2->setValue(form.bSpline2);
  m_bSpline2Text->setText(qs(form.bSpline2Text));
  m_bSplineOutlier->setChecked(form.bSplineOutlier);
  select(m_filtering, form.filteringOption);
  select(m_mapSize, form.mapSizeOption);
  m_sigma->setEnabled(form.veOutlier);
  m_bSplineSigma->setEnabled(form.bSplineOutlier);
  m_bSpline2->setEnabled(form.filteringOption == 2);
  m_bSpline2Text->setEnabled(form.filteringOption == 2);
}

// The free texts, as loading shows them and as Save leaves them after its checks.
void SettingsDialog::showTexts(const settings::SettingsForm& form) {
  m_incPath->setText(qs(form.incPath));
  m_egoCross->setText(qs(form.egoCross));
  m_sigma->setText(qs(form.sigma));
  m_maxRpm->setText(qs(form.maxRpm));
  m_minRpm->setText(qs(form.minRpm));
  m_maxMap->setText(qs(form.maxMap));
  m_dataRate->setText(qs(form.dataRate));
  m_bSplineSigma->setText(qs(form.bSplineSigma));
}

// Keeps what was typed for the port shown before, and shows the chosen port's device.
void SettingsDialog::showPortDevice(int index) {
  if (m_devicePort >= 0)
    m_devices[static_cast<std::size_t>(m_devicePort)] = ss(m_portDevice->currentText());
  m_devicePort = index >= 0 && index < settings::kComPortCount ? index : -1;
  m_portDevice->setEnabled(m_devicePort >= 0);
  m_portDevice->setEditText(
      m_devicePort >= 0 ? qs(m_devices[static_cast<std::size_t>(m_devicePort)]) : QString());
}

settings::SettingsForm SettingsDialog::form() const {
  settings::SettingsForm form;
  form.incPath = ss(m_incPath->text());
  form.egoCross = ss(m_egoCross->text());
  form.veRangeOption = checkedIndex(m_veRange);
  form.veOutlier = m_veOutlier->isChecked();
  form.sigma = ss(m_sigma->text());
  form.maxRpm = ss(m_maxRpm->text());
  form.minRpm = ss(m_minRpm->text());
  form.maxMap = ss(m_maxMap->text());
  form.comPortIndex = m_port->currentIndex();
  form.dataRate = ss(m_dataRate->text());
  form.temperatureOption = checkedIndex(m_temp);
  form.manifoldOption = checkedIndex(m_unitMap);
  form.bSpline = m_bSpline->value();
  form.bSplineText = ss(m_bSplineText->text());
  form.bSpline2 = m_bSpline2->value();
  form.bSpline2Text = ss(m_bSpline2Text->text());
  form.bSplineSigma = ss(m_bSplineSigma->text());
  form.bSplineOutlier = m_bSplineOutlier->isChecked();
  form.filteringOption = checkedIndex(m_filtering);
  form.mapSizeOption = checkedIndex(m_mapSize);
  form.comDevices = m_devices;
  if (m_devicePort >= 0)
    form.comDevices[static_cast<std::size_t>(m_devicePort)] = ss(m_portDevice->currentText());
  return form;
}

void SettingsDialog::save() {
  settings::SettingsForm current = form();
  const commands::CommandResult result =
      commands::saveSettingsCommand(m_ws, m_store, current, m_prompts, m_factorLog);
  showTexts(current);
  if (!result.ok()) return;  // the message said which field; the dialog stays open
  emit saved(result.changed);
  accept();
}

void SettingsDialog::useProgramFolder() { m_incPath->setText(m_programFolder); }

void SettingsDialog::browseIncPath() {
  common::FileRequest request;
  request.title = "*.INC Path";
  request.filter = "*.inc";
  request.presetName = "*.inc";
  request.initialFolder = ss(m_programFolder);
  const std::vector<std::string> chosen = m_prompts.openFiles(request, true);
  if (chosen.empty()) return;  // cancelled: the box keeps its path
  const std::string& path = chosen.front();
  const auto cut = path.find_last_of("/\\");
  if (cut == std::string::npos) return;
  m_incPath->setText(qs(path.substr(0, cut == 0 ? 1 : cut)));
}

void SettingsDialog::setCallerEnabled(bool enabled) {
  if (!m_callerWindow || m_callerDisabled == !enabled) return;
  m_callerDisabled = !enabled;
  switch (m_caller) {
    case SettingsCaller::MainWindow:
      // The whole main window; the dialog, a window of its own, stays enabled.
      m_callerWindow->setEnabled(enabled);
      if (!enabled) setEnabled(true);
      break;
    case SettingsCaller::ModifyVeMap:
      // The VE window disables its own menus and controls while the dialog is open and takes
      // them back when it finishes (the program's wiring hands it the dialog).
      break;
  }
}

void SettingsDialog::done(int result) {
  setCallerEnabled(true);
  QDialog::done(result);
}

SettingsDialog* createSettingsDialog(workspace::Workspace& workspace,
                                     settings::SettingsStore& store, common::Prompts& prompts,
                                     common::StatusLog& factorLog, const QString& programFolder,
                                     SettingsCaller caller, QWidget& callerWindow) {
  auto* dialog = new SettingsDialog(workspace, store, prompts, factorLog, programFolder, caller,
                                    &callerWindow, &callerWindow);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  // The stored language is read again at every opening; a failure is a main window line.
  applyLanguage(*dialog, SettingsDialog::kWindowName, workspace.languageTable, programFolder,
                settings::readLanguage(store), factorLog);
  const int x = common::twipsToPixels(300, callerWindow.logicalDpiX());
  const int y = common::twipsToPixels(300, callerWindow.logicalDpiY());
  dialog->move(callerWindow.frameGeometry().topLeft() + QPoint(x, y));
  return dialog;
}

}  // namespace tallimar::ui
