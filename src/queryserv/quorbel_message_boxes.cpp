#include "quorbel_message_boxes.h"

#include "base/qt_message_icon.h"
#include "queryserv/component/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QThread>

namespace korvane::component {
namespace {

QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class OwnMessageBoxes final : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view title, MessageIcon icon) override {
    // Widgets may only be made on the application's own thread; elsewhere the box goes to
    // standard error like in a program without windows.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app != nullptr && QThread::currentThread() == app->thread()) {
      QMessageBox box(qtMessageIcon(icon), qtText(title), qtText(text), QMessageBox::Ok);
      box.exec();
      return;
    }
    m_text.show(text, title, icon);
  }

 private:
  TextMessageBoxes m_text;
};

}  // namespace

MessageBoxes& quorbelMessageBoxes() {
  static OwnMessageBoxes own;
  MessageBoxes* host = messageBoxSink();
  return host != nullptr ? *host : own;
}

}  // namespace korvane::component
