// The playfield widget: paints straight from the bitmap's own pixels.
#include "platform/qt/QtImageView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "platform/Application.h"
#include "platform/Controls.h"

namespace kestrune::qt {

namespace {

TShiftState ShiftStateOf(const QMouseEvent& event) {
  struct Row {
    bool down;
    TShiftFlag flag;
  };
  const Qt::KeyboardModifiers keys = event.modifiers();
  const Qt::MouseButtons buttons = event.buttons();
  const Row rows[] = {
      {keys.testFlag(Qt::ShiftModifier), TShiftFlag::Shift},
      {keys.testFlag(Qt::AltModifier), TShiftFlag::Alt},
      {keys.testFlag(Qt::ControlModifier), TShiftFlag::Ctrl},
      {buttons.testFlag(Qt::LeftButton), TShiftFlag::Left},
      {buttons.testFlag(Qt::RightButton), TShiftFlag::Right},
      {buttons.testFlag(Qt::MiddleButton), TShiftFlag::Middle},
  };
  TShiftState shift;
  for (const Row& row : rows)
    if (row.down) shift.Bits = static_cast<std::uint8_t>(shift.Bits | static_cast<std::uint8_t>(row.flag));
  return shift;
}

// Whole pixels of the image, rounding down so -0.5 is -1, not 0.
QPoint PixelOf(const QMouseEvent& event) {
  const QPointF p = event.position();
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

QtImageView::QtImageView(TImage& image, QWidget* parent) : QWidget(parent), image_(&image) {
  setGeometry(image.Left, image.Top, image.Width, image.Height);
  setVisible(image.Visible);
  // Moves come while the mouse is merely over us, not only while a button is held.
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  image.SetPeer(this);
}

QtImageView::~QtImageView() {
  if (image_ != nullptr && image_->Peer() == this) image_->SetPeer(nullptr);
}

void QtImageView::Changed() {
  // A picture that covers the whole widget paints every pixel of it, so Qt
  // need not first paint the window's background underneath: a fill as
  // large as the frame, every frame. Before the first picture, or with a
  // smaller one, the background must show and is painted as usual.
  const bool covers = image_ != nullptr && image_->Picture().HasBitmap() &&
                      image_->Picture().Bitmap().Width() >= width() && image_->Picture().Bitmap().Height() >= height();
  if (testAttribute(Qt::WA_OpaquePaintEvent) != covers) setAttribute(Qt::WA_OpaquePaintEvent, covers);
  update();
}

void QtImageView::paintEvent(QPaintEvent* /*event*/) {
  // Before its first picture the image paints nothing, so the window's colour shows.
  if (image_ == nullptr || !image_->Picture().HasBitmap()) return;
  const Surface& pixels = image_->Picture().Bitmap().Pixels();
  if (pixels.IsEmpty()) return;
  // The surface's words already are RGB32: wrap them, no copy.
  const QImage frame(reinterpret_cast<const uchar*>(pixels.Bits()), pixels.Width(), pixels.Height(), pixels.Stride(),
                     QImage::Format_RGB32);
  QPainter painter(this);
  painter.drawImage(0, 0, frame);
}

void QtImageView::mouseMoveEvent(QMouseEvent* event) {
  // While the left button pressed over us is held, Qt's implicit grab brings
  // moves from anywhere, outside our rectangle and negative included.
  if (image_ == nullptr) return;
  TImage* image = image_;
  const TShiftState shift = ShiftStateOf(*event);
  const QPoint at = PixelOf(*event);
  Application->Dispatch([image, shift, at] { image->MouseMove(shift, at.x(), at.y()); });
}

void QtImageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) left_pressed_here_ = true;
}

void QtImageView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool was_pressed_here = left_pressed_here_;
  left_pressed_here_ = false;
  if (!was_pressed_here || !rect().contains(PixelOf(*event)) || image_ == nullptr) return;
  TImage* image = image_;
  Application->Dispatch([image] { image->Click(); });
}

void QtImageView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A quick double click is one click: its second press, and the release that
  // follows, give none. QWidget's default would treat it as another press.
  if (event->button() == Qt::LeftButton) left_pressed_here_ = false;
}

}  // namespace kestrune::qt
