// Linked into start-up measuring builds only. When the application object is created it starts
// watching events; after the first paint of any widget it prints how long the run took since
// the launch time the measuring script put into SPRITEHEX_LAUNCH_NS (realtime clock, ns), and
// the resident and peak resident memory, then ends the program.

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {

long StatusKib(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

class FirstPaintProbe : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            // Report once the paint (and its flush to the screen) is done.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                const double launch = qEnvironmentVariable("SPRITEHEX_LAUNCH_NS").toDouble();
                const double ms = (static_cast<double>(now.tv_sec) * 1e9 +
                                   static_cast<double>(now.tv_nsec) - launch) /
                                  1e6;
                std::printf("startup_ms=%.2f rss_kib=%ld hwm_kib=%ld\n", ms, StatusKib("VmRSS"),
                            StatusKib("VmHWM"));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

void InstallProbe() {
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
