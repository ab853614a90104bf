// A machine slower than this one, for work polled on the main thread: while it is
// slowed, each time the work lets the application handle its events, time passes as
// if its steps took longer, until the work has lasted `lasting`. Work polled a few
// times (more than the progress sheet's delay over `stepLength`) then outlasts the
// delay however fast this machine is. `atEachStep` runs first at every step with the
// time elapsed, to do what the user does meanwhile.
#pragma once

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace kivo::test {

class SlowMachine {
public:
  explicit SlowMachine(qint64 lasting, qint64 stepLength = 150) : lasting_(lasting), stepLength_(stepLength)
  {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
  }

  // From now on, until the slowed time has passed.
  void start(std::function<void(qint64 elapsed)> atEachStep = {})
  {
    atEachStep_ = std::move(atEachStep);
    since_.start();
    timer_.start();
  }
  void stop() { timer_.stop(); }
  int steps() const { return steps_; }

private:
  void step()
  {
    ++steps_;
    if (atEachStep_) atEachStep_(since_.elapsed());
    const qint64 left = lasting_ - since_.elapsed();
    if (left <= 0) {
      timer_.stop();
      return;
    }
    QThread::msleep(static_cast<unsigned long>(std::min(left, stepLength_)));
  }

  qint64 lasting_;
  qint64 stepLength_;
  QElapsedTimer since_;
  QTimer timer_;
  int steps_ = 0;
  std::function<void(qint64)> atEachStep_;
};

}  // namespace kivo::test
