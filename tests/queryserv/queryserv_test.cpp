// The component runtime, and libQuorbel.so and quorbel-call as their clients meet them.

#include "quorbel-call/call_arguments.h"
#include "queryserv/cn_dip_interface.h"
#include "queryserv/component/client.h"
#include "queryserv/component/message_box.h"
#include "queryserv/component/registry_file.h"
#include "support/files.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

namespace korvane::component {
namespace {

using korvane::test::readBytes;
using Args = std::vector<Variant>;

// Sets an environment variable for its lifetime, then puts back what was there.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }
  const char* m_name;
  std::optional<std::string> m_old;
};

// Records each box as a line "title [icon] text" instead of showing it.
struct RecordingSink final : MessageBoxSink {
  void show(const std::string& title, const std::string& text, MessageIcon icon) override {
    static const char* const icons[] = {"no icon", "critical", "information"};
    boxes += title + " [" + icons[static_cast<int>(icon)] + "] " + text + '\n';
  }
  std::string boxes;
};

// A test with its own empty XDG data home, so its own component registry, and recorded boxes.
class ComponentTest : public ::testing::Test {
 protected:
  ComponentTest() : m_previousSink(setMessageBoxSink(&m_sink)) {}
  ~ComponentTest() override { setMessageBoxSink(m_previousSink); }

  korvane::test::TempDir m_dataHome;
  ScopedEnv m_xdg{"XDG_DATA_HOME", m_dataHome.path()};
  std::filesystem::path m_registryFile = m_dataHome / "korvane/components.reg";
  RecordingSink m_sink;
  MessageBoxSink* m_previousSink;
};

// libQuorbel.so registered in the test's registry, and a cn_dip made through it.
class QuorbelTest : public ComponentTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
    ASSERT_EQ(createInstance(ProgID_cn_dip, IID__cn_dip, reinterpret_cast<void**>(&m_object)),
              S_OK);
  }
  ~QuorbelTest() override {
    if (m_object != nullptr) m_object->Release();
  }
  _cn_dip* m_object = nullptr;
};

// Arguments written as quorbel-call reads them, separated by blanks.
Args args(const std::string& words) {
  Args out;
  std::istringstream in(words);
  for (std::string word; in >> word;) out.push_back(parseArgument(word).value());
  return out;
}

// Calls operation `id` through the interface, on the arguments Invoke would take.
HRESULT callThroughInterface(_cn_dip& o, DispId id, Args& a, Variant* r) {
  switch (id) {
    case 0x60030000:
      return o.QuerySERV(&a[0].text, &a[1].r8, &a[2].i4, &a[3].i2, r);
    case 0x60030001:
      return o.Sendpostcode(&a[0].i2, &a[1].text, &a[2].i2, r);
    case 0x60030002:
      return o.PredictPropValue(&a[0].i2, &a[1].i2, &a[2].i4, &a[3].i2, r);
    case 0x60030003:
      return o.ServerLeasing(&a[0].i2, r);
  }
  return o.Get_Postcode_Street(&a[0].text, &a[1].i2, &a[2].i2, &a[3].i4, r);
}

