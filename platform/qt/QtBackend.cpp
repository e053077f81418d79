// The Qt back-end: the one place where the components meet Qt.
#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/Application.h"
#include "platform/HelpDocument.h"
#include "platform/RunTime.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtHelpWindow.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtWindow.h"

namespace kestrune::qt {

namespace {
// What a back-end freed after main leaves behind; see ~QtBackend.
struct Abandoned {
  std::vector<std::unique_ptr<QtTimer>> timers;
  std::unique_ptr<QtWindow> window;
  std::unique_ptr<QApplication> app;
};
Abandoned* g_abandoned = nullptr;
}  // namespace

QtBackend::QtBackend() {
  CheckDisplay();
  program_name_ = ParamStr(0);
  if (program_name_.empty()) program_name_ = "kestrune";
  argv_[0] = program_name_.data();
  // On a dense screen (or with QT_SCALE_FACTOR) Qt enlarges the whole window.
  // A whole-number ratio keeps each pixel of the playfield a square block of
  // screen pixels, so 1.5 becomes 2; QT_SCALE_FACTOR_ROUNDING_POLICY, if set,
  // still wins.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  // Lets Wayland shells match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kestrune.Kestrune"));
  app_ = std::make_unique<QApplication>(argc_, argv_);
  // Only Close ends the program, not the last window that happens to close.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtBackend::~QtBackend() {
  if (!app_) return;
  // Still here after main (the loop never ran): Qt's own globals may already
  // be gone, and freeing Qt now can crash. Leave it to the operating system,
  // reachable, so leak checkers do not count it.
  for (const auto& timer : timers_) timer->Stop();
  g_abandoned = new Abandoned{std::move(timers_), std::move(window_), std::move(app_)};
}

void QtBackend::Show(TForm& form) {
  window_ = std::make_unique<QtWindow>(form);
  for (TComponent* component : form.Components())
    if (auto* timer = dynamic_cast<TTimer*>(component)) timers_.push_back(std::make_unique<QtTimer>(*timer, nullptr));
  window_->show();
}

void QtBackend::RunLoop() {
  if (!quit_requested_) QApplication::exec();
  // The program ends after the loop: free Qt now, not in static destruction
  // after main, when Qt's own globals may already be gone.
  TearDown();
}

void QtBackend::Quit() {
  quit_requested_ = true;
  for (const auto& timer : timers_) timer->Stop();
  // Leaves every running loop, a message box's too, at once.
  QCoreApplication::exit(0);
}

int QtBackend::MessageBox(const std::string& text, const std::string& caption, int /*flags*/) {
  // MB_OK is the only kind the game asks for: one OK button, no icon.
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok, window_.get());
  box.exec();
  return IDOK;
}

void QtBackend::ShowHelp(const std::string& help_file, TForm& /*owner*/) {
  // One help window, beside the main window; asking again shows it afresh.
  if (help_.isNull()) help_ = new QtHelpWindow(window_.get());
  help_->ShowDocument(LoadHelpDocument(help_file));
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void QtBackend::ShowException(const std::string& message) {
  const QString title = window_ ? window_->windowTitle() : QStringLiteral("Kestrune");
  QMessageBox::critical(window_.get(), title, ToQString(message));
}

void QtBackend::TearDown() {
  timers_.clear();
  delete help_.data();
  window_.reset();
  app_.reset();
}

}  // namespace kestrune::qt

namespace kestrune {

std::unique_ptr<Backend> CreateBackend() { return std::make_unique<qt::QtBackend>(); }

}  // namespace kestrune
