// The test process's one QApplication, shared by every Qt test in it.
#pragma once

#include <QApplication>

namespace vx::test {

inline QApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "vexlum_platform_tests";
  static char* argv[] = {name, nullptr};
  // Never on the real display: a dialog window there carries the caption that makes every
  // saver started meanwhile on that display end at once, as a second instance.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: at exit the input devices QTest made would be deleted after the
  // application and crash the process.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace vx::test
