#include "serve_command.h"

#include "command_line.h"
#include "default_paths.h"
#include "listing_site.h"
#include "page_text.h"
#include "sample_listing.h"
#include "sold_prices.h"
#include "sold_prices_page.h"

#include <signal.h>
#include <time.h>

#include <cstring>
#include <iostream>
#include <optional>

namespace korvane::listing {
namespace {

constexpr const char* kLandRegistryNotice =
    "Contains HM Land Registry data \xC2\xA9 Crown copyright and database right. This data is "
    "licensed under the Open Government Licence v3.0.";
constexpr const char* kSampleNotice =
    "A sample listing bundled with the Korvane valuation program. Every street, house and price "
    "here is made up.";

// The database the options name, else the one at the default place when it exists.
std::optional<std::filesystem::path> chosenDatabase(const CommandLine& options) {
  if (options.database) {
    if (!std::filesystem::exists(*options.database)) {
      throw std::runtime_error(options.database->string() +
                               ": no listing database there; korvane-listing import FILE --db " +
                               options.database->string() + " makes one");
    }
    return options.database;
  }
  try {
    const std::filesystem::path byDefault = defaultDatabase();
    if (std::filesystem::exists(byDefault)) return byDefault;
  } catch (const std::runtime_error&) {
    // No home folder: nothing imported there either.
  }
  return std::nullopt;
}

}  // namespace

int runServe(const CommandLine& options, const std::filesystem::path& sampleFolder) {
  std::optional<SampleListing> sample;
  std::optional<SoldPrices> prices;
  std::string source;
  try {
    if (const auto database = chosenDatabase(options)) {
      prices.emplace(database->string(), options.years);
      source = database->string();
    } else {
      sample.emplace(sampleFolder);
      prices.emplace(sample->address(), options.years);
      source = "the sample in " + sampleFolder.string();
    }
  } catch (const std::exception& error) {
    std::cerr << "korvane-listing: " << error.what() << "\n";
    return 1;
  }
  const std::string footer = sample ? kSampleNotice : kLandRegistryNotice;

  // Signals are taken by sigwait below; blocking them before the server threads start keeps them
  // from landing on one of those threads.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  ListingSite site(
      [&prices, &footer](std::string_view postcode) {
        return pageForPostcode(*prices, postcode, footer);
      },
      footer, std::cerr);
  const int bound = site.start(options.bind, options.port);
  if (bound < 0) {
    std::cerr << "korvane-listing: cannot listen on " << options.bind << ":" << options.port
              << "\n";
    return 1;
  }
  std::cout << bound << std::endl;
  std::cerr << "korvane-listing: serving " << source << " on http://" << options.bind << ":"
            << bound << "/ (pages average the last " << options.years << " years of sales)\n";

  const timespec tick{0, 200'000'000};
  int signal = -1;
  while (signal < 0 && site.isRunning()) signal = sigtimedwait(&stopSignals, nullptr, &tick);
  site.stop();
  if (signal > 0) std::cerr << "korvane-listing: " << strsignal(signal) << ", stopped\n";
  return signal > 0 ? 0 : 1;
}

}  // namespace korvane::listing
