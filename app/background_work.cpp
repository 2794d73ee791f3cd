#include "app/background_work.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <thread>

std::exception_ptr RunInBackground(const std::function<void()>& work, const std::function<void()>& tick,
                                   std::chrono::milliseconds interval) {
  QEventLoop loop;
  QTimer timer;
  timer.setInterval(interval);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&tick] {
    if (tick) tick();
  });
  std::exception_ptr error;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    // Posted to the loop's thread: it ends the loop even if it has not started yet.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  timer.start();
  loop.exec();
  worker.join();
  return error;
}
