// The gauge property page.
#include "ui/ecu/analog_gauge_page.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/number_text.h"
#include "ecu/gauge_properties.h"
#include "settings/settings_store.h"
#include "ui/common/form_parts.h"

namespace tallimar::ui {
namespace {

using P = ecu::GaugeProperty;

constexpr std::array<P, 4> kColourProperties{P::BackColor, P::ForeColor, P::NeedleColor,
                                             P::PeakNeedleColor};
constexpr std::array<const char*, 4> kColourCaptions{"Background Color", "Foreground Color",
                                                     "Needle Color", "Peak Needle Color"};
constexpr std::array<const char*, 3> kStyleCaptions{"90 Degree", "270 Degree", "Lincoln Dash"};

QString numberText(double value) { return QString::fromStdString(common::shortestText(value)); }

}  // namespace

AnalogGaugePage::AnalogGaugePage(common::Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts) {
  setObjectName(kWindowName);
  setWindowTitle("Analog Gauge Properties");
  build();
}

void AnalogGaugePage::build() {
  auto* texts = new QFormLayout;
  auto edit = [&](QLineEdit*& into, const char* name, const char* caption) {
    into = form::lineEdit(this, name, QString());
    connect(into, &QLineEdit::textEdited, this, [this] { markChanged(); });
    texts->addRow(caption, into);
  };
  edit(m_caption, "txtCaption", "Caption:");
  // A caption such as "Coolant Temperature" shows whole.
  m_caption->setMinimumWidth(m_caption->fontMetrics().averageCharWidth() * 26);
  edit(m_label, "txtLabel", "Label:");
  edit(m_min, "txtMinValue", "Min Value:");
  edit(m_max, "txtMaxValue", "Max Value:");
  edit(m_smallTicks, "txtSmallTicks", "Small Ticks:");
  edit(m_largeTicks, "txtLargeTicks", "Large Ticks:");
  edit(m_grMin, "txtGRMin", "Green Min:");
  edit(m_grMax, "txtGRMax", "Green Max:");
  edit(m_rrMin, "txtRRMin", "Red Min:");
  edit(m_rrMax, "txtRRMax", "Red Max:");
  edit(m_textFormat, "txtTextFormat", "Scale Text Format:");
  edit(m_numericFormat, "txtNumericFormat", "Numeric Text Format:");

  auto* styleFrame = form::frame(this, "fraStyle", "Style");
  auto* styleLayout = new QVBoxLayout(styleFrame);
  m_styles = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    m_styleOptions[static_cast<std::size_t>(i)] =
        form::option(styleFrame, "optStyle", i, kStyleCaptions[static_cast<std::size_t>(i)]);
    m_styles->addButton(m_styleOptions[static_cast<std::size_t>(i)], i);
    styleLayout->addWidget(m_styleOptions[static_cast<std::size_t>(i)]);
  }
  connect(m_styles, &QButtonGroup::idClicked, this, [this] { markChanged(); });
  m_peakHold = form::checkBox(this, "chkPeakHold", "Peak Hold");
  connect(m_peakHold, &QCheckBox::clicked, this, [this] { markChanged(); });

  auto* colours = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    const auto k = static_cast<std::size_t>(i);
    auto* swatch = new QFrame(this);
    swatch->setObjectName("picColor");
    swatch->setProperty("index", i);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(32, 22);
    swatch->setAutoFillBackground(true);
    m_swatches[k] = swatch;
    auto* button = form::button(this, "cmdColor", kColourCaptions[k]);
    button->setProperty("index", i);
    connect(button, &QPushButton::clicked, this, [this, i] { chooseColour(i); });
    colours->addWidget(swatch, i, 0);
    colours->addWidget(button, i, 1);
  }

  auto* right = new QVBoxLayout;
  right->addWidget(styleFrame);
  right->addWidget(m_peakHold);
  right->addLayout(colours);
  right->addStretch();

  auto* columns = new QHBoxLayout;
  columns->addLayout(texts);
  columns->addSpacing(12);
  columns->addLayout(right);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                       QDialogButtonBox::Apply);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
  buttons->button(QDialogButtonBox::Apply)->setObjectName("cmdApply");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    applyChanges();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
          &AnalogGaugePage::applyChanges);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(columns);
  outer->addWidget(buttons);
}

