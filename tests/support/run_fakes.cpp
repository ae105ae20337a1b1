#include "support/run_fakes.h"

namespace korvane::test {

void RecordingProgress::showOnTop() {
  visible = true;
  onTop = true;
  m_journal.push_back("progress shown on top");
}

void RecordingProgress::insertAtTop(std::string_view line) {
  lines.insert(lines.begin(), std::string(line));
  m_journal.push_back("status first: " + std::string(line));
}

void RecordingProgress::append(std::string_view line) {
  lines.emplace_back(line);
  m_journal.push_back("status: " + std::string(line));
}

void RecordingProgress::releaseFromTopAndHide() {
  onTop = false;
  visible = false;
  m_journal.push_back("progress released and hidden");
}

const char* labelName(ReportLabel label) {
  switch (label) {
    case ReportLabel::LBL_AVERAGEPROPERTYVALUE:
      return "LBL_AVERAGEPROPERTYVALUE";
    case ReportLabel::LBL_ESTVALUE5YEARS:
      return "LBL_ESTVALUE5YEARS";
    case ReportLabel::LBL_DIFFERENCE:
      return "LBL_DIFFERENCE";
    case ReportLabel::Label4:
      return "Label4";
  }
  return "?";
}

void RecordingReport::setCaption(ReportLabel label, std::string_view caption) {
  captions[label] = std::string(caption);
  m_journal.push_back(std::string(labelName(label)) + " = " + std::string(caption));
}

void RecordingReport::show() {
  visible = true;
  m_journal.push_back("report shown");
}

void RecordingReport::RefreshGraph() {
  ++refreshes;
  m_journal.push_back("RefreshGraph");
}

std::string ScriptedPages::fetch(const std::string& url) {
  m_journal.push_back("fetch " + url);
  const std::size_t index = urls.size();
  urls.push_back(url);
  return index < pages.size() ? pages[index] : std::string();
}

void RecordingWaiter::wait(double s) {
  const std::size_t index = seconds.size();
  seconds.push_back(s);
  m_journal.push_back("wait " + std::to_string(static_cast<int>(s)));
  if (duringWait) duringWait(index);
}

void RecordingBrowser::navigate(const std::string& url) {
  urls.push_back(url);
  m_journal.push_back("navigate " + url);
}

}  // namespace korvane::test
