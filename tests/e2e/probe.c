/* The end-to-end tests' look from inside Wine, built at test time for the
 * processor of the programs under test:
 *
 *   probe env              version record, user language, screen size
 *   probe windows          every top-level window: handle, process, shown,
 *                          class, title, frame, client origin and size, and
 *                          a message box's text
 *   probe close-point H    a screen point on the close button of window H
 *   probe cursors FILE     two windows side by side until killed: the
 *                          system arrow over the left one, the cursor from
 *                          FILE over the right one (references for the
 *                          cursor checks); prints where they are
 *   probe colors           the system's button text and window colours,
 *                          as rrggbb
 *   probe idle H           returns once the thread of window H takes
 *                          messages again: it is done with the input it
 *                          was handling (at most 20 s)
 *   probe gui-resources P  the GDI and USER objects that process P (a
 *                          Windows process id) holds, or "unreported" and
 *                          the error when the system does not count them
 *   probe wait             nothing, until its standard input closes
 *
 * Fields are separated by tabs, one window or record per line.
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static BOOL CALLBACK ListWindow(HWND hwnd, LPARAM unused) {
  char cls[128] = "", title[512] = "", text[2048] = "";
  DWORD pid = 0;
  RECT frame, client;
  POINT origin = {0, 0};
  char* p;
  (void)unused;
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, title, sizeof title);
  GetWindowThreadProcessId(hwnd, &pid);
  GetWindowRect(hwnd, &frame);
  GetClientRect(hwnd, &client);
  ClientToScreen(hwnd, &origin);
  /* A message box keeps its text in a static control with id 0xFFFF. */
  if (strcmp(cls, "#32770") == 0) GetDlgItemTextA(hwnd, 0xFFFF, text, sizeof text);
  for (p = text; *p; ++p) {
    if (*p == '\t' || *p == '\r' || *p == '\n') *p = ' ';
  }
  printf("%llu\t%lu\t%d\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%s\n",
         (unsigned long long)(ULONG_PTR)hwnd, pid, IsWindowVisible(hwnd) ? 1 : 0, cls, title,
         frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, origin.x,
         origin.y, client.right, client.bottom, text);
  return TRUE;
}

/* What the window answers to a hit test at screen point (x, y); -1 when it
 * gives no answer within five seconds. No "abort if hung": Wine's guess of
 * a hung thread is not what is asked here, an answer is. */
static LRESULT HitTest(HWND hwnd, int x, int y) {
  DWORD_PTR hit = 0;
  if (!SendMessageTimeoutA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit)) {
    fprintf(stderr, "no answer to WM_NCHITTEST at %d,%d (error %lu)\n", x, y, GetLastError());
    return -1;
  }
  return (LRESULT)hit;
}

static int ClosePoint(HWND hwnd) {
  RECT frame;
  int x, y;
  if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &frame)) {
    fprintf(stderr, "no window %llu\n", (unsigned long long)(ULONG_PTR)hwnd);
    return 1;
  }
  /* Right to left along the caption rows, asking the window itself. */
  for (y = frame.top; y < frame.top + 40 && y < frame.bottom; ++y) {
    for (x = frame.right - 1; x > frame.right - 80 && x >= frame.left; --x) {
      LRESULT hit = HitTest(hwnd, x, y);
      if (hit < 0) return 1;
      if (hit == HTCLOSE) {
        /* The middle of the run of close-button points on this row. */
        int left = x;
        while (left > frame.left && HitTest(hwnd, left - 1, y) == HTCLOSE) --left;
        printf("%d\t%d\n", (left + x) / 2, y + 6);
        return 0;
      }
    }
  }
  fprintf(stderr, "no close button in the caption of the frame %ld,%ld-%ld,%ld\n", frame.left,
          frame.top, frame.right, frame.bottom);
  return 1;
}

static LRESULT CALLBACK ReferenceProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

static int Cursors(const char* file) {
  HINSTANCE instance = GetModuleHandleA(NULL);
  const char* names[2] = {"ProbeArrow", "ProbeFile"};
  HCURSOR cursors[2];
  MSG msg;
  int i;
  cursors[0] = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  cursors[1] = LoadCursorFromFileA(file);
  if (!cursors[0] || !cursors[1]) return 1;
  for (i = 0; i < 2; ++i) {
    WNDCLASSA wc;
    HWND hwnd;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = ReferenceProc;
    wc.hInstance = instance;
    wc.hCursor = cursors[i];
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = names[i];
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, names[i], names[i], WS_POPUP, 200 + 100 * i, 200, 100,
                           100, NULL, NULL, instance, NULL);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    printf("%s\t%d\t%d\n", names[i], 250 + 100 * i, 250);
  }
  fflush(stdout);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

static void PrintColour(int index) {
  const COLORREF c = GetSysColor(index);
  printf("%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
}

/* A sent message is handled only when the window's thread next looks for
 * messages, not while an event handler of it runs. */
static int Idle(HWND hwnd) {
  DWORD_PTR unused = 0;
  if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &unused)) {
    fprintf(stderr, "no answer to WM_NULL from window %llu (error %lu)\n",
            (unsigned long long)(ULONG_PTR)hwnd, GetLastError());
    return 1;
  }
  return 0;
}

static int GuiResources(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  DWORD gdi, user, error;
  if (!process) {
    fprintf(stderr, "no process %lu (error %lu)\n", pid, GetLastError());
    return 1;
  }
  SetLastError(0);
  gdi = GetGuiResources(process, GR_GDIOBJECTS);
  user = GetGuiResources(process, GR_USEROBJECTS);
  error = GetLastError();
  CloseHandle(process);
  /* A live GUI process holds some of both; none at all with an error is
   * a system that does not keep the count. */
  if (gdi == 0 && user == 0 && error != 0) {
    printf("unreported\t%lu\n", error);
  } else {
    printf("%lu\t%lu\n", gdi, user);
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "env") == 0) {
    OSVERSIONINFOA v;
    memset(&v, 0, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    printf("%lu\t%lu\t%lu\t%u\t%d\t%d\n", v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion,
           GetUserDefaultLangID(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (argc > 1 && strcmp(argv[1], "windows") == 0) {
    EnumWindows(ListWindow, 0);
    return 0;
  }
  if (argc > 2 && strcmp(argv[1], "close-point") == 0) {
    return ClosePoint((HWND)(ULONG_PTR)_strtoui64(argv[2], NULL, 10));
  }
  if (argc > 2 && strcmp(argv[1], "cursors") == 0) return Cursors(argv[2]);
  if (argc > 1 && strcmp(argv[1], "colors") == 0) {
    PrintColour(COLOR_BTNTEXT);
    printf("\t");
    PrintColour(COLOR_WINDOW);
    printf("\n");
    return 0;
  }
  if (argc > 2 && strcmp(argv[1], "idle") == 0) {
    return Idle((HWND)(ULONG_PTR)_strtoui64(argv[2], NULL, 10));
  }
  if (argc > 2 && strcmp(argv[1], "gui-resources") == 0) {
    return GuiResources(strtoul(argv[2], NULL, 10));
  }
  if (argc > 1 && strcmp(argv[1], "wait") == 0) {
    /* Until its standard input closes. */
    char buffer[64];
    DWORD n;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &n, NULL) && n > 0) {
    }
    return 0;
  }
  fprintf(stderr,
          "usage: probe env | windows | close-point HWND | cursors FILE | colors | idle HWND | "
          "gui-resources PID | wait\n");
  return 2;
}
