/* A screen reader's view of a window, for the end-to-end tests: a small
 * Microsoft Active Accessibility client in a process of its own, built at
 * test time for the programs' processor.
 *
 *   msaa_client tree HWND       the client area object and its children:
 *                               child id, role, state, name, description,
 *                               default action, location (screen pixels)
 *   msaa_client do HWND ID      the child's default action
 *   msaa_client hit HWND X Y    the child at a screen point (0: the window)
 *   msaa_client focus HWND      the child with the focus (0: the window,
 *                               -1: none)
 *   msaa_client events PID      focus events of the process's windows, out
 *                               of context, one line each (window, object,
 *                               child, the child's name) until stdin closes
 *
 * Fields are separated by tabs; texts are printed as UTF-8.
 */
#define COBJMACROS
#include <windows.h>
#include <oleacc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void PrintText(BSTR text) {
  char out[2048] = "";
  if (text) {
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, NULL, NULL);
    SysFreeString(text);
  }
  for (char* p = out; *p; ++p) {
    if (*p == '\t' || *p == '\n' || *p == '\r') *p = ' ';
  }
  fputs(out, stdout);
}

static VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

/* Its own copy: MinGW-w64's x64 oleacc import library also names
 * IID_IAccessible, as a function, so that &IID_IAccessible would be the
 * address of a jump into oleacc.dll, not the interface's id. */
static const IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

static IAccessible* ClientOf(const char* hwnd) {
  IAccessible* acc = NULL;
  HWND window = (HWND)(ULONG_PTR)_strtoui64(hwnd, NULL, 10);
  HRESULT hr =
      AccessibleObjectFromWindow(window, (DWORD)OBJID_CLIENT, &kIidAccessible, (void**)&acc);
  if (FAILED(hr) || !acc) {
    fprintf(stderr, "no accessible object for window %s (0x%08lx)\n", hwnd, (unsigned long)hr);
    exit(1);
  }
  return acc;
}

static void PrintItem(IAccessible* acc, long id) {
  VARIANT child = Child(id), role, state;
  BSTR text = NULL;
  long x = 0, y = 0, w = 0, h = 0;
  VariantInit(&role);
  VariantInit(&state);
  IAccessible_get_accRole(acc, child, &role);
  IAccessible_get_accState(acc, child, &state);
  printf("%ld\t%ld\t0x%lx\t", id, role.vt == VT_I4 ? role.lVal : -1,
         state.vt == VT_I4 ? (unsigned long)state.lVal : 0ul);
  text = NULL;
  IAccessible_get_accName(acc, child, &text);
  PrintText(text);
  putchar('\t');
  text = NULL;
  IAccessible_get_accDescription(acc, child, &text);
  PrintText(text);
  putchar('\t');
  text = NULL;
  IAccessible_get_accDefaultAction(acc, child, &text);
  PrintText(text);
  IAccessible_accLocation(acc, &x, &y, &w, &h, child);
  printf("\t%ld\t%ld\t%ld\t%ld\n", x, y, w, h);
}

static int Tree(const char* hwnd) {
  IAccessible* acc = ClientOf(hwnd);
  long count = 0, i;
  IAccessible_get_accChildCount(acc, &count);
  PrintItem(acc, CHILDID_SELF);
  for (i = 1; i <= count; ++i) PrintItem(acc, i);
  IAccessible_Release(acc);
  return 0;
}

static int Do(const char* hwnd, const char* id) {
  IAccessible* acc = ClientOf(hwnd);
  HRESULT hr = IAccessible_accDoDefaultAction(acc, Child(atol(id)));
  IAccessible_Release(acc);
  if (FAILED(hr)) fprintf(stderr, "accDoDefaultAction failed: 0x%08lx\n", (unsigned long)hr);
  return FAILED(hr) ? 1 : 0;
}

static int Hit(const char* hwnd, const char* x, const char* y) {
  IAccessible* acc = ClientOf(hwnd);
  VARIANT hit;
  VariantInit(&hit);
  IAccessible_accHitTest(acc, atol(x), atol(y), &hit);
  printf("%ld\n", hit.vt == VT_I4 ? hit.lVal : -1);
  IAccessible_Release(acc);
  return 0;
}

static int Focus(const char* hwnd) {
  IAccessible* acc = ClientOf(hwnd);
  VARIANT focus;
  VariantInit(&focus);
  IAccessible_get_accFocus(acc, &focus);
  printf("%ld\n", focus.vt == VT_I4 ? focus.lVal : -1);
  IAccessible_Release(acc);
  return 0;
}

static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child,
                             DWORD thread, DWORD time) {
  IAccessible* acc = NULL;
  VARIANT which;
  BSTR name = NULL;
  (void)hook;
  (void)thread;
  (void)time;
  if (event != EVENT_OBJECT_FOCUS) return;
  VariantInit(&which);
  printf("%llu\t%ld\t%ld\t", (unsigned long long)(ULONG_PTR)hwnd, object, child);
  if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, (DWORD)object, (DWORD)child, &acc, &which)) &&
      acc) {
    IAccessible_get_accName(acc, which, &name);
    PrintText(name);
    IAccessible_Release(acc);
  }
  putchar('\n');
  fflush(stdout);
}

static DWORD WINAPI WatchInput(void* thread) {
  char buffer[64];
  DWORD n;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &n, NULL) && n > 0) {
  }
  PostThreadMessageA((DWORD)(ULONG_PTR)thread, WM_QUIT, 0, 0);
  return 0;
}

static int Events(const char* pid) {
  MSG msg;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, NULL, OnEvent,
                                       (DWORD)atol(pid), 0, WINEVENT_OUTOFCONTEXT);
  if (!hook) {
    fprintf(stderr, "SetWinEventHook failed: %lu\n", GetLastError());
    return 1;
  }
  printf("listening\n");
  fflush(stdout);
  CloseHandle(CreateThread(NULL, 0, WatchInput, (void*)(ULONG_PTR)GetCurrentThreadId(), 0, NULL));
  while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
  UnhookWinEvent(hook);
  return 0;
}

int main(int argc, char** argv) {
  int result = 2;
  CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  if (argc > 2 && strcmp(argv[1], "tree") == 0) {
    result = Tree(argv[2]);
  } else if (argc > 3 && strcmp(argv[1], "do") == 0) {
    result = Do(argv[2], argv[3]);
  } else if (argc > 4 && strcmp(argv[1], "hit") == 0) {
    result = Hit(argv[2], argv[3], argv[4]);
  } else if (argc > 2 && strcmp(argv[1], "focus") == 0) {
    result = Focus(argv[2]);
  } else if (argc > 2 && strcmp(argv[1], "events") == 0) {
    result = Events(argv[2]);
  } else {
    fprintf(stderr,
            "usage: msaa_client tree HWND | do HWND ID | hit HWND X Y | focus HWND | events PID\n");
  }
  fflush(stdout);
  CoUninitialize();
  return result;
}
