// PCG32 written out by hand: the standard library's engines are fixed, but its
// distributions differ between implementations, and a replayed game must draw
// exactly the same numbers everywhere.
#include "platform/Random.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace {
RandomSource* g_source = nullptr;
}  // namespace

void SeededRandom::Seed(std::uint64_t seed) {
  state_ = 0;
  increment_ = (0xda3e39cb94b95bdbULL << 1u) | 1u;
  NextWord();
  state_ += seed;
  NextWord();
}

std::uint32_t SeededRandom::NextWord() {
  const std::uint64_t old = state_;
  state_ = old * 6364136223846793005ULL + increment_;
  const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
  const auto rot = static_cast<std::uint32_t>(old >> 59u);
  return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

int SeededRandom::Next(int range) {
  if (range <= 1) return 0;
  // Lemire's multiply-and-reject: unbiased, and nearly never draws twice.
  const auto bound = static_cast<std::uint32_t>(range);
  std::uint64_t m = std::uint64_t{NextWord()} * bound;
  auto low = static_cast<std::uint32_t>(m);
  if (low < bound) {
    const std::uint32_t threshold = (0u - bound) % bound;
    while (low < threshold) {
      m = std::uint64_t{NextWord()} * bound;
      low = static_cast<std::uint32_t>(m);
    }
  }
  return static_cast<int>(m >> 32);
}

int ScriptedRandom::Next(int range) {
  ranges_asked_.push_back(range);
  if (values_.empty())
    throw std::logic_error("scripted random source ran out at draw " + std::to_string(ranges_asked_.size()) +
                           " (Random(" + std::to_string(range) + "))");
  const int value = values_.front();
  values_.pop_front();
  if (value < 0 || (range > 0 && value >= range) || (range <= 0 && value != 0))
    throw std::logic_error("scripted value " + std::to_string(value) + " does not fit Random(" +
                           std::to_string(range) + ") at draw " + std::to_string(ranges_asked_.size()));
  return value;
}

SeededRandom& ProgramRandom() {
  static SeededRandom generator;
  return generator;
}

void Randomize() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  ProgramRandom().Seed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

int Random(int range) {
  RandomSource& source = g_source != nullptr ? *g_source : ProgramRandom();
  return source.Next(range);
}

void SetRandomSource(RandomSource* source) { g_source = source; }

ScopedRandomSource::ScopedRandomSource(RandomSource& source) : previous_(g_source) { g_source = &source; }
ScopedRandomSource::~ScopedRandomSource() { g_source = previous_; }
