#include "front/fetch_page_source.h"

#include "net/fetch.h"

namespace korvane {

std::string FetchPageSource::fetch(const std::string& url) { return FetchUrlText(url); }

}  // namespace korvane
