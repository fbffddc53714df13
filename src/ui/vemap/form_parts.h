// Small building blocks of the VE window's dialogs and calculator forms: named controls
// (objectName, and the "index" property for control arrays) and the placement rule of the
// dialogs opened beside the window.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

namespace tallimar::ui::form {

inline QLineEdit* lineEdit(QWidget* parent, const char* name, const QString& text, int index = -1) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  if (index >= 0) edit->setProperty("index", index);
  return edit;
}

inline QLabel* label(QWidget* parent, const char* name, const QString& caption) {
  auto* created = new QLabel(caption, parent);
  created->setObjectName(QString::fromLatin1(name));
  return created;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* created = new QPushButton(caption, parent);
  created->setObjectName(QString::fromLatin1(name));
  created->setAutoDefault(false);
  created->setMinimumWidth(88);
  return created;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
  auto* created = new QCheckBox(caption, parent);
  created->setObjectName(QString::fromLatin1(name));
  return created;
}

inline QRadioButton* option(QWidget* parent, const char* name, int index, const QString& caption) {
  auto* created = new QRadioButton(caption, parent);
  created->setObjectName(QString::fromLatin1(name));
  created->setProperty("index", index);
  return created;
}

inline QGroupBox* frame(QWidget* parent, const char* name, const QString& caption) {
  auto* created = new QGroupBox(caption, parent);
  created->setObjectName(QString::fromLatin1(name));
  return created;
}

// Places `dialog` 120 twips right of and below the top-left corner of `window`'s frame.
void placeBeside(QWidget& dialog, const QWidget& window);

}  // namespace tallimar::ui::form
