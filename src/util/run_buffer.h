#pragma once

// frm_buffer: the record of named text fields that carries one valuation run's values between the
// run, the report and the reset. Every value is Windows-1252 text of any length.

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class RunBuffer {
 public:
  // Every field at its initial value ("Text1", "NULL", "£", ... as the program was designed).
  RunBuffer();

  // The text of the named field (text field or label caption). Names match without regard to
  // case, as control names do. Throws std::out_of_range for a name that is not a field.
  const std::string& text(std::string_view field) const;
  // Replaces the named field's text whole. Throws std::out_of_range for an unknown name.
  void setText(std::string_view field, std::string value);

  // Empties the eleven page and figure fields txt_5years, txt_avgclose, txt_dump, txt_estdval,
  // txt_houseprices, txt_housetext, txt_housetext2, txt_htmlsource, txt_nohtmlsource, txt_num and
  // txt_num1; every other field keeps its value.
  void clearForAnotherValuation();

 private:
  struct Field {
    std::string_view name;
    std::string value;
  };
  Field& find(std::string_view name);
  const Field& find(std::string_view name) const;

  std::vector<Field> m_fields;
};

}  // namespace korvane
