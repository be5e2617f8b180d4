#include "quit_on_signal.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace corvel {
namespace {

// A signal handler may do next to nothing safely; writing a byte to a socket is one of the
// few things it may. The event loop sees the byte on the other end and quits from there.
int wakeSockets[2] = {-1, -1};

extern "C" void WakeEventLoop(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeSockets[0], &byte, 1);
  errno = saved;
}

}  // namespace

void QuitOnTerminationSignals(QObject* app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeSockets) != 0) return;
  auto* notifier = new QSocketNotifier(wakeSockets[1], QSocketNotifier::Read, app);
  QObject::connect(notifier, &QSocketNotifier::activated, app, [] {
    char byte;
    [[maybe_unused]] const ssize_t read = ::read(wakeSockets[1], &byte, 1);
    QCoreApplication::quit();
  });
  struct sigaction action = {};
  action.sa_handler = WakeEventLoop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace corvel
