// The headless back-end: the same components, a clock that tests move, and
// message boxes answered in code.
#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <limits>

#include "platform/Application.h"
#include "platform/HelpDocument.h"

namespace kestrune {

// Follows one timer: when it ticks next, restarting the count whenever it is
// enabled or its interval changes, as the real timer does.
class HeadlessBackend::TimerPeer final : public ComponentPeer {
 public:
  TimerPeer(HeadlessBackend& backend, TTimer& timer) : backend_(backend), timer_(timer) { Changed(); }
  ~TimerPeer() override {
    if (!gone_ && timer_.Peer() == this) timer_.SetPeer(nullptr);
  }
  void ComponentDestroyed() override {
    gone_ = true;
    due_ = -1;
  }
  bool gone() const { return gone_; }
  void Changed() override {
    due_ = timer_.Enabled() && timer_.Interval() > 0 ? backend_.now_ + timer_.Interval() : -1;
  }
  TTimer& timer() { return timer_; }
  std::int64_t due() const { return due_; }
  void Ticked() { due_ += timer_.Interval(); }

 private:
  HeadlessBackend& backend_;
  TTimer& timer_;
  std::int64_t due_ = -1;
  bool gone_ = false;
};

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::Track(TTimer& timer) {
  std::erase_if(timers_, [](const auto& t) { return t->gone(); });
  for (const auto& t : timers_)
    if (&t->timer() == &timer) return;
  timers_.push_back(std::make_unique<TimerPeer>(*this, timer));
  timer.SetPeer(timers_.back().get());
}

void HeadlessBackend::Show(TForm& form) {
  shown_ = &form;
  quit_ = false;
  for (TComponent* c : form.Components())
    if (auto* timer = dynamic_cast<TTimer*>(c)) Track(*timer);
}

int HeadlessBackend::MessageBox(const std::string& text, const std::string& caption, int flags) {
  message_boxes_.push_back({text, caption, flags});
  return AnswerMessageBox ? AnswerMessageBox(message_boxes_.back()) : IDOK;
}

void HeadlessBackend::ShowException(const std::string& message) {
  exceptions_.push_back(message);
  if (AnswerException) AnswerException(message);
}

void HeadlessBackend::ShowHelp(const std::string& help_file, TForm& /*owner*/) {
  const HelpDocument doc = LoadHelpDocument(help_file);
  help_shown_.push_back(doc.readable ? doc.markdown : doc.problem);
}

void HeadlessBackend::AdvanceTime(std::int64_t milliseconds) {
  static bool advancing = false;
  const std::int64_t target = now_ + std::max<std::int64_t>(milliseconds, 0);
  if (advancing) {  // a handler standing for slow work: no ticks while it runs
    now_ = target;
    return;
  }
  advancing = true;
  for (;;) {
    TimerPeer* next = nullptr;
    for (const auto& t : timers_)
      if (t->due() >= 0 && t->due() <= target && (next == nullptr || t->due() < next->due())) next = t.get();
    if (next == nullptr) break;
    now_ = std::max(now_, next->due());
    next->Ticked();
    TTimer& timer = next->timer();
    Application->Dispatch([&timer] { timer.Tick(); });
  }
  now_ = std::max(now_, target);
  advancing = false;
}

std::int64_t HeadlessBackend::NextTick(const TTimer& timer) const {
  for (const auto& t : timers_)
    if (!t->gone() && &t->timer() == &timer) return t->due();
  return -1;
}

void HeadlessBackend::Clear() {
  message_boxes_.clear();
  exceptions_.clear();
  help_shown_.clear();
  quit_ = false;
  AnswerMessageBox = nullptr;
  AnswerException = nullptr;
}

std::unique_ptr<Backend> CreateBackend() { return std::make_unique<HeadlessBackend>(); }

HeadlessBackend& Headless() { return static_cast<HeadlessBackend&>(Application->Backend()); }

}  // namespace kestrune
