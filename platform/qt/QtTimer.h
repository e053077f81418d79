// Drives a TTimer from a QTimer.
#pragma once

#include <QObject>
#include <QTimer>

#include "platform/Component.h"

class TTimer;

namespace kestrune::qt {

class QtTimer final : public QObject, public ComponentPeer {
 public:
  QtTimer(TTimer& timer, QObject* parent);
  ~QtTimer() override;

  // Enabled or Interval changed: restart the count from now, or stop.
  void Changed() override;
  void ComponentDestroyed() override;

  void Stop() { timer_.stop(); }

 private:
  TTimer* component_;
  QTimer timer_;
};

}  // namespace kestrune::qt
