// The component runtime, and libQuorbel.so and quorbel-call as their clients meet them.

#include "queryserv/cn_dip_interface.h"
#include "queryserv/component/client.h"
#include "queryserv/component/message_box.h"
#include "queryserv/component/registry_file.h"
#include "queryserv/quorbel_message_boxes.h"
#include "quorbel-call/call_arguments.h"
#include "support/files.h"

#include <dlfcn.h>

#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <thread>

namespace korvane::component {
namespace {

using korvane::test::readBytes;
using Args = std::vector<Variant>;
using namespace std::string_literals;

// A test with its own empty XDG data home, so its own component registry, and its boxes recorded
// as lines "title [icon] text" instead of shown.
class ComponentTest : public ::testing::Test, MessageBoxes {
 protected:
  ComponentTest() { ::setenv("XDG_DATA_HOME", m_dataHome.path().c_str(), 1); }
  ~ComponentTest() override {
    setMessageBoxSink(m_previousSink);
    ::unsetenv("XDG_DATA_HOME");
  }
  void show(std::string_view text, std::string_view title, MessageIcon icon) override {
    static const char* const icons[] = {"no icon", "information", "critical"};
    m_boxes.append(title).append(" [").append(icons[static_cast<int>(icon)]).append("] ");
    m_boxes.append(text).append("\n");
  }

