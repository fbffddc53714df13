// Re-captioning a window from the language table: every named object under the window (its
// widgets, menus and menu entries, in creation order) whose caption the table translates.
//
// A control's name is its objectName; a control that belongs to a control array carries
// its index in the dynamic property "index" (an int). Labels, buttons, check boxes, group
// boxes, menus and menu entries have captions; other controls are left as they are.
#pragma once

#include <QString>
#include <string>

#include "common/status_log.h"
#include "language/language_table.h"

class QObject;
class QWidget;

namespace tallimar::ui {

// Sets the caption of every control under window that table translates for windowName.
// Captions are UTF-8 text, or Latin-1 (as older editors save it) when they are not valid
// UTF-8. Returns the number of controls re-captioned.
int applyLanguageTable(QWidget& window, const std::string& windowName,
                       const language::LanguageTable& table);

// Reads programFolder/<language>.lang into table (a failure adds its status line to log)
// and then re-captions window from the table, whatever the table now holds.
int applyLanguage(QWidget& window, const std::string& windowName, language::LanguageTable& table,
                  const QString& programFolder, const std::string& language,
                  common::StatusLog& log);

// A control's caption as the language code sees it (empty for controls without one).
QString controlCaption(const QObject& control);

}  // namespace tallimar::ui
