// Late-bound calls on cn_dip with fuzzed dispatch ids and arguments written as quorbel-call reads
// them. Arguments read back to the same text; Invoke runs a member only when the arguments match
// its parameters in number and exact type, and otherwise shows nothing and names the first
// mismatch; a member that runs leaves an empty result and shows its fixed boxes.

#include "fuzz_check.h"

#include "quorbel-call/call_arguments.h"
#include "queryserv/cn_dip.h"
#include "queryserv/component/message_box.h"

#include <vector>

namespace {

using namespace korvane::component;

class CountingSink final : public MessageBoxSink {
 public:
  void show(const std::string&, const std::string&, MessageIcon) override { ++shown; }
  int shown = 0;
};

// The boxes a member shows when it runs with these (already matching) arguments.
int boxesOf(const FunctionDescription& function, const std::vector<Variant>& args) {
  if (std::string_view(function.name) != "ServerLeasing") return 2;
  return args[0].i2 == VARIANT_TRUE || args[0].i2 == VARIANT_FALSE ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CountingSink sink;
  static ModuleState module;
  static const bool installed = (setMessageBoxSink(&sink), true);
  (void)installed;

  korvane::fuzz::FuzzInput input(data, size);
  const std::uint8_t choice = input.byte();
  const auto& functions = cn_dipInterface.functions;
  const DispId id =
      choice < 5 * 40 ? functions[choice % functions.size()].id : input.integer<DispId>();

  std::vector<Variant> args;
  while (!input.empty()) {
    const std::string_view line = input.textUntil('\n');
    const std::optional<Variant> arg = parseArgument(line);
    if (!arg) continue;
    // What quorbel-call prints for an argument, it reads back as the same argument.
    const std::string text = argumentText(*arg);
    const std::optional<Variant> again = parseArgument(text);
    FUZZ_CHECK(again.has_value() && argumentText(*again) == text);
    args.push_back(*arg);
  }

  IUnknown* object = cn_dip::create(module);
  FUZZ_CHECK(object != nullptr);
  auto* dispatch = static_cast<_cn_dip*>(static_cast<cn_dip*>(object));
  Variant result = Variant::fromText("stale");
  std::uint32_t argError = 0xFFFFFFFF;
  sink.shown = 0;
  const std::vector<Variant> before = args;
  const HRESULT hr = dispatch->Invoke(id, args, &result, &argError);
  object->Release();
  FUZZ_CHECK(module.canUnload());

  const FunctionDescription* function = findFunction(cn_dipInterface, id);
  if (function == nullptr) {
    FUZZ_CHECK(hr == DISP_E_MEMBERNOTFOUND);
  } else if (args.size() != function->params.size()) {
    FUZZ_CHECK(hr == DISP_E_BADPARAMCOUNT);
  } else {
    std::size_t mismatch = 0;
    while (mismatch < args.size() && args[mismatch].type == function->params[mismatch].type) {
      ++mismatch;
    }
    if (mismatch < args.size()) {
      FUZZ_CHECK(hr == DISP_E_TYPEMISMATCH && argError == mismatch);
    } else {
      FUZZ_CHECK(hr == S_OK);
      FUZZ_CHECK(result == Variant());
      FUZZ_CHECK(sink.shown == boxesOf(*function, args));
    }
  }
  if (hr != S_OK) {
    FUZZ_CHECK(sink.shown == 0);
    FUZZ_CHECK(result == Variant::fromText("stale"));
  }
  // The members read their by-reference arguments but change none of them.
  FUZZ_CHECK(args.size() == before.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    FUZZ_CHECK(argumentText(args[i]) == argumentText(before[i]));
  }
  return 0;
}