void AnalogGaugePage::setSelectedGauge(AnalogGauge* gauge) {
  m_gauge = gauge;
  if (!gauge) return;
  const ecu::GaugeProperties& p = gauge->properties();
  m_caption->setText(QString::fromStdString(p.caption));
  m_label->setText(QString::fromStdString(p.label));
  m_min->setText(numberText(p.min));
  m_max->setText(numberText(p.max));
  m_smallTicks->setText(numberText(p.ticksSmall));
  m_largeTicks->setText(numberText(p.ticksLarge));
  m_grMin->setText(numberText(p.greenRangeMin));
  m_grMax->setText(numberText(p.greenRangeMax));
  m_rrMin->setText(numberText(p.redRangeMin));
  m_rrMax->setText(numberText(p.redRangeMax));
  m_textFormat->setText(QString::fromStdString(p.textFormat));
  m_numericFormat->setText(QString::fromStdString(p.numericFormat));
  // Each field shows its text from the start, not scrolled to its end.
  for (QLineEdit* field : findChildren<QLineEdit*>()) field->setCursorPosition(0);
  // Style 3 has no option of its own: none is chosen, and applying keeps the style.
  m_styles->setExclusive(false);
  for (std::size_t i = 0; i < m_styleOptions.size(); ++i)
    m_styleOptions[i]->setChecked(static_cast<int>(i) == p.style);
  m_styles->setExclusive(true);
  m_peakHold->setChecked(gauge->peakHold() != 0);
  setSwatch(0, toQColor(p.backColor));
  setSwatch(1, toQColor(p.foreColor));
  setSwatch(2, toQColor(p.needleColor));
  setSwatch(3, toQColor(p.peakNeedleColor));
  m_changed = false;
}

QColor AnalogGaugePage::swatch(int index) const {
  return m_swatches[static_cast<std::size_t>(index)]->palette().color(QPalette::Window);
}

void AnalogGaugePage::setSwatch(int index, const QColor& colour) {
  QFrame* frame = m_swatches[static_cast<std::size_t>(index)];
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, colour);
  frame->setPalette(palette);
}

void AnalogGaugePage::chooseColour(int index) {
  const std::optional<common::Rgb> chosen = m_prompts.chooseColour(toRgb(swatch(index)));
  if (!chosen) return;
  setSwatch(index, toQColor(*chosen));
  markChanged();
}

void AnalogGaugePage::applyChanges() {
  AnalogGauge* gauge = m_gauge;
  if (!gauge) return;
  gauge->setNumber(P::PeakHold, m_peakHold->isChecked() ? 1 : 0);
  gauge->setText(P::TextFormat, m_textFormat->text());
  gauge->setText(P::NumericFormat, m_numericFormat->text());
  if (m_styles->checkedId() >= 0) gauge->setNumber(P::Style, m_styles->checkedId());
  gauge->setText(P::Label, m_label->text());
  gauge->setText(P::Caption, m_caption->text());
  for (std::size_t i = 0; i < kColourProperties.size(); ++i)
    gauge->setColour(kColourProperties[i], swatch(static_cast<int>(i)));
  const std::pair<P, QLineEdit*> numbers[] = {{P::Min, m_min},
                                              {P::Max, m_max},
                                              {P::TicksSmall, m_smallTicks},
                                              {P::TicksLarge, m_largeTicks},
                                              {P::GreenRangeMin, m_grMin},
                                              {P::GreenRangeMax, m_grMax},
                                              {P::RedRangeMin, m_rrMin},
                                              {P::RedRangeMax, m_rrMax}};
  for (const auto& [property, edit] : numbers) gauge->setText(property, edit->text());
  m_changed = false;
  emit applied(gauge);
}

}  // namespace tallimar::ui

namespace tallimar::ui {

void hostGauge(AnalogGauge& gauge, const std::string& windowName, const char* gaugeName,
               settings::SettingsStore& store, common::Prompts& prompts) {
  gauge.setObjectName(gaugeName);
  const std::string group = ecu::gaugeGroup(windowName, gaugeName);
  gauge.loadFrom(store, group);
  QObject::connect(&gauge, &AnalogGauge::propertiesRequested, &gauge,
                   [&store, &prompts, group](AnalogGauge* requested) {
                     QWidget* window = requested->window();
                     auto* page = new AnalogGaugePage(prompts, window);
                     page->setAttribute(Qt::WA_DeleteOnClose);
                     page->setWindowFlag(Qt::Dialog);
                     page->setSelectedGauge(requested);
                     QObject::connect(
                         page, &AnalogGaugePage::applied, requested,
                         [&store, group](AnalogGauge* applied) { applied->saveTo(store, group); });
                     page->show();
                   });
}

}  // namespace tallimar::ui
