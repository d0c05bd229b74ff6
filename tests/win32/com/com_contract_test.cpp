// The component's COM contract, asked of the built module through its entry
// points, and Click's hand-over to the menu command handler, asked of
// objects made inside this program.
#include <gtest/gtest.h>
#include <objsafe.h>
#include <ocidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "aquillmark.h"
#include "class_factory.h"
#include "com_test_support.h"
#include "module.h"
#include "qmkit_h.h"

namespace qm::test {
namespace {

using Microsoft::WRL::ComPtr;

// Script engines ask for it; the import library lacks its IID.
const IID kIID_IDispatchEx = {
    0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};

// A stand-in for the browser's window object, and for an object that
// aggregates the component: it forwards what it does not know to `inner`.
class TestObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    if (inner != nullptr) return inner->QueryInterface(iid, out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  ULONG references = 1;
  IUnknown* inner = nullptr;
};

// A BSTR owned by the test.
class Bstr {
 public:
  explicit Bstr(const wchar_t* text)
      : text_(text != nullptr ? ::SysAllocString(text) : nullptr) {}
  explicit Bstr(std::wstring_view text)
      : text_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { ::SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

// Calls Click with the first `count` of its four arguments.
HRESULT InvokeClick(IDispatch* object, IUnknown* window, BSTR word,
                    UINT count = 4) {
  VARIANT arguments[4];  // last argument first
  for (VARIANT& argument : arguments) {
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = nullptr;
  }
  arguments[3].vt = VT_UNKNOWN;
  arguments[3].punkVal = window;
  arguments[2].bstrVal = word;
  DISPPARAMS params{arguments + (4 - count), nullptr, count, 0};
  return object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                        &params, nullptr, nullptr, nullptr);
}

// A pointer that a failing call must overwrite with null.
void* const kStale = reinterpret_cast<void*>(0x1234);

class ComContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.loaded());
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IClassFactory,
                                     &factory_),
              S_OK);
  }
  void TearDown() override {
    factory_.Reset();
    ::CoUninitialize();
  }

  ComPtr<IDispatch> NewObject() {
    ComPtr<IDispatch> object;
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IDispatch, &object), S_OK);
    return object;
  }

  LoadedModule module_;
  ComPtr<IClassFactory> factory_;
};

TEST_F(ComContractTest, ClassObjectIsTheOneFactoryOfTheOneClass) {
  EXPECT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IClassFactory,
                                   nullptr),
            E_POINTER);

  void* out = kStale;
  EXPECT_EQ(module_.GetClassObject(IID_IAQuillmark, IID_IClassFactory, &out),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = kStale;
  EXPECT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IDispatch, &out),
            E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  // Made once and kept: every request gets the same factory.
  ComPtr<IUnknown> again;
  ASSERT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IUnknown, &again),
            S_OK);
  ComPtr<IUnknown> first;
  ASSERT_EQ(factory_.As(&first), S_OK);
  EXPECT_EQ(again.Get(), first.Get());
}

