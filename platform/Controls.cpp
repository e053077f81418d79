// The few component behaviours that are more than a stored value.
#include "platform/Controls.h"

TCanvas* TImage::Canvas() {
  if (!picture_.HasBitmap() || picture_.Bitmap().Empty()) picture_.Bitmap().SetSize(Width, Height);
  return picture_.Bitmap().Canvas();
}

void TImage::SetPicture(const TPicture& picture) {
  picture_.Assign(picture);
  Changed();
}

void TImage::Click() {
  if (OnClick) OnClick(this);
}

void TImage::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TLabel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TTimer::SetInterval(int interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Changed();
}
