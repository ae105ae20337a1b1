#include "message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QThread>

#include <atomic>
#include <iostream>
#include <ostream>

namespace korvane::component {
namespace {

const char* iconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return "critical";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::None:
      break;
  }
  return "no icon";
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

class DefaultSink final : public MessageBoxSink {
 public:
  void show(const std::string& title, const std::string& text, MessageIcon icon) override {
    // Widgets may only be made on the application's own thread; elsewhere the box goes to
    // standard error like in a program without windows.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app != nullptr && QThread::currentThread() == app->thread()) {
      QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                      QMessageBox::Ok);
      box.exec();
      return;
    }
    writeMessageBox(std::cerr, title, text, icon);
    std::cerr.flush();
  }
};

DefaultSink defaultSink;
std::atomic<MessageBoxSink*> currentSink{&defaultSink};

}  // namespace

MessageBoxSink* setMessageBoxSink(MessageBoxSink* sink) {
  MessageBoxSink* previous = currentSink.exchange(sink != nullptr ? sink : &defaultSink);
  return previous;
}

void showMessageBox(const std::string& title, const std::string& text, MessageIcon icon) {
  currentSink.load()->show(title, text, icon);
}

void writeMessageBox(std::ostream& out, const std::string& title, const std::string& text,
                     MessageIcon icon) {
  out << title << '\n' << '[' << iconName(icon) << "]\n" << text << '\n' << "[OK]\n";
}

}  // namespace korvane::component
