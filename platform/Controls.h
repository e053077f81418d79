// The visible components of a window: their stored properties and their events.
// They are plain objects; the back-end that shows them reads these properties
// and is told through Changed() when one that can change at run time does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Font.h"
#include "platform/Types.h"

using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// Anything with a place in the window's client area.
class TControl : public TComponent {
 public:
  using TComponent::TComponent;

  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Visible = true;
};

// What an image shows: a bitmap, or nothing yet.
class TPicture {
 public:
  bool HasBitmap() const { return has_bitmap_; }
  // The bitmap, created empty on first use.
  TBitmap& Bitmap() {
    has_bitmap_ = true;
    return bitmap_;
  }
  const TBitmap& Bitmap() const { return bitmap_; }
  // Makes this picture an independent copy of other's.
  void Assign(const TPicture& other) {
    has_bitmap_ = other.has_bitmap_;
    bitmap_.Assign(&other.bitmap_);
  }

 private:
  bool has_bitmap_ = false;
  TBitmap bitmap_;
};

class TImage : public TControl {
 public:
  using TControl::TControl;

  // On first use gives the image a bitmap of its Width by Height.
  TCanvas* Canvas();
  const TPicture& Picture() const { return picture_; }
  // Shows a copy of picture as it is now (later drawing on it not included) and
  // repaints. The copy shares the pixels until either side draws (see Surface),
  // so showing a finished frame copies nothing.
  void SetPicture(const TPicture& picture);

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

  // Called by the back-end (or a test) when the platform reports the event.
  void Click();
  void MouseMove(TShiftState shift, int x, int y);

 private:
  TPicture picture_;
};

class TLabel : public TControl {
 public:
  using TControl::TControl;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  TColor Color = clSilver;
  TFont Font;
  bool ParentFont = true;   // takes the window's font unless the layout gives its own
  bool ParentColor = true;  // takes the window's colour unless the layout gives its own
  bool Transparent = false;
  bool AutoSize = true;  // the coloured rectangle follows the text

 private:
  std::string caption_;
};

// A free-text area; the game never reads it.
class TMemo : public TControl {
 public:
  using TControl::TControl;

  std::vector<std::string> Lines;
  TColor Color = clWindow;
  TFont Font;
  bool ParentFont = true;
  int TabOrder = 0;
  bool WordWrap = true;
};

class TMenuItem : public TComponent {
 public:
  using TComponent::TComponent;

  std::string Caption;
  TNotifyEvent OnClick;

  void Add(TMenuItem* item) { items_.push_back(item); }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Called by the back-end (or a test) when a person picks the item.
  void Click() {
    if (OnClick) OnClick(this);
  }

 private:
  std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
 public:
  using TComponent::TComponent;

  void Add(TMenuItem* item) { items_.push_back(item); }
  const std::vector<TMenuItem*>& Items() const { return items_; }

 private:
  std::vector<TMenuItem*> items_;
};

// Ticks every Interval milliseconds while enabled. Enabling it (or changing
// Interval) restarts the count, so the next tick comes a whole Interval later.
class TTimer : public TComponent {
 public:
  using TComponent::TComponent;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  void SetInterval(int interval);

  TNotifyEvent OnTimer;

  // Called by the back-end when an Interval has passed; nothing while disabled.
  void Tick() {
    if (enabled_ && OnTimer) OnTimer(this);
  }

 private:
  bool enabled_ = true;
  int interval_ = 1000;
};