TEST_F(ComContractTest, FactoryRefusesWhatItCannotMake) {
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IDispatch, nullptr),
            E_POINTER);

  TestObject outer;
  void* out = kStale;
  EXPECT_EQ(factory_->CreateInstance(&outer, IID_IDispatch, &out),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);

  out = kStale;
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IClassFactory, &out),
            E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  // The object made for the refused request is gone again.
  factory_.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ComContractTest, ModuleStaysWhileObjectsFactoriesOrLocksLive) {
  // A factory held keeps the module, as an object does; the module's own
  // reference to it does not.
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  ComPtr<IDispatch> first = NewObject();
  ComPtr<IDispatch> second = NewObject();
  factory_.Reset();

  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  first.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  second.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IClassFactory, &factory), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  ASSERT_EQ(module_.GetClassObject(CLSID_AQuillmark, IID_IClassFactory, &factory), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ComContractTest, AnswersExactlyItsFourInterfaces) {
  ComPtr<IDispatch> object = NewObject();
  ASSERT_TRUE(object);
  ComPtr<IUnknown> identity;
  ASSERT_EQ(object.As(&identity), S_OK);

  for (const IID* iid :
       {&IID_IUnknown, &IID_IDispatch, &IID_IAQuillmark, &IID_IObjectSafety}) {
    ComPtr<IUnknown> found;
    ASSERT_EQ(object->QueryInterface(*iid, &found), S_OK);
    ComPtr<IUnknown> its_identity;
    ASSERT_EQ(found.As(&its_identity), S_OK);
    EXPECT_EQ(its_identity.Get(), identity.Get());
  }

  for (const IID* iid :
       {&IID_IProvideClassInfo, &IID_IProvideClassInfo2, &IID_IObjectWithSite,
        &IID_ISupportErrorInfo, &kIID_IDispatchEx, &IID_IPersist,
        &IID_IPersistPropertyBag, &IID_IConnectionPointContainer,
        &IID_IMarshal, &IID_IClassFactory, &IID_ITypeInfo}) {
    void* out = kStale;
    EXPECT_EQ(object->QueryInterface(*iid, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComContractTest, DispatchComesFromTheEmbeddedTypeLibrary) {
  ComPtr<IDispatch> object = NewObject();
  ASSERT_TRUE(object);

  UINT count = 0;
  EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  EXPECT_EQ(object->GetTypeInfo(1, LOCALE_USER_DEFAULT, &info),
            DISP_E_BADINDEX);

  wchar_t click[] = L"Click";
  LPOLESTR names[] = {click};
  DISPID id = 0;
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
            S_OK);
  EXPECT_EQ(id, 1);

  TestObject window;
  Bstr word(L"BOOK");
  EXPECT_EQ(InvokeClick(object.Get(), &window, word.get()), S_OK);
  EXPECT_EQ(InvokeClick(object.Get(), &window, word.get(), 3),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(window.references, 1u);
}

TEST_F(ComContractTest, AnOuterObjectMayAggregateIt) {
  TestObject outer;
  ComPtr<IUnknown> inner;
  ASSERT_EQ(factory_->CreateInstance(&outer, IID_IUnknown, &inner), S_OK);
  factory_.Reset();
  outer.inner = inner.Get();
  EXPECT_EQ(outer.references, 1u);

  // The inner unknown answers for the object itself.
  ComPtr<IUnknown> inner_again;
  ASSERT_EQ(inner->QueryInterface(IID_IUnknown, &inner_again), S_OK);
  EXPECT_EQ(inner_again.Get(), inner.Get());
  inner_again.Reset();

  // Interfaces found through the outer object count on it and lead back
  // to it.
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_IDispatch,
                                 reinterpret_cast<void**>(&dispatch)),
            S_OK);
  EXPECT_EQ(outer.references, 2u);
  IUnknown* identity = nullptr;
  ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown,
                                     reinterpret_cast<void**>(&identity)),
            S_OK);
  EXPECT_EQ(identity, &outer);
  identity->Release();
  EXPECT_EQ(InvokeClick(dispatch, &outer, nullptr), S_OK);
  dispatch->Release();
  EXPECT_EQ(outer.references, 1u);

  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  outer.inner = nullptr;
  inner.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

struct SafetyStep {
  const char* what;
  bool set;  // SetInterfaceSafetyOptions, else GetInterfaceSafetyOptions
  const IID* iid;
  DWORD mask;
  DWORD enabled;
  HRESULT expected;
  DWORD supported_seen;  // what Get returns in its first result
  DWORD enabled_after;   // the object's options after the step
};

// One object through every step in order.
const SafetyStep kSafetySteps[] = {
    {"options start off", false, &IID_IDispatch, 0, 0, S_OK, 3, 0},
    {"asked of an interface it lacks", false, &IID_IPersist, 0, 0,
     E_NOINTERFACE, 0, 0},
    {"set for an interface it lacks", true, &IID_IPersist, 1, 1,
     E_NOINTERFACE, 0, 0},
    {"an option it does not know", true, &IID_IDispatch, 4, 4, E_FAIL, 0, 0},
    {"known ones with an unknown one", true, &IID_IDispatch, 7, 3, E_FAIL, 0,
     0},
    {"both on", true, &IID_IDispatch, 3, 3, S_OK, 0, 3},
    {"one off, the other kept", true, &IID_IDispatch, 1, 0, S_OK, 0, 2},
    {"enabled bits outside the mask ignored", true, &IID_IAQuillmark, 2, 1,
     S_OK, 0, 0},
    {"an empty mask changes nothing", true, &IID_IObjectSafety, 0, 3, S_OK, 0,
     0},
    {"set through IUnknown", true, &IID_IUnknown, 1, 1, S_OK, 0, 1},
    {"read through IAQuillmark", false, &IID_IAQuillmark, 0, 0, S_OK, 3, 1},
};

TEST_F(ComContractTest, ObjectSafetyAnswers) {
  ComPtr<IDispatch> object = NewObject();
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(object->QueryInterface(IID_IObjectSafety, &safety), S_OK);

  for (const SafetyStep& step : kSafetySteps) {
    SCOPED_TRACE(step.what);
    DWORD supported = 0xFFFFFFFF;
    DWORD enabled = 0xFFFFFFFF;
    if (step.set) {
      EXPECT_EQ(safety->SetInterfaceSafetyOptions(*step.iid, step.mask,
                                                  step.enabled),
                step.expected);
    } else {
      EXPECT_EQ(safety->GetInterfaceSafetyOptions(*step.iid, &supported,
                                                  &enabled),
                step.expected);
      EXPECT_EQ(supported, step.supported_seen);
      EXPECT_EQ(enabled, step.enabled_after);
    }
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported,
                                                &enabled),
              S_OK);
    EXPECT_EQ(enabled, step.enabled_after);
  }

  DWORD value = 0;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &value),
            E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &value, nullptr),
            E_POINTER);

  // Each object has options of its own.
  ComPtr<IObjectSafety> other;
  ASSERT_EQ(NewObject()->QueryInterface(IID_IObjectSafety, &other), S_OK);
  DWORD supported = 0;
  DWORD enabled = 0xFFFFFFFF;
  ASSERT_EQ(other->GetInterfaceSafetyOptions(IID_IDispatch, &supported,
                                             &enabled),
            S_OK);
  EXPECT_EQ(enabled, 0u);
}

