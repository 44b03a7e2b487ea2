"""The X display as the end-to-end tests see it: screen pixels, the real
pointer and keyboard through XTest, the current cursor image through XFixes,
and the top-level windows with their names, process ids and geometry.

Plain ctypes over the system's libX11, libXtst and libXfixes, so nothing
needs compiling; every call is synchronous (XSync) so that what the tests do
has reached the server before they look.
"""

import ctypes

_X = ctypes.CDLL("libX11.so.6")
_XTST = ctypes.CDLL("libXtst.so.6")
_XFIXES = ctypes.CDLL("libXfixes.so.3")

_ulong = ctypes.c_ulong
_ptr = ctypes.c_void_p


class _XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int), ("red_mask", _ulong), ("green_mask", _ulong),
        ("blue_mask", _ulong), ("obdata", _ptr),
        ("f", _ptr * 6),  # create_image, destroy_image, get_pixel, put_pixel, sub_image, add_pixel
    ]


class _CursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short), ("y", ctypes.c_short),
        ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
        ("cursor_serial", _ulong), ("pixels", ctypes.POINTER(_ulong)),
        ("atom", _ulong), ("name", ctypes.c_char_p),
    ]


class _WindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
        ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", _ptr), ("root", _ulong), ("c_class", ctypes.c_int),
        ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
        ("backing_store", ctypes.c_int), ("backing_planes", _ulong),
        ("backing_pixel", _ulong), ("save_under", ctypes.c_int), ("colormap", _ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", _ptr),
    ]


class _ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int), ("serial", _ulong), ("send_event", ctypes.c_int),
        ("display", _ptr), ("window", _ulong), ("message_type", _ulong),
        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def _sig(fn, res, *args):
    fn.restype = res
    fn.argtypes = list(args)


_sig(_X.XOpenDisplay, _ptr, ctypes.c_char_p)
_sig(_X.XCloseDisplay, ctypes.c_int, _ptr)
_sig(_X.XDefaultRootWindow, _ulong, _ptr)
_sig(_X.XSync, ctypes.c_int, _ptr, ctypes.c_int)
_sig(_X.XFree, ctypes.c_int, _ptr)
_sig(_X.XGetImage, ctypes.POINTER(_XImage), _ptr, _ulong, ctypes.c_int, ctypes.c_int,
     ctypes.c_uint, ctypes.c_uint, _ulong, ctypes.c_int)
_sig(_X.XQueryTree, ctypes.c_int, _ptr, _ulong, ctypes.POINTER(_ulong), ctypes.POINTER(_ulong),
     ctypes.POINTER(ctypes.POINTER(_ulong)), ctypes.POINTER(ctypes.c_uint))
_sig(_X.XFetchName, ctypes.c_int, _ptr, _ulong, ctypes.POINTER(ctypes.c_char_p))
_sig(_X.XGetWindowAttributes, ctypes.c_int, _ptr, _ulong, ctypes.POINTER(_WindowAttributes))
_sig(_X.XInternAtom, _ulong, _ptr, ctypes.c_char_p, ctypes.c_int)
_sig(_X.XGetWindowProperty, ctypes.c_int, _ptr, _ulong, _ulong, ctypes.c_long, ctypes.c_long,
     ctypes.c_int, _ulong, ctypes.POINTER(_ulong), ctypes.POINTER(ctypes.c_int),
     ctypes.POINTER(_ulong), ctypes.POINTER(_ulong), ctypes.POINTER(ctypes.c_void_p))
_sig(_X.XSendEvent, ctypes.c_int, _ptr, _ulong, ctypes.c_int, ctypes.c_long,
     ctypes.POINTER(_XEvent))
_sig(_X.XKeysymToKeycode, ctypes.c_ubyte, _ptr, _ulong)
_sig(_X.XStringToKeysym, _ulong, ctypes.c_char_p)
_sig(_X.XSetErrorHandler, _ptr, _ptr)
_sig(_XTST.XTestFakeMotionEvent, ctypes.c_int, _ptr, ctypes.c_int, ctypes.c_int, ctypes.c_int,
     _ulong)
_sig(_XTST.XTestFakeButtonEvent, ctypes.c_int, _ptr, ctypes.c_uint, ctypes.c_int, _ulong)
_sig(_XTST.XTestFakeKeyEvent, ctypes.c_int, _ptr, ctypes.c_uint, ctypes.c_int, _ulong)
_sig(_XFIXES.XFixesGetCursorImage, ctypes.POINTER(_CursorImage), _ptr)

# Windows come and go while they are listed: an X error about a window that
# is gone must not end the tests (the default handler exits the process).
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, _ptr, _ptr)(lambda display, event: 0)
_X.XSetErrorHandler(ctypes.cast(_ERROR_HANDLER, _ptr))

_ZPIXMAP = 2
_IS_VIEWABLE = 2
_ANY_PROPERTY_TYPE = 0
_CLIENT_MESSAGE = 33

# Mouse buttons as X numbers them.
LEFT, MIDDLE, RIGHT = 1, 2, 3


class Window:
    """One viewable top-level X window."""

    def __init__(self, xid, name, pid, x, y, width, height):
        self.xid, self.name, self.pid = xid, name, pid
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return "<%r pid %s %dx%d+%d+%d>" % (self.name, self.pid, self.width, self.height,
                                           self.x, self.y)


