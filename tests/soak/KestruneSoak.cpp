// The soak driver: plays whole games through the real window (built from the
// embedded layout, headless), each from its own seed, with a seeded stream of
// mouse moves and click bursts, and checks after every event and every frame
// what must always hold. A broken rule names the game, its seed and the frame,
// and the driver exits 1 with the command that replays it exactly.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Random.h"
#include "platform/RunTime.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

using kestrune::Headless;

constexpr std::uint64_t kDefaultSeed = 0;
constexpr long long kDefaultGames = 300;
constexpr int kDefaultFrameLimit = 20000;  // a game takes some 1,500 frames; no game may run on for ever
// The input stream of a game is seeded from the game's seed and this, so that
// it never draws the numbers the game itself draws.
constexpr std::uint64_t kInputSalt = 0x6b6573747275'6e65;
// Every 20th seed (0 among them) is played without a click: its score stays 0,
// which meets a high score of 0 at the end and must not count as beating it.
constexpr std::uint64_t kIdleEvery = 20;

// The rules' numbers, as the window has them.
constexpr int kFieldWidth = 313;
constexpr int kColumnSpacing = kFieldWidth / 5;
constexpr int kHighestRung = 240;
constexpr int kMinRungDistance = 16;
constexpr int kGunHalfWidth = 16;
constexpr int kShotOffsetX = 8;
constexpr int kShotStartY = 250;
constexpr int kShotLowestAfterAFrame = 242;
// A climb below -16 frees a shot, but the end of a carry along a rung at y 0
// lifts it 5 more without that test, and it is freed only by its next climb.
constexpr int kShotHighest = -21;
constexpr int kEnemyLeftmost = -10;
constexpr int kEnemyRightmost = 302;
constexpr int kEnemyLowest = 273;
constexpr const char* kNewHighScoreText = "ハイスコア更新！";
constexpr const char* kGameOverText = "終了です";

struct Options {
  std::uint64_t seed = kDefaultSeed;
  long long games = kDefaultGames;
  int frame_limit = kDefaultFrameLimit;
  std::int32_t high_score = 0;  // the high score before the first game, for replaying one game of a run
};

// A rule that did not hold.
class Violation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Str(long long n) { return std::to_string(n); }

// What the driver saw of a run, for the closing line.
struct Totals {
  long long games = 0;
  long long frames = 0;
  long long new_high_scores = 0;
  int longest_game = 0;
};

class Soak {
 public:
  explicit Soak(const Options& options) : options_(options), best_(options.high_score) {}

  // Plays every game; throws Violation at the first rule that breaks.
  void Run() {
    HighScore = options_.high_score;  // FormCreate set 0, as at every program start
    for (long long game = 0; game < options_.games; ++game) {
      game_ = game;
      PlayGame(options_.seed + static_cast<std::uint64_t>(game));
      ++totals_.games;
    }
  }

  long long game() const { return game_; }
  int frame() const { return frame_; }
  std::int32_t high_score_before_game() const { return high_score_before_game_; }
  const Totals& totals() const { return totals_; }
  std::int32_t best() const { return best_; }

 private:
  void PlayGame(std::uint64_t seed) {
    SeededRandom game_draws(seed);
    ScopedRandomSource scope(game_draws);
    input_.Seed(seed ^ kInputSalt);
    idle_ = seed % kIdleEvery == 0;
    frame_ = 0;
    high_score_before_game_ = best_;

    // Between games the mouse may move and click: those shots never fly, and
    // Start frees them. A last move sets the gun, so that nothing of the game
    // before decides where this one's first shots leave from.
    SendInput();
    MoveMouse(InputX(), InputY());
    Dispatch([] { Form1->Start1->Click(); });
    CheckStart();

    last_score_ = 0;
    last_spawn_count_ = 0;
    for (;;) {
      ++frame_;
      if (frame_ > options_.frame_limit)
        throw Violation("the game did not end within " + Str(options_.frame_limit) + " frames");
      // No clicks before the first frame: they would leave from where the gun
      // stood in the game before.
      if (frame_ > 1) SendInput();
      const std::int64_t before = Headless().Now();
      Headless().AdvanceTime(kFrameInterval);
      if (Headless().Now() != before + kFrameInterval) throw Violation("the clock did not move by one frame interval");
      CheckFrame();
      if (!Headless().MessageBoxes().empty()) break;
      if (Headless().NextTick(*Form1->Timer1) != Headless().Now() + kFrameInterval)
        throw Violation("the timer does not tick 55 ms after the frame's end");
    }
    CheckEnd();
    totals_.frames += frame_;
    totals_.longest_game = std::max(totals_.longest_game, frame_);
    Headless().Clear();
  }

