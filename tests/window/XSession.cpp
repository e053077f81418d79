// Xvfb, child processes, xdotool and screenshots for the window tests.
#include "XSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kestrune::window_test {

namespace {

// In the child, before exec: die with the test, take the given environment.
void PrepareChild(const Process::Options& options, int output_fd) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  for (const auto& [name, value] : options.environment) {
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }
  if (!options.working_directory.empty() && chdir(options.working_directory.c_str()) != 0) _exit(126);
  const int null_fd = open("/dev/null", O_RDONLY);
  dup2(null_fd, STDIN_FILENO);
  if (output_fd >= 0) {
    dup2(output_fd, STDOUT_FILENO);
    dup2(output_fd, STDERR_FILENO);
  }
}

[[noreturn]] void Exec(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

std::string EscapeRegex(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::strchr("\\^$.|?*+()[]{}", c) != nullptr) out += '\\';
    out += c;
  }
  return out;
}

std::vector<unsigned long> ParseIds(const std::string& text) {
  std::vector<unsigned long> ids;
  std::istringstream in(text);
  unsigned long id = 0;
  while (in >> id) ids.push_back(id);
  return ids;
}

}  // namespace

void Sleep(milliseconds duration) { std::this_thread::sleep_for(duration); }

// ---- Process ----

Process::Process(const Options& options) {
  char name[] = "/tmp/kestrune-window-output-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) throw std::runtime_error("cannot make an output file");
  output_file_ = name;
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    PrepareChild(options, fd);
    Exec(options.argv);
  }
  close(fd);
}

Process::~Process() {
  if (Running()) {
    kill(pid_, SIGKILL);
    WaitForExit(milliseconds(5000));
  }
  std::error_code ignored;
  std::filesystem::remove(output_file_, ignored);
}

bool Process::Running() {
  if (status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  return !status_;
}

std::optional<int> Process::WaitForExit(milliseconds timeout) {
  WaitUntil([this] { return !Running(); }, timeout, milliseconds(10));
  return status_;
}

std::string Process::Output() const {
  std::ifstream in(output_file_);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::optional<std::string>>& env) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(pipe_fds[0]);
    PrepareChild({argv, env, {}}, -1);
    dup2(pipe_fds[1], STDOUT_FILENO);
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, STDERR_FILENO);
    Exec(argv);
  }
  close(pipe_fds[1]);
  std::string out;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return out;
}

// ---- Picture ----

std::uint32_t Picture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= area_.width || y >= area_.height) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(area_.width) + static_cast<std::size_t>(x)];
}

int Picture::CountDifferences(const Picture& other, Rect r) const {
  int n = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) n += At(x, y) != other.At(x, y) ? 1 : 0;
  return n;
}

void Picture::Save(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << area_.width << ' ' << area_.height << "\n255\n";
  for (std::uint32_t p : pixels_) {
    const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    out.write(rgb, 3);
  }
}

// ---- XSession ----

struct XSession::Connection {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  ~Connection() {
    if (connection != nullptr) xcb_disconnect(connection);
  }
};

