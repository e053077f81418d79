// Shows a TLabel: its text on a rectangle of its colour, sized to the text.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include "platform/Component.h"

class TLabel;

namespace kestrune::qt {

class QtLabelView final : public QWidget, public ComponentPeer {
 public:
  // font and background are the label's own, or the window's where the label
  // takes its parent's; they do not change at run time.
  QtLabelView(TLabel& label, const QFont& font, const QColor& background, QWidget* parent);
  ~QtLabelView() override;

  // A new caption: resize to it and repaint.
  void Changed() override;
  void ComponentDestroyed() override { label_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString Text() const;

  TLabel* label_;
  QColor background_;
  QColor text_color_;
  bool transparent_;
  bool auto_size_;
};

}  // namespace kestrune::qt