TEST_F(ComContractTest, RegisteredModuleIsCreatedByItsProgId) {
  factory_.Reset();
  ASSERT_EQ(module_.RegisterServer(), S_OK);
  CLSID clsid{};
  EXPECT_EQ(::CLSIDFromProgID(L"VKR.AQuillmark", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_AQuillmark));

  ComPtr<IDispatch> object;
  EXPECT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDispatch, &object),
            S_OK);
  // COM loaded the registered copy: this very module holds the object.
  EXPECT_EQ(module_.CanUnloadNow(), object ? S_FALSE : S_OK);
  object.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);

  ASSERT_EQ(module_.UnregisterServer(), S_OK);
  EXPECT_EQ(::CLSIDFromProgID(L"VKR.AQuillmark", &clsid), CO_E_CLASSSTRING);
}

// What the handler saw of each Click.
struct HandledCommand {
  IUnknown* window;
  const wchar_t* word_pointer;
  std::optional<std::wstring> word;
};
std::vector<HandledCommand> g_handled;

void RecordCommand(IUnknown* window, const wchar_t* word, std::size_t length) {
  g_handled.push_back(
      {window, word, word != nullptr ? std::optional<std::wstring>(std::wstring(word, length))
                                     : std::nullopt});
}

void ThrowingHandler(IUnknown*, const wchar_t*, std::size_t) {
  throw std::runtime_error("a handler that fails");
}

// Objects made from the static library in this program, whose handler the
// test replaces.
class ClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    g_handled.clear();
    previous_ = SetMenuCommandHandler(&RecordCommand);
    ComPtr<IClassFactory> factory;
    factory.Attach(CClassFactory::New(&CAQuillmark::Create));
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &object_), S_OK);
  }
  void TearDown() override {
    SetMenuCommandHandler(previous_);
    object_.Reset();
    ::CoUninitialize();
  }

  MenuCommandHandler previous_ = nullptr;
  ComPtr<IDispatch> object_;
};

TEST_F(ClickTest, HandsTheWindowAndACopyOfTheWordToTheHandler) {
  using namespace std::literals;
  struct Case {
    std::optional<std::wstring_view> word;  // none: no string
    bool window;                            // false: a null window object
  };
  for (const Case& c :
       {Case{L"BOOK"sv, true}, Case{std::nullopt, true}, Case{L""sv, true},
        Case{L"Book "sv, true}, Case{L"NO SUCH WORD"sv, true},
        Case{L"CONFIG"sv, false}, Case{L"ISBN\0X"sv, true}}) {
    SCOPED_TRACE(c.word ? std::wstring(*c.word) : L"(null)");
    g_handled.clear();
    TestObject window;
    IUnknown* passed = c.window ? &window : nullptr;
    Bstr word = c.word ? Bstr(*c.word) : Bstr(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(InvokeClick(object_.Get(), passed, word.get()), S_OK);
    ASSERT_EQ(g_handled.size(), 1u);
    EXPECT_EQ(g_handled[0].window, passed);
    if (!c.word) {
      EXPECT_EQ(g_handled[0].word, std::nullopt);
    } else {
      // The whole word, a NUL and what follows it included.
      EXPECT_EQ(g_handled[0].word, std::wstring(*c.word));
      EXPECT_NE(g_handled[0].word_pointer, word.get());
    }
  }
}

TEST_F(ClickTest, ReturnsSuccessWhateverTheHandlerDoes) {
  SetMenuCommandHandler(&ThrowingHandler);
  TestObject window;
  Bstr word(L"BOOK");
  EXPECT_EQ(InvokeClick(object_.Get(), &window, word.get()), S_OK);
}

// Inside this program the module's lock count can be read: a factory counts
// in it like its objects, for each reference but the one the module keeps.
TEST(ClassFactoryLock, EveryReferenceButTheModulesOwnCounts) {
  const LONG before = ModuleLockCount();
  IClassFactory* factory = CClassFactory::New(&CAQuillmark::Create);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(ModuleLockCount(), before) << "the module's own reference";

  IUnknown* handed_out = nullptr;
  ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&handed_out)), S_OK);
  EXPECT_EQ(ModuleLockCount(), before + 1);
  factory->AddRef();
  EXPECT_EQ(ModuleLockCount(), before + 2);
  IDispatch* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)),
            S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(ModuleLockCount(), before + 4);

  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  object->Release();
  factory->Release();
  EXPECT_EQ(ModuleLockCount(), before + 1);
  handed_out->Release();
  EXPECT_EQ(ModuleLockCount(), before) << "only the module's own reference is left";
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(ModuleLockCount(), before);
}


}  // namespace
}  // namespace qm::test
