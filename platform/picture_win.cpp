#include "platform/picture_win.h"

#include <windows.h>
#include <objidl.h>

#include <memory>

#include "platform/error.h"
#include "platform/picture_decode.h"
#include "platform/platform_win.h"

namespace platform {

namespace {

// The few flat GDI+ entry points used, declared here so that no GDI+ header
// or import library is needed.
struct StartupInput {
  UINT32 version;
  void* debugCallback;
  BOOL suppressBackgroundThread;
  BOOL suppressExternalCodecs;
};
struct LockedBits {
  UINT width;
  UINT height;
  INT stride;
  INT format;
  void* scan0;
  UINT_PTR reserved;
};
struct LockRect {
  INT x, y, width, height;
};
using GpStatus = int;
using StartupFn = GpStatus(WINAPI*)(ULONG_PTR*, const StartupInput*, void*);
using ShutdownFn = void(WINAPI*)(ULONG_PTR);
using FromStreamFn = GpStatus(WINAPI*)(IStream*, void**);
using DimensionFn = GpStatus(WINAPI*)(void*, UINT*);
using LockFn = GpStatus(WINAPI*)(void*, const LockRect*, UINT, INT, LockedBits*);
using UnlockFn = GpStatus(WINAPI*)(void*, LockedBits*);
using DisposeFn = GpStatus(WINAPI*)(void*);
using CreateStreamFn = HRESULT(WINAPI*)(HGLOBAL, BOOL, IStream**);

constexpr INT kFormat32bppARGB = 0x0026200A;
constexpr UINT kLockRead = 1;

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// GDI+ on Windows XP lives only in the side-by-side store; later Windows
// also keep it in the system folder. Either way it is loaded by full path.
// Paths are kept in fixed buffers: MAX_PATH bounds every one of them.
HMODULE LoadGdiPlus() {
  if (HMODULE m = LoadSystemLibrary(L"gdiplus.dll")) return m;
  wchar_t path[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH - 120) return nullptr;
  lstrcatW(path, L"\\WinSxS\\");
  const int folder = lstrlenW(path);
  lstrcatW(path, L"x86_Microsoft.Windows.GdiPlus_6595b64144ccf1df_1.*");
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(path, &found);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  wchar_t best[MAX_PATH] = L"";
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrlenW(found.cFileName) < 100 &&
        lstrcmpW(best, found.cFileName) < 0) {
      lstrcpyW(best, found.cFileName);
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  if (!best[0]) return nullptr;
  path[folder] = L'\0';
  lstrcatW(path, best);
  lstrcatW(path, L"\\gdiplus.dll");
  return LoadLibraryW(path);
}

struct GdiPlus {
  bool ready = false;
  ULONG_PTR token = 0;
  ShutdownFn shutdown = nullptr;
  FromStreamFn fromStream = nullptr;
  DimensionFn width = nullptr;
  DimensionFn height = nullptr;
  LockFn lock = nullptr;
  UnlockFn unlock = nullptr;
  DisposeFn dispose = nullptr;
  CreateStreamFn createStream = nullptr;

  bool Start() {
    if (ready) return true;
    createStream = Proc<CreateStreamFn>(LoadSystemLibrary(L"ole32.dll"), "CreateStreamOnHGlobal");
    HMODULE m = LoadGdiPlus();
    if (!m || !createStream) return false;
    auto startup = Proc<StartupFn>(m, "GdiplusStartup");
    shutdown = Proc<ShutdownFn>(m, "GdiplusShutdown");
    fromStream = Proc<FromStreamFn>(m, "GdipCreateBitmapFromStream");
    width = Proc<DimensionFn>(m, "GdipGetImageWidth");
    height = Proc<DimensionFn>(m, "GdipGetImageHeight");
    lock = Proc<LockFn>(m, "GdipBitmapLockBits");
    unlock = Proc<UnlockFn>(m, "GdipBitmapUnlockBits");
    dispose = Proc<DisposeFn>(m, "GdipDisposeImage");
    if (!startup || !shutdown || !fromStream || !width || !height || !lock || !unlock || !dispose) {
      return false;
    }
    StartupInput input = {1, nullptr, FALSE, FALSE};
    ready = startup(&token, &input, nullptr) == 0;
    return ready;
  }
};

GdiPlus& Gdi() {
  static GdiPlus gdi;
  return gdi;
}

// A read-only stream over a copy of the bytes, as GDI+ wants it.
IStream* StreamOver(const GdiPlus& gdi, const void* bytes, size_t size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem) Raise(kErrOutOfMemory);
  void* p = GlobalLock(mem);
  CopyMemory(p, bytes, size);
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  if (gdi.createStream(mem, TRUE, &stream) != S_OK) {
    GlobalFree(mem);
    Raise(kErrOutOfMemory);
  }
  return stream;
}

}  // namespace

Picture DecodePicture(const void* bytes, size_t size, const std::string& source) {
  if (Picture own = DecodeGifOrPng(static_cast<const std::uint8_t*>(bytes), size, source)) {
    return own;
  }
  GdiPlus& gdi = Gdi();
  if (size == 0 || !gdi.Start()) Raise(kErrInvalidPicture, source);
  IStream* stream = StreamOver(gdi, bytes, size);
  void* bitmap = nullptr;
  const GpStatus created = gdi.fromStream(stream, &bitmap);
  std::shared_ptr<Image> image;
  bool ok = created == 0 && bitmap;
  UINT w = 0, h = 0;
  if (ok) ok = gdi.width(bitmap, &w) == 0 && gdi.height(bitmap, &h) == 0;
  ok = ok && w > 0 && h > 0 && w <= static_cast<UINT>(kMaxPictureSide) &&
       h <= static_cast<UINT>(kMaxPictureSide) && w * h <= kMaxPicturePixels;
  if (ok) {
    LockRect rect = {0, 0, static_cast<INT>(w), static_cast<INT>(h)};
    LockedBits bits = {};
    ok = gdi.lock(bitmap, &rect, kLockRead, kFormat32bppARGB, &bits) == 0;
    if (ok) {
      image = std::make_shared<Image>();
      image->width = static_cast<int>(w);
      image->height = static_cast<int>(h);
      image->source = source;
      image->pixels.resize(static_cast<size_t>(w) * h);
      for (UINT y = 0; y < h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bits.scan0) +
                          static_cast<std::ptrdiff_t>(y) * bits.stride;
        CopyMemory(&image->pixels[static_cast<size_t>(y) * w], row, w * 4u);
      }
      gdi.unlock(bitmap, &bits);
    }
  }
  if (bitmap) gdi.dispose(bitmap);
  stream->Release();
  if (!ok) Raise(kErrInvalidPicture, source);
  return image;
}

void ShutdownPictures() {
  GdiPlus& gdi = Gdi();
  if (gdi.ready) gdi.shutdown(gdi.token);
  gdi.ready = false;
}

}  // namespace platform
