#include "platform/platform_win.h"

#include <windowsx.h>

#include <cctype>
#include <cstring>

#include "platform/accessible_win.h"
#include "platform/command_line.h"
#include "platform/picture_win.h"

namespace platform {

namespace {

WinPlatform* g_platform = nullptr;  // one per process: the window procedure's way back
constexpr char kWindowClass[] = "NorvaneMenuWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kLargestPictureFile = 16u * 1024u * 1024u;

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The toolkit's shift argument: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(WPARAM wp) {
  return ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

bool IsFile(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// A bare program name is looked for in Windows' own folders only, so that a
// copy planted beside the program or in the current folder never runs.
std::string ResolveProgram(const CommandLine& parsed) {
  if (parsed.program.empty()) return "";
  if (parsed.bareName) {
    char dir[MAX_PATH];
    for (UINT(WINAPI * folder)(LPSTR, UINT) : {&GetWindowsDirectoryA, &GetSystemDirectoryA}) {
      const UINT n = folder(dir, MAX_PATH);
      if (n == 0 || n >= MAX_PATH) continue;
      const std::string path = std::string(dir, n) + "\\" + parsed.program;
      if (IsFile(path)) return path;
    }
    return "";
  }
  char full[MAX_PATH];
  const DWORD n = GetFullPathNameA(parsed.program.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH || !IsFile(full)) return "";
  return std::string(full, n);
}

}  // namespace

void RestrictDllSearch() {
  // Windows 8 and later, and 7 and Vista with their updates: system folder only.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = Proc<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories");
  if (setDefault) setDefault(kSearchSystem32);
  // Everywhere from XP SP1: at least the current folder is out of the search.
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  auto setDir = Proc<SetDllDirectoryFn>(kernel, "SetDllDirectoryW");
  if (setDir) setDir(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const UINT n = GetSystemDirectoryW(path, MAX_PATH);
  if (n == 0 || static_cast<int>(n) + 1 + lstrlenW(file) >= MAX_PATH) return nullptr;
  path[n] = L'\\';
  lstrcpyW(path + n + 1, file);
  return LoadLibraryW(path);
}

namespace {

struct Com {
  bool tried = false;
  bool ready = false;
  void(WINAPI* uninitialize)() = nullptr;
};
Com g_com;

}  // namespace

bool InitializeCom() {
  if (g_com.tried) return g_com.ready;
  g_com.tried = true;
  using InitializeFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
  auto initialize = Proc<InitializeFn>(ole32, "CoInitializeEx");
  g_com.uninitialize = Proc<void(WINAPI*)()>(ole32, "CoUninitialize");
  constexpr DWORD kApartmentThreaded = 0x2;
  constexpr DWORD kDisableOle1Dde = 0x4;
  // S_FALSE (already initialised on this thread) counts, and is balanced too.
  g_com.ready = initialize && g_com.uninitialize &&
                SUCCEEDED(initialize(nullptr, kApartmentThreaded | kDisableOle1Dde));
  return g_com.ready;
}

void UninitializeCom() {
  if (g_com.ready) g_com.uninitialize();
  g_com.ready = false;
}

WinPlatform::WinPlatform(HINSTANCE instance, const char* name, int iconId, int handCursorId)
    : instance_(instance), name_(name) {
  g_platform = this;
  icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 32, 32, 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  hand_ = LoadCursorA(instance, MAKEINTRESOURCEA(handCursorId));
  arrow_ = LoadCursorA(nullptr, IDC_ARROW);
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WinPlatform::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon_;
  wc.hIconSm = smallIcon_;
  wc.lpszClassName = kWindowClass;
  windowClass_ = RegisterClassExA(&wc);
}

WinPlatform::~WinPlatform() {
  for (Window* w : windows_) {
    ReleaseAccessible(w->accessible);
    if (w->buffer) {
      SelectObject(w->buffer, w->oldBitmap);
      DeleteObject(w->bitmap);
      DeleteDC(w->buffer);
    }
    delete w;
  }
  ShutdownPictures();
  UninitializeCom();
  g_platform = nullptr;
}

std::uint16_t WinPlatform::GetUserDefaultLangID() {
  return ::GetUserDefaultLangID();
}

int WinPlatform::GetVersionExA(VersionRecord& record) {
  static_assert(sizeof(OSVERSIONINFOA) == sizeof(VersionRecord), "same record");
  OSVERSIONINFOA info;
  std::memcpy(&info, &record, sizeof(info));
  const BOOL ok = ::GetVersionExA(&info);
  std::memcpy(&record, &info, sizeof(info));
  return ok;
}

CursorHandle WinPlatform::LoadCursorFromFileA(const std::string& path) {
  return reinterpret_cast<CursorHandle>(::LoadCursorFromFileA(path.c_str()));
}

CursorHandle WinPlatform::SetCursor(CursorHandle cursor) {
  return reinterpret_cast<CursorHandle>(::SetCursor(reinterpret_cast<HCURSOR>(cursor)));
}

void WinPlatform::DestroyCursor(CursorHandle cursor) {
  ::DestroyCursor(reinterpret_cast<HCURSOR>(cursor));
}

InstanceHandle WinPlatform::ShellExecuteA(WindowHandle owner, const std::string& operation,
                                          const std::string& file, const std::string& parameters,
                                          const std::string& directory, int showCommand) {
  // The shell is loaded at the first start, not with the program: it pulls
  // in much of Windows that showing the menu does not need. Its answer is
  // not examined, so a shell that cannot load answers as a failed start.
  // Shell extensions and file-type handlers may be COM objects: COM first.
  InitializeCom();
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const auto shellExecute =
      Proc<ShellExecuteFn>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteA");
  if (!shellExecute) return static_cast<InstanceHandle>(ERROR_FILE_NOT_FOUND);
  return reinterpret_cast<InstanceHandle>(
      shellExecute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                   parameters.c_str(), directory.c_str(), showCommand));
}

double WinPlatform::Shell(const std::string& commandLine, int windowStyle) {
  const CommandLine parsed = ParseCommandLine(commandLine);
  const std::string program = ResolveProgram(parsed);
  if (program.empty()) Raise(kErrFileNotFound, parsed.program);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    Raise(kErrFileNotFound, parsed.program);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<double>(pi.dwProcessId);
}

Picture WinPlatform::LoadPicture(const std::string& path) {
  if (path.empty()) return nullptr;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    const bool missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ||
                         e == ERROR_INVALID_NAME || e == ERROR_BAD_NETPATH ||
                         e == ERROR_INVALID_DRIVE;
    Raise(missing ? kErrFileNotFound : kErrFileAccess, path);
  }
  const DWORD size = GetFileSize(file, nullptr);
  std::vector<std::uint8_t> bytes;
  bool ok = size != INVALID_FILE_SIZE && size <= kLargestPictureFile;
  if (ok) {
    bytes.resize(size);
    DWORD read = 0;
    ok = size == 0 || (ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
  }
  CloseHandle(file);
  if (!ok) Raise(size > kLargestPictureFile ? kErrInvalidPicture : kErrFileAccess, path);
  return DecodePicture(bytes.data(), bytes.size(), path);
}

Picture WinPlatform::LoadResourcePicture(const std::string& name) {
  // Built in under the file name made an identifier: WIZARD_IMGEXIT_GIF.
  std::string id = name;
  for (char& c : id)
    c = c == '.' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  HRSRC res = FindResourceA(instance_, id.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL data = res ? LoadResource(instance_, res) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) Raise(kErrInvalidPicture, name);
  return DecodePicture(bytes, SizeofResource(instance_, res), name);
}

void WinPlatform::CreateFormWindow(Form& form) {
  auto* w = new Window{&form};
  windows_.push_back(w);
  RECT r = {0, 0, form.ClientWidthPixels(), form.ClientHeightPixels()};
  AdjustWindowRectEx(&r, kWindowStyle, FALSE, 0);
  const std::string caption(form.layout().caption);
  w->hwnd =
      CreateWindowExA(0, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, w);
  if (!w->hwnd) Raise(kErrOutOfMemory);
  // The frame may differ from what was asked for (themes, window managers):
  // make the client area exactly the layout's.
  RECT client;
  GetClientRect(w->hwnd, &client);
  const int dx = form.ClientWidthPixels() - client.right;
  const int dy = form.ClientHeightPixels() - client.bottom;
  if (dx != 0 || dy != 0) {
    RECT frame;
    GetWindowRect(w->hwnd, &frame);
    SetWindowPos(w->hwnd, nullptr, 0, 0, frame.right - frame.left + dx,
                 frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = form.ClientWidthPixels();
  bi.bmiHeader.biHeight = -form.ClientHeightPixels();  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  w->bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  w->buffer = CreateCompatibleDC(nullptr);
  if (!w->bitmap || !w->buffer) Raise(kErrOutOfMemory);
  w->oldBitmap = SelectObject(w->buffer, w->bitmap);
  w->pixels = static_cast<std::uint32_t*>(bits);
}

void WinPlatform::ShowForm(Form& form) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  RECT frame;
  GetWindowRect(w->hwnd, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(w->hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(w->hwnd, SW_SHOW);
  UpdateWindow(w->hwnd);
}

void WinPlatform::PictureAssigned(Form& form, int /*control*/) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  // The new picture shows at once, before a shell call that may follow.
  InvalidateRect(w->hwnd, nullptr, FALSE);
  UpdateWindow(w->hwnd);
}

void WinPlatform::SetMouseCapture(Form& form, bool capture) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  if (capture) {
    if (GetCapture() != w->hwnd) SetCapture(w->hwnd);
  } else if (GetCapture() == w->hwnd) {
    ReleaseCapture();
  }
}

void WinPlatform::FocusChanged(Form& form) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  InvalidateRect(w->hwnd, nullptr, FALSE);
  UpdateWindow(w->hwnd);
}

void WinPlatform::KeyboardCuesShown(Form& form) {
  Window* w = Find(form);
  if (w && w->hwnd)
    SendMessageA(w->hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void WinPlatform::AccessibilityEvent(Form& form, AccessEvent event, int item) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  NotifyWinEvent(event == AccessEvent::kFocus ? EVENT_OBJECT_FOCUS : EVENT_OBJECT_STATECHANGE,
                 w->hwnd, OBJID_CLIENT, item + 1);  // 0: the window itself
}

WindowHandle WinPlatform::FormHandle(const Form& form) {
  Window* w = Find(form);
  return reinterpret_cast<WindowHandle>(w ? w->hwnd : nullptr);
}

void WinPlatform::UnloadForm(Form& form) {
  Window* w = Find(form);
  if (!w || !w->hwnd) return;
  HWND hwnd = w->hwnd;
  ReleaseAccessible(w->accessible);
  w->hwnd = nullptr;
  DestroyWindow(hwnd);
}

void WinPlatform::Quit() {
  PostQuitMessage(exitCode_);
}

void WinPlatform::EndProgram() {
  ExitProcess(static_cast<UINT>(exitCode_));
}

void WinPlatform::ReportUntrappedError(const RuntimeError& error) {
  exitCode_ = error.number;
  HWND owner = nullptr;
  for (Window* w : windows_) {
    if (w->hwnd && IsWindowVisible(w->hwnd)) owner = w->hwnd;
  }
  MessageBoxA(owner, error.Message().c_str(), name_.c_str(), MB_OK | MB_ICONERROR);
}

int WinPlatform::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

WinPlatform::Window* WinPlatform::Find(const Form& form) {
  for (Window* w : windows_) {
    if (w->form == &form) return w;
  }
  return nullptr;
}

LRESULT CALLBACK WinPlatform::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w || !g_platform || w->hwnd != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
  return g_platform->Handle(*w, msg, wp, lp);
}

LRESULT WinPlatform::Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp) {
  Form& form = *w.form;
  const int x = GET_X_LPARAM(lp);
  const int y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!w.trackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, w.hwnd, 0};
        w.trackingLeave = TrackMouseEvent(&track) != FALSE;
      }
      form.PointerMove(x, y, ShiftState(wp));
      return 0;
    case WM_MOUSELEAVE:
      w.trackingLeave = false;
      form.PointerLeft();
      return 0;
    case WM_KEYDOWN: {
      Key key;
      switch (wp) {
        case VK_TAB:
          key = Key::kTab;
          break;
        case VK_UP:
          key = Key::kUp;
          break;
        case VK_DOWN:
          key = Key::kDown;
          break;
        case VK_RETURN:
          key = Key::kEnter;
          break;
        case VK_SPACE:
          key = Key::kSpace;
          break;
        case VK_ESCAPE:
          key = Key::kEscape;
          break;
        default:
          return DefWindowProcA(w.hwnd, msg, wp, lp);
      }
      const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0);
      form.KeyDown(key, shift, (lp & (1 << 30)) != 0);  // bit 30: the key was down already
      return 0;
    }
    case WM_SETFOCUS:
      // Screen readers learn which button has the focus as the window gets it.
      if (form.FocusedControl() >= 0) {
        AccessibilityEvent(form, AccessEvent::kFocus, form.AccessibleItemOf(form.FocusedControl()));
      }
      break;
    case WM_GETOBJECT:
      // The low 32 bits, so that the x64 build answers too.
      if (static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (const LRESULT answer = AnswerGetObject(w.hwnd, form, wp, w.accessible)) return answer;
      }
      break;
    case kDefaultActionMessage:
      form.DoDefaultAction(static_cast<int>(wp));
      return 0;
    case kTakeFocusMessage:
      form.TakeFocus(static_cast<int>(wp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int button = msg == WM_LBUTTONDOWN   ? kLeftButton
                         : msg == WM_RBUTTONDOWN ? kRightButton
                                                 : kMiddleButton;
      form.PointerDown(button, x, y, ShiftState(wp));
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const int button = msg == WM_LBUTTONUP   ? kLeftButton
                         : msg == WM_RBUTTONUP ? kRightButton
                                               : kMiddleButton;
      form.PointerUp(button, x, y, ShiftState(wp));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != w.hwnd) form.CaptureLost();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(w.hwnd, &p);
        ::SetCursor(form.PointerAt(p.x, p.y) == Pointer::kHand && hand_ ? hand_ : arrow_);
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // the whole client area is painted from the back buffer
    case WM_PAINT:
      Paint(w);
      return 0;
    case WM_CLOSE:
      form.CloseRequested();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(w.hwnd, msg, wp, lp);
}

