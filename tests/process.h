// Running a built program as a process: standard input from a string,
// standard output and error captured, a time limit; and the same through a
// pseudo-terminal, answering prompts as a person would.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal, or -1 on time-out
  std::string out, err;
};

inline long now_ms_since(const timespec& t0) {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (t.tv_sec - t0.tv_sec) * 1000 + (t.tv_nsec - t0.tv_nsec) / 1000000;
}

inline int wait_status(pid_t pid, bool timed_out) {
  int st = 0;
  waitpid(pid, &st, 0);
  if (timed_out) return -1;
  if (WIFEXITED(st)) return WEXITSTATUS(st);
  if (WIFSIGNALED(st)) return 128 + WTERMSIG(st);
  return -2;
}

// Runs the command `argv` (the program's path first, then its arguments) in
// folder `cwd` with `input` on standard input, killed after timeout_ms.
// `in_child`, when given, runs in the child just before the program starts
// (limits, signal dispositions, descriptors).
inline ProcessResult run_command(const std::vector<std::string>& argv, const std::string& cwd,
                                 const std::string& input, int timeout_ms = 120000,
                                 const std::function<void()>& in_child = {}) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    if (in_child) in_child();
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  ProcessResult r;
  std::size_t written = 0;
  if (input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  timespec t0;
  clock_gettime(CLOCK_MONOTONIC, &t0);
  bool timed_out = false;
  bool out_open = true, err_open = true;
  signal(SIGPIPE, SIG_IGN);
  while (out_open || err_open) {
    pollfd fds[3];
    int n = 0;
    if (out_open) fds[n++] = {out[0], POLLIN, 0};
    if (err_open) fds[n++] = {err[0], POLLIN, 0};
    if (in[1] >= 0) fds[n++] = {in[1], POLLOUT, 0};
    const long left = timeout_ms - now_ms_since(t0);
    if (left <= 0) {
      timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, n, static_cast<int>(left)) < 0) continue;
    for (int k = 0; k < n; ++k) {
      if (!fds[k].revents) continue;
      if (fds[k].fd == in[1]) {
        const ssize_t w = write(in[1], input.data() + written, input.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if (w < 0 || written == input.size()) {
          close(in[1]);
          in[1] = -1;
        }
        continue;
      }
      char buf[65536];
      const ssize_t got = read(fds[k].fd, buf, sizeof buf);
      if (got <= 0) {
        if (fds[k].fd == out[0]) out_open = false;
        if (fds[k].fd == err[0]) err_open = false;
        continue;
      }
      (fds[k].fd == out[0] ? r.out : r.err).append(buf, static_cast<std::size_t>(got));
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  close(err[0]);
  r.status = wait_status(pid, timed_out);
  return r;
}

// run_command without arguments.
inline ProcessResult run_process(const std::string& program, const std::string& cwd,
                                 const std::string& input, int timeout_ms = 120000,
                                 const std::function<void()>& in_child = {}) {
  return run_command({program}, cwd, input, timeout_ms, in_child);
}

// Runs `program` on a pseudo-terminal in `cwd`. For each (prompt, answer)
// pair it waits until the screen shows `prompt`, then types `answer` and
// Enter. Returns everything the terminal showed (typed text echoed, line
// ends as CR LF) and the exit status; status -1 when a prompt never came.
inline ProcessResult run_on_terminal(const std::string& program, const std::string& cwd,
                                     const std::vector<std::pair<std::string, std::string>>& dialogue,
                                     int timeout_ms = 60000) {
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return {};
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(126);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ProcessResult r;
  timespec t0;
  clock_gettime(CLOCK_MONOTONIC, &t0);
  std::size_t step = 0, seen_upto = 0;
  bool timed_out = false;
  for (;;) {
    if (step < dialogue.size()) {
      const std::size_t at = r.out.find(dialogue[step].first, seen_upto);
      if (at != std::string::npos) {
        seen_upto = at + dialogue[step].first.size();
        const std::string line = dialogue[step].second + "\r";
        if (write(master, line.data(), line.size()) < 0) break;
        ++step;
        continue;
      }
    }
    const long left = timeout_ms - now_ms_since(t0);
    if (left <= 0) {
      timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buf[4096];
    const ssize_t got = read(master, buf, sizeof buf);
    if (got <= 0) break;  // the program ended (EIO on Linux)
    r.out.append(buf, static_cast<std::size_t>(got));
  }
  close(master);
  r.status = wait_status(pid, timed_out);
  return r;
}

}  // namespace testsupport
