#include "crash/protocol/CrashDialogClient.h"

#include "platform/base/NoSigPipe.h"
#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rasp {

namespace {

// Starts the helper with pipes on its standard input and output (out may
// be null: the helper's output is then discarded).
pid_t Spawn(const std::string& helper, int* in, int* out) {
  int inPipe[2], outPipe[2] = {-1, -1};
  if (::pipe2(inPipe, O_CLOEXEC) != 0)
    return -1;
  TUniqueFd inRead(inPipe[0]), inWrite(inPipe[1]);
  if (out && ::pipe2(outPipe, O_CLOEXEC) != 0)
    return -1;
  TUniqueFd outRead(outPipe[0]), outWrite(outPipe[1]);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, inRead.Get(), 0);
  if (out)
    posix_spawn_file_actions_adddup2(&fa, outWrite.Get(), 1);
  else
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(helper.c_str()), nullptr};
  pid_t pid = -1;
  int rc = ::posix_spawn(&pid, helper.c_str(), &fa, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0)
    return -1;
  *in = inWrite.Release();
  if (out)
    *out = outRead.Release();
  return pid;
}

} // namespace

std::string CrashDialogHelperPath() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0)
    return CrashDialogHelperName;
  std::string self(buf, size_t(n));
  return self.substr(0, self.find_last_of('/') + 1) + CrashDialogHelperName;
}

TCrashDialogResult CrashShowDialog(const std::string& helper, const TCrashDialogRequest& request,
                                   const std::string& fallbackText) {
  TCrashDialogResult result;
  TNoSigPipe guard;
  int in = -1, out = -1;
  pid_t pid = Spawn(helper, &in, &out);
  if (pid > 0) {
    WriteAll(in, CrashDialogWriteRequest(request));
    ::close(in);
    std::string answer;
    char buf[4096];
    for (;;) {
      ssize_t n = ::read(out, buf, sizeof buf);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        break;
      answer.append(buf, size_t(n));
    }
    ::close(out);
    int st = 0;
    while (::waitpid(pid, &st, 0) < 0 && errno == EINTR) {
    }
    result = CrashDialogReadResult(answer);
  }
  if (!result.Shown && !fallbackText.empty()) {
    std::fwrite(fallbackText.data(), 1, fallbackText.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
  }
  return result;
}

TCrashProgressHelper::TCrashProgressHelper(const std::string& helper, TCrashDialogRequest request) {
  request.Mode = "progress";
  request.ScreenshotFile.clear();
  TNoSigPipe guard;
  FPid = Spawn(helper, &FIn, nullptr);
  if (FPid > 0)
    Write(CrashDialogWriteRequest(request));
}

TCrashProgressHelper::~TCrashProgressHelper() { Close(); }

void TCrashProgressHelper::Write(const std::string& line) {
  if (FIn < 0)
    return;
  TNoSigPipe guard;
  if (!WriteAll(FIn, line)) {
    ::close(FIn);
    FIn = -1;
  }
}

void TCrashProgressHelper::SetText(const std::string& text) { Write("progress " + CrashDialogEscape(text) + "\n"); }

void TCrashProgressHelper::SetPosition(int percent) { Write("position " + std::to_string(percent) + "\n"); }

void TCrashProgressHelper::Close() {
  if (FPid <= 0)
    return;
  Write("close\n");
  if (FIn >= 0)
    ::close(FIn);
  FIn = -1;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int st = 0;
  while (::waitpid(FPid, &st, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, &st, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  FPid = -1;
}

} // namespace rasp
