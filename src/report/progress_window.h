#pragma once

// frm_compute: the small window that stays above the others while a valuation run works and lists
// its status lines.

#include "front/run_ports.h"
#include "platform/program_window.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;

namespace korvane {

class frm_compute final : public ProgramWindow, public ProgressList {
 public:
  // onUnload runs when the window is unloaded (its close box, or the close-everything of the
  // other windows): it ends the program.
  explicit frm_compute(std::function<void()> onUnload, QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(frm_compute)

  // Puts the window in the always-on-top band and shows it.
  void showOnTop() override;
  // Inserts line as the first entry of List1.
  void insertAtTop(std::string_view line) override;
  // Appends line at the end of List1.
  void append(std::string_view line) override;
  // Releases the on-top placement, then hides the window; List1 keeps its lines.
  void releaseFromTopAndHide() override;

  // Removes every line of List1.
  void clearList();
  // The status lines, top to bottom, as shown.
  QStringList lines() const;

  QListWidget* List1() const { return m_list; }

 private:
  QLabel* m_label = nullptr;
  QListWidget* m_list = nullptr;
};

}  // namespace korvane
