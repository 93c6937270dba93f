#pragma once
// Ctrl+C, SIGTERM and SIGHUP as a request to stop a long search cleanly: while
// a StopRequest lives, each of them only sets a flag that the search takes as
// its cancel flag, so that what was found is still printed or saved.

#include <atomic>
#include <csignal>
#include <string>

class StopRequest {
 public:
  /// Clears the flag and catches SIGINT, SIGTERM and SIGHUP, except one that
  /// is ignored (as SIGINT in a background job without job control), which
  /// stays so. The handler is good for one signal: a second one ends the
  /// program at once, should the search not stop.
  StopRequest();
  /// Puts back the handling of the signals from before.
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  /// The flag for SearchControl::cancel: set by a signal or by Stop().
  const std::atomic<bool>* Flag() const;
  /// Asks the search to stop for another reason (its output failed).
  void Stop();
  /// Whether one of the signals arrived.
  bool Interrupted() const;
  /// The exit status after the signal that arrived: 128 + its number, as a
  /// shell reports a program the signal ended (130 for Ctrl+C).
  int ExitStatus() const;
  /// The signal that arrived, for a message: "Ctrl+C", "SIGTERM", "SIGHUP".
  std::string SignalName() const;

 private:
  static constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction m_previous[3]{};
  bool m_caught[3] = {};
};
