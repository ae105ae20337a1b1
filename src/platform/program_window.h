#pragma once

// One of the program's windows: a fixed-size window laid out in twips, in the windows' own font,
// whose unload handler runs when it is closed.

#include <QString>
#include <QWidget>

#include <functional>

namespace korvane {

struct WindowDesign {
  const char* name;  // the window's object name: frm_front, frm_report, ...
  QString title;
  int widthTwips;  // of the client area
  int heightTwips;
  bool minimisable = false;  // a minimise button; there is never a maximise button
  bool centred = false;      // placed in the middle of its screen when first shown
};

class ProgramWindow : public QWidget {
 public:
  // onUnload runs each time the window is closed (its close box or close()); it may be empty.
  ProgramWindow(const WindowDesign& design, std::function<void()> onUnload,
                QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(ProgramWindow)

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::function<void()> m_onUnload;
  bool m_centreOnShow;
};

}  // namespace korvane
