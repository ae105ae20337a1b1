// Late-bound calls on cn_dip with fuzzed dispatch ids and arguments written as quorbel-call reads
// them. Arguments read back to the same text; Invoke runs a member only when the arguments match
// its parameters in number and exact type, and otherwise shows nothing and names the first
// mismatch; a member that runs leaves an empty result.

#include "fuzz_check.h"

#include "queryserv/cn_dip.h"
#include "queryserv/component/message_box.h"
#include "quorbel-call/call_arguments.h"

#include <algorithm>
#include <vector>

namespace {

using namespace korvane::component;

struct CountingSink final : korvane::MessageBoxes {
  CountingSink() { setMessageBoxSink(this); }
  void show(std::string_view, std::string_view, korvane::MessageIcon) override { ++shown; }
  int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CountingSink sink;
  static ModuleState module;

  korvane::fuzz::FuzzInput input(data, size);
  const std::uint8_t choice = input.byte();
  const auto& functions = cn_dipInterface.functions;
  const DispId id =
      choice < 5 * 40 ? functions[choice % functions.size()].id : input.integer<DispId>();

  std::vector<Variant> args;
  while (!input.empty()) {
    const std::optional<Variant> arg = parseArgument(input.textUntil('\n'));
    if (!arg) continue;
    // What quorbel-call prints for an argument, it reads back as the same argument.
    const std::string text = argumentText(*arg);
    const std::optional<Variant> again = parseArgument(text);
    FUZZ_CHECK(again && argumentText(*again) == text);
    args.push_back(*arg);
  }

  IUnknown* object = cn_dip::create(module);
  FUZZ_CHECK(object != nullptr);
  Variant result = Variant::fromText("stale");
  std::uint32_t argError = 0xFFFFFFFF;
  sink.shown = 0;
  const std::vector<Variant> before = args;
  const HRESULT hr =
      static_cast<_cn_dip*>(static_cast<cn_dip*>(object))->Invoke(id, args, &result, &argError);
  object->Release();
  FUZZ_CHECK(module.canUnload());

  const FunctionDescription* function = findFunction(cn_dipInterface, id);
  std::size_t mismatch = 0;
  while (function && mismatch < std::min(args.size(), function->params.size()) &&
         args[mismatch].type == function->params[mismatch].type)
    ++mismatch;
  if (function == nullptr) {
    FUZZ_CHECK(hr == DISP_E_MEMBERNOTFOUND);
  } else if (args.size() != function->params.size()) {
    FUZZ_CHECK(hr == DISP_E_BADPARAMCOUNT);
  } else if (mismatch < args.size()) {
    FUZZ_CHECK(hr == DISP_E_TYPEMISMATCH && argError == mismatch);
  } else {
    FUZZ_CHECK(hr == S_OK && result == Variant());
  }
  FUZZ_CHECK(hr == S_OK || (sink.shown == 0 && result == Variant::fromText("stale")));
  // The members read their by-reference arguments but change none of them.
  FUZZ_CHECK(std::ranges::equal(args, before, {}, argumentText, argumentText));
  return 0;
}
