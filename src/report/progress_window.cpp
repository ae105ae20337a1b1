#include "progress_window.h"

#include "platform/qt_text.h"
#include "platform/twips.h"
#include "platform/window_placement.h"

#include <QLabel>
#include <QListWidget>

namespace korvane {

frm_compute::frm_compute(std::function<void()> onUnload, QWidget* parent)
    : ProgramWindow({"frm_compute", "Please Wait......", 3975, 3015, false, true},
                    std::move(onUnload), parent) {
  m_label = new QLabel("Please wait while Korvane calculates.", this);
  m_label->setObjectName("Label1");
  m_label->setWordWrap(true);
  m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_label->setGeometry(pxRect(120, 120, 3375, 495));

  m_list = new QListWidget(this);
  m_list->setObjectName("List1");
  m_list->setGeometry(pxRect(120, 720, 3735, 2175));
  // Assistive tools read the list under the request to wait; each status line is a list item.
  m_label->setBuddy(m_list);
  m_list->setAccessibleName(m_label->text());
}

void frm_compute::showOnTop() {
  SetWindowOnTop(this, true);
  show();
}

void frm_compute::insertAtTop(std::string_view line) { m_list->insertItem(0, toQString(line)); }

void frm_compute::append(std::string_view line) { m_list->addItem(toQString(line)); }

void frm_compute::releaseFromTopAndHide() {
  SetWindowOnTop(this, false);
  hide();
}

void frm_compute::clearList() { m_list->clear(); }

QStringList frm_compute::lines() const {
  QStringList result;
  for (int row = 0; row < m_list->count(); ++row) result << m_list->item(row)->text();
  return result;
}

}  // namespace korvane
