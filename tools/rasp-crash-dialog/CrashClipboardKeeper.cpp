#include "tools/rasp-crash-dialog/CrashClipboardKeeper.h"

#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace rasp {

namespace {
long long NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000ll + ts.tv_nsec / 1000000;
}
} // namespace

bool CrashStartClipboardKeeper(const TCrashDialogRequest& request) {
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0)
    return false;
  TUniqueFd inRead(in[0]), inWrite(in[1]);
  if (::pipe2(out, O_CLOEXEC) != 0)
    return false;
  TUniqueFd outRead(out[0]), outWrite(out[1]);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, inRead.Get(), 0);
  posix_spawn_file_actions_adddup2(&fa, outWrite.Get(), 1);
  // The keeper outlives the failing program: it must hold none of its
  // descriptors (a terminal or a pipe someone waits on to close).
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // A session of its own: the end of the failing program's session or
  // process group does not end it.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  char self[] = "/proc/self/exe";
  char keep[64];
  std::snprintf(keep, sizeof keep, "%s", CrashKeepClipboardArgument);
  char* argv[] = {self, keep, nullptr};
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, self, &fa, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&fa);
  posix_spawnattr_destroy(&attr);
  inRead.Reset();
  outWrite.Reset();
  if (rc != 0)
    return false;
  // Our own parent reaps nothing of the keeper's: once this helper ends,
  // the keeper belongs to init.
  std::signal(SIGPIPE, SIG_IGN);
  const bool sent = WriteAll(inWrite.Get(), CrashDialogWriteRequest(request));
  inWrite.Reset();
  std::string answer;
  for (long long deadline = NowMs() + 10000; sent && answer.find('\n') == std::string::npos;) {
    const long long left = deadline - NowMs();
    if (left <= 0)
      break;
    pollfd p{outRead.Get(), POLLIN, 0};
    if (::poll(&p, 1, int(left)) <= 0)
      continue;
    char buf[256];
    const ssize_t n = ::read(outRead.Get(), buf, sizeof buf);
    if (n <= 0)
      break;
    answer.append(buf, size_t(n));
  }
  const bool held = answer.rfind(std::string(CrashClipboardHeldLine) + "\n", 0) == 0;
  if (!held) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  return held;
}

int CrashKeepClipboard(const TCrashDialogRequest& request, int keepMs) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard)
    return 2;
  clipboard->setText(QString::fromUtf8(request.LogText.data(), qsizetype(request.LogText.size())));
  QGuiApplication::processEvents();
  std::printf("%s\n", CrashClipboardHeldLine);
  std::fflush(stdout);
  // Nobody reads more from us; the helper that started us is gone soon.
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null >= 0) {
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  // Without a window system of its own (offscreen) the text lives in this
  // process only: there is nobody to keep it for.
  if (QGuiApplication::platformName() == QLatin1String("offscreen"))
    return 0;
  QObject::connect(clipboard, &QClipboard::changed, clipboard, [clipboard](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
      QGuiApplication::quit();
  });
  QTimer::singleShot(keepMs, [] { QGuiApplication::quit(); });
  return QGuiApplication::exec();
}

} // namespace rasp
