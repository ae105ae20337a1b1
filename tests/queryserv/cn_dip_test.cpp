#include "quorbel_fixture.h"

#include "queryserv/component/registry_file.h"
#include "support/files.h"

#include <dlfcn.h>

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace korvane::component {
namespace {

using test::QuorbelTest;
using test::ShownBox;

const ShownBox kServerNotFound{"Quorbel", "Server could not be found", MessageIcon::Critical};
const ShownBox kNoAuthority{"Quorbel", "You do not have the authority to use this dll",
                            MessageIcon::None};
const ShownBox kWrongSyntax{"Quorbel", "You have not used the correct syntax for this dll",
                            MessageIcon::None};
const ShownBox kNoLease{"Quorbel", "You do not have the authority to lease server",
                        MessageIcon::Information};
const ShownBox kNotUsed{"Quorbel", "The server QUERYSERV will not be used",
                        MessageIcon::Information};

// One call of an operation: its dispatch id and name, the arguments, the same call made through
// the virtual table on those arguments, and the boxes it must show.
struct OperationCase {
  const char* label;
  DispId id;
  const char* name;
  std::vector<Variant> args;
  std::function<HRESULT(_cn_dip&, std::vector<Variant>&, Variant*)> direct;
  std::vector<ShownBox> boxes;
};

std::vector<OperationCase> operationCases() {
  using V = Variant;
  auto querySERV = [](_cn_dip& o, std::vector<V>& a, V* r) {
    return o.QuerySERV(&a[0].text, &a[1].r8, &a[2].i4, &a[3].i2, r);
  };
  auto sendpostcode = [](_cn_dip& o, std::vector<V>& a, V* r) {
    return o.Sendpostcode(&a[0].i2, &a[1].text, &a[2].i2, r);
  };
  auto predict = [](_cn_dip& o, std::vector<V>& a, V* r) {
    return o.PredictPropValue(&a[0].i2, &a[1].i2, &a[2].i4, &a[3].i2, r);
  };
  auto leasing = [](_cn_dip& o, std::vector<V>& a, V* r) { return o.ServerLeasing(&a[0].i2, r); };
  auto street = [](_cn_dip& o, std::vector<V>& a, V* r) {
    return o.Get_Postcode_Street(&a[0].text, &a[1].i2, &a[2].i2, &a[3].i4, r);
  };
  return {
      {"QuerySERV",
       0x60030000,
       "QuerySERV",
       {V::fromText("10.0.0.1"), V::fromR8(2.5), V::fromI4(70000), V::fromI2(8080)},
       querySERV,
       {kServerNotFound, kNoAuthority}},
      {"QuerySERV extremes",
       0x60030000,
       "QuerySERV",
       {V::fromText(""), V::fromR8(-1e300), V::fromI4(-2147483647 - 1), V::fromI2(-32768)},
       querySERV,
       {kServerNotFound, kNoAuthority}},
      {"Sendpostcode",
       0x60030001,
       "Sendpostcode",
       {V::fromI2(7), V::fromText("SW1A 1AA"), V::fromI2(1234)},
       sendpostcode,
       {kServerNotFound, kNoAuthority}},
      {"PredictPropValue",
       0x60030002,
       "PredictPropValue",
       {V::fromI2(250), V::fromI2(200), V::fromI4(5), V::fromI2(0)},
       predict,
       {kWrongSyntax, kNoAuthority}},
      {"Get_Postcode_Street",
       0x60030004,
       "Get_Postcode_Street",
       {V::fromText("EC1A 1BB"), V::fromBool(VARIANT_TRUE), V::fromI2(3), V::fromI4(99)},
       street,
       {kWrongSyntax, kNoAuthority}},
      {"Get_Postcode_Street with false",
       0x60030004,
       "Get_Postcode_Street",
       {V::fromText("x"), V::fromBool(VARIANT_FALSE), V::fromI2(-1), V::fromI4(0)},
       street,
       {kWrongSyntax, kNoAuthority}},
      {"ServerLeasing true",
       0x60030003,
       "ServerLeasing",
       {V::fromBool(VARIANT_TRUE)},
       leasing,
       {kNoLease}},
      {"ServerLeasing false",
       0x60030003,
       "ServerLeasing",
       {V::fromBool(VARIANT_FALSE)},
       leasing,
       {kNotUsed}},
      {"ServerLeasing 1", 0x60030003, "ServerLeasing", {V::fromBool(1)}, leasing, {}},
      {"ServerLeasing 0x7FFF", 0x60030003, "ServerLeasing", {V::fromBool(0x7FFF)}, leasing, {}},
      {"ServerLeasing -2", 0x60030003, "ServerLeasing", {V::fromBool(-2)}, leasing, {}},
  };
}

// --- Creation and registration ---------------------------------------------------------------

TEST_F(QuorbelTest, RegisteringWritesClassProgIdTypeLibraryAndServer) {
  Registry registry;
  ASSERT_EQ(readRegistry(&registry), S_OK);
  const std::string server = std::filesystem::absolute(QUORBEL_LIBRARY).lexically_normal();
  static const struct {
    const char* key;
    const char* name;
  } expected[] = {
      {"CLSID\\{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}\\ProgID", ""},
      {"CLSID\\{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}\\InprocServer32", ""},
      {"CLSID\\{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}\\InprocServer32", "ThreadingModel"},
      {"Quorbel.cn_dip\\CLSID", ""},
      {"TypeLib\\{6B5DDC2F-A987-4D6D-B125-168116C8D41B}\\1.0", ""},
      {"Interface\\{B13D5371-5BAF-4D32-9EBA-767BCBE91CD7}", ""},
  };
  const std::string values[] = {
      "Quorbel.cn_dip", server,    "Apartment", "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}",
      "Quorbel",        "_cn_dip",
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(registry.value(expected[i].key, expected[i].name), values[i]) << expected[i].key;
  }
}

TEST_F(QuorbelTest, CreatesByProgIdAndByClsid) {
  static const char* const classTexts[] = {"Quorbel.cn_dip",
                                           "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}",
                                           "{f5ffd06a-4ccc-4b4f-940c-5fd759d2592e}"};
  for (const char* classText : classTexts) {
    void* object = nullptr;
    ASSERT_EQ(createInstance(classText, IID_IDispatch, &object), S_OK) << classText;
    ASSERT_NE(object, nullptr);
    Variant result;
    Variant lease = Variant::fromBool(VARIANT_TRUE);
    EXPECT_EQ(invokeByName(static_cast<IDispatch*>(object), "ServerLeasing", std::span(&lease, 1),
                           &result),
              S_OK);
    static_cast<IDispatch*>(object)->Release();
  }
  EXPECT_EQ(m_sink.boxes().size(), std::size(classTexts));
}

TEST_F(QuorbelTest, CreationFailuresHaveTheirCodes) {
  static const struct {
    const char* classText;
    HRESULT expected;
  } cases[] = {
      {"Quorbel.nothing", CO_E_CLASSSTRING},
      {"quorbel.cn_dip2", CO_E_CLASSSTRING},
      {"{00000000-0000-0000-0000-000000000001}", REGDB_E_CLASSNOTREG},
  };
  for (const auto& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(createInstance(c.classText, IID_IUnknown, &object), c.expected) << c.classText;
    EXPECT_EQ(object, nullptr);
  }
  void* object = nullptr;
  EXPECT_EQ(createInstance(ProgID_cn_dip, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(createInstance(ProgID_cn_dip, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(QuorbelTest, ServerThatWillNotLoadIsReported) {
  ASSERT_EQ(updateRegistry([this](Registry& r) {
              r.setValue("CLSID\\{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}\\InprocServer32", "",
                         (m_dataHome / "missing.so").string());
            }),
            S_OK);
  void* object = nullptr;
  EXPECT_EQ(createInstance(CLSID_cn_dip, IID_IUnknown, &object), CO_E_DLLNOTFOUND);
}

TEST_F(QuorbelTest, QueryInterfaceAnswersItsThreeInterfacesOnly) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  for (const Guid& iid : {IID_IUnknown, IID_IDispatch, IID__cn_dip}) {
    void* other = nullptr;
    EXPECT_EQ(object->QueryInterface(iid, &other), S_OK) << guidText(iid);
    EXPECT_EQ(other, static_cast<void*>(object));
    if (other != nullptr) static_cast<IUnknown*>(other)->Release();
  }
  for (const Guid& iid : {IID_IClassFactory, LIBID_Quorbel, CLSID_cn_dip}) {
    void* other = object;
    EXPECT_EQ(object->QueryInterface(iid, &other), E_NOINTERFACE) << guidText(iid);
    EXPECT_EQ(other, nullptr);
  }
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(QuorbelTest, UnregisteringLeavesTheRegistryAsItWas) {
  ASSERT_EQ(unregisterLibrary(QUORBEL_LIBRARY), S_OK);
  EXPECT_FALSE(std::filesystem::exists(registryFile()));

  // With other classes registered, their entries come back byte for byte.
  ASSERT_EQ(updateRegistry([](Registry& r) {
              r.setValue("CLSID\\{11111111-2222-3333-4444-555555555555}", "", "Other.thing");
              r.setValue("Other.thing\\CLSID", "", "{11111111-2222-3333-4444-555555555555}");
              r.setValue("TypeLib\\{6B5DDC2F-A987-4D6D-B125-168116C8D41B}\\2.0", "", "Later");
            }),
            S_OK);
  const std::string before = test::readBytes(registryFile());
  ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
  ASSERT_EQ(registerLibrary(QUORBEL_LIBRARY), S_OK);
  ASSERT_NE(test::readBytes(registryFile()), before);
  ASSERT_EQ(unregisterLibrary(QUORBEL_LIBRARY), S_OK);
  EXPECT_EQ(test::readBytes(registryFile()), before);

  void* object = nullptr;
  EXPECT_EQ(createInstance(ProgID_cn_dip, IID_IUnknown, &object), CO_E_CLASSSTRING);
}

// --- The five operations ---------------------------------------------------------------------

TEST_F(QuorbelTest, ThroughTheInterfaceEachOperationShowsItsBoxesAndReturnsEmpty) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  for (const OperationCase& c : operationCases()) {
    SCOPED_TRACE(c.label);
    m_sink.clear();
    std::vector<Variant> args = c.args;
    Variant result = Variant::null();
    EXPECT_EQ(c.direct(*object, args, &result), S_OK);
    EXPECT_EQ(m_sink.boxes(), c.boxes);
    EXPECT_EQ(result.type, VarType::Empty);
    EXPECT_EQ(args, c.args);
  }
  object->Release();
}

TEST_F(QuorbelTest, ThroughInvokeEachDispatchIdReachesTheSameOperation) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  for (const OperationCase& c : operationCases()) {
    SCOPED_TRACE(c.label);
    m_sink.clear();
    std::vector<Variant> args = c.args;
    Variant result = Variant::fromI2(5);
    EXPECT_EQ(object->Invoke(c.id, args, &result, nullptr), S_OK);
    EXPECT_EQ(m_sink.boxes(), c.boxes);
    EXPECT_EQ(result, Variant());
    EXPECT_EQ(args, c.args);

    // Late-bound by name, and without a place for the result.
    m_sink.clear();
    EXPECT_EQ(invokeByName(object, c.name, args, nullptr), S_OK);
    EXPECT_EQ(m_sink.boxes(), c.boxes);
    EXPECT_EQ(args, c.args);
  }
  object->Release();
}

TEST_F(QuorbelTest, GetIDsOfNamesMapsMembersAndParameters) {
  static const struct {
    std::vector<std::string> names;
    HRESULT result;
    std::vector<DispId> ids;
  } cases[] = {
      {{"QuerySERV"}, S_OK, {0x60030000}},
      {{"Sendpostcode"}, S_OK, {0x60030001}},
      {{"PredictPropValue"}, S_OK, {0x60030002}},
      {{"ServerLeasing"}, S_OK, {0x60030003}},
      {{"Get_Postcode_Street"}, S_OK, {0x60030004}},
      {{"serverleasing"}, S_OK, {0x60030003}},
      {{"ServerLeasing", "Leaseserv"}, S_OK, {0x60030003, 0}},
      {{"QuerySERV", "receiveport", "SERVERIP"}, S_OK, {0x60030000, 3, 0}},
      {{"QueryServer"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
      {{"Get_Postcode_Street", "Leaseserv"}, DISP_E_UNKNOWNNAME, {0x60030004, DISPID_UNKNOWN}},
  };
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.names[0] + (c.names.size() > 1 ? "." + c.names[1] : ""));
    std::vector<DispId> ids(c.names.size(), 12345);
    EXPECT_EQ(object->GetIDsOfNames(c.names, ids), c.result);
    EXPECT_EQ(ids, c.ids);
  }
  object->Release();
}

TEST_F(QuorbelTest, BadInvokeIsRefusedWithItsCodeAndRunsNothing) {
  using V = Variant;
  static const struct {
    const char* label;
    DispId id;
    std::vector<Variant> args;
    HRESULT result;
    std::uint32_t argError;  // checked for DISP_E_TYPEMISMATCH only
  } cases[] = {
      {"id past the last", 0x60030005, {V::fromBool(VARIANT_TRUE)}, DISP_E_MEMBERNOTFOUND, 0},
      {"id 0", 0, {}, DISP_E_MEMBERNOTFOUND, 0},
      {"too few", 0x60030003, {}, DISP_E_BADPARAMCOUNT, 0},
      {"too many",
       0x60030003,
       {V::fromBool(VARIANT_TRUE), V::fromBool(0)},
       DISP_E_BADPARAMCOUNT,
       0},
      {"three of four",
       0x60030000,
       {V::fromText("a"), V::fromR8(1), V::fromI4(1)},
       DISP_E_BADPARAMCOUNT,
       0},
      {"integer for boolean", 0x60030003, {V::fromI2(-1)}, DISP_E_TYPEMISMATCH, 0},
      {"empty for boolean", 0x60030003, {V()}, DISP_E_TYPEMISMATCH, 0},
      {"double and text swapped",
       0x60030000,
       {V::fromR8(1), V::fromText("a"), V::fromI4(1), V::fromI2(1)},
       DISP_E_TYPEMISMATCH,
       0},
      {"long for integer",
       0x60030002,
       {V::fromI2(1), V::fromI2(1), V::fromI4(1), V::fromI4(1)},
       DISP_E_TYPEMISMATCH,
       3},
      {"integer for long",
       0x60030002,
       {V::fromI2(1), V::fromI2(1), V::fromI2(1), V::fromI2(1)},
       DISP_E_TYPEMISMATCH,
       2},
      {"null for text",
       0x60030001,
       {V::fromI2(1), V::null(), V::fromI2(1)},
       DISP_E_TYPEMISMATCH,
       1},
      {"text for integer",
       0x60030004,
       {V::fromText("a"), V::fromBool(0), V::fromText("1"), V::fromI4(1)},
       DISP_E_TYPEMISMATCH,
       2},
  };
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<Variant> args = c.args;
    Variant result = Variant::fromI4(7);
    std::uint32_t argError = 99;
    EXPECT_EQ(object->Invoke(c.id, args, &result, &argError), c.result);
    if (c.result == DISP_E_TYPEMISMATCH) {
      EXPECT_EQ(argError, c.argError);
    }
    EXPECT_EQ(result, Variant::fromI4(7));
    EXPECT_EQ(args, c.args);
  }
  EXPECT_TRUE(m_sink.boxes().empty());
  object->Release();
}

TEST_F(QuorbelTest, NullReferencesAreRefusedWithoutABox) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  VariantBool lease = VARIANT_TRUE;
  std::string text;
  double real = 0;
  std::int32_t long32 = 0;
  std::int16_t short16 = 0;
  Variant result;
  EXPECT_EQ(object->ServerLeasing(nullptr, &result), E_POINTER);
  EXPECT_EQ(object->ServerLeasing(&lease, nullptr), E_POINTER);
  EXPECT_EQ(object->QuerySERV(&text, &real, &long32, nullptr, &result), E_POINTER);
  EXPECT_EQ(object->Sendpostcode(&short16, nullptr, &short16, &result), E_POINTER);
  EXPECT_EQ(object->PredictPropValue(nullptr, &short16, &long32, &short16, &result), E_POINTER);
  EXPECT_EQ(object->Get_Postcode_Street(&text, &lease, &short16, &long32, nullptr), E_POINTER);
  EXPECT_TRUE(m_sink.boxes().empty());
  object->Release();
}

// --- Apartment and lifetime ------------------------------------------------------------------

TEST_F(QuorbelTest, CallsFromAnotherThreadAreRefusedAndShowNothing) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  std::vector<HRESULT> results;
  std::thread other([&] {
    VariantBool lease = VARIANT_TRUE;
    Variant result;
    results.push_back(object->ServerLeasing(&lease, &result));
    Variant arg = Variant::fromBool(VARIANT_FALSE);
    results.push_back(object->Invoke(0x60030003, std::span(&arg, 1), &result, nullptr));
    const std::string name = "ServerLeasing";
    DispId id = 0;
    results.push_back(object->GetIDsOfNames(std::span(&name, 1), std::span(&id, 1)));
    std::string text;
    std::int16_t short16 = 0;
    results.push_back(object->Sendpostcode(&short16, &text, &short16, &result));
  });
  other.join();
  EXPECT_EQ(results, std::vector<HRESULT>(4, RPC_E_WRONG_THREAD));
  EXPECT_TRUE(m_sink.boxes().empty());

  // The owning thread still gets answers.
  VariantBool lease = VARIANT_FALSE;
  Variant result;
  EXPECT_EQ(object->ServerLeasing(&lease, &result), S_OK);
  EXPECT_EQ(m_sink.boxes(), std::vector<ShownBox>{kNotUsed});
  object->Release();
}

class QuorbelLifetimeTest : public QuorbelTest {
 protected:
  void SetUp() override {
    QuorbelTest::SetUp();
    m_library = ::dlopen(QUORBEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(m_library, nullptr);
    m_canUnloadNow = reinterpret_cast<HRESULT (*)()>(::dlsym(m_library, "DllCanUnloadNow"));
    m_getClassObject = reinterpret_cast<HRESULT (*)(const Guid&, const Guid&, void**)>(
        ::dlsym(m_library, "DllGetClassObject"));
    ASSERT_NE(m_canUnloadNow, nullptr);
    ASSERT_NE(m_getClassObject, nullptr);
  }
  void TearDown() override {
    if (m_library != nullptr) ::dlclose(m_library);
    QuorbelTest::TearDown();
  }

  void* m_library = nullptr;
  HRESULT (*m_canUnloadNow)() = nullptr;
  HRESULT (*m_getClassObject)(const Guid&, const Guid&, void**) = nullptr;
};

TEST_F(QuorbelLifetimeTest, CanUnloadOnlyAfterTheLastRelease) {
  ASSERT_EQ(m_canUnloadNow(), S_OK);
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(m_canUnloadNow(), S_OK);
}

TEST_F(QuorbelLifetimeTest, ReferenceCountsHoldUnderConcurrentAddRefAndRelease) {
  _cn_dip* object = createCnDip();
  ASSERT_NE(object, nullptr);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([object] {
      for (int i = 0; i < 20000; ++i) {
        object->AddRef();
        object->Release();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(m_canUnloadNow(), S_OK);
}

TEST_F(QuorbelLifetimeTest, ClassFactoryCreatesLocksAndRefusesWhatItCannotDo) {
  void* pointer = nullptr;
  const Guid other{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
  EXPECT_EQ(m_getClassObject(other, IID_IClassFactory, &pointer), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(m_getClassObject(CLSID_cn_dip, IID_IDispatch, &pointer), E_NOINTERFACE);
  EXPECT_EQ(m_getClassObject(CLSID_cn_dip, IID_IClassFactory, nullptr), E_POINTER);
  ASSERT_EQ(m_getClassObject(CLSID_cn_dip, IID_IClassFactory, &pointer), S_OK);
  auto* factory = static_cast<IClassFactory*>(pointer);
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);

  void* object = nullptr;
  EXPECT_EQ(factory->CreateInstance(factory, IID__cn_dip, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID__cn_dip, &object), S_OK);
  static_cast<_cn_dip*>(object)->Release();

  EXPECT_EQ(factory->LockServer(true), S_OK);
  factory->Release();
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);
  ASSERT_EQ(m_getClassObject(CLSID_cn_dip, IID_IClassFactory, &pointer), S_OK);
  factory = static_cast<IClassFactory*>(pointer);
  factory->LockServer(false);
  factory->LockServer(false);
  factory->Release();
  EXPECT_EQ(m_canUnloadNow(), S_OK);
  // The extra unlock was ignored, not counted against the next lock.
  ASSERT_EQ(m_getClassObject(CLSID_cn_dip, IID_IClassFactory, &pointer), S_OK);
  factory = static_cast<IClassFactory*>(pointer);
  factory->LockServer(true);
  factory->Release();
  EXPECT_EQ(m_canUnloadNow(), S_FALSE);
  ASSERT_EQ(m_getClassObject(CLSID_cn_dip, IID_IClassFactory, &pointer), S_OK);
  static_cast<IClassFactory*>(pointer)->LockServer(false);
  static_cast<IClassFactory*>(pointer)->Release();
  EXPECT_EQ(m_canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace korvane::component
