// What the window tests need to drive the real game: an X server of their own,
// child processes that never outlive the test, screenshots and a pretend person.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::window_test {

using std::chrono::milliseconds;

// A child process. Its output goes to a file; the destructor kills it if it
// is still running, and it dies with the test program in any case.
class Process {
 public:
  struct Options {
    std::vector<std::string> argv;
    // Variables to set, or to remove where the value is empty.
    std::map<std::string, std::optional<std::string>> environment;
    std::filesystem::path working_directory;
  };
  explicit Process(const Options& options);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // Waits until the process ends; its wait status, or nothing after timeout.
  std::optional<int> WaitForExit(milliseconds timeout);
  // Everything it wrote to stdout and stderr so far.
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::filesystem::path output_file_;
};

// Runs a short command to its end and returns its standard output.
std::string RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::optional<std::string>>& env);

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// An RGB screenshot of part of the screen, 0xRRGGBB a pixel.
class Picture {
 public:
  Picture() = default;
  Picture(Rect area, std::vector<std::uint32_t> pixels) : area_(area), pixels_(std::move(pixels)) {}
  int Width() const { return area_.width; }
  int Height() const { return area_.height; }
  // The pixel at (x, y) of the picture; 0 outside it.
  std::uint32_t At(int x, int y) const;
  // How many pixels of a sub-rectangle satisfy test.
  template <typename Test>
  int Count(Rect r, Test test) const {
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) n += test(At(x, y)) ? 1 : 0;
    return n;
  }
  // Pixels of r that differ from other's at the same place.
  int CountDifferences(const Picture& other, Rect r) const;
  // Writes a PPM file, to look at when a test fails.
  void Save(const std::filesystem::path& file) const;

 private:
  Rect area_;
  std::vector<std::uint32_t> pixels_;
};

// An Xvfb of our own on a display number it picks itself; with it, the few
// things a person does to a window, through xdotool, and screenshots.
class XSession {
 public:
  static constexpr int kScreenWidth = 1280;
  static constexpr int kScreenHeight = 1024;

  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  const std::string& Display() const { return display_; }
  // The environment of a program shown on this display: no other platform.
  std::map<std::string, std::optional<std::string>> Environment() const;

  // The id of the visible window whose whole title is title, once it appears.
  std::optional<unsigned long> WaitForWindow(const std::string& title, milliseconds timeout);
  // Every visible window whose whole title is title.
  std::vector<unsigned long> FindWindows(const std::string& title);
  // The visible windows of a program, by its X class name.
  std::vector<unsigned long> FindWindowsOfClass(const std::string& class_name);
  Rect Geometry(unsigned long window);

  Picture Grab(Rect area);

  void MoveMouse(int x, int y);
  void Click(int x, int y);
  void DoubleClick(int x, int y);
  void Press(int x, int y);
  void Release(int x, int y);
  void Type(const std::string& text);
  // Asks the window to close, as its title bar's close button does.
  void RequestClose(unsigned long window);
  // Sets the X resources that programs started from now on read, as a desktop
  // session's xrdb does ("Xft.dpi: 192" for a dense screen).
  void SetResources(const std::string& resources);

 private:
  std::string Xdotool(std::vector<std::string> args);

  std::string display_;
  std::unique_ptr<Process> server_;
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

// Polls until condition holds; false after timeout.
template <typename Condition>
bool WaitUntil(Condition condition, milliseconds timeout, milliseconds step = milliseconds(50));

void Sleep(milliseconds duration);

// A fresh empty directory, removed with its contents when this goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

template <typename Condition>
bool WaitUntil(Condition condition, milliseconds timeout, milliseconds step) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(step);
  }
}

}  // namespace kestrune::window_test
