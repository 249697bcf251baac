// Runs on a worker where only the latest request counts: each step asks, or
// lets the run on its way end, and the log says what started and what came back.
#include <QTest>
#include <atomic>
#include <semaphore>

#include "workbench/latest_run.h"

using namespace lumadot;

class LatestRunTest : public QObject {
  Q_OBJECT

 private slots:
  void onlyTheLatestRequestWaits_data() {
    QTest::addColumn<QStringList>("steps");  // "ask N", "end" (the run on its way), "busy", "idle"
    QTest::addColumn<QStringList>("log");
    QTest::newRow("one request") << QStringList{"ask 1", "busy", "end", "idle"} << QStringList{"start 1", "done 10"};
    QTest::newRow("one asked while a run is on its way waits for it")
        << QStringList{"ask 1", "ask 2", "end", "busy", "end", "idle"}
        << QStringList{"start 1", "done 10", "start 2", "done 20"};
    QTest::newRow("of those asked meanwhile, only the last runs")
        << QStringList{"ask 1", "ask 2", "ask 3", "ask 4", "end", "end", "idle"}
        << QStringList{"start 1", "done 10", "start 4", "done 40"};
    QTest::newRow("asked when idle, it starts at once")
        << QStringList{"ask 1", "end", "idle", "ask 2", "busy", "end", "idle"}
        << QStringList{"start 1", "done 10", "start 2", "done 20"};
    QTest::newRow("the same asked again runs again")
        << QStringList{"ask 5", "ask 5", "end", "end", "idle"} << QStringList{"start 5", "done 50", "start 5", "done 50"};
  }

  void onlyTheLatestRequestWaits() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, log);
    std::counting_semaphore<16> mayEnd(0);
    QStringList shown;
    std::atomic<int> worked = 0;
    int done = 0;
    {
      LatestRun<int, int> runs(
          [&](const int& request) {
            mayEnd.acquire();
            ++worked;
            return request * 10;
          },
          [&](const int& request) { shown << QStringLiteral("start %1").arg(request); },
          [&](int output) {
            shown << QStringLiteral("done %1").arg(output);
            ++done;
          });
      for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("ask "))) {
          runs.ask(step.mid(4).toInt());
        } else if (step == QLatin1String("end")) {
          const int before = done;
          mayEnd.release();
          QTRY_COMPARE_WITH_TIMEOUT(done, before + 1, 20000);
        } else {
          QCOMPARE(runs.busy(), step == QLatin1String("busy"));
        }
      }
    }
    QCOMPARE(shown, log);
    QCOMPARE(worked.load(), static_cast<int>(log.size() / 2));
  }
};

QTEST_GUILESS_MAIN(LatestRunTest)
#include "latest_run_test.moc"