TEST(GuidText, ReadsOnlyTheBracedFormInEitherCase) {
  static const struct {
    const char* text;
    std::optional<Guid> guid;
  } cases[] = {
      {"{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}", CLSID_cn_dip},
      {"{f5ffd06a-4ccc-4b4f-940c-5fd759d2592e}", CLSID_cn_dip},
      {"F5FFD06A-4CCC-4B4F-940C-5FD759D2592E", std::nullopt},
      {"{F5FFD06G-4CCC-4B4F-940C-5FD759D2592E}", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseGuid(c.text), c.guid) << c.text;
}

TEST(CallArguments, ReadsEachTypeInRangeAndWritesItBackTheSame) {
  static const struct {
    const char* text;
    std::optional<Variant> value;
  } cases[] = {
      {"empty", Variant()},
      {"null", Variant::null()},
      {"i2:-32768", Variant::fromI2(-32768)},
      {"i2:32768", std::nullopt},
      {"i4:70000", Variant::fromI4(70000)},
      {"i4:7x", std::nullopt},
      {"r8:2.5", Variant::fromR8(2.5)},
      {"r8: 1", std::nullopt},
      {"bool:true", Variant::fromBool(VARIANT_TRUE)},
      {"bool:false", Variant::fromBool(VARIANT_FALSE)},
      {"bool:1", Variant::fromBool(1)},
      {"text:SW1A 1AA:x", Variant::fromText("SW1A 1AA:x")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseArgument(c.text), c.value) << c.text;
    EXPECT_EQ(c.value ? parseArgument(argumentText(*c.value)) : std::nullopt, c.value) << c.text;
  }
}

TEST(RegistryText, KeysAreOneNonEmptyLineAndAnyNameOrValueSurvivesARoundTrip) {
  Registry registry;
  for (const char* key : {"", "a\nb", "a\rb"}) EXPECT_FALSE(registry.setValue(key, "", "x"));
  ASSERT_TRUE(registry.setValue("K", "", "v"));
  ASSERT_TRUE(registry.setValue("K", "name = \"quoted\"", "back\\slash"));
  ASSERT_TRUE(registry.setValue("Key [with] brackets", "@", "line one\nline two\r\n"));
  const auto read = Registry::fromText(registry.toText());
  ASSERT_TRUE(read.has_value()) << registry.toText();
  EXPECT_EQ(read->values(), registry.values());
}

TEST(RegistryPath, FollowsAnAbsoluteXdgDataHomeElseHome) {
  static const struct {
    const char *xdg, *home, *path;
  } cases[] = {
      {"/data", "/home/u", "/data/korvane/components.reg"},
      {"relative", "/home/u", "/home/u/.local/share/korvane/components.reg"},
  };
  for (const auto& c : cases) {
    const ScopedEnv xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
    EXPECT_EQ(registryPath(), c.path) << c.xdg << ", " << c.home;
  }
}

TEST_F(ComponentTest, RegistryFileIsReplacedWholeKeptWhenDamagedAndRemovedWhenEmptied) {
  Registry one;
  one.setValue("K", "", "v");
  const struct {
    std::string before;  // "": no file
    const char* value;   // K's new value; null: K removed
    HRESULT result;
    std::string after;  // "": no file; a failed update must leave the file as it was
  } cases[] = {
      {"", "v", S_OK, one.toText()},
      {one.toText(), nullptr, S_OK, ""},
      {"damaged\n", "v", REGDB_E_READREGDB, ""},
      {one.toText() + "@=\"x\" tail\n", "v", REGDB_E_READREGDB, ""},
      {one.toText() + "@=\"x\\q\"\n", "v", REGDB_E_READREGDB, ""},
      {one.toText() + "[]\n", "v", REGDB_E_READREGDB, ""},
  };
  const std::filesystem::path folder = m_registryFile.parent_path();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (!c.before.empty()) korvane::test::writeBytes(m_registryFile, c.before);
    EXPECT_EQ(updateRegistry([&](Registry& r) {
                c.value ? r.setValue("K", "", c.value) : r.removeValue("K", "");
              }),
              c.result);
    const std::string after = failed(c.result) ? c.before : c.after;
    EXPECT_EQ(std::filesystem::exists(m_registryFile) ? readBytes(m_registryFile) : "", after);
    // Beside the lock file only the registry: no half-written file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}),
              after.empty() ? 1 : 2);
  }
}

TEST_F(ComponentTest, ConcurrentRegistryWritersLoseNoUpdate) {
  std::vector<std::thread> writers;
  for (int w = 0; w < 100; w += 25) {
    writers.emplace_back([w] {
      for (int i = w; i < w + 25; ++i)
        EXPECT_EQ(updateRegistry([i](auto& r) { r.setValue(std::to_string(i), "", ""); }), S_OK);
    });
  }
  for (std::thread& writer : writers) writer.join();
  Registry registry;
  ASSERT_EQ(readRegistry(&registry), S_OK);
  EXPECT_EQ(registry.values().size(), 100u);
}

