#include "util/run_buffer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace korvane {

namespace {

struct Initial {
  std::string_view name;
  std::string_view value;
};

// Design order: the "On page" group, the owner's figures and value captions, the "Graph Values"
// group, then the fixed captions. "\xA3" is the pound sign in Windows-1252.
constexpr Initial kInitial[] = {
    {"txt_htmlsource", ""},
    {"txt_nohtmlsource", "Text1"},
    {"txt_housetext", ""},
    {"txt_housetext2", "Text1"},
    {"txt_houseprices", "Text1"},
    {"txt_avgclose", "Text1"},
    {"txt_num", "Text1"},
    {"txt_num1", "Text2"},
    {"txt_estdval", "Text1"},
    {"txt_dump", "Text1"},
    {"lbl_estdhouseprice", "\xA3"},
    {"lbl_period", "0"},
    {"lbl_streetname", "NULL"},
    {"lbl_avghouseprice", "\xA3"},
    {"lbl_differencevalue", "\xA3"},
    {"GPH_Houseprice", ""},
    {"GPH_1year", ""},
    {"gph_2year", "Text3"},
    {"gph_3year", "Text2"},
    {"Gph_4year", "Text1"},
    {"GPH_5year", ""},
    {"txt_5years", "Text1"},
    {"gph_array", "Text1"},
    {"gph_marketarray", ""},
    {"Text4", "Text4"},
    {"Label1", "HTML Source"},
    {"Label2", "TEXT Page - HTML Source Removed"},
    {"Label3", "House Text"},
    {"Label4", "Prices"},
    {"Label5", "Avg. Close Price"},
    {"Label6", "Average House Price"},
    {"Label7", "Street Name:"},
    {"Label8", "ESTD VAL"},
    {"Label9", "Estimated House Price:"},
    {"Label10", "House Price"},
    {"Label11", "Difference"},
    {"Label12", "1 year prediction"},
    {"Label13", "Over how many years"},
    {"Label14", "5 year prediction"},
    {"Label15", "5 years ago"},
    {"Label16", "4         3          2          1"},
    {"Label17", "Market years array"},
};

bool sameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

RunBuffer::RunBuffer() {
  m_fields.reserve(std::size(kInitial));
  for (const Initial& field : kInitial) m_fields.push_back({field.name, std::string(field.value)});
}

const std::string& RunBuffer::text(std::string_view field) const { return find(field).value; }

void RunBuffer::setText(std::string_view field, std::string value) {
  find(field).value = std::move(value);
}

void RunBuffer::clearForAnotherValuation() {
  for (std::string_view name :
       {"txt_5years", "txt_avgclose", "txt_dump", "txt_estdval", "txt_houseprices", "txt_housetext",
        "txt_housetext2", "txt_htmlsource", "txt_nohtmlsource", "txt_num", "txt_num1"})
    find(name).value.clear();
}

RunBuffer::Field& RunBuffer::find(std::string_view name) {
  return const_cast<Field&>(std::as_const(*this).find(name));
}

const RunBuffer::Field& RunBuffer::find(std::string_view name) const {
  for (const Field& field : m_fields) {
    if (sameName(field.name, name)) return field;
  }
  throw std::out_of_range("no run-buffer field named " + std::string(name));
}

}  // namespace korvane
