#include "StopSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr std::array StoppingSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's ends, for the handler: -1 while no StopSignals lives.
int pipeEnds[2] = {-1, -1};
volatile std::sig_atomic_t signalsSeen = 0;

// A second signal while the first is being handled ends the program at once, as by default: a
// program that does not come to its end is never kept from ending.
extern "C" void writeSignal(int signal) {
    if (signalsSeen != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    signalsSeen = 1;
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : StoppingSignals)
        ::sigaction(signal, &action, nullptr);
    signalsSeen = 0;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readSignals);
}

StopSignals::~StopSignals() {
    if (!m_notifier)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : StoppingSignals)
        ::sigaction(signal, &action, nullptr);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

QString StopSignals::signalName(int signal) {
    const char* name = ::sigabbrev_np(signal);
    return name ? QStringLiteral("SIG") + QString::fromLatin1(name) : QString::number(signal);
}

void StopSignals::readSignals() {
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1) {
        if (m_received == 0)
            m_received = number;
        emit stopRequested(number);
    }
}

} // namespace tessaly