  // --- Input ---------------------------------------------------------------------

  // Mostly over the field and its surroundings, sometimes far off it either way.
  int InputX() { return input_.Next(8) == 0 ? input_.Next(10001) - 5000 : input_.Next(401) - 44; }
  int InputY() { return input_.Next(8) == 0 ? input_.Next(10001) - 5000 : input_.Next(321) - 24; }

  // Between two frames: now and then a few moves, now and then a burst of
  // clicks, and once in a while a flood of both.
  void SendInput() {
    const int roll = input_.Next(100);
    int moves = 0;
    int clicks = 0;
    if (roll < 2) {
      moves = 50 + input_.Next(451);
      clicks = input_.Next(60);
    } else {
      if (roll < 60) moves = 1 + input_.Next(3);
      if (input_.Next(4) == 0) clicks = 1 + input_.Next(6);
    }
    if (idle_) clicks = 0;
    while (moves > 0 || clicks > 0) {
      const bool move = clicks == 0 || (moves > 0 && input_.Next(2) == 0);
      if (move) {
        MoveMouse(InputX(), InputY());
        --moves;
      } else {
        Click();
        --clicks;
      }
    }
  }

  // The last move before a frame decides where the gun is drawn.
  void MoveMouse(int x, int y) {
    Dispatch([x, y] { Form1->Image2->MouseMove(TShiftState{}, x, y); });
    if (GunX != x - kGunHalfWidth)
      throw Violation("after a move to x " + Str(x) + " the gun is at " + Str(GunX) + ", not " +
                      Str(x - kGunHalfWidth));
  }

  // A click takes the lowest free slot, from the gun as last drawn, or is dropped.
  void Click() {
    TShot before[kShotSlots];
    std::copy(std::begin(Shots), std::end(Shots), before);
    Dispatch([] { Form1->Image2->Click(); });
    int taken = -1;
    for (int k = 0; k < kShotSlots && taken < 0; ++k)
      if (!before[k].Active) taken = k;
    for (int k = 0; k < kShotSlots; ++k) {
      const TShot& now = Shots[k];
      const TShot& was = before[k];
      if (k != taken) {
        if (now.Active != was.Active || now.X != was.X || now.Y != was.Y || now.DX != was.DX)
          throw Violation("a click changed shot slot " + Str(k) + ", which it did not fire into");
      } else if (!now.Active || now.X != Form1->Sprite1->X + kShotOffsetX || now.Y != kShotStartY || now.DX != 0) {
        throw Violation("a click did not fire shot slot " + Str(k) + " from the gun at " + Str(Form1->Sprite1->X));
      }
    }
  }

  // Runs a handler as the event loop does; whatever it throws is a broken rule here.
  static void Dispatch(const std::function<void()>& handler) {
    Application->Dispatch(handler);
    if (!Headless().Exceptions().empty()) throw Violation("a handler threw: " + Headless().Exceptions().front());
  }

  // --- Checks --------------------------------------------------------------------
  // Messages are built only when a rule breaks: the checks run every frame.

  void CheckStart() {
    if (Score != 0 || SpawnCount != 0)
      throw Violation("Start left score " + Str(Score) + " and spawn count " + Str(SpawnCount));
    for (const TShot& shot : Shots)
      if (shot.Active) throw Violation("Start left a shot in flight");
    for (const TEnemy& enemy : Enemies)
      if (enemy.Active) throw Violation("Start left an enemy on the field");
    if (!Form1->Timer1->Enabled()) throw Violation("Start did not switch the timer on");
    if (!Shows(*Form1->Label5, "High ", best_))
      throw Violation("Start shows \"" + Form1->Label5->Caption() + "\", not the high score " + Str(best_));
    CheckLadder();
  }