  korvane::test::TempDir m_dataHome;
  std::filesystem::path m_registryFile = m_dataHome / "korvane/components.reg";
  std::string m_boxes;
  MessageBoxes* m_previousSink = setMessageBoxSink(this);
};

// libQuorbel.so registered in the test's registry, and a cn_dip made through it.
class QuorbelTest : public ComponentTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
    ASSERT_EQ(createInstance(ProgID_cn_dip, IID__cn_dip, reinterpret_cast<void**>(&m_object)),
              S_OK);
  }
  void TearDown() override {
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

TEST(GuidText, ReadsOnlyTheBracedFormInEitherCase) {
  EXPECT_EQ(parseGuid("{f5ffd06a-4ccc-4b4f-940c-5fd759d2592e}"), CLSID_cn_dip);
  EXPECT_EQ(parseGuid("F5FFD06A-4CCC-4B4F-940C-5FD759D2592E"), std::nullopt);
  EXPECT_EQ(parseGuid("{F5FFD06G-4CCC-4B4F-940C-5FD759D2592E}"), std::nullopt);
}

TEST(CallArguments, ReadEachTypeInRange) {
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
  for (const auto& c : cases) EXPECT_EQ(parseArgument(c.text), c.value) << c.text;
}

TEST(RegistryText, KeysAreOneNonEmptyLine) {
  Registry registry;
  for (const char* key : {"", "a\nb", "a\rb"}) EXPECT_FALSE(registry.setValue(key, "", "x"));
  EXPECT_TRUE(registry.values().empty());
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

TEST_F(ComponentTest, RegisteringWritesTheClassThatThenCreatesAndUnregisteringRestoresTheRegistry) {
  const std::string libid = "{6B5DDC2F-A987-4D6D-B125-168116C8D41B}";
  const std::string clsid = "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}";
  ASSERT_EQ(updateRegistry([&](auto& r) { r.setValue("TypeLib\\" + libid + "\\2", "", "x"); }),
            S_OK);
  const std::string before = readBytes(m_registryFile);
  ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
  // ProgID and class find the library.
  for (const std::string& classText : {"Quorbel.cn_dip"s, clsid}) {
    void* object = nullptr;
    EXPECT_EQ(createInstance(classText, IID__cn_dip, &object), S_OK) << classText;
    if (object != nullptr) static_cast<_cn_dip*>(object)->Release();
  }
  ASSERT_EQ(unregisterLibrary(QUORBEL_LIBRARY), S_OK);
  EXPECT_EQ(readBytes(m_registryFile), before);
}

TEST_F(QuorbelTest, EachOperationShowsItsBoxesOnlyOnItsOwnThread) {
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
      {"serverLEASING", 0x60030003, "bool:1", ""},  // names in any case
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + ' ' + c.args);
    DispId id = DISPID_UNKNOWN;
    EXPECT_EQ(m_object->GetIDsOfNames(std::span(&c.name, 1), std::span(&id, 1)), S_OK);
    EXPECT_EQ(id, c.id);
    m_boxes.clear();
    Args a = args(c.args);
    Variant result;
    const auto call = [&] { return m_object->Invoke(c.id, a, &result, nullptr); };
    // Another thread is refused, and shows nothing: the boxes below are all there are.
    EXPECT_EQ(std::async(std::launch::async, call).get(), RPC_E_WRONG_THREAD);
    EXPECT_EQ(call(), S_OK);
    EXPECT_EQ(m_boxes, c.boxes);
  }
}

TEST_F(QuorbelTest, UnknownNamesAndNullReferencesAreRefusedAndShowNothing) {
  Args a = args("text:x r8:1 i4:1 i2:1 bool:true");
  Variant result;
  EXPECT_EQ(invokeByName(m_object, "QueryServer", a, &result, nullptr), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(m_object->QuerySERV(&a[0].text, &a[1].r8, &a[2].i4, nullptr, &result), E_POINTER);
  EXPECT_EQ(m_object->Sendpostcode(&a[3].i2, nullptr, &a[3].i2, &result), E_POINTER);
  EXPECT_EQ(m_object->PredictPropValue(nullptr, &a[3].i2, &a[2].i4, &a[3].i2, &result), E_POINTER);
  EXPECT_EQ(m_object->ServerLeasing(&a[4].i2, nullptr), E_POINTER);
  EXPECT_EQ(m_object->Get_Postcode_Street(&a[0].text, &a[4].i2, &a[3].i2, &a[2].i4, nullptr),
            E_POINTER);
  EXPECT_EQ(m_boxes, "");
}

TEST_F(QuorbelTest, LibraryMayUnloadOnlyWithoutObjectsFactoriesOrLocks) {
  void* library = ::dlopen(QUORBEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  const auto canUnloadNow = reinterpret_cast<HRESULT (*)()>(::dlsym(library, "DllCanUnloadNow"));
  const auto classObject = reinterpret_cast<HRESULT (*)(const Guid&, const Guid&, void**)>(
      ::dlsym(library, "DllGetClassObject"));
  // A client reads the version after dlopen too.
  ASSERT_TRUE(canUnloadNow && classObject && ::dlsym(library, "DllVersionInfo"));
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

TEST_F(ComponentTest, QuorbelCallRegistersAndShowsServerLeasingsBoxOnStandardError) {
  const std::string out = m_dataHome / "out", err = m_dataHome / "err";
  const std::string run = std::string(QUORBEL_CALL) + ' ', io = " >" + out + " 2>" + err;
  ASSERT_EQ(std::system((run + "register " + QUORBEL_LIBRARY + io).c_str()), 0);
  EXPECT_EQ(std::system((run + "call Quorbel.cn_dip ServerLeasing bool:true" + io).c_str()), 0);
  EXPECT_EQ(readBytes(err),
            "Quorbel\n[information]\nYou do not have the authority to lease server\n[OK]\n");
  EXPECT_EQ(readBytes(out), "result empty\nargument 1 bool:true\n");
}

// Widgets may only be made on the application's thread: a box from any other goes to standard
// error.
TEST(QuorbelMessageBoxes, OffTheGuiThreadGoToStandardError) {
  testing::internal::CaptureStderr();
  std::thread([] {
    quorbelMessageBoxes().show("The server QUERYSERV will not be used", "Quorbel",
                               MessageIcon::Information);
  }).join();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Quorbel\n[information]\nThe server QUERYSERV will not be used\n[OK]\n");
}

}  // namespace
}  // namespace korvane::component
