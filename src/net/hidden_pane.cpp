#include "net/hidden_pane.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace korvane {

HiddenPane::HiddenPane() = default;

HiddenPane::~HiddenPane() = default;

void HiddenPane::navigate(const std::string& url) {
  // The run's addresses are already percent-encoded; tolerant parsing copes with anything else.
  const QUrl address = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::TolerantMode);
  if (!address.isValid()) return;
  if (!m_network) {
    // Made on first use, so that a pane costs the program's start-up nothing.
    m_network = std::make_unique<QNetworkAccessManager>();
    // Debian's Qt would otherwise follow the desktop's proxy settings.
    m_network->setProxy(QNetworkProxy::NoProxy);
  }
  QNetworkRequest request(address);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  QNetworkReply* reply = m_network->get(request);
  // The pane never looks at what it loaded: drain the body as it comes so a large page costs no
  // memory, and drop the reply as soon as it is done.
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply] { reply->readAll(); });
  QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

}  // namespace korvane
