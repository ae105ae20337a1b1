#include "main_window.h"

#include "base/message_boxes.h"
#include "front/valuation_run.h"
#include "platform/drop_down_list.h"
#include "platform/link_label.h"
#include "platform/link_opener.h"
#include "platform/qt_text.h"
#include "platform/rule_line.h"
#include "platform/svg_picture.h"
#include "platform/twips.h"
#include "platform/window_placement.h"
#include "util/program_end.h"

#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace korvane {

namespace {

constexpr int kInputLeft = 2880;

void setTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

// A caption at (left, top) twips, as wide as its text (or the given width with word wrap).
QLabel* caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                const QColor& colour, int wrapWidth = 0, int wrapHeight = 0) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  setTextColour(label, colour);
  if (wrapWidth > 0) {
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(pxRect(left, top, wrapWidth, wrapHeight));
  } else {
    label->adjustSize();
    label->move(pxPoint(left, top));
  }
  return label;
}

DropDownList* dropDown(QWidget* parent, const char* name, int top, const QStringList& entries,
                       const QString& text) {
  auto* box = new DropDownList(parent);
  box->setObjectName(name);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems(entries);
  box->setGeometry(pxRect(kInputLeft, top, 1815, 315));
  box->setEditText(text);
  return box;
}

QLineEdit* textBox(QWidget* parent, const char* name, int top, int width, const QString& text) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setGeometry(pxRect(kInputLeft, top, width, 285));
  return box;
}

}  // namespace

frm_front::frm_front(std::string makerSite, const std::string& advertEmail,
                     const WorkFolder& workFolder, MessageBoxes& messages, LinkOpener& links,
                     std::function<void()> onUnload, QWidget* parent)
    : ProgramWindow({"frm_front", toQString("Korvane - " + makerSite), 6000, 7575, true},
                    std::move(onUnload), parent),
      m_makerSite(std::move(makerSite)),
      m_workFolder(workFolder),
      m_messages(messages),
      m_links(links) {
  setWindowIcon(QIcon(":/assets/korvane.svg"));

  buildBackground();
  buildSponsorStrip(advertEmail);
  buildCaptions();
  buildInputs();
}

void frm_front::buildBackground() {
  auto* background = new SvgPicture(":/assets/front_background.svg", this);
  background->setObjectName("Image1");
  background->setGeometry(pxRect(0, 0, 6000, 6000));

  auto* houses = new SvgPicture(":/assets/houses_icon.svg", this);
  houses->setObjectName("Image2");
  houses->setGeometry(pxRect(120, 840, 480, 480));
}

void frm_front::buildInputs() {
  m_postcode = textBox(this, "txt_postcode", 1680, 1215, QString());
  m_bedrooms = dropDown(this, "txt_bedrooms", 2040, {"1", "2", "3", "4", "5"}, "1");
  m_propertyType = dropDown(this, "txt_propertytype", 2400,
                            {"Detached", "Semi-Detached", "Terraced", "Flat"}, "Select");
  m_valuation = textBox(this, "txt_valuation", 3840, 1815,
                        toQString("\xA3"
                                  "000,000"));
  QStringList years;
  for (int year = 1; year <= 25; ++year) years << QString::number(year);
  m_purchasedAgo = dropDown(this, "txt_purchasedago", 4440, years, "1");

  m_predict = new SvgPicture(":/assets/predict_arrow.svg", this);
  m_predict->setObjectName("Image3");
  m_predict->setGeometry(pxRect(4200, 5040, 1500, 750));
  m_predict->setToolTip("Predict");
  m_predict->setAccessibleName("Predict");
  m_predict->setOnClick([this] { Image3_Click(); });

  // Tab goes down the fields, then to Predict and the link below it.
  QWidget* const order[] = {m_postcode,     m_bedrooms, m_propertyType, m_valuation,
                            m_purchasedAgo, m_predict,  m_visitLink};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  const std::pair<const char*, QWidget*> captioned[] = {{"Label1", m_postcode},
                                                        {"Label2", m_bedrooms},
                                                        {"Label3", m_propertyType},
                                                        {"Label6", m_valuation},
                                                        {"Label7", m_purchasedAgo}};
  for (const auto& [caption, field] : captioned) {
    // The caption names its field for assistive tools: without its colon, as it would be read.
    auto* label = findChild<QLabel*>(caption);
    label->setBuddy(field);
    const QString name = label->text().chopped(label->text().endsWith(':') ? 1 : 0);
    field->setAccessibleName(name);
    // A list's text field is what takes the focus and what a screen reader announces.
    if (auto* list = qobject_cast<QComboBox*>(field)) list->lineEdit()->setAccessibleName(name);
  }
  // Enter in any field does what a click on Predict does.
  for (QLineEdit* field : {m_postcode, m_valuation})
    connect(field, &QLineEdit::returnPressed, this, [this] { Image3_Click(); });
  for (DropDownList* list : {m_bedrooms, m_propertyType, m_purchasedAgo})
    connect(list, &DropDownList::returnPressed, this, [this] { Image3_Click(); });
}

