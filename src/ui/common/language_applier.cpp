// Walking a window's controls and setting their translated captions.
#include "ui/common/language_applier.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStringDecoder>
#include <QWidget>

namespace tallimar::ui {
namespace {

QString decodeCaption(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError())
    text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return text;
}

// Sets the caption of a control that has one; false for controls without a caption.
bool setCaption(QObject& control, const QString& caption) {
  if (auto* menu = qobject_cast<QMenu*>(&control)) {
    menu->setTitle(caption);
  } else if (auto* action = qobject_cast<QAction*>(&control)) {
    action->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(&control)) {
    label->setText(caption);
  } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
    button->setText(caption);
  } else if (auto* group = qobject_cast<QGroupBox*>(&control)) {
    group->setTitle(caption);
  } else {
    return false;
  }
  return true;
}

}  // namespace

QString controlCaption(const QObject& control) {
  if (auto* menu = qobject_cast<const QMenu*>(&control)) return menu->title();
  if (auto* action = qobject_cast<const QAction*>(&control)) return action->text();
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(&control)) return group->title();
  return {};
}

int applyLanguageTable(QWidget& window, const std::string& windowName,
                       const language::LanguageTable& table) {
  int changed = 0;
  for (QObject* control : window.findChildren<QObject*>()) {
    const std::string name = control->objectName().trimmed().toStdString();
    if (name.empty()) continue;
    const QVariant index = control->property("index");
    bool isArray = false;
    const int number = index.isValid() ? index.toInt(&isArray) : 0;
    const std::string caption =
        table.lookupCaption(windowName, name, isArray ? std::to_string(number) : std::string());
    if (!caption.empty() && setCaption(*control, decodeCaption(caption))) ++changed;
  }
  return changed;
}

int applyLanguage(QWidget& window, const std::string& windowName, language::LanguageTable& table,
                  const QString& programFolder, const std::string& language,
                  common::StatusLog& log) {
  (void)table.readFile(programFolder.toStdString(), language, log);
  return applyLanguageTable(window, windowName, table);
}

}  // namespace tallimar::ui
