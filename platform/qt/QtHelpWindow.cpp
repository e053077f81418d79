// The help window.
#include "platform/qt/QtHelpWindow.h"

#include <QScreen>
#include <QTextBrowser>
#include <algorithm>
#include <QVBoxLayout>

#include "platform/qt/QtConvert.h"

namespace kestrune::qt {

namespace {
constexpr int kHelpWidth = 520;
constexpr int kHelpHeight = 600;
constexpr int kGapBesideOwner = 8;
}  // namespace

QtHelpWindow::QtHelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Kestrune Help"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  resize(kHelpWidth, kHelpHeight);
  PlaceBeside(owner);
}

void QtHelpWindow::PlaceBeside(const QWidget* owner) {
  if (owner == nullptr) return;
  // To the right of the game, so the playfield stays in view while one
  // reads; on a small screen as far right as it fits.
  const QRect game = owner->frameGeometry();
  QPoint at(game.right() + 1 + kGapBesideOwner, game.top());
  if (const QScreen* screen = owner->screen()) {
    const QRect room = screen->availableGeometry();
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - width())));
    at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - height())));
  }
  move(at);
}

void QtHelpWindow::ShowDocument(const HelpDocument& document) {
  if (document.readable)
    browser_->setMarkdown(ToQString(document.markdown));
  else
    browser_->setHtml(QStringLiteral("<h2>Help is not available</h2><p>%1</p><p>The game goes on as before.</p>")
                          .arg(ToQString(document.problem).toHtmlEscaped()));
}

}  // namespace kestrune::qt
