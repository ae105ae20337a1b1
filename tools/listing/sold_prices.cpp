#include "sold_prices.h"

#include "listing_db.h"
#include "price_paid_row.h"
#include "sqlite.h"

namespace korvane::listing {

std::int64_t roundedAverage(const StreetSales& street) {
  if (street.sales.empty()) return 0;
  // Summed in 128 bits: prices below 10^15 (see PricePaidRow) overflow 64 bits past about 9,200
  // sales, and no street has 2^64 of them.
  __int128 sum = 0;
  for (const StreetSale& sale : street.sales) sum += sale.price;
  const auto count = static_cast<__int128>(street.sales.size());
  // Integer arithmetic keeps the half-thousand case exact: add half the divisor, then truncate.
  return static_cast<std::int64_t>((sum + count * 500) / (count * 1000) * 1000);
}

namespace {

// The `columns` of post code ?1's sales after date ?2 that meet `condition`, as the view sales
// gives them: the settled sales not in gone_sales, and the recent ones. Spelt out, SQLite reads
// only these columns, and looks a sale up in gone_sales only when the post code has one there:
// the street's query takes half the time it takes through the view.
std::string liveSales(const std::string& columns, const std::string& condition) {
  return "SELECT " + columns + " FROM settled_sales AS s WHERE postcode = ?1 AND date > ?2 AND " +
         condition +
         " AND (NOT EXISTS (SELECT 1 FROM gone_sales WHERE postcode = ?1) OR NOT EXISTS ("
         "SELECT 1 FROM gone_sales AS g WHERE g.postcode = ?1 AND g.date = s.date AND g.id = s.id))"
         " UNION ALL SELECT " +
         columns + " FROM recent_sales WHERE postcode = ?1 AND date > ?2 AND " + condition;
}

}  // namespace

StreetQuery::StreetQuery(Database& db)
    : m_db(db),
      m_newest(db.prepare("SELECT value FROM facts WHERE name = 'newest_sale'")),
      m_street(db.prepare("SELECT street FROM (" +
                          liveSales("street", "category = 'A' AND street <> ''") +
                          ") GROUP BY street ORDER BY count(*) DESC, street LIMIT 1")),
      m_sales(db.prepare(  // in order from both tables' keys, with no sort
          liveSales("date, price, property_type, new_build, tenure, paon, saon, id",
                    "category = 'A' AND street = ?3") +
          " ORDER BY date DESC, id DESC")) {}

std::optional<StreetSales> StreetQuery::find(std::string_view postcode, int years) {
  StreetSales found;
  found.postcode = normalizePostcode(postcode);
  found.years = years;
  if (found.postcode.empty()) return std::nullopt;

  // One read transaction, so an import committing meanwhile cannot mix two states.
  m_db.exec("BEGIN");
  try {
    found.newestSale = m_newest.step() ? static_cast<int>(m_newest.integer(0)) : 0;
    const std::int64_t after = found.newestSale - years * 10000;  // the same day, years before
    m_street.bind(1, found.postcode).bind(2, after);
    if (m_street.step()) found.street = m_street.text(0);
    if (!found.street.empty()) {
      m_sales.bind(1, found.postcode).bind(2, after).bind(3, found.street);
      while (m_sales.step()) {
        found.sales.push_back({static_cast<int>(m_sales.integer(0)), m_sales.integer(1),
                               std::string(m_sales.text(2)), std::string(m_sales.text(3)),
                               std::string(m_sales.text(4)), std::string(m_sales.text(5)),
                               std::string(m_sales.text(6))});
      }
    }
  } catch (...) {
    for (Statement* statement : {&m_newest, &m_street, &m_sales}) statement->reset();
    m_db.exec("ROLLBACK");
    throw;
  }
  for (Statement* statement : {&m_newest, &m_street, &m_sales}) statement->reset();
  m_db.exec("COMMIT");
  if (found.sales.empty()) return std::nullopt;
  return found;
}

struct SoldPrices::Connection {
  explicit Connection(const std::string& address) : db(openForReading(address)), query(*db) {}
  std::unique_ptr<Database> db;
  StreetQuery query;
};

SoldPrices::SoldPrices(std::string address, int years)
    : m_address(std::move(address)), m_years(years) {
  m_idle.push_back(std::make_unique<Connection>(m_address));
}

SoldPrices::~SoldPrices() = default;

std::optional<StreetSales> SoldPrices::find(std::string_view postcode) {
  std::unique_ptr<Connection> connection = take();
  auto found = connection->query.find(postcode, m_years);
  std::lock_guard lock(m_mutex);
  m_idle.push_back(std::move(connection));
  return found;
}

std::unique_ptr<SoldPrices::Connection> SoldPrices::take() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_idle.empty()) {
      std::unique_ptr<Connection> connection = std::move(m_idle.back());
      m_idle.pop_back();
      return connection;
    }
  }
  return std::make_unique<Connection>(m_address);
}

}  // namespace korvane::listing
