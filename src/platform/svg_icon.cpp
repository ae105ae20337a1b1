#include "svg_icon.h"

#include "platform/svg_drawing.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <memory>

namespace korvane {

namespace {

class SvgIconEngine final : public QIconEngine {
 public:
  explicit SvgIconEngine(const QString& path) : m_path(path) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    QSvgRenderer& picture = renderer();
    if (picture.isValid()) drawSvg(picture, *painter, QRectF(rect));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size.isEmpty() || !renderer().isValid()) return {};
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }

  QIconEngine* clone() const override { return new SvgIconEngine(m_path); }
  QString key() const override { return QStringLiteral("korvane-svg"); }

 private:
  // Read on first use: an icon that is never drawn costs nothing.
  QSvgRenderer& renderer() {
    if (!m_renderer) m_renderer = std::make_unique<QSvgRenderer>(m_path);
    return *m_renderer;
  }

  QString m_path;
  std::unique_ptr<QSvgRenderer> m_renderer;
};

}  // namespace

QIcon svgIcon(const QString& path) { return QIcon(new SvgIconEngine(path)); }

}  // namespace korvane
