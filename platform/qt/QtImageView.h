// Shows a TImage's picture one to one and turns the mouse into its events.
#pragma once

#include <QWidget>

#include "platform/Component.h"

class TImage;

namespace kestrune::qt {

class QtImageView final : public QWidget, public ComponentPeer {
 public:
  QtImageView(TImage& image, QWidget* parent);
  ~QtImageView() override;

  // The image has a new picture: repaint.
  void Changed() override;
  void ComponentDestroyed() override { image_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TImage* image_;
  // The left button went down over us and has not come up since: its release
  // over us is a click. The second press of a double click never sets it.
  bool left_pressed_here_ = false;
};

}  // namespace kestrune::qt
