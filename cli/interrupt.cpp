#include "cli/interrupt.h"

namespace {

// A signal handler may only touch lock-free atomics.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> stopWanted{false};
std::atomic<bool> interruptArrived{false};

extern "C" void OnInterrupt(int) {
  interruptArrived.store(true);
  stopWanted.store(true);
}

}  // namespace

StopRequest::StopRequest() {
  stopWanted = false;
  interruptArrived = false;
  if (::sigaction(SIGINT, nullptr, &m_previous) != 0) return;
  if (!(m_previous.sa_flags & SA_SIGINFO) && m_previous.sa_handler == SIG_IGN) return;
  struct sigaction handling {};
  handling.sa_handler = OnInterrupt;
  sigemptyset(&handling.sa_mask);
  // Reads and writes under way go on; the default comes back after one signal.
  handling.sa_flags = SA_RESTART | SA_RESETHAND;
  m_caught = ::sigaction(SIGINT, &handling, nullptr) == 0;
}

StopRequest::~StopRequest() {
  if (m_caught) ::sigaction(SIGINT, &m_previous, nullptr);
}

const std::atomic<bool>* StopRequest::Flag() const { return &stopWanted; }

void StopRequest::Stop() { stopWanted = true; }

bool StopRequest::Interrupted() const { return interruptArrived; }