  void CheckLadder() {
    for (int i = 0; i < kRungCount; ++i) {
      const TRung& rung = Rungs[i];
      auto name = [&] { return "rung " + Str(i) + " (column " + Str(rung.Column) + ", y " + Str(rung.Y) + ")"; };
      if (rung.Y < 0 || rung.Y > kHighestRung) throw Violation(name() + " lies outside y 0 to 240");
      if (rung.Column < 0 || rung.Column > 3) throw Violation(name() + " lies outside columns 0 to 3");
      if (i < 4 && rung.Column != i) throw Violation(name() + " should join gap " + Str(i));
      for (int j = 0; j < i; ++j)
        if (std::abs(rung.Y - Rungs[j].Y) < kMinRungDistance)
          throw Violation(name() + " is closer than 16 to rung " + Str(j) + " at y " + Str(Rungs[j].Y));
    }
  }

  void CheckFrame() {
    if (Form1->Sprite1->X != GunX) throw Violation("the frame did not draw the gun at GunX");
    CheckLadder();

    int shots = 0;
    for (int k = 0; k < kShotSlots; ++k) {
      const TShot& shot = Shots[k];
      if (!shot.Active) continue;
      ++shots;
      auto name = [&] { return "shot " + Str(k) + " at (" + Str(shot.X) + ", " + Str(shot.Y) + ")"; };
      if (shot.Y < kShotHighest || shot.Y > kShotLowestAfterAFrame) throw Violation(name() + " is outside y -21 to 242");
      if (std::abs(shot.DX) > kColumnSpacing) throw Violation(name() + " has DX " + Str(shot.DX) + ", more than a column");
    }
    if (shots > kShotSlots) throw Violation(Str(shots) + " shots in flight");

    int enemies = 0;
    for (int k = 0; k < kEnemySlots; ++k) {
      const TEnemy& enemy = Enemies[k];
      auto name = [&] { return "enemy " + Str(k) + " at (" + Str(enemy.X) + ", " + Str(enemy.Y) + ")"; };
      // Slots keep their last X when freed; every X ever set must fit.
      if (enemy.X < kEnemyLeftmost || enemy.X > kEnemyRightmost) throw Violation(name() + " is outside x -10 to 302");
      if (!enemy.Active) continue;
      ++enemies;
      if (enemy.Y < 0 || enemy.Y > kEnemyLowest) throw Violation(name() + " is outside y 0 to 273");
      if (enemy.Kind != (k == 3 ? 1 : 0)) throw Violation(name() + " has kind " + Str(enemy.Kind));
    }
    if (enemies > kEnemySlots) throw Violation(Str(enemies) + " enemies on the field");

    if (SpawnCount < 0 || SpawnCount > kEnemiesPerGame)
      throw Violation("spawn count " + Str(SpawnCount) + " is outside 0 to 50");
    if (SpawnCount < last_spawn_count_)
      throw Violation("spawn count fell from " + Str(last_spawn_count_) + " to " + Str(SpawnCount));
    if (Score < 0) throw Violation("score " + Str(Score) + " is negative");
    if (Score < last_score_) throw Violation("score fell from " + Str(last_score_) + " to " + Str(Score));
    last_spawn_count_ = SpawnCount;
    last_score_ = Score;
    if (!Shows(*Form1->Label1, "Score ", Score))
      throw Violation("the score label shows \"" + Form1->Label1->Caption() + "\" for score " + Str(Score));
    if (!Shows(*Form1->Label2, "あと ", kEnemiesPerGame - SpawnCount))
      throw Violation("the count label shows \"" + Form1->Label2->Caption() + "\" for spawn count " + Str(SpawnCount));
    if (Headless().MessageBoxes().empty() && HighScore != best_)
      throw Violation("high score " + Str(HighScore) + " during a game, not the best so far " + Str(best_));
  }

  void CheckEnd() {
    if (Headless().MessageBoxes().size() != 1)
      throw Violation(Str(static_cast<long long>(Headless().MessageBoxes().size())) + " boxes at the end");
    if (SpawnCount != kEnemiesPerGame) throw Violation("the game ended with spawn count " + Str(SpawnCount));
    for (const TEnemy& enemy : Enemies)
      if (enemy.Active) throw Violation("the game ended with an enemy on the field");
    if (Form1->Timer1->Enabled() || Headless().NextTick(*Form1->Timer1) >= 0)
      throw Violation("the timer still runs after the game's end");
    const auto& box = Headless().MessageBoxes().front();
    const bool beaten = Score > best_;
    const std::string expected = beaten ? kNewHighScoreText : kGameOverText;
    if (box.text != expected || box.caption != "Kestrune" || box.flags != MB_OK)
      throw Violation("final score " + Str(Score) + " against best " + Str(best_) + " gave the box \"" + box.text +
                      "\", not \"" + expected + "\"");
    if (beaten) {
      best_ = Score;
      ++totals_.new_high_scores;
    }
    if (HighScore != best_)
      throw Violation("after the game the high score is " + Str(HighScore) + ", not " + Str(best_));
  }

