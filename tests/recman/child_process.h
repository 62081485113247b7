// A forked child process talking to the test through two pipes, one byte
// per message, so that the two processes move in step without any timing.
// A child that dies closes its pipe end, and Receive then returns 0 instead
// of waiting for ever.
#ifndef QAV_TESTS_RECMAN_CHILD_PROCESS_H_
#define QAV_TESTS_RECMAN_CHILD_PROCESS_H_

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace qav::testing {

class Channel {
 public:
  Channel(int in, int out) : in_(in), out_(out) {}
  void Send(char c) const {
    while (write(out_, &c, 1) < 0 && errno == EINTR) {
    }
  }
  char Receive() const {
    char c = 0;
    ssize_t n;
    while ((n = read(in_, &c, 1)) < 0 && errno == EINTR) {
    }
    return n == 1 ? c : '\0';
  }

 private:
  int in_, out_;
};

class ChildProcess {
 public:
  // The child runs `body` and ends with its result, never returning into
  // the test framework. Fork before the test opens any record file: an open
  // SQLite connection must not be used on both sides of a fork.
  explicit ChildProcess(const std::function<int(const Channel&)>& body) {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(down[1]);
      close(up[0]);
      _exit(body(Channel(down[0], up[1])));
    }
    close(down[0]);
    close(up[1]);
    to_child_ = down[1];
    from_child_ = up[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (to_child_ >= 0) close(to_child_);
    if (from_child_ >= 0) close(from_child_);
  }

  bool started() const { return pid_ > 0; }
  Channel channel() const { return Channel(from_child_, to_child_); }
  void Send(char c) const { channel().Send(c); }
  char Receive() const { return channel().Receive(); }
  void Kill() const { kill(pid_, SIGKILL); }
  // The child's exit code, or -signal when a signal ended it.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  bool waited_ = false;
};

}  // namespace qav::testing

#endif  // QAV_TESTS_RECMAN_CHILD_PROCESS_H_
