// Times the window's Refresh on each file named on the command line, offscreen,
// and prints the report size, the time until the text is on screen (wall clock
// and processor time, which moves less with the load on the machine) and the
// process's peak memory so far.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "platform/qt/qt_services.h"
#include "ui/qt/frm_main.h"
#include "ui/qt/report_box.h"

namespace {

rusage Usage() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage;
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double ProcessorSeconds(const rusage& usage) { return Seconds(usage.ru_utime) + Seconds(usage.ru_stime); }

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vellumark::QtServices services;
  vellumark::FrmMain window({services.files, services.messages, services.busy, services.dialog, services.app});
  window.show();
  QAction* refresh = window.findChild<QAction*>(QStringLiteral("mnuRefresh"));
  std::printf("%-40s %12s %10s %10s %10s %14s\n", "file", "lines", "chars", "seconds", "CPU s", "peak RSS KiB");
  for (int i = 1; i < argc; ++i) {
    services.dialog.FileName = argv[i];
    const rusage before = Usage();
    QElapsedTimer timer;
    timer.start();
    refresh->trigger();
    QApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const rusage after = Usage();
    const vellumark::QtReportBox* box = window.TxtInfo();
    std::printf("%-40s %12lld %10lld %10.3f %10.3f %14ld\n", argv[i],
                static_cast<long long>(box->toPlainText().count(u'\n')),
                static_cast<long long>(box->document()->characterCount()), seconds,
                ProcessorSeconds(after) - ProcessorSeconds(before), after.ru_maxrss);
  }
  return 0;
}
