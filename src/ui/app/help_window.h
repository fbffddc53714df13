// "Tallimar Help" (`frmHelp`): the short guide shipped inside the program, the tuning loop,
// the plot views and the simulated ECU, shown in a text browser opened from "Help" > "Help".
#pragma once

#include <QWidget>

class QTextBrowser;

namespace tallimar::ui {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmHelp";
  // The guide's page, a Qt resource of the program.
  static constexpr const char* kGuideUrl = "qrc:/help/guide.html";

  explicit HelpWindow(QWidget* parent = nullptr);
  QTextBrowser* browser() const { return m_browser; }

 private:
  QTextBrowser* m_browser = nullptr;
};

}  // namespace tallimar::ui
