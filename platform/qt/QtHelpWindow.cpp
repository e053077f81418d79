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
constexpr int kNarrowestHelp = 320;
constexpr int kGapBesideOwner = 8;
}  // namespace

QtHelpWindow::QtHelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  PlaceBeside(owner);
}

void QtHelpWindow::PlaceBeside(const QWidget* owner) {
  if (owner == nullptr) return;
  const QScreen* screen = owner->screen();
  if (screen == nullptr) return;
  // Beside the game, right if there is room, else left, so the playfield stays
  // in view while one reads; only a screen too small for both gets an overlap.
  const QRect game = owner->frameGeometry();
  const QRect room = screen->availableGeometry();
  const int room_right = room.right() - game.right() - kGapBesideOwner;
  const int room_left = game.left() - room.left() - kGapBesideOwner;
  const int height = std::min(kHelpHeight, room.height());
  if (room_right >= kNarrowestHelp || room_right >= room_left) {
    const int width = std::clamp(room_right, kNarrowestHelp, kHelpWidth);
    resize(width, height);
    move(std::min(game.right() + 1 + kGapBesideOwner, room.right() + 1 - width), game.top());
  } else {
    const int width = std::clamp(room_left, kNarrowestHelp, kHelpWidth);
    resize(width, height);
    move(std::max(game.left() - kGapBesideOwner - width, room.left()), game.top());
  }
  if (y() + height > room.bottom() + 1) move(x(), std::max(room.top(), room.bottom() + 1 - height));
}

void QtHelpWindow::ShowDocument(const HelpDocument& document) {
  // The title says at a glance, also in the task bar, whether there is help to read.
  setWindowTitle(document.readable ? QStringLiteral("Kestrune Help") : QStringLiteral("Kestrune Help (not available)"));
  if (document.readable)
    browser_->setMarkdown(ToQString(document.markdown));
  else
    browser_->setHtml(QStringLiteral("<h2>Help is not available</h2><p>%1</p><p>The game goes on as before.</p>")
                          .arg(ToQString(document.problem).toHtmlEscaped()));
}

}  // namespace kestrune::qt
