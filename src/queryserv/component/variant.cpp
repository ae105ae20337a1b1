#include "variant.h"

namespace korvane {

const char* varTypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::I2:
      return "Integer";
    case VarType::I4:
      return "Long";
    case VarType::R8:
      return "Double";
    case VarType::Text:
      return "String";
    case VarType::Bool:
      return "Boolean";
  }
  return "Unknown";
}

}  // namespace korvane
