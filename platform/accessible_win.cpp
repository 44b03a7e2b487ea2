#include "platform/accessible_win.h"

#include <oleacc.h>

#include <string_view>

#include "platform/form.h"
#include "platform/platform_win.h"

namespace platform {

namespace {

// The interfaces' ids, here so that no import library is needed.
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The few entry points used, loaded once by full path.
struct Api {
  bool tried = false;
  bool ready = false;
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  HRESULT(WINAPI* createStdAccessibleObject)(HWND, LONG, REFIID, void**) = nullptr;
  HRESULT(WINAPI* disconnect)(LPUNKNOWN, DWORD) = nullptr;
  BSTR(WINAPI* allocString)(const OLECHAR*, UINT) = nullptr;

  bool Load() {
    if (tried) return ready;
    tried = true;
    if (!InitializeCom()) return false;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    HMODULE oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    lresultFromObject = Proc<decltype(lresultFromObject)>(oleacc, "LresultFromObject");
    createStdAccessibleObject =
        Proc<decltype(createStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    disconnect = Proc<decltype(disconnect)>(ole32, "CoDisconnectObject");
    allocString = Proc<decltype(allocString)>(oleaut32, "SysAllocStringLen");
    ready = lresultFromObject && createStdAccessibleObject && disconnect && allocString;
    return ready;
  }
};
Api g_api;

// A UTF-8 text as the BSTR that a client frees; S_FALSE for none.
HRESULT Text(std::string_view utf8, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (utf8.empty()) return S_FALSE;
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (n <= 0) return E_FAIL;
  *out = g_api.allocString(nullptr, static_cast<UINT>(n));
  if (!*out) return E_OUTOFMEMORY;
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, *out, n);
  return S_OK;
}

void SetLong(VARIANT* v, LONG value) {
  v->vt = VT_I4;
  v->lVal = value;
}

class MenuAccessible final : public IAccessible {
 public:
  MenuAccessible(HWND hwnd, const Form& form) : hwnd_(hwnd), form_(&form) {}

  // The window is going: every later call fails.
  void Disconnect() { form_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, kIidUnknown) || IsEqualIID(iid, kIidDispatch) ||
        IsEqualIID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: no type information; clients call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!form_) return RPC_E_DISCONNECTED;
    return g_api.createStdAccessibleObject(hwnd_, OBJID_WINDOW, kIidDispatch,
                                           reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!form_) return RPC_E_DISCONNECTED;
    *count = static_cast<long>(form_->AccessibleItems().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    return item < 0 ? E_INVALIDARG : S_FALSE;  // the items are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    return Text(item < 0 ? form_->layout().caption : At(item).name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Nothing(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    return Text(item < 0 ? std::string_view() : At(item).description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    long value = ROLE_SYSTEM_CLIENT;
    if (item >= 0) {
      value = At(item).role == AccessibleRole::kPushButton ? ROLE_SYSTEM_PUSHBUTTON
                                                           : ROLE_SYSTEM_STATICTEXT;
    }
    SetLong(role, value);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    const bool windowFocused = GetFocus() == hwnd_;
    long value = STATE_SYSTEM_FOCUSABLE;
    if (item < 0) {
      if (windowFocused && form_->FocusedControl() < 0) value |= STATE_SYSTEM_FOCUSED;
    } else if (At(item).role == AccessibleRole::kStaticText) {
      value = STATE_SYSTEM_READONLY;
    } else {
      if (windowFocused && form_->FocusedControl() == At(item).control) {
        value |= STATE_SYSTEM_FOCUSED;
      }
      if (form_->AccessibleHot(item)) value |= STATE_SYSTEM_HOTTRACKED;
    }
    SetLong(state, value);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Nothing(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (topic) *topic = 0;
    return Nothing(child, file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Nothing(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    if (!form_) return RPC_E_DISCONNECTED;
    if (GetFocus() != hwnd_) return S_FALSE;
    SetLong(focus, form_->AccessibleItemOf(form_->FocusedControl()) + 1);  // 0: the window
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    selection->vt = VT_EMPTY;
    return form_ ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    return Text(IsButton(item) ? "Press" : "", action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    if (!IsButton(item) || !(flags & SELFLAG_TAKEFOCUS)) return DISP_E_MEMBERNOTFOUND;
    PostMessageA(hwnd_, kTakeFocusMessage, static_cast<WPARAM>(item), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    int x = 0, y = 0, w = form_->ClientWidthPixels(), h = form_->ClientHeightPixels();
    if (item >= 0) form_->PixelRect(At(item).control, x, y, w, h);
    POINT origin = {x, y};
    ClientToScreen(hwnd_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = w;
    *height = h;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    end->vt = VT_EMPTY;
    int item;
    const HRESULT hr = Item(start, item);
    if (hr != S_OK) return hr;
    const int count = static_cast<int>(form_->AccessibleItems().size());
    int to = -1;
    if (item < 0 && direction == NAVDIR_FIRSTCHILD) to = 0;
    if (item < 0 && direction == NAVDIR_LASTCHILD) to = count - 1;
    if (item >= 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) to = item + 1;
    if (item >= 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) to = item - 1;
    if (to < 0 || to >= count) return S_FALSE;
    SetLong(end, to + 1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    hit->vt = VT_EMPTY;
    if (!form_) return RPC_E_DISCONNECTED;
    POINT p = {x, y};
    ScreenToClient(hwnd_, &p);
    if (p.x < 0 || p.y < 0 || p.x >= form_->ClientWidthPixels() ||
        p.y >= form_->ClientHeightPixels()) {
      return S_FALSE;
    }
    SetLong(hit, form_->AccessibleItemAt(p.x, p.y) + 1);  // 0: the window itself
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int item;
    const HRESULT hr = Item(child, item);
    if (hr != S_OK) return hr;
    if (!IsButton(item)) return DISP_E_MEMBERNOTFOUND;
    // Carried out by the window after this call has returned, like a click.
    PostMessageA(hwnd_, kDefaultActionMessage, static_cast<WPARAM>(item), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~MenuAccessible() = default;

  // The item a child id names: -1 for the window itself (CHILDID_SELF).
  HRESULT Item(const VARIANT& child, int& item) const {
    if (!form_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    const long count = static_cast<long>(form_->AccessibleItems().size());
    if (child.lVal < 0 || child.lVal > count) return E_INVALIDARG;
    item = static_cast<int>(child.lVal) - 1;
    return S_OK;
  }
  const AccessibleItem& At(int item) const {
    return form_->AccessibleItems()[static_cast<size_t>(item)];
  }
  bool IsButton(int item) const {
    return item >= 0 && At(item).role == AccessibleRole::kPushButton;
  }
  HRESULT Nothing(const VARIANT& child, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    int item;
    const HRESULT hr = Item(child, item);
    return hr != S_OK ? hr : S_FALSE;
  }

  LONG refs_ = 1;
  HWND hwnd_;
  const Form* form_;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, const Form& form, WPARAM wp, void*& object) {
  if (!g_api.Load()) return 0;
  if (!object) object = new MenuAccessible(hwnd, form);
  return g_api.lresultFromObject(kIidAccessible, wp,
                                 static_cast<IAccessible*>(static_cast<MenuAccessible*>(object)));
}

void ReleaseAccessible(void*& object) {
  if (!object) return;
  auto* accessible = static_cast<MenuAccessible*>(object);
  object = nullptr;
  accessible->Disconnect();
  // LresultFromObject's marshalled references would keep it alive (and
  // answering) for as long as clients hold them.
  g_api.disconnect(static_cast<IAccessible*>(accessible), 0);
  accessible->Release();
}

}  // namespace platform
