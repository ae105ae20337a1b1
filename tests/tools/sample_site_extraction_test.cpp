// The sample site's pages read by the program's own chain: download, save to entity.html, strip
// the markup into comprm.dat, load it back and cut the street and its average out of it.

#include "sample-site/sales_data.h"
#include "sample-site/sample_site.h"

#include "front/extraction.h"
#include "net/fetch.h"
#include "net/save.h"
#include "support/files.h"
#include "util/markup.h"
#include "util/message_boxes.h"
#include "util/run_buffer.h"
#include "util/text_file.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace korvane {
namespace {

class CollectedMessages : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view, MessageIcon) override {
    texts.emplace_back(text);
  }
  std::vector<std::string> texts;
};

struct Extracted {
  std::string street;
  std::string thousands;
};

class SampleSiteExtractionTest : public testing::Test {
 protected:
  void SetUp() override {
    m_port = m_site.start("127.0.0.1", 0);
    ASSERT_GT(m_port, 0);
  }

  // One valuation's worth of the run for the post code, in fresh work files.
  Extracted extract(const std::string& postcode) {
    test::TempDir work;
    const std::string page =
        FetchUrlText("http://127.0.0.1:" + std::to_string(m_port) +
                     "/index.php?con=sold_prices_street&cCode=EW&postcode=" + postcode);
    EXPECT_TRUE(SaveTextFile(page, work / "entity.html", m_messages));
    killhtml(work / "entity.html", work / "comprm.dat");
    RunBuffer buffer;
    EXPECT_TRUE(LoadText(buffer, "txt_nohtmlsource", work / "comprm.dat", m_messages));
    extractSoldPrices(buffer);
    EXPECT_EQ(buffer.text("lbl_streetname"), buffer.text("txt_housetext2"));
    return {buffer.text("txt_housetext2"), buffer.text("txt_num")};
  }

  const sample::SalesData m_data = sample::SalesData::load(KORVANE_SAMPLE_DATA_DIR);
  std::ostringstream m_log;
  sample::SampleSite m_site{m_data, m_log};
  CollectedMessages m_messages;
  int m_port = 0;
};

// The street's name reaches the program as the page's UTF-8 bytes, read one byte a character.
TEST_F(SampleSiteExtractionTest, EveryPostcodeGivesItsStreetAndAverageInThousands) {
  for (const sample::Street* street : m_data.streets()) {
    std::string asked = street->postcode;
    for (char& c : asked) c = c == ' ' ? '+' : c;
    const Extracted got = extract(asked);
    EXPECT_EQ(got.street, street->name) << street->postcode;
    EXPECT_EQ(got.thousands, std::to_string(sample::roundedAverage(*street) / 1000))
        << street->postcode;
  }
  EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(SampleSiteExtractionTest, UnknownPostcodeGivesNoStreetAndNoAverage) {
  for (const char* asked : {"ZZ99+9ZZ", "CF10", ""}) {
    const Extracted got = extract(asked);
    EXPECT_EQ(got.street, "") << asked;
    EXPECT_EQ(got.thousands, "") << asked;
  }
}

}  // namespace
}  // namespace korvane
