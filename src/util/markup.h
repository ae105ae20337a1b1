#pragma once

// The work files of a run and the markup stripper that turns the saved page into plain text.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

// The folder `property` inside the program's folder and the two work files in it. The folder is
// installed with the program; nothing here creates it.
class WorkFolder {
 public:
  // programFolder: the folder of the running executable.
  explicit WorkFolder(const std::filesystem::path& programFolder);
  const std::filesystem::path& folder() const { return m_folder; }
  // The page as downloaded, appended to by each run.
  std::filesystem::path entityHtml() const { return m_folder / "entity.html"; }
  // The page with its markup removed.
  std::filesystem::path comprmDat() const { return m_folder / "comprm.dat"; }
  // Deletes both work files; a missing file is no error. Returns true when neither exists
  // afterwards, false when one could not be deleted. Never throws.
  bool deleteWorkFiles() const;

 private:
  std::filesystem::path m_folder;
};

// Receives one line of text for the main window's surface.
using LinePrinter = std::function<void(const std::string&)>;

// Copies `entity` to `comprm`, replacing each tag "<" ... ">" by one space (written where the ">"
// stood); a ">" outside a tag also becomes a space and an unclosed "<" drops the rest of the file.
// Every other byte is copied unchanged. `entity` is created empty when absent and never written;
// `comprm` is rewritten from its first byte and holds exactly the stripped bytes afterwards.
// Memory use does not depend on the file's size.
// throws korvane::Failure when a file cannot be opened (for example, the folder is missing)
void killhtml(const std::filesystem::path& entity, const std::filesystem::path& comprm);

// As above, and hands the current date and time (generalDateTime) to printLine before and after
// the stripping; the second line is not printed when the stripping fails.
void killhtml(const std::filesystem::path& entity, const std::filesystem::path& comprm,
              const LinePrinter& printLine);

// A moment as the general date-and-time text, local time: "06/12/2026 21:10:05".
std::string generalDateTime(std::chrono::system_clock::time_point when);

}  // namespace korvane
