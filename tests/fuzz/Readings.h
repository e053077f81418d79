// How the fuzzers and their regression test read one input: the layout reader
// and the picture loader may load it or refuse it with their own clear error,
// and nothing else. Shared so that a saved finding is replayed by the ordinary
// tests exactly as the fuzzer saw it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Form.h"
#include "platform/PictureData.h"
#include "sprite/Sprite.h"

namespace kestrune::fuzz {

// The name the fuzzed text goes by in error messages.
inline constexpr std::string_view kSourceName = "fuzz.layout";
// A message longer than this is no longer one readable line.
inline constexpr std::size_t kMaxMessageBytes = 400;

// One reading of an input: the reader's error (empty when it loaded) and what,
// if anything, broke the reader's promises. An exception of any other kind
// passes through to the caller: that is a finding too.
struct Reading {
  std::string error;
  std::string problem;
};

// A window of class TForm1 that takes a component of any class under any
// name, and a handler of the right kind for any name, so that every path of
// the reader past the names is reached.
class AnyForm : public TForm {
 public:
  AnyForm() : TForm(nullptr) {}
  std::string ClassName() const override { return "TForm1"; }
  bool BindField(const std::string& /*name*/, TComponent* /*component*/) override { return true; }
  std::optional<TEventHandler> FindMethod(const std::string& name) override {
    if (name.find("Move") != std::string::npos) return TMouseMoveEvent([](TObject*, TShiftState, int, int) {});
    return TNotifyEvent([](TObject*) {});
  }
};

// What is wrong with a layout error message, or empty: it must name the
// source and a line, say something after them, and stay one short line.
inline std::string LayoutMessageProblem(const std::string& message) {
  const std::string prefix = std::string(kSourceName) + ":";
  if (!message.starts_with(prefix)) return "the message does not start with the source name: " + message;
  std::size_t at = prefix.size();
  const std::size_t digits_start = at;
  while (at < message.size() && message[at] >= '0' && message[at] <= '9') ++at;
  if (at == digits_start || at >= message.size() || message[at] != ':')
    return "the message names no line: " + message;
  if (message.size() < at + 3) return "the message says nothing after the line: " + message;
  if (message.find('\n') != std::string::npos) return "the message runs over several lines: " + message;
  if (message.size() > kMaxMessageBytes)
    return "the message is " + std::to_string(message.size()) + " bytes long: " + message.substr(0, 200) + "...";
  return {};
}

// Loads text into form; a refusal must be a LayoutError with a clear message.
inline Reading ReadLayoutInto(TForm& form, std::string_view text) {
  Reading reading;
  try {
    LoadLayout(form, text, std::string(kSourceName));
  } catch (const LayoutError& e) {
    reading.error = e.what();
    reading.problem = LayoutMessageProblem(reading.error);
  }
  return reading;
}

inline std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The game's own window, with its real fields and handlers.
inline Reading ReadLayoutIntoGameWindow(std::span<const std::uint8_t> bytes) {
  TForm1 form(nullptr);
  return ReadLayoutInto(form, AsText(bytes));
}

inline Reading ReadLayoutIntoAnyForm(std::span<const std::uint8_t> bytes) {
  AnyForm form;
  return ReadLayoutInto(form, AsText(bytes));
}

// A 2 by 1 picture that a refused input must leave exactly as it was.
inline void PaintSentinel(TBitmap& bitmap) {
  bitmap.SetSize(2, 1);
  bitmap.Pixels().SetPixel(0, 0, 0x123456);
  bitmap.Pixels().SetPixel(1, 0, 0xABCDEF);
}

inline bool IsSentinel(const TBitmap& bitmap) {
  return bitmap.Width() == 2 && bitmap.Height() == 1 && !bitmap.Monochrome() &&
         bitmap.Pixels().Pixel(0, 0) == 0x123456 && bitmap.Pixels().Pixel(1, 0) == 0xABCDEF;
}

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixels().Pixel(x, y) != b.Pixels().Pixel(x, y)) return false;
  return true;
}

// Runs one of the two picture readers. A refusal must be an EInvalidGraphic
// that leaves the bitmap untouched; a picture that loads must come back the
// same through SaveBmp and LoadBmp.
template <typename Load>
Reading ReadPictureWith(Load load, std::span<const std::uint8_t> bytes) {
  Reading reading;
  TBitmap bitmap;
  PaintSentinel(bitmap);
  try {
    load(bitmap, bytes);
  } catch (const EInvalidGraphic& e) {
    reading.error = e.what();
    if (!IsSentinel(bitmap)) reading.problem = "a refused picture changed the bitmap: " + reading.error;
    else if (!reading.error.starts_with("invalid picture: ") || reading.error.size() <= 17)
      reading.problem = "the message does not say what is wrong: " + reading.error;
    else if (reading.error.size() > kMaxMessageBytes)
      reading.problem = "the message is " + std::to_string(reading.error.size()) + " bytes long";
    return reading;
  }
  if (bitmap.Width() < 1 || bitmap.Height() < 1 || bitmap.Monochrome()) {
    reading.problem = "a picture loaded as " + std::to_string(bitmap.Width()) + " by " +
                      std::to_string(bitmap.Height()) + (bitmap.Monochrome() ? ", monochrome" : "");
    return reading;
  }
  TBitmap again;
  LoadBmp(again, SaveBmp(bitmap));
  if (!SamePixels(bitmap, again)) reading.problem = "the loaded picture does not survive SaveBmp and LoadBmp";
  return reading;
}

inline Reading ReadBmpFile(std::span<const std::uint8_t> bytes) {
  return ReadPictureWith([](TBitmap& b, std::span<const std::uint8_t> file) { LoadBmp(b, file); }, bytes);
}

// The file with its byte count put in front, as the layout stores a picture.
inline std::vector<std::uint8_t> BlockOf(std::span<const std::uint8_t> file) {
  std::vector<std::uint8_t> block;
  const auto count = static_cast<std::uint32_t>(file.size());
  for (int shift = 0; shift < 32; shift += 8) block.push_back(static_cast<std::uint8_t>(count >> shift));
  block.insert(block.end(), file.begin(), file.end());
  return block;
}

inline Reading ReadPictureBlock(std::span<const std::uint8_t> bytes) {
  return ReadPictureWith([](TBitmap& b, std::span<const std::uint8_t> block) { LoadPictureData(b, block); }, bytes);
}

}  // namespace kestrune::fuzz