void frm_front::buildCaptions() {
  const QColor white(Qt::white);
  const QColor heading(0xF2, 0xC9, 0x4C);
  QFont bold = font();
  bold.setBold(true);

  addWhiteRule(this, "Line1", 2040, 5880, 840);
  addWhiteRule(this, "Line2", 2040, 5880, 1200);
  caption(this, "Label4", "Enter your Property Details", 2040, 960, heading)->setFont(bold);
  caption(this, "Label1", "Enter your Post Code:", 840, 1680, white);
  caption(this, "Label10", "Enter with no spaces", 4200, 1680, white);
  caption(this, "Label2", "How many bedrooms:", 840, 2040, white);
  caption(this, "Label3", "Property type:", 1440, 2400, white);
  addWhiteRule(this, "Line3", 2040, 5880, 3120);
  addWhiteRule(this, "Line4", 2040, 5880, 3480);
  caption(this, "Label5", "Valuation", 2040, 3240, heading)->setFont(bold);
  // Two lines high, ending where the input fields begin.
  caption(this, "Label6", "How much do you value your property at:", 720, 3840, white, 2100, 495);
  caption(this, "Label7", "How many years ago did you buy your home:", 720, 4440, white, 2100, 495);
  for (const char* name : {"Label4", "Label5"}) findChild<QLabel*>(name)->adjustSize();

  m_visitLink = new LinkLabel(toQString("Visit us at  " + m_makerSite), this);
  m_visitLink->setObjectName("Label9");
  setTextColour(m_visitLink, white);
  QFont underlined = font();
  underlined.setUnderline(true);
  m_visitLink->setFont(underlined);
  m_visitLink->adjustSize();
  m_visitLink->move(pxPoint(120, 5520));
  m_visitLink->setOnClick([this] { Label9_Click(); });

  caption(this, "Label8", "Sponsered Listings", 120, 5760, white)->setFont(bold);
  findChild<QLabel*>("Label8")->adjustSize();
}

void frm_front::buildSponsorStrip(const std::string& advertEmail) {
  auto* strip = new QFrame(this);
  strip->setObjectName("Shape1");
  strip->setAutoFillBackground(true);
  QPalette palette = strip->palette();
  palette.setColor(QPalette::Window, QColor(0xFB, 0xF7, 0xEE));
  strip->setPalette(palette);
  strip->setGeometry(pxRect(0, 6000, 6000, 1575));

  auto* books = new SvgPicture(":/assets/sponsor_books.svg", this);
  books->setObjectName("Image4");
  books->setGeometry(pxRect(120, 6240, 1560, 1170));

  const QColor ink(0x1F, 0x2A, 0x37);
  QFont bold = font();
  bold.setBold(true);
  QLabel* feature =
      caption(this, "Label11", "Feature your Business\\Product Here", 1920, 6240, ink);
  feature->setFont(bold);
  feature->adjustSize();
  caption(this, "Label12",
          toQString("Exposure to hundreds of visitors a day who are interested in their "
                    "finances, advertising with us is FREE. To advertise email - " +
                    advertEmail),
          1920, 6600, ink, 6000 - 1920 - 120, 7575 - 6600 - 60);
}

void frm_front::Form_Load() {
  // On top before the first show: changing the flag of a shown window hides and shows it again.
  SetWindowOnTop(this, true);
  show();
  m_postcode->setFocus();  // the user starts by typing the post code
  m_workFolder.deleteWorkFiles();
}

void frm_front::Image3_Click() {
  if (m_run != nullptr && m_run->running()) return;
  try {
    SetWindowOnTop(this, false);
    if (m_postcode->text().isEmpty()) {
      showMessage("Please enter a post code");
      return;
    }
    if (m_propertyType->currentText() == QLatin1String("Select")) {
      showMessage("Select a property type");
      return;
    }
    DoProc();
  } catch (const ProgramEnding&) {
    // The progress window was closed during a pause: the program is going, the click ends here.
  }
}

void frm_front::Label9_Click() { m_links.open(m_makerSite); }

void frm_front::DoProc() {
  if (m_run != nullptr) m_run->DoProc();
}

void frm_front::clearForAnotherValuation() {
  m_bedrooms->update();
  m_postcode->clear();
  m_postcode->setFocus();  // for the next post code, once the window shows again
  m_propertyType->update();
  m_purchasedAgo->update();
  m_valuation->setText(
      toQString("\xA3"
                "000,000"));
}

std::string frm_front::postcode() const { return fromQString(m_postcode->text()); }

std::string frm_front::valuation() const { return fromQString(m_valuation->text()); }

std::string frm_front::purchasedAgo() const { return fromQString(m_purchasedAgo->currentText()); }

void frm_front::printLine(std::string_view line) {
  if (m_printed == nullptr) {
    m_printed = new QLabel(this);
    m_printed->setObjectName("printed");
    m_printed->setTextFormat(Qt::PlainText);
    m_printed->setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextColour(m_printed, QColor(0xD8, 0xE4, 0xF0));
    m_printed->move(0, 0);
    m_printed->show();
  }
  QString text = m_printed->text();
  if (!text.isEmpty()) text += QLatin1Char('\n');
  m_printed->setText(text + toQString(line));
  m_printed->adjustSize();
}

void frm_front::showMessage(const char* text) {
  m_messages.show(text, kProgramTitle, MessageIcon::Information);
}

}  // namespace korvane
