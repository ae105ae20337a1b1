#include "program_window.h"

#include "platform/twips.h"
#include "platform/window_fonts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace korvane {

ProgramWindow::ProgramWindow(const WindowDesign& design, std::function<void()> onUnload,
                             QWidget* parent)
    : QWidget(parent), m_onUnload(std::move(onUnload)), m_centreOnShow(design.centred) {
  setObjectName(design.name);
  setWindowTitle(design.title);
  setFont(windowFont());
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (design.minimisable) flags |= Qt::WindowMinimizeButtonHint;
  setWindowFlags(flags);
  setFixedSize(pxSize(design.widthTwips, design.heightTwips));
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (m_onUnload) m_onUnload();
}

void ProgramWindow::showEvent(QShowEvent* event) {
  QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (m_centreOnShow && screen != nullptr) {
    m_centreOnShow = false;
    // The frame may be larger than the client area; the window's own position is the frame's.
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QWidget::showEvent(event);
}

}  // namespace korvane
