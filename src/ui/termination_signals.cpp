#include "ui/termination_signals.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace letterloom::ui {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The handler only writes a byte into this pipe; the event loop reads it.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

QPointer<QWidget> &target()
{
    static QPointer<QWidget> window;
    return window;
}

}  // namespace

void closeOnTerminationSignals(QWidget *mainWindow)
{
    target() = mainWindow;
    sigset_t handled;
    sigemptyset(&handled);
    for (const int signal : kSignals)
        sigaddset(&handled, signal);

    if (signalPipe[0] < 0) {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;  // the signals keep their default: they end the program at once
        // Kept for the whole run, as the handler is.
        static QSocketNotifier *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
            char bytes[64];
            while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
            }
            if (target())
                target()->close();
        });
        struct sigaction action {};
        action.sa_handler = onSignal;
        action.sa_mask = handled;
        action.sa_flags = SA_RESTART;
        for (const int signal : kSignals)
            ::sigaction(signal, &action, nullptr);
    }
    ::pthread_sigmask(SIG_UNBLOCK, &handled, nullptr);
}

}  // namespace letterloom::ui
