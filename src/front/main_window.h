#pragma once

// frm_front: the window the program opens at start. The user enters the property's details here
// and starts a valuation run with the Predict picture.

#include "front/run_ports.h"
#include "platform/drop_down_list.h"
#include "platform/program_window.h"

#include <QWidget>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

namespace korvane {

class LinkOpener;
class LinkLabel;
class SvgPicture;
class ValuationRun;

// The program's title, on its message boxes.
inline constexpr const char* kProgramTitle = "Korvane";

class frm_front final : public ProgramWindow, public RunInputs {
 public:
  // makerSite: the maker's web address (caption, link); advertEmail: the advertising address.
  // onUnload runs when the window is closed: it closes every window of the program.
  frm_front(std::string makerSite, const std::string& advertEmail, const WorkFolder& workFolder,
            MessageBoxes& messages, LinkOpener& links, std::function<void()> onUnload,
            QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(frm_front)

  // The run that Predict starts; must be set before the first click.
  void setValuationRun(ValuationRun* run) { m_run = run; }

  // Shows the window, puts it on top and deletes the work files of an earlier run (a missing
  // file or folder is passed over silently).
  void Form_Load();
  // Predict: releases the on-top placement, checks the post code and the property type (an
  // information box names what is missing) and runs DoProc. Does nothing while a run is in
  // progress. The end of the program during the run ends the click quietly.
  void Image3_Click();
  // Opens the maker's web site in a new browser window.
  void Label9_Click();
  // Runs the valuation (the run's own rules apply; see ValuationRun::DoProc).
  void DoProc();

  // After "Evaluate another post code": empties the post code and resets the valuation mask; the
  // three lists keep their choice.
  void clearForAnotherValuation() override;

  std::string postcode() const override;
  std::string valuation() const override;
  std::string purchasedAgo() const override;
  // Adds the line below those printed before, at the window's top left.
  void printLine(std::string_view line) override;

  QLineEdit* txt_postcode() const { return m_postcode; }
  QComboBox* txt_bedrooms() const { return m_bedrooms; }
  QComboBox* txt_propertytype() const { return m_propertyType; }
  QLineEdit* txt_valuation() const { return m_valuation; }
  QComboBox* txt_purchasedago() const { return m_purchasedAgo; }
  SvgPicture* Image3() const { return m_predict; }
  LinkLabel* Label9() const { return m_visitLink; }

 private:
  void buildBackground();
  void buildInputs();
  void buildCaptions();
  void buildSponsorStrip(const std::string& advertEmail);
  void showMessage(const char* text);

  std::string m_makerSite;
  const WorkFolder& m_workFolder;
  MessageBoxes& m_messages;
  LinkOpener& m_links;
  ValuationRun* m_run = nullptr;

  QLineEdit* m_postcode = nullptr;
  DropDownList* m_bedrooms = nullptr;
  DropDownList* m_propertyType = nullptr;
  QLineEdit* m_valuation = nullptr;
  DropDownList* m_purchasedAgo = nullptr;
  SvgPicture* m_predict = nullptr;
  LinkLabel* m_visitLink = nullptr;
  QLabel* m_printed = nullptr;  // the lines printed on the window's surface
};

}  // namespace korvane
