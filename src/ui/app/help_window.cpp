// The guide window: a text browser over the guide resource, links leaving the program open
// in the desktop's browser.
#include "ui/app/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tallimar::ui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QStringLiteral("Tallimar Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_browser = new QTextBrowser(this);
  m_browser->setObjectName(QStringLiteral("txtGuide"));
  m_browser->setOpenExternalLinks(true);
  m_browser->setSource(QUrl(QString::fromLatin1(kGuideUrl)));
  layout->addWidget(m_browser);
  resize(620, 640);
}

}  // namespace tallimar::ui
