#include "fetch.h"

#include "util/percent_encoding.h"
#include "util/program_end.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <cstdint>
#include <optional>
#include <sys/mman.h>

namespace korvane {
namespace {

// The address is passed as typed (a post code may hold spaces or "£"): bytes that cannot stand in
// an address are percent-encoded as they are, everything else is left alone.
bool standsInAddress(unsigned char byte) {
  return byte > 0x20 && byte < 0x7F && byte != '"' && byte != '<' && byte != '>' && byte != '\\' &&
         byte != '^' && byte != '`' && byte != '{' && byte != '|' && byte != '}';
}

QUrl addressOf(const std::string& url) {
  return QUrl::fromEncoded(QByteArray::fromStdString(percentEncode(url, standsInAddress)),
                           QUrl::StrictMode);
}

// Asks the kernel to back a long body with large pages: filling a fresh 64 MiB buffer page by
// 4 KiB page otherwise spends more time in page faults than in the transfer. Only a hint.
void preferLargePages(std::string& body) {
  constexpr std::uintptr_t kLargePage = 2 << 20;
  if (body.capacity() < 2 * kLargePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(body.data());
  const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (start + body.capacity()) & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// The body's length as the server announced it, if it did. After a redirect Qt may join the
// redirect's headers with the page's ("Content-Length: 0, 16"); the page's value comes last.
std::optional<qulonglong> announcedLength(const QNetworkReply& reply) {
  const QByteArray header = reply.rawHeader("Content-Length");
  bool valid = false;
  const qulonglong length = header.mid(header.lastIndexOf(',') + 1).trimmed().toULongLong(&valid);
  return valid ? std::optional(length) : std::nullopt;
}

// True when the server answered with a status and the whole body arrived, whatever the status.
bool bodyComplete(const QNetworkReply& reply, std::size_t received) {
  if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) return false;
  // Qt may finish a reply whose connection closed midway as if the close ended the body, even
  // when the server announced more.
  const std::optional<qulonglong> announced = announcedLength(reply);
  if (announced && *announced != received) return false;
  const QNetworkReply::NetworkError error = reply.error();
  // Qt reports 4xx and 5xx answers as errors; they still carry a whole body.
  return error == QNetworkReply::NoError || error == QNetworkReply::ProtocolInvalidOperationError ||
         (error >= QNetworkReply::ContentAccessDenied &&
          error <= QNetworkReply::UnknownContentError) ||
         (error >= QNetworkReply::InternalServerError &&
          error <= QNetworkReply::UnknownServerError);
}

}  // namespace

PageFetcher::PageFetcher(std::chrono::milliseconds transferTimeout, std::size_t bodyLimit)
    : m_transferTimeout(transferTimeout), m_bodyLimit(bodyLimit) {}

std::string PageFetcher::fetch(const std::string& url) {
  if (programEndRequested() || QCoreApplication::instance() == nullptr) return {};
  const QUrl address = addressOf(url);
  if (!address.isValid()) return {};

  QEventLoop loop;  // declared first: the manager and its reply go before the loop does
  QNetworkAccessManager manager;
  manager.setProxy(QNetworkProxy::NoProxy);
  manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);

  QNetworkRequest request(address);
  request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("vb wininet"));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  // The body exactly as the server holds it: no compressed transfer for Qt to unpack (and to
  // refuse as a suspected archive bomb when a long page packs too well).
  request.setRawHeader("Accept-Encoding", "identity");
  request.setMaximumRedirectsAllowed(10);
  request.setTransferTimeout(static_cast<int>(m_transferTimeout.count()));

  QNetworkReply* reply = manager.get(request);
  std::string body;
  bool abandoned = false;
  char buffer[256];
  const auto drain = [&] {
    qint64 got = 0;
    while (!abandoned && (got = reply->read(buffer, sizeof buffer)) > 0) {
      body.append(buffer, static_cast<std::size_t>(got));
      if (body.size() > m_bodyLimit) {
        abandoned = true;
        reply->abort();
      }
    }
  };
  // Room for the announced body at once: growing a long page step by step copies it again and
  // again. An announcement beyond the limit reserves nothing; the limit ends that transfer.
  QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
    const qulonglong announced = announcedLength(*reply).value_or(0);
    if (announced > body.size() && announced <= m_bodyLimit) {
      body.reserve(announced);
      preferLargePages(body);
    }
  });
  QObject::connect(reply, &QNetworkReply::readyRead, &loop, drain);
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  ProgramEndListener listener([&] {
    abandoned = true;
    loop.quit();
  });

  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!abandoned) drain();
  if (abandoned || !reply->isFinished() || !bodyComplete(*reply, body.size())) {
    reply->abort();
    return {};
  }
  return body;
}

std::string FetchUrlText(const std::string& url) { return PageFetcher().fetch(url); }

}  // namespace korvane
