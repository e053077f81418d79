// The frame timer: periodic while enabled, restarted whenever it is switched on.
#include "platform/qt/QtTimer.h"

#include "platform/Application.h"
#include "platform/Controls.h"

namespace kestrune::qt {

QtTimer::QtTimer(TTimer& timer, QObject* parent) : QObject(parent), component_(&timer) {
  // Qt's default coarse timer may be 5% late; the game's pace is 55 ms.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (component_ == nullptr) return;
    TTimer* ticking = component_;
    Application->Dispatch([ticking] { ticking->Tick(); });
  });
  timer.SetPeer(this);
  Changed();
}

QtTimer::~QtTimer() {
  if (component_ != nullptr && component_->Peer() == this) component_->SetPeer(nullptr);
}

void QtTimer::Changed() {
  // Interval 0 means no ticks at all, not QTimer's "whenever idle".
  if (component_ != nullptr && component_->Enabled() && component_->Interval() > 0)
    timer_.start(component_->Interval());
  else
    timer_.stop();
}

void QtTimer::ComponentDestroyed() {
  component_ = nullptr;
  timer_.stop();
}

}  // namespace kestrune::qt
