#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "support/process_environment.h"

extern char** environ;

namespace lumadot::test {
namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// A raw pseudo-terminal as {reading end, writing end}, like a pipe's.
void openTerminalPipe(int (&ends)[2]) {
  ends[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  check(ends[0] >= 0 && grantpt(ends[0]) == 0 && unlockpt(ends[0]) == 0, "posix_openpt");
  ends[1] = open(ptsname(ends[0]), O_RDWR | O_NOCTTY | O_CLOEXEC);
  check(ends[1] >= 0, "open pts");
  termios settings{};
  check(tcgetattr(ends[1], &settings) == 0, "tcgetattr");
  cfmakeraw(&settings);
  check(tcsetattr(ends[1], TCSANOW, &settings) == 0, "tcsetattr");
}

// A program that stops reading its input early (it refused it) must not kill
// the test with SIGPIPE: the signal is held back while writing, and dropped.
ssize_t writeWithoutSigpipe(int fd, const char* data, std::size_t size) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  const ssize_t written = write(fd, data, size);
  const int error = errno;
  const timespec now{};
  if (written < 0 && error == EPIPE) sigtimedwait(&pipeSignal, nullptr, &now);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return written;
}

ProcessResult runAndCollect(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const std::string& stdinData, const std::vector<std::string>& extraEnv,
                            std::chrono::milliseconds interruptAfter, bool stdoutOnTerminal,
                            const OutputWatch& watch) {
  int inPipe[2], outPipe[2], errPipe[2];
  check(pipe2(inPipe, O_CLOEXEC) == 0 && pipe2(errPipe, O_CLOEXEC) == 0, "pipe");
  if (stdoutOnTerminal) {
    openTerminalPipe(outPipe);
  } else {
    check(pipe2(outPipe, O_CLOEXEC) == 0, "pipe");
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

  std::vector<std::string> argStore{program.string()};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> inherited;
  for (char** e = environ; *e != nullptr; ++e) inherited.emplace_back(*e);
  std::vector<std::string> envStore = mergedEnvironment(inherited, extraEnv);
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int spawnError = posix_spawn(&pid, argStore[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawnError != 0) {
    close(inPipe[1]);
    close(outPipe[0]);
    close(errPipe[0]);
    errno = spawnError;
    check(false, "posix_spawn");
  }

  // Feed stdin and drain both outputs together so a chatty child never blocks.
  ProcessResult result;
  std::size_t written = 0;
  int inFd = inPipe[1];
  if (stdinData.empty()) {
    close(inFd);
    inFd = -1;
  } else {
    fcntl(inFd, F_SETFL, O_NONBLOCK);
  }
  using SteadyClock = std::chrono::steady_clock;
  std::optional<SteadyClock::time_point> interruptAt;
  bool interrupted = false;
  if (interruptAfter.count() > 0) interruptAt = SteadyClock::now() + interruptAfter;
  int fds[2] = {outPipe[0], errPipe[0]};
  std::string* sinks[2] = {&result.out, &result.err};
  while (fds[0] >= 0 || fds[1] >= 0 || inFd >= 0) {
    pollfd p[3];
    nfds_t n = 0;
    for (int i = 0; i < 2; ++i) {
      if (fds[i] >= 0) p[n++] = {fds[i], POLLIN, 0};
    }
    if (inFd >= 0) p[n++] = {inFd, POLLOUT, 0};
    int timeout = -1;
    if (interruptAt) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*interruptAt - SteadyClock::now());
      if (left.count() <= 0) {
        kill(pid, SIGINT);
        interruptAt.reset();
        continue;
      }
      timeout = static_cast<int>(left.count());
    }
    if (poll(p, n, timeout) < 0) {
      if (errno == EINTR) continue;
      check(false, "poll");
    }
    for (nfds_t k = 0; k < n; ++k) {
      if (p[k].revents == 0) continue;
      if (p[k].fd == inFd) {
        const ssize_t w = writeWithoutSigpipe(inFd, stdinData.data() + written, stdinData.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if (w < 0 && errno != EAGAIN) written = stdinData.size();  // reader gone
        if (written == stdinData.size()) {
          close(inFd);
          inFd = -1;
        }
        continue;
      }
      for (int i = 0; i < 2; ++i) {
        if (p[k].fd != fds[i]) continue;
        char buf[65536];
        const ssize_t r = read(fds[i], buf, sizeof buf);
        if (r > 0) {
          sinks[i]->append(buf, static_cast<std::size_t>(r));
          if (watch && !interrupted && watch(result)) {
            kill(pid, SIGINT);
            interrupted = true;
          }
        } else if (r == 0 || errno != EINTR) {
          close(fds[i]);
          fds[i] = -1;
        }
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& stdinData, const std::vector<std::string>& extraEnv,
                         std::chrono::milliseconds interruptAfter, bool stdoutOnTerminal) {
  return runAndCollect(program, args, stdinData, extraEnv, interruptAfter, stdoutOnTerminal, {});
}

ProcessResult runWatchedProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& extraEnv, const OutputWatch& watch,
                                bool stdoutOnTerminal) {
  return runAndCollect(program, args, {}, extraEnv, {}, stdoutOnTerminal, watch);
}

}  // namespace lumadot::test
