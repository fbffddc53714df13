// Small building blocks of the windows' forms and dialogs: named controls (objectName, and
// the "index" property for control arrays) and the placement rule of the dialogs opened
// beside the "Modify VE Map" window.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

namespace tallimar::ui::form {

// Gives `widget` its objectName and, for a member of a control array (index >= 0), its
// "index" property, by which language files and tests find it. Returns `widget`.
template <typename Widget>
Widget* named(Widget* widget, const char* name, int index = -1) {
  widget->setObjectName(QString::fromLatin1(name));
  if (index >= 0) widget->setProperty("index", index);
  return widget;
}

inline QLineEdit* lineEdit(QWidget* parent, const char* name, const QString& text, int index = -1) {
  return named(new QLineEdit(text, parent), name, index);
}

inline QLabel* label(QWidget* parent, const char* name, const QString& caption) {
  return named(new QLabel(caption, parent), name);
}

// A button of a calculator form: not pressed by Enter unless it is the focused one.
inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* created = named(new QPushButton(caption, parent), name);
  created->setAutoDefault(false);
  created->setMinimumWidth(88);
  return created;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
  return named(new QCheckBox(caption, parent), name);
}

inline QRadioButton* option(QWidget* parent, const char* name, int index, const QString& caption) {
  return named(new QRadioButton(caption, parent), name, index);
}

inline QGroupBox* frame(QWidget* parent, const char* name, const QString& caption) {
  return named(new QGroupBox(caption, parent), name);
}

// Places `dialog` 120 twips right of and below the top-left corner of `window`'s frame.
void placeBeside(QWidget& dialog, const QWidget& window);

}  // namespace tallimar::ui::form
