// The About box, laid out in twips, and the search for a system information program.
#include "ui/app/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "common/twips.h"
#include "ui/common/form_parts.h"

namespace tallimar::ui {
namespace {

constexpr double kTextLeft = 240, kTextWidth = 5250;
constexpr double kButtonLeft = 4230, kButtonWidth = 1260, kButtonHeight = 345;

}  // namespace

QStringList SystemInfoTool::defaultNames() {
  return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
          QStringLiteral("gnome-system-monitor"), QStringLiteral("mate-system-monitor")};
}

bool SystemInfoTool::startDetached(const QString& program) {
  return QProcess::startDetached(program, {});
}

QString SystemInfoTool::find() const {
  for (const QString& name : names) {
    const QString found = QStandardPaths::findExecutable(name, folders);
    if (!found.isEmpty()) return found;
  }
  return {};
}

AboutBox::AboutBox(common::Prompts& prompts, SystemInfoTool tool, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_tool(std::move(tool)) {
  setObjectName(kWindowName);
  setWindowTitle(QStringLiteral("About Tallimar"));
  setModal(false);
  const double dpi = logicalDpiY();
  auto px = [dpi](double twips) { return common::twipsToPixels(twips, dpi); };
  setFixedSize(px(kWidthTwips), px(kHeightTwips));

  QLabel* title = addLabel("lblTitle", QStringLiteral("Tallimar"), 240, 480);
  QFont big = title->font();
  big.setPointSizeF(14);
  big.setBold(true);
  title->setFont(big);
  addLabel("lblVersion",
           QStringLiteral("Version %1.%2.%3")
               .arg(TALLIMAR_VERSION_MAJOR)
               .arg(TALLIMAR_VERSION_MINOR)
               .arg(TALLIMAR_VERSION_PATCH),
           780, 225);
  QLabel* description = addLabel(
      "lblDescription",
      QStringLiteral("VE table tuning tool for the DIY MegaSquirt fuel injection controller."),
      1125, 600);
  description->setWordWrap(true);

  auto* rule = form::named(new QFrame(this), "Line1");
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(px(kTextLeft), px(1900), px(kTextWidth), px(30));

  addLabel("lblDisclaimer", QStringLiteral(" "), 2100, 225);
  QLabel* warning = addLabel("lblWarning", QStringLiteral("Warning: ..."), 2400, 825);
  warning->setWordWrap(true);
  warning->setGeometry(px(kTextLeft), px(2400), px(kButtonLeft - kTextLeft - 120), px(825));

  auto* ok = form::named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
  ok->setDefault(true);
  ok->setGeometry(px(kButtonLeft), px(2280), px(kButtonWidth), px(kButtonHeight));
  connect(ok, &QPushButton::clicked, this, &QDialog::close);

  auto* sysInfo =
      form::named(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo");
  sysInfo->setGeometry(px(kButtonLeft), px(2760), px(kButtonWidth), px(kButtonHeight));
  connect(sysInfo, &QPushButton::clicked, this, &AboutBox::startSystemInfo);
}

QLabel* AboutBox::addLabel(const char* name, const QString& text, double top, double height) {
  QLabel* label = form::label(this, name, text);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const double dpi = logicalDpiY();
  label->setGeometry(common::twipsToPixels(kTextLeft, dpi), common::twipsToPixels(top, dpi),
                     common::twipsToPixels(kTextWidth, dpi), common::twipsToPixels(height, dpi));
  return label;
}

void AboutBox::startSystemInfo() {
  const QString program = m_tool.find();
  if (program.isEmpty()) {
    m_prompts.message("Tallimar", "System Information Is Unavailable At This Time",
                      common::MessageButtons::Ok, common::MessageIcon::None);
    return;
  }
  if (m_tool.start) m_tool.start(program);  // a tool that does not start is not reported
}

}  // namespace tallimar::ui
