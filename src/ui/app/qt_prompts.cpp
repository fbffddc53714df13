// Message boxes, file choices and colour choices with Qt's standard dialogs.
#include "ui/app/qt_prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace tallimar::ui {
namespace {

using common::Answer;
using common::MessageButtons;
using common::MessageIcon;

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The buttons, and the one that closing the box (Esc, the window's close button) presses.
void addButtons(QMessageBox& box, MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
}

Answer answerOf(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      break;
  }
  return buttons == MessageButtons::Ok      ? Answer::Ok
         : buttons == MessageButtons::YesNo ? Answer::No
                                            : Answer::Cancel;
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

void prepare(QFileDialog& dialog, const common::FileRequest& request) {
  dialog.setWindowTitle(qs(request.title));
  if (!request.initialFolder.empty()) dialog.setDirectory(qs(request.initialFolder));
  const QStringList filters = QtPrompts::nameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(qs(request.defaultExtension));
  if (!request.presetName.empty()) dialog.selectFile(qs(request.presetName));
}

}  // namespace

QStringList QtPrompts::nameFilters(const std::string& filter) {
  const QString text = qs(filter);
  QStringList filters;
  if (text.contains('|')) {
    const QStringList parts = text.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
      // A description that already names its patterns ("VE eXchange (*.vex)") keeps them
      // once; Qt reads the patterns from the last parentheses.
      const QString patterns = QString(parts[i + 1]).replace(';', ' ').trimmed();
      const QString description = parts[i].trimmed();
      if (description.endsWith(QStringLiteral("(%1)").arg(patterns)))
        filters << description;
      else
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
  } else if (!text.trimmed().isEmpty()) {
    filters << QString(text).replace(';', ' ');
  }
  return filters;
}

Answer QtPrompts::message(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) {
  QMessageBox box(qtIcon(icon), qs(title), qs(text), QMessageBox::NoButton, m_parent);
  addButtons(box, buttons);
  return answerOf(box.exec(), buttons);
}

std::vector<std::string> QtPrompts::openFiles(const common::FileRequest& request, bool several) {
  QFileDialog dialog(m_parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  prepare(dialog, request);
  std::vector<std::string> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(file.toStdString());
  return files;
}

std::optional<std::string> QtPrompts::saveFile(const common::FileRequest& request) {
  QFileDialog dialog(m_parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  prepare(dialog, request);
  // A name typed without an extension takes the one of the file type chosen in the dialog,
  // so that "new" under "Tune File (*.msq)" becomes new.msq, not new.vex.
  if (!request.defaultExtension.empty()) {
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
      static const QRegularExpression extension(QStringLiteral(R"(\*\.(\w+))"));
      const QRegularExpressionMatch match = extension.match(f);
      if (match.hasMatch()) dialog.setDefaultSuffix(match.captured(1));
    });
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<common::Rgb> QtPrompts::chooseColour(common::Rgb initial) {
  const QColor chosen = QColorDialog::getColor(QColor(initial.r, initial.g, initial.b), m_parent);
  if (!chosen.isValid()) return std::nullopt;
  return common::Rgb{static_cast<std::uint8_t>(chosen.red()),
                     static_cast<std::uint8_t>(chosen.green()),
                     static_cast<std::uint8_t>(chosen.blue())};
}

}  // namespace tallimar::ui
