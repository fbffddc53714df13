// tallimar-ecu-sim: serves the simulated ECU on a pseudo-terminal until SIGINT or SIGTERM.
// The device it prints can be opened by the program like a serial port ("ComDevice1").
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "ecu/simulated_ecu.h"
#include "sim_options.h"

namespace {

using tallimar::ecu::EcuPage;
using tallimar::ecu::SimulatedEcu;
using tallimar::ecusim::SimOptions;
using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) { g_stop = 1; }

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool loadPage(const std::string& path, EcuPage& page, std::string& error) {
  // A page file is small: anything larger is no page (and a FIFO or device is refused).
  const auto read = tallimar::common::readWholeFile(path, 1 << 16);
  if (!read) {
    error = path + " " + read.reason();
    return false;
  }
  const std::string& bytes = *read;
  if (bytes.size() < page.size()) {
    error = path + " holds " + std::to_string(bytes.size()) + " bytes; a page needs " +
            std::to_string(page.size());
    return false;
  }
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(bytes[i]);
  return true;
}

bool saveFlash(const std::string& path, const EcuPage& page) {
  return tallimar::common::writeFileAtomically(
             path, std::string_view(reinterpret_cast<const char*>(page.data()), page.size()))
      .ok();
}

// The pseudo-terminal: the master is ours; the device name is what a client opens. The
// simulator keeps the other side open too, so that a client closing it does not end the line.
struct Pty {
  int master = -1;
  int keeper = -1;
  std::string device;
};

bool openPty(Pty& pty, std::string& error) {
  pty.master = posix_openpt(O_RDWR | O_NOCTTY);
  if (pty.master < 0 || grantpt(pty.master) != 0 || unlockpt(pty.master) != 0) {
    error = systemError("cannot create a pseudo-terminal");
    return false;
  }
  const char* name = ptsname(pty.master);
  if (!name) {
    error = systemError("cannot name the pseudo-terminal");
    return false;
  }
  pty.device = name;
  pty.keeper = open(name, O_RDWR | O_NOCTTY);
  termios raw{};
  if (pty.keeper < 0 || tcgetattr(pty.keeper, &raw) != 0) {
    error = systemError("cannot open " + pty.device);
    return false;
  }
  cfmakeraw(&raw);
  cfsetispeed(&raw, B9600);
  cfsetospeed(&raw, B9600);
  tcsetattr(pty.keeper, TCSANOW, &raw);
  return true;
}

class Server {
 public:
  Server(const SimOptions& options, SimulatedEcu& ecu, Pty& pty)
      : m_options(options), m_ecu(ecu), m_pty(pty) {}

  // Serves until stopped or hung up; false on a line failure.
  bool run() {
    while (!g_stop) {
      pollfd fd{m_pty.master, POLLIN, 0};
      const int ready = poll(&fd, 1, 200);
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return fail(systemError("poll"));
      if (ready == 0) continue;
      std::uint8_t buffer[512];
      const ssize_t got = read(m_pty.master, buffer, sizeof buffer);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) return fail(systemError("read"));
      if (!serve(buffer, static_cast<std::size_t>(got))) return true;
    }
    return true;
  }

 private:
  bool fail(const std::string& why) {
    std::cerr << "tallimar-ecu-sim: " << why << '\n';
    return false;
  }

  // False once the simulator has hung up.
  bool serve(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < size; ++i)
      if (++m_received != m_options.dropByte)
        bytes.push_back(data[i]);
      else
        std::cerr << "tallimar-ecu-sim: dropped byte " << m_received << '\n';
    const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    for (const SimulatedEcu::Served& served : m_ecu.receive(bytes, seconds)) {
      std::cerr << "tallimar-ecu-sim: " << served.description << '\n';
      if (served.command == 'B' && m_options.flashFile &&
          !saveFlash(*m_options.flashFile, m_ecu.flash()))
        std::cerr << "tallimar-ecu-sim: cannot write " << *m_options.flashFile << '\n';
      reply(served);
      if (m_options.hangUpAfter && ++m_commands >= *m_options.hangUpAfter) {
        std::cerr << "tallimar-ecu-sim: hanging up after " << m_commands << " commands\n";
        return false;
      }
    }
    return true;
  }

  void reply(const SimulatedEcu::Served& served) {
    std::vector<std::uint8_t> bytes = served.reply;
    if (m_options.silent || bytes.empty()) return;
    if (served.command == 'V' && m_options.shortPage && *m_options.shortPage < bytes.size())
      bytes.resize(*m_options.shortPage);
    if (m_options.garbage)
      for (auto& b : bytes) b = static_cast<std::uint8_t>(m_random() & 0xFF);
    if (m_options.slowMs > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(m_options.slowMs));
    send(bytes);
  }

  // Writes in small pieces, each after the time it takes on the line (10 bits a byte).
  void send(const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kPiece = 8;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
      const std::size_t n = std::min(kPiece, bytes.size() - at);
      if (m_options.lineSpeed > 0)
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<long>(n) * 10'000'000L / m_options.lineSpeed));
      if (write(m_pty.master, bytes.data() + at, n) < 0) {
        std::cerr << "tallimar-ecu-sim: " << systemError("write") << '\n';
        return;
      }
    }
  }

  const SimOptions& m_options;
  SimulatedEcu& m_ecu;
  Pty& m_pty;
  Clock::time_point m_start = Clock::now();
  std::uint64_t m_received = 0;
  std::uint64_t m_commands = 0;
  std::mt19937 m_random{20240611u};
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const auto options = tallimar::ecusim::parseSimOptions(arguments, error);
  if (!options) {
    std::cerr << "tallimar-ecu-sim: " << error << "\n\n" << tallimar::ecusim::kSimUsage;
    return 2;
  }
  if (options->help) {
    std::cout << tallimar::ecusim::kSimUsage;
    return 0;
  }
  EcuPage flash = SimulatedEcu::builtInPage();
  if (options->pageFile && !loadPage(*options->pageFile, flash, error)) {
    std::cerr << "tallimar-ecu-sim: " << error << '\n';
    return 2;
  }
  SimulatedEcu ecu(flash);
  if (options->flashFile && !saveFlash(*options->flashFile, ecu.flash())) {
    std::cerr << "tallimar-ecu-sim: cannot write " << *options->flashFile << '\n';
    return 1;
  }

  struct sigaction action {};
  action.sa_handler = onSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  Pty pty;
  if (!openPty(pty, error)) {
    std::cerr << "tallimar-ecu-sim: " << error << '\n';
    return 1;
  }
  if (options->linkPath) {
    unlink(options->linkPath->c_str());
    if (symlink(pty.device.c_str(), options->linkPath->c_str()) != 0) {
      std::cerr << "tallimar-ecu-sim: " << systemError("cannot link " + *options->linkPath) << '\n';
      return 1;
    }
  }
  std::cout << pty.device << std::endl;

  const bool ok = Server(*options, ecu, pty).run();
  if (options->linkPath) unlink(options->linkPath->c_str());
  close(pty.keeper);
  close(pty.master);
  std::cerr << "tallimar-ecu-sim: stopped\n";
  return ok ? 0 : 1;
}