void WinPlatform::Paint(Window& w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w.hwnd, &ps);
  const Form& form = *w.form;
  const int width = form.ClientWidthPixels();
  const int height = form.ClientHeightPixels();
  if (w.pixels) {
    GdiFlush();
    Canvas canvas{width, height, w.pixels};
    form.Render(canvas);
    // Label text over its ground, in the default GUI font.
    HGDIOBJ oldFont = SelectObject(w.buffer, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(w.buffer, TRANSPARENT);
    const COLORREF system = GetSysColor(COLOR_BTNTEXT);
    const std::uint32_t ink =
        LabelTextColour((GetRValue(system) << 16) | (GetGValue(system) << 8) | GetBValue(system));
    SetTextColor(w.buffer, RGB(ink >> 16, (ink >> 8) & 0xFF, ink & 0xFF));
    for (int i = 0; i < form.ControlCount(); ++i) {
      const ControlLayout& c = form.ControlLayoutAt(i);
      if (c.kind != ControlKind::kLabel || c.text.empty()) continue;
      int lx, ly, lw, lh;
      form.PixelRect(i, lx, ly, lw, lh);
      RECT r = {lx, ly, lx + lw, ly + lh};
      const std::string text(c.text);
      DrawTextA(w.buffer, text.c_str(), static_cast<int>(text.size()), &r,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    }
    SelectObject(w.buffer, oldFont);
    int fx, fy, fw, fh;
    if (form.FocusCue(fx, fy, fw, fh)) {
      const RECT cue = {fx, fy, fx + fw, fy + fh};
      DrawFocusRect(w.buffer, &cue);
    }
    BitBlt(dc, 0, 0, width, height, w.buffer, 0, 0, SRCCOPY);
  }
  EndPaint(w.hwnd, &ps);
}

}  // namespace platform
