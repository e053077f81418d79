// Our own help window: the Markdown help document beside the game.
#pragma once

#include <QWidget>

#include "platform/HelpDocument.h"

class QTextBrowser;

namespace kestrune::qt {

class QtHelpWindow final : public QWidget {
 public:
  // A separate window owned by owner: it closes with it and never blocks it.
  explicit QtHelpWindow(QWidget* owner);

  // Shows the document, or the sentence that says why it cannot be read.
  void ShowDocument(const HelpDocument& document);

 private:
  void PlaceBeside(const QWidget* owner);

  QTextBrowser* browser_;
};

}  // namespace kestrune::qt