TEST_F(ComponentTest, RegisteringWritesTheClassAndUnregisteringRestoresTheRegistry) {
  const std::string libid = "{6B5DDC2F-A987-4D6D-B125-168116C8D41B}";
  const std::string clsid = "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}";
  ASSERT_EQ(updateRegistry([&](auto& r) { r.setValue("TypeLib\\" + libid + "\\2", "", "x"); }),
            S_OK);
  const std::string before = readBytes(m_registryFile);
  ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
  const struct {
    std::string key, name, value;
  } written[] = {
      {"Quorbel.cn_dip\\CLSID", "", clsid},
      {"CLSID\\" + clsid + "\\ProgID", "", "Quorbel.cn_dip"},
      {"CLSID\\" + clsid + "\\InprocServer32", "", std::filesystem::absolute(QUORBEL_LIBRARY)},
      {"CLSID\\" + clsid + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {"TypeLib\\" + libid + "\\1.0", "", "Quorbel"},
  };
  Registry registry;
  ASSERT_EQ(readRegistry(&registry), S_OK);
  for (const auto& w : written) EXPECT_EQ(registry.value(w.key, w.name), w.value) << w.key;
  ASSERT_EQ(unregisterLibrary(QUORBEL_LIBRARY), S_OK);
  EXPECT_EQ(readBytes(m_registryFile), before);
}

TEST_F(QuorbelTest, CreatesByProgIdOrClsid) {
  for (const char* classText : {"Quorbel.cn_dip", "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}"}) {
    void* object = nullptr;
    EXPECT_EQ(createInstance(classText, IID__cn_dip, &object), S_OK) << classText;
    if (object != nullptr) static_cast<_cn_dip*>(object)->Release();
  }
}

TEST_F(QuorbelTest, EachOperationShowsItsBoxesOnlyOnItsOwnThreadAndChangesNoArgument) {
  const std::string notFound = "Quorbel [critical] Server could not be found\n";
  const std::string noRight = "Quorbel [no icon] You do not have the authority to use this dll\n";
  const std::string wrong = "Quorbel [no icon] You have not used the correct syntax for this dll\n";
  const struct {
    std::string name;
    DispId id;
    std::string args, boxes;
  } cases[] = {
      {"QuerySERV", 0x60030000, "text:10.0.0.1 r8:2.5 i4:70000 i2:8080", notFound + noRight},
      {"Sendpostcode", 0x60030001, "i2:7 text:SW1A1AA i2:1234", notFound + noRight},
      {"PredictPropValue", 0x60030002, "i2:250 i2:200 i4:5 i2:-1", wrong + noRight},
      {"Get_Postcode_Street", 0x60030004, "text:EC1A1BB bool:true i2:3 i4:99", wrong + noRight},
      {"ServerLeasing", 0x60030003, "bool:true",
       "Quorbel [information] You do not have the authority to lease server\n"},
      {"ServerLeasing", 0x60030003, "bool:false",
       "Quorbel [information] The server QUERYSERV will not be used\n"},
      {"ServerLeasing", 0x60030003, "bool:1", ""},
  };
  for (const auto& c : cases) {
    DispId id = DISPID_UNKNOWN;
    EXPECT_EQ(m_object->GetIDsOfNames(std::span(&c.name, 1), std::span(&id, 1)), S_OK) << c.name;
    EXPECT_EQ(id, c.id) << c.name;
    for (const bool byDispatchId : {false, true}) {
      SCOPED_TRACE(c.name + ' ' + c.args + (byDispatchId ? " through Invoke" : " directly"));
      m_sink.boxes.clear();
      Args a = args(c.args);
      Variant result = Variant::null();
      const auto call = [&] {
        return byDispatchId ? m_object->Invoke(c.id, a, &result, nullptr)
                            : callThroughInterface(*m_object, c.id, a, &result);
      };
      // Another thread is refused, and shows nothing: the boxes below are all there are.
      EXPECT_EQ(std::async(std::launch::async, call).get(), RPC_E_WRONG_THREAD);
      EXPECT_EQ(call(), S_OK);
      EXPECT_EQ(m_sink.boxes, c.boxes);
      EXPECT_EQ(result, Variant());
      EXPECT_EQ(a, args(c.args));
    }
  }
}

TEST_F(QuorbelTest, MisfittingLateBoundCallsAreRefusedAndShowNothing) {
  static const struct {
    const char *name, *args;
    HRESULT result;
    std::uint32_t argError;
  } cases[] = {
      {"QueryServer", "bool:true", DISP_E_UNKNOWNNAME, 99},
      {"ServerLeasing", "", DISP_E_BADPARAMCOUNT, 99},
      {"ServerLeasing", "i2:-1", DISP_E_TYPEMISMATCH, 0},
      {"PredictPropValue", "i2:1 i2:1 i4:1 i4:1", DISP_E_TYPEMISMATCH, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ' ' + c.args);
    Args a = args(c.args);
    Variant result = Variant::fromI4(7);
    std::uint32_t argError = 99;
    EXPECT_EQ(invokeByName(m_object, c.name, a, &result, &argError), c.result);
    EXPECT_EQ(argError, c.argError);
    EXPECT_EQ(result, Variant::fromI4(7));
  }
  EXPECT_EQ(m_sink.boxes, "");
}

TEST_F(QuorbelTest, NullReferencesGiveEPointerAndShowNothing) {
  Args a = args("text:x r8:1 i4:1 i2:1 bool:true");
  Variant result;
  EXPECT_EQ(m_object->QuerySERV(&a[0].text, &a[1].r8, &a[2].i4, nullptr, &result), E_POINTER);
  EXPECT_EQ(m_object->Sendpostcode(&a[3].i2, nullptr, &a[3].i2, &result), E_POINTER);
  EXPECT_EQ(m_object->PredictPropValue(nullptr, &a[3].i2, &a[2].i4, &a[3].i2, &result), E_POINTER);
  EXPECT_EQ(m_object->ServerLeasing(&a[4].i2, nullptr), E_POINTER);
  EXPECT_EQ(m_object->Get_Postcode_Street(&a[0].text, &a[4].i2, &a[3].i2, &a[2].i4, nullptr),
            E_POINTER);
  EXPECT_EQ(m_sink.boxes, "");
}

TEST_F(QuorbelTest, LibraryMayUnloadOnlyWithoutObjectsFactoriesOrLocks) {
  void* library = ::dlopen(QUORBEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  const auto canUnloadNow = reinterpret_cast<HRESULT (*)()>(::dlsym(library, "DllCanUnloadNow"));
  const auto classObject = reinterpret_cast<HRESULT (*)(const Guid&, const Guid&, void**)>(
      ::dlsym(library, "DllGetClassObject"));
  ASSERT_TRUE(canUnloadNow != nullptr && classObject != nullptr);
  IClassFactory *first = nullptr, *second = nullptr;
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a live object";
  m_object->Release();
  m_object = nullptr;
  EXPECT_EQ(canUnloadNow(), S_OK) << "after its last Release";
  ASSERT_EQ(classObject(CLSID_cn_dip, IID_IClassFactory, reinterpret_cast<void**>(&first)), S_OK);
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a live class factory";
  first->LockServer(false);  // unmatched: must not cancel the lock that follows
  first->LockServer(true);
  first->Release();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a lock after an unmatched unlock";
  ASSERT_EQ(classObject(CLSID_cn_dip, IID_IClassFactory, reinterpret_cast<void**>(&second)), S_OK);
  second->LockServer(false);
  second->Release();
  EXPECT_EQ(canUnloadNow(), S_OK) << "the lock released";
  ::dlclose(library);
}

TEST(QuorbelLibrary, ExportsOnlyItsEntryPointsAndVersion) {
  const std::string command = std::string(NM_PROGRAM) + " -D -j --defined-only " + QUORBEL_LIBRARY;
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> symbols;
  for (char name[256]; std::fscanf(pipe, "%255s", name) == 1;) symbols.insert(name);
  ASSERT_EQ(::pclose(pipe), 0) << command;
  EXPECT_EQ(symbols,
            (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                   "DllUnregisterServer", "DllVersionInfo"}));
}

TEST_F(ComponentTest, QuorbelCallRegistersAndShowsServerLeasingsBoxOnStandardError) {
  const std::string out = m_dataHome / "out", err = m_dataHome / "err";
  const std::string run = std::string(QUORBEL_CALL) + ' ', io = " >" + out + " 2>" + err;
  ASSERT_EQ(std::system((run + "register " + QUORBEL_LIBRARY + io).c_str()), 0);
  EXPECT_EQ(std::system((run + "call Quorbel.cn_dip ServerLeasing bool:true" + io).c_str()), 0);
  EXPECT_EQ(readBytes(err),
            "Quorbel\n[information]\nYou do not have the authority to lease server\n[OK]\n");
  EXPECT_EQ(readBytes(out), "result empty\nargument 1 bool:true\n");
}

TEST(DefaultMessageBox, OffTheGuiThreadGoesToStandardError) {
  testing::internal::CaptureStderr();
  std::thread([] {
    showMessageBox("Quorbel", "The server QUERYSERV will not be used", MessageIcon::Information);
  }).join();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Quorbel\n[information]\nThe server QUERYSERV will not be used\n[OK]\n");
}

}  // namespace
}  // namespace korvane::component