XSession::XSession() {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  fcntl(pipe_fds[0], F_SETFD, FD_CLOEXEC);
  // Xvfb picks a free display number itself and writes it to the pipe when ready.
  server_ = std::make_unique<Process>(Process::Options{
      {"Xvfb", "-displayfd", std::to_string(pipe_fds[1]), "-screen", "0",
       std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24", "-nolisten", "tcp"},
      {},
      {}});
  close(pipe_fds[1]);
  std::string number;
  pollfd ready{pipe_fds[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
    char buffer[32];
    const ssize_t n = read(pipe_fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipe_fds[0]);
  if (number.find('\n') == std::string::npos)
    throw std::runtime_error("Xvfb did not start: " + server_->Output());
  display_ = ":" + number.substr(0, number.find('\n'));

  connection_ = std::make_unique<Connection>();
  connection_->connection = xcb_connect(display_.c_str(), nullptr);
  if (xcb_connection_has_error(connection_->connection) != 0)
    throw std::runtime_error("cannot connect to our Xvfb on " + display_);
  connection_->root = xcb_setup_roots_iterator(xcb_get_setup(connection_->connection)).data->root;
}

XSession::~XSession() {
  connection_.reset();
  if (server_ && server_->Running()) {
    kill(server_->Pid(), SIGTERM);
    if (!server_->WaitForExit(milliseconds(3000))) kill(server_->Pid(), SIGKILL);
  }
}

std::map<std::string, std::optional<std::string>> XSession::Environment() const {
  return {{"DISPLAY", display_}, {"QT_QPA_PLATFORM", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
}

std::string XSession::Xdotool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  return RunCommand(args, Environment());
}

std::vector<unsigned long> XSession::FindWindows(const std::string& title) {
  return ParseIds(Xdotool({"search", "--onlyvisible", "--name", "^" + EscapeRegex(title) + "$"}));
}

std::vector<unsigned long> XSession::FindWindowsOfClass(const std::string& class_name) {
  return ParseIds(Xdotool({"search", "--onlyvisible", "--classname", "^" + EscapeRegex(class_name) + "$"}));
}

std::optional<unsigned long> XSession::WaitForWindow(const std::string& title, milliseconds timeout) {
  std::optional<unsigned long> found;
  WaitUntil(
      [&] {
        const auto ids = FindWindows(title);
        if (!ids.empty()) found = ids.front();
        return found.has_value();
      },
      timeout, milliseconds(100));
  return found;
}

Rect XSession::Geometry(unsigned long window) {
  std::istringstream in(Xdotool({"getwindowgeometry", "--shell", std::to_string(window)}));
  Rect r;
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (key == "X") r.x = value;
    if (key == "Y") r.y = value;
    if (key == "WIDTH") r.width = value;
    if (key == "HEIGHT") r.height = value;
  }
  return r;
}

Picture XSession::Grab(Rect area) {
  xcb_connection_t* c = connection_->connection;
  xcb_get_image_cookie_t cookie =
      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, connection_->root, static_cast<std::int16_t>(area.x),
                    static_cast<std::int16_t>(area.y), static_cast<std::uint16_t>(area.width),
                    static_cast<std::uint16_t>(area.height), ~0u);
  xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
  if (reply == nullptr) throw std::runtime_error("screenshot failed");
  // Depth 24 at 32 bits a pixel: one little-endian word 0x00RRGGBB each.
  const auto* words = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply));
  std::vector<std::uint32_t> pixels(words, words + static_cast<std::size_t>(area.width) * area.height);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFFu;
  std::free(reply);
  return Picture(area, std::move(pixels));
}

void XSession::MoveMouse(int x, int y) {
  Xdotool({"mousemove", std::to_string(x), std::to_string(y)});
  // Let the program see the pointer arrive before anything else happens there.
  Sleep(milliseconds(60));
}

void XSession::Click(int x, int y) {
  MoveMouse(x, y);
  Xdotool({"click", "1"});
}

void XSession::DoubleClick(int x, int y) {
  MoveMouse(x, y);
  Xdotool({"click", "--repeat", "2", "--delay", "60", "1"});
}

void XSession::Press(int x, int y) {
  MoveMouse(x, y);
  Xdotool({"mousedown", "1"});
}

void XSession::Release(int x, int y) {
  MoveMouse(x, y);
  Xdotool({"mouseup", "1"});
}

void XSession::Type(const std::string& text) { Xdotool({"type", "--delay", "30", text}); }

void XSession::RequestClose(unsigned long window) {
  xcb_connection_t* c = connection_->connection;
  auto intern = [c](const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  };
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = static_cast<xcb_window_t>(window);
  event.type = intern("WM_PROTOCOLS");
  event.data.data32[0] = intern("WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, static_cast<xcb_window_t>(window), XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(c);
}

void XSession::SetResources(const std::string& resources) {
  xcb_connection_t* c = connection_->connection;
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, connection_->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                      static_cast<std::uint32_t>(resources.size()), resources.data());
  // Round trip: the property is there before any program asks for it.
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// ---- TempDir ----

TempDir::TempDir() {
  char name[] = "/tmp/kestrune-window-XXXXXX";
  if (mkdtemp(name) == nullptr) throw std::runtime_error("cannot make a temporary directory");
  path_ = name;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace kestrune::window_test
