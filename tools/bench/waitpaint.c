/* Starts a command and waits until a top-level window of a given name shows
 * a given colour at a given point of its client area: the moment a program's
 * window is on the screen with its picture painted. Prints the elapsed
 * milliseconds and the command's process id; the command keeps running.
 *
 *   waitpaint NAME X Y RRGGBB TIMEOUT_MS -- COMMAND [ARGS...]
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static Window find(Display* d, Window w, const char* name) {
  char* title = NULL;
  if (XFetchName(d, w, &title) && title) {
    int same = strcmp(title, name) == 0;
    XFree(title);
    XWindowAttributes a;
    if (same && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable) return w;
  }
  Window root, parent, *kids = NULL;
  unsigned n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &kids, &n)) {
    for (unsigned i = 0; i < n && !found; i++) found = find(d, kids[i], name);
    if (kids) XFree(kids);
  }
  return found;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 8 || strcmp(argv[6], "--") != 0) {
    fprintf(stderr, "usage: waitpaint NAME X Y RRGGBB TIMEOUT_MS -- COMMAND...\n");
    return 2;
  }
  const char* name = argv[1];
  int x = atoi(argv[2]), y = atoi(argv[3]);
  unsigned long want = strtoul(argv[4], NULL, 16);
  double timeout = atof(argv[5]);
  Display* d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "waitpaint: no display\n");
    return 2;
  }
  XSetErrorHandler(ignore_errors);
  double start = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    /* Not on our output: whoever reads it waits for our answer only. */
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execvp(argv[7], argv + 7);
    _exit(127);
  }
  while (now_ms() - start < timeout) {
    Window w = find(d, DefaultRootWindow(d), name);
    if (w) {
      XImage* img = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
      if (img) {
        unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
        XDestroyImage(img);
        int dr = (int)((p >> 16) & 255) - (int)((want >> 16) & 255);
        int dg = (int)((p >> 8) & 255) - (int)((want >> 8) & 255);
        int db = (int)(p & 255) - (int)(want & 255);
        if (abs(dr) <= 6 && abs(dg) <= 6 && abs(db) <= 6) {
          printf("%.1f %d\n", now_ms() - start, (int)pid);
          return 0;
        }
      }
    }
    nanosleep(&(struct timespec){0, 500000}, NULL);
  }
  printf("timeout %d\n", (int)pid);
  return 1;
}
