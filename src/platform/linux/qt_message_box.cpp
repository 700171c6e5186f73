#include "platform/linux/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <iostream>
#include <memory>

#include "platform/common/user_language.h"
#include "platform/linux/posix_termination_signals.h"

namespace vx {

std::unique_ptr<QApplication> EnsureQApplication() {
  if (QApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "vexlum";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

void ShowMessageBox(std::string_view japanese, std::string_view title, uint32_t style,
                    bool has_display) {
  const std::string text = Localize(japanese, UserLanguage());
  std::cerr << title << ": " << text << std::endl;
  if (!has_display) return;
  auto app = EnsureQApplication();
  QMessageBox box(style == 48 ? QMessageBox::Warning : QMessageBox::Information,
                  QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok);
  // A termination signal must not wait for someone to click OK.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &box, [&box] {
    if (TerminationRequested()) box.done(QMessageBox::Ok);
  });
  poll.start(100);
  box.exec();
}

}  // namespace vx
