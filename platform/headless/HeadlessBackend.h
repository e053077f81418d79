// A back-end with no display: components run exactly as in the window, time
// passes only when a test or the soak driver says so, and message boxes are
// answered by whoever drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"

class TTimer;

namespace kestrune {

class HeadlessBackend final : public Backend {
 public:
  struct MessageBoxCall {
    std::string text;
    std::string caption;
    int flags = 0;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  void Show(TForm& form) override;
  void RunLoop() override {}
  void Quit() override { quit_ = true; }
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ShowHelp(const std::string& help_file, TForm& owner) override;
  void ShowException(const std::string& message) override;

  // Lets time pass, firing every timer tick that falls due, in time order.
  // A handler may itself call AdvanceTime to stand for slow work.
  void AdvanceTime(std::int64_t milliseconds);
  std::int64_t Now() const { return now_; }
  // When the timer ticks next, or -1 while it is off.
  std::int64_t NextTick(const TTimer& timer) const;

  // Called inside MessageBox, with the box still open; the default answers OK.
  std::function<int(const MessageBoxCall&)> AnswerMessageBox;
  // Called inside ShowException, with the error box still open.
  std::function<void(const std::string& message)> AnswerException;

  const std::vector<MessageBoxCall>& MessageBoxes() const { return message_boxes_; }
  const std::vector<std::string>& Exceptions() const { return exceptions_; }
  // The help texts shown, each the document or what kept it from being read.
  const std::vector<std::string>& HelpShown() const { return help_shown_; }
  bool QuitRequested() const { return quit_; }
  bool IsShowing(const TForm& form) const { return shown_ == &form; }

  // Forgets what was recorded, for the next test.
  void Clear();

 private:
  class TimerPeer;
  void Track(TTimer& timer);

  std::int64_t now_ = 0;
  bool quit_ = false;
  const TForm* shown_ = nullptr;
  std::vector<std::unique_ptr<TimerPeer>> timers_;
  std::vector<MessageBoxCall> message_boxes_;
  std::vector<std::string> exceptions_;
  std::vector<std::string> help_shown_;
};

// The headless back-end of this executable.
HeadlessBackend& Headless();

}  // namespace kestrune