class Cursor:
    """The cursor image the server shows: size, hot spot and ARGB pixels."""

    def __init__(self, width, height, xhot, yhot, pixels):
        self.width, self.height, self.xhot, self.yhot = width, height, xhot, yhot
        self.pixels = pixels

    def key(self):
        return (self.width, self.height, self.xhot, self.yhot, self.pixels)

    def __eq__(self, other):
        return isinstance(other, Cursor) and self.key() == other.key()

    def __hash__(self):
        return hash(self.key())

    def __repr__(self):
        return "<cursor %dx%d hot %d,%d>" % (self.width, self.height, self.xhot, self.yhot)


class Display:
    def __init__(self, name):
        self.name = name
        self._d = _X.XOpenDisplay(name.encode())
        if not self._d:
            raise RuntimeError("cannot open display " + name)
        self.root = _X.XDefaultRootWindow(self._d)
        self._pid_atom = _X.XInternAtom(self._d, b"_NET_WM_PID", 0)
        self._protocols = _X.XInternAtom(self._d, b"WM_PROTOCOLS", 0)
        self._delete = _X.XInternAtom(self._d, b"WM_DELETE_WINDOW", 0)

    def close(self):
        if self._d:
            _X.XCloseDisplay(self._d)
            self._d = None

    # ------------------------------------------------------------ pixels

    def grab(self, x, y, width, height):
        """A screen rectangle as rows of (r, g, b)."""
        image = _X.XGetImage(self._d, self.root, x, y, width, height, 0xFFFFFF, _ZPIXMAP)
        if not image:
            raise RuntimeError("cannot read the screen at %d,%d %dx%d" % (x, y, width, height))
        im = image.contents
        assert im.bits_per_pixel == 32, "a 24-bit screen in 32-bit pixels is expected"
        raw = ctypes.string_at(im.data, im.bytes_per_line * height)
        stride = im.bytes_per_line
        # XDestroyImage is a macro: call the image's own destroy function.
        ctypes.CFUNCTYPE(ctypes.c_int, ctypes.POINTER(_XImage))(im.f[1])(image)
        return [[(raw[r * stride + 4 * c + 2], raw[r * stride + 4 * c + 1], raw[r * stride + 4 * c])
                 for c in range(width)] for r in range(height)]

    def pixel(self, x, y):
        return self.grab(x, y, 1, 1)[0][0]

    # ------------------------------------------------------------- input

    def move(self, x, y):
        _XTST.XTestFakeMotionEvent(self._d, -1, x, y, 0)
        _X.XSync(self._d, 0)

    def button(self, number, down):
        _XTST.XTestFakeButtonEvent(self._d, number, 1 if down else 0, 0)
        _X.XSync(self._d, 0)

    def key(self, *names):
        """Presses the keys in order and releases them in reverse: key("Alt_L", "F4")."""
        codes = [_X.XKeysymToKeycode(self._d, _X.XStringToKeysym(n.encode())) for n in names]
        for code in codes:
            _XTST.XTestFakeKeyEvent(self._d, code, 1, 0)
        for code in reversed(codes):
            _XTST.XTestFakeKeyEvent(self._d, code, 0, 0)
        _X.XSync(self._d, 0)

    # ------------------------------------------------------------ cursor

    def cursor(self):
        image = _XFIXES.XFixesGetCursorImage(self._d)
        c = image.contents
        pixels = tuple(c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height))
        cursor = Cursor(c.width, c.height, c.xhot, c.yhot, pixels)
        _X.XFree(ctypes.cast(image, _ptr))
        return cursor

    # ----------------------------------------------------------- windows

    def windows(self):
        """The viewable children of the root window, bottom to top."""
        root, parent = _ulong(), _ulong()
        children = ctypes.POINTER(_ulong)()
        count = ctypes.c_uint()
        if not _X.XQueryTree(self._d, self.root, ctypes.byref(root), ctypes.byref(parent),
                             ctypes.byref(children), ctypes.byref(count)):
            return []
        xids = [children[i] for i in range(count.value)]
        if children:
            _X.XFree(ctypes.cast(children, _ptr))
        found = []
        for xid in xids:
            attrs = _WindowAttributes()
            if not _X.XGetWindowAttributes(self._d, xid, ctypes.byref(attrs)):
                continue
            if attrs.map_state != _IS_VIEWABLE:
                continue
            name = ctypes.c_char_p()
            title = None
            if _X.XFetchName(self._d, xid, ctypes.byref(name)) and name.value is not None:
                title = name.value.decode("utf-8", "replace")
                _X.XFree(ctypes.cast(name, _ptr))
            found.append(Window(xid, title, self._pid_of(xid), attrs.x, attrs.y, attrs.width,
                                attrs.height))
        return found

    def _pid_of(self, xid):
        kind, fmt = _ulong(), ctypes.c_int()
        count, after = _ulong(), _ulong()
        data = ctypes.c_void_p()
        ok = _X.XGetWindowProperty(self._d, xid, self._pid_atom, 0, 1, 0, _ANY_PROPERTY_TYPE,
                                   ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(count),
                                   ctypes.byref(after), ctypes.byref(data))
        pid = None
        if ok == 0 and data.value:
            if count.value == 1 and fmt.value == 32:
                pid = ctypes.cast(data, ctypes.POINTER(_ulong))[0]
            _X.XFree(data)
        return pid

    def request_close(self, xid):
        """What a window manager sends when the user closes a window."""
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = xid
        event.xclient.message_type = self._protocols
        event.xclient.format = 32
        event.xclient.data[0] = self._delete
        event.xclient.data[1] = 0  # CurrentTime
        _X.XSendEvent(self._d, xid, 0, 0, ctypes.byref(event))
        _X.XSync(self._d, 0)
