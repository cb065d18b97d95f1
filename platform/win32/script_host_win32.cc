// The script runtime on Windows: COM, and the script control activated by
// its program identifier and driven through IDispatch by member names. Text
// crosses into and out of COM through the ANSI code page.

#include <windows.h>

#include <climits>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/script_host.h"

namespace velkaro {
namespace {

// The text as UTF-16, read in the ANSI code page; empty when it cannot be
// read.
std::wstring wideOf(const Text& text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::wstring();
  }
  const int length = static_cast<int>(text.size());
  const int wideLength =
      MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

// The UTF-16 string up to its first zero, in the ANSI code page.
Text ansiOf(const wchar_t* wide, std::size_t length) {
  std::size_t end = 0;
  while (end < length && wide[end] != L'\0') ++end;
  if (end == 0 || end > static_cast<std::size_t>(INT_MAX)) return Text();
  const int wideLength = static_cast<int>(end);
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0,
                                       nullptr, nullptr);
  if (size <= 0) return Text();
  Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, wideLength, text.data(), size, nullptr,
                      nullptr);
  return text;
}

// A BSTR made from a text, freed when it goes out of scope. A text the code
// page cannot read, and the empty text, give an empty BSTR.
class ScopedBstr {
 public:
  explicit ScopedBstr(const Text& text) {
    const std::wstring wide = wideOf(text);
    bstr_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  ~ScopedBstr() { SysFreeString(bstr_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;

  BSTR get() const { return bstr_; }

 private:
  BSTR bstr_;
};

// A VARIANT that is cleared when it goes out of scope.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;

  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// One script control, held through its IDispatch and released when the host
// is destroyed.
class Win32ScriptHost : public ScriptHost {
 public:
  explicit Win32ScriptHost(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~Win32ScriptHost() override { dispatch_->Release(); }
  Win32ScriptHost(const Win32ScriptHost&) = delete;
  Win32ScriptHost& operator=(const Win32ScriptHost&) = delete;

  bool setProperty(const Text& name, const Text& value) override {
    DISPID member = 0;
    if (!find(name, &member)) return false;
    ScopedBstr text(value);
    VARIANTARG argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = text.get();
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&argument, &named, 1, 1};
    return SUCCEEDED(dispatch_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_PROPERTYPUT, &params, nullptr,
                                       nullptr, nullptr));
  }

  bool executeStatement(const Text& statement) override {
    DISPID member = 0;
    if (!find("ExecuteStatement", &member)) return false;
    ScopedBstr text(statement);
    VARIANTARG argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = text.get();
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    ScopedVariant result;
    return SUCCEEDED(dispatch_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_METHOD, &params, result.get(),
                                       nullptr, nullptr));
  }

  Text runProcedure(const Text& procedure) override {
    DISPID member = 0;
    if (!find("Run", &member)) return Text();
    ScopedBstr name(procedure);
    ScopedVariant result;
    if (!run(member, name.get(), result.get())) return Text();
    return textOf(result.get());
  }

 private:
  // The DISPID of the member called name; false when the object has none.
  bool find(const Text& name, DISPID* member) {
    std::wstring wide = wideOf(name);
    LPOLESTR names[] = {wide.data()};
    return SUCCEEDED(dispatch_->GetIDsOfNames(IID_NULL, names, 1,
                                              LOCALE_USER_DEFAULT, member));
  }

  // Calls "Run" with the procedure name alone. Its parameter list is
  // variable: a host that counts the list as a parameter of its own answers
  // DISP_E_BADPARAMCOUNT, and is called again with an empty list.
  bool run(DISPID member, BSTR procedure, VARIANT* result) {
    VARIANTARG arguments[2];
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    V_VT(&arguments[1]) = VT_BSTR;
    V_BSTR(&arguments[1]) = procedure;
    DISPPARAMS nameOnly = {&arguments[1], nullptr, 1, 0};
    HRESULT hr =
        dispatch_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_METHOD, &nameOnly, result, nullptr, nullptr);
    if (hr != DISP_E_BADPARAMCOUNT) return SUCCEEDED(hr);

    VariantClear(result);
    SAFEARRAY* empty = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    if (empty == nullptr) return false;
    // Arguments travel in reverse order: the list last, so it comes first.
    V_VT(&arguments[0]) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&arguments[0]) = empty;
    DISPPARAMS withList = {arguments, nullptr, 2, 0};
    hr =
        dispatch_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_METHOD, &withList, result, nullptr, nullptr);
    SafeArrayDestroy(empty);
    return SUCCEEDED(hr);
  }

  // The result as text: a string as it is, any other value changed to one
  // (an object gives the text of its default value); empty when it has no
  // string form.
  static Text textOf(VARIANT* value) {
    if (V_VT(value) != VT_BSTR &&
        FAILED(VariantChangeType(value, value, 0, VT_BSTR))) {
      return Text();
    }
    if (V_VT(value) != VT_BSTR || V_BSTR(value) == nullptr) return Text();
    return ansiOf(V_BSTR(value), SysStringLen(V_BSTR(value)));
  }

  IDispatch* dispatch_;
};

class Win32ScriptRuntime : public ScriptRuntime {
 public:
  // Only a call that succeeded is balanced by CoUninitialize: a thread left
  // in another apartment model keeps it, and one call too many ends nothing
  // that someone else started.
  void initialize() override {
    if (SUCCEEDED(CoInitialize(nullptr))) ++depth_;
  }

  void uninitialize() override {
    if (depth_ > 0) {
      --depth_;
      CoUninitialize();
    }
  }

  std::unique_ptr<ScriptHost> createHost(const Text& progId) override {
    const std::wstring wide = wideOf(progId);
    if (wide.empty()) return nullptr;
    CLSID classId;
    if (FAILED(CLSIDFromProgID(wide.c_str(), &classId))) return nullptr;
    IDispatch* dispatch = nullptr;
    if (FAILED(CoCreateInstance(
            classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
            IID_IDispatch, reinterpret_cast<void**>(&dispatch))) ||
        dispatch == nullptr) {
      return nullptr;
    }
    return std::make_unique<Win32ScriptHost>(dispatch);
  }

 private:
  static thread_local int depth_;
};

thread_local int Win32ScriptRuntime::depth_ = 0;

}  // namespace

ScriptRuntime& hostScriptRuntime() {
  static Win32ScriptRuntime runtime;
  return runtime;
}

}  // namespace velkaro