  // True when the label reads prefix followed by n in decimal, built without
  // allocating: this runs every frame.
  static bool Shows(const TLabel& label, std::string_view prefix, long long n) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), n).ptr;
    const std::string_view caption = label.Caption();
    return caption.size() == prefix.size() + static_cast<std::size_t>(end - digits) && caption.starts_with(prefix) &&
           caption.substr(prefix.size()) == std::string_view(digits, static_cast<std::size_t>(end - digits));
  }

  Options options_;
  SeededRandom input_;
  bool idle_ = false;
  std::int32_t best_;  // the best final score so far: what HighScore must be
  std::int32_t high_score_before_game_ = 0;
  long long game_ = 0;
  int frame_ = 0;
  std::int32_t last_score_ = 0;
  std::int32_t last_spawn_count_ = 0;
  Totals totals_;
};

// --- Command line ------------------------------------------------------------------

constexpr const char* kUsage =
    "usage: kestrune_soak [--seed S] [--games N] [--frame-limit F]\n"
    "       kestrune_soak --replay SEED [--high-score H]\n"
    "Plays N whole games (default 300), game g from seed S + g (default S 0), through the\n"
    "real window with no display, checking every frame; exits 1 at the first broken rule.\n"
    "--replay plays the one game of that seed, from high score H (default 0).\n";

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string_view value = argv[++i];
    if (flag == "--seed" || flag == "--replay") {
      const auto seed = ParseNumber<std::uint64_t>(value);
      if (!seed) return std::nullopt;
      options.seed = *seed;
      if (flag == "--replay") options.games = 1;
    } else if (flag == "--games") {
      const auto games = ParseNumber<long long>(value);
      if (!games || *games < 1) return std::nullopt;
      options.games = *games;
    } else if (flag == "--frame-limit") {
      const auto limit = ParseNumber<int>(value);
      if (!limit || *limit < 1) return std::nullopt;
      options.frame_limit = *limit;
    } else if (flag == "--high-score") {
      const auto high = ParseNumber<std::int32_t>(value);
      if (!high || *high < 0) return std::nullopt;
      options.high_score = *high;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  SetProgramArguments(argc, argv);
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const auto started = std::chrono::steady_clock::now();
  try {
    Application->Initialize();
    Application->SetFormLoader(kestrune::LoadEmbeddedLayout);
    Application->CreateForm(Form1);
    Application->Run();  // headless: shows the window, whose timer the clock now drives
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrune_soak: cannot build the window: %s\n", e.what());
    return 1;
  }
  Headless().Clear();

  Soak soak(*options);
  int status = 0;
  try {
    soak.Run();
  } catch (const std::exception& e) {
    const std::uint64_t seed = options->seed + static_cast<std::uint64_t>(soak.game());
    const std::string limit =
        options->frame_limit == kDefaultFrameLimit ? "" : " --frame-limit " + Str(options->frame_limit);
    std::fprintf(stderr,
                 "kestrune_soak: FAILED in game %lld of the run from seed %llu (game seed %llu), frame %d: %s\n"
                 "  replay the game: kestrune_soak --replay %llu --high-score %d%s\n"
                 "  replay the run:  kestrune_soak --seed %llu --games %lld%s\n",
                 soak.game(), static_cast<unsigned long long>(options->seed), static_cast<unsigned long long>(seed),
                 soak.frame(), e.what(), static_cast<unsigned long long>(seed), soak.high_score_before_game(),
                 limit.c_str(), static_cast<unsigned long long>(options->seed), soak.game() + 1, limit.c_str());
    status = 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (status == 0) {
    const Totals& t = soak.totals();
    std::printf("kestrune_soak: %lld games from seed %llu passed: %lld frames (longest game %d), "
                "high score beaten %lld times, best %d, in %.1f s\n",
                t.games, static_cast<unsigned long long>(options->seed), t.frames, t.longest_game, t.new_high_scores,
                soak.best(), seconds);
  }
  // The window goes before the program ends, so a leak checker sees it all freed.
  delete Form1;
  Form1 = nullptr;
  return status;
}
