#include "cli/interrupt.h"

namespace {

// A signal handler may only touch lock-free atomics.
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<bool> stopWanted{false};
std::atomic<int> signalArrived{0};

extern "C" void OnStopSignal(int signal) {
  int none = 0;
  signalArrived.compare_exchange_strong(none, signal);  // the first one counts
  stopWanted.store(true);
}

}  // namespace

StopRequest::StopRequest() {
  stopWanted = false;
  signalArrived = 0;
  for (int i = 0; i < 3; ++i) {
    if (::sigaction(Signals[i], nullptr, &m_previous[i]) != 0) continue;
    if (!(m_previous[i].sa_flags & SA_SIGINFO) && m_previous[i].sa_handler == SIG_IGN) continue;
    struct sigaction handling {};
    handling.sa_handler = OnStopSignal;
    sigemptyset(&handling.sa_mask);
    // Reads and writes under way go on; the default comes back after one signal.
    handling.sa_flags = SA_RESTART | SA_RESETHAND;
    m_caught[i] = ::sigaction(Signals[i], &handling, nullptr) == 0;
  }
}

StopRequest::~StopRequest() {
  for (int i = 0; i < 3; ++i) {
    if (m_caught[i]) ::sigaction(Signals[i], &m_previous[i], nullptr);
  }
}

const std::atomic<bool>* StopRequest::Flag() const { return &stopWanted; }

void StopRequest::Stop() { stopWanted = true; }

bool StopRequest::Interrupted() const { return signalArrived != 0; }

int StopRequest::ExitStatus() const { return 128 + signalArrived; }

std::string StopRequest::SignalName() const {
  switch (signalArrived) {
    case SIGINT: return "Ctrl+C";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}
