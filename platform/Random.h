// Random numbers: one generator for the whole program, and the seam through
// which tests seed it or feed it a script of values.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <vector>

// Where Random() takes its numbers from.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number from 0 to range - 1; range is at least 1.
  virtual int Next(int range) = 0;
};

// The program's own generator: the same seed always gives the same numbers,
// on every machine and compiler, so a game can be replayed from its seed.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(std::uint64_t seed = 0) { Seed(seed); }
  void Seed(std::uint64_t seed);
  int Next(int range) override;

 private:
  std::uint32_t NextWord();
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 0;
};

// Returns the given values in order, for tests that fix every draw. It records
// each range asked for, and throws std::logic_error when it runs out or when a
// value does not fit the range asked for.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<int> values) : values_(values) {}
  void Push(int value) { values_.push_back(value); }
  void Push(std::initializer_list<int> values) { values_.insert(values_.end(), values); }
  int Next(int range) override;

  std::size_t Remaining() const { return values_.size(); }
  const std::vector<int>& RangesAsked() const { return ranges_asked_; }

 private:
  std::deque<int> values_;
  std::vector<int> ranges_asked_;
};

// Seeds the program's generator from the clock.
void Randomize();
// A uniform integer from 0 to range - 1; 0 when range is 1 or less.
int Random(int range);

// Makes Random() draw from source (not owned) until reset with nullptr,
// which goes back to the program's own generator.
void SetRandomSource(RandomSource* source);
// The program's own generator, for seeding it directly.
SeededRandom& ProgramRandom();

// Installs a random source for the lifetime of a scope, then restores the previous one.
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(RandomSource& source);
  ~ScopedRandomSource();
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

 private:
  RandomSource* previous_;
};
