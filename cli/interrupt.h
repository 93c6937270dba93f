#pragma once
// Ctrl+C as a request to stop a long search cleanly: while a StopRequest
// lives, SIGINT only sets a flag that the search takes as its cancel flag.

#include <atomic>
#include <csignal>

class StopRequest {
 public:
  /// Clears the flag and catches SIGINT, unless SIGINT is ignored (as in a
  /// background job without job control), which it stays. The handler is
  /// good for one signal: a second Ctrl+C ends the program at once, should
  /// the search not stop.
  StopRequest();
  /// Puts back the handling of SIGINT from before.
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  /// The flag for SearchControl::cancel: set by SIGINT or by Stop().
  const std::atomic<bool>* Flag() const;
  /// Asks the search to stop for another reason (its output failed).
  void Stop();
  /// Whether SIGINT arrived.
  bool Interrupted() const;

 private:
  struct sigaction m_previous {};
  bool m_caught = false;
};
