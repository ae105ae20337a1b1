// quorbel-call: register, unregister, list and call component libraries from a terminal.

#include "call_arguments.h"

#include "queryserv/component/client.h"
#include "queryserv/component/registry_file.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace korvane::component {
namespace {

constexpr char kUsage[] =
    "usage: quorbel-call register <library.so>\n"
    "       quorbel-call unregister <library.so>\n"
    "       quorbel-call list\n"
    "       quorbel-call call <ProgID|{CLSID}> <operation> [argument ...]\n"
    "arguments: empty null i2:N i4:N r8:X bool:true|false|N text:T (all passed by reference)\n";

int failure(const std::string& step, HRESULT result) {
  std::cerr << "quorbel-call: " << step << " failed: " << resultName(result) << '\n';
  return 1;
}

int listClasses() {
  Registry registry;
  if (const HRESULT read = readRegistry(&registry); failed(read)) {
    return failure("reading " + registryPath().string(), read);
  }
  for (const auto& [place, value] : registry.values()) {
    const auto& [key, name] = place;
    constexpr std::string_view prefix = "CLSID\\";
    if (!name.empty() || !key.starts_with(prefix) || key.find('\\', prefix.size()) != key.npos) {
      continue;
    }
    const std::string server = registry.value(key + "\\InprocServer32").value_or("");
    const std::string threading =
        registry.value(key + "\\InprocServer32", "ThreadingModel").value_or("");
    std::cout << key.substr(prefix.size()) << '\t' << registry.value(key + "\\ProgID").value_or("")
              << '\t' << server << '\t' << threading << '\n';
  }
  return 0;
}

int call(const std::string& classText, const std::string& operation,
         const std::vector<std::string>& argumentTexts) {
  std::vector<Variant> args;
  for (const std::string& text : argumentTexts) {
    auto arg = parseArgument(text);
    if (!arg) {
      std::cerr << "quorbel-call: cannot read argument \"" << text << "\"\n" << kUsage;
      return 2;
    }
    args.push_back(std::move(*arg));
  }
  void* pointer = nullptr;
  if (const HRESULT created = createInstance(classText, IID_IDispatch, &pointer); failed(created)) {
    return failure("creating " + classText, created);
  }
  auto* object = static_cast<IDispatch*>(pointer);
  Variant result;
  std::uint32_t argError = 0;
  const HRESULT called = invokeByName(object, operation, args, &result, &argError);
  object->Release();
  if (called == DISP_E_TYPEMISMATCH) {
    return failure(operation + " (argument " + std::to_string(argError + 1) + ")", called);
  }
  if (failed(called)) return failure(operation, called);
  std::cout << "result " << argumentText(result) << '\n';
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::cout << "argument " << i + 1 << ' ' << argumentText(args[i]) << '\n';
  }
  return 0;
}

int run(const std::vector<std::string>& words) {
  if (words.size() == 2 && (words[0] == "register" || words[0] == "unregister")) {
    const bool registering = words[0] == "register";
    const HRESULT result = registering ? registerLibrary(words[1]) : unregisterLibrary(words[1]);
    if (failed(result)) return failure(words[0] + ' ' + words[1], result);
    std::cout << (registering ? "registered " : "unregistered ") << words[1] << '\n';
    return 0;
  }
  if (words.size() == 1 && words[0] == "list") return listClasses();
  if (words.size() >= 3 && words[0] == "call") {
    return call(words[1], words[2], std::vector<std::string>(words.begin() + 3, words.end()));
  }
  std::cerr << kUsage;
  return 2;
}

}  // namespace
}  // namespace korvane::component

int main(int argc, char** argv) {
  return korvane::component::run(std::vector<std::string>(argv + 1, argv + argc));
}
