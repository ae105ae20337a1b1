#pragma once

// The bundled sample: made-up sales in the Price Paid format, imported by the same code as a
// real file into a database in memory.

#include <filesystem>
#include <memory>
#include <string>

namespace korvane::listing {

class Database;

class SampleListing {
 public:
  // Imports every *.csv file of `folder`, in name order. Throws std::runtime_error naming the
  // folder or file when there is none, one cannot be read, or a row of it is rejected.
  explicit SampleListing(const std::filesystem::path& folder);
  ~SampleListing();
  SampleListing(const SampleListing&) = delete;
  SampleListing& operator=(const SampleListing&) = delete;

  // The "file:" address that opens the database in memory while this object lives.
  const std::string& address() const { return m_address; }

 private:
  std::string m_address;
  std::unique_ptr<Database> m_db;
};

}  // namespace korvane::listing
