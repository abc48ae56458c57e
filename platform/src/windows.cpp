// The Windows operations over EGL (surfaceless Mesa, a pbuffer per window)
// and the monotonic clock.
//
// Every operation: a forced failure first (control interface), then the
// handle checks, then the work; one call-log line on the way out.
//
// Pixel formats (the table is built in state.cpp): every EGL config that is
// fixed-point RGB, OpenGL-renderable, pbuffer-capable and not multisampled,
// deduplicated by channel, depth and stencil sizes, described as a
// little-endian BGRA pixel (blue at shift 0, then green, red, alpha;
// cColorBits = red + green + blue + alpha bits, the EGL buffer size).
// Ordered by layout (8888, 888, 565, 2-10-10-10, 10-10-10, others), then
// depth and stencil ascending; after them one 8-bit 3-3-2 palette format
// (PFD_NEED_PALETTE) per depth/stencil variant of the RGBA8888 configs, drawn
// through that config. No format has PFD_DOUBLEBUFFER (pbuffers have one
// colour buffer), accumulation or auxiliary buffers, stereo or GDI support.
//
// ChoosePixelFormat scores every format (lower is better, ties go to the
// lower index); a request with PFD_DRAW_TO_BITMAP gets 0:
//   + 100000 when iPixelType differs (every format is RGBA);
//   + 1000 when the palette class differs: palette formats serve requests of
//     cColorBits 1..8, the others everything else (0 counts as 24);
//   for requests above 8 bits:
//   + 20 x colour distance, the smaller of |want - (r+g+b)| and
//     |want - (r+g+b+a)|, a shortfall counting double;
//   + 5 x |asked - offered| per red, green and blue size; sizes not asked
//     for (all three 0) are inferred: want/3 when want divides by 3, else
//     (want-8)/3 when that does (24, 32 -> 8; 30 -> 10);
//   alpha: asked and none offered + 200, else 5 x |asked - offered|; not
//     asked: + offered bits;
//   depth and stencil each: asked and none offered + 300, short + 8 per bit,
//     over + 1 per bit; not asked: + offered bits.
// Double buffering, stereo, accumulation, auxiliary buffers and the layer
// are not scored: no format differs in them.
//
// Call-log lines: "Name(arg, arg) = result" with the scalar arguments in
// declaration order, in decimal (handles unsigned), pointer arguments left
// out; SetLastError, which returns nothing, logs "SetLastError(code)".
#include <GL/gl.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "state.h"

using namespace pyxwin;

namespace {

DeviceContext* findDc(State& s, HDC h) {
  if (h == 0) return nullptr;
  auto it = s.dcs.find(h);
  return it == s.dcs.end() ? nullptr : &it->second;
}

Window* findWindow(State& s, HWND h) {
  if (h == 0) return nullptr;
  auto it = s.windows.find(h);
  return it == s.windows.end() ? nullptr : &it->second;
}

Context* findContext(State& s, HGLRC h) {
  if (h == 0) return nullptr;
  auto it = s.contexts.find(h);
  return it == s.contexts.end() ? nullptr : &it->second;
}

Palette* findPalette(State& s, HPALETTE h) {
  if (h == 0) return nullptr;
  auto it = s.palettes.find(h);
  return it == s.palettes.end() ? nullptr : &it->second;
}

// Releases the calling thread's current context, if any (state().mutex held).
bool releaseCurrent(State& s) {
  HGLRC& cur = currentContext();
  if (cur == 0) return true;
  if (s.display != EGL_NO_DISPLAY &&
      eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) != EGL_TRUE) {
    setError(eglErrorCode(eglGetError()));
    return false;
  }
  if (Context* c = findContext(s, cur)) {
    c->owner = 0;
    c->boundDc = 0;
  }
  cur = 0;
  return true;
}

// ---- Pixel-format matching ------------------------------------------------

int colourCost(int have, int want) { return have >= want ? have - want : 2 * (want - have); }

int sizeCost(int have, int want, int missing, int shortWeight) {
  if (want <= 0) return have;  // not asked for: the smaller the better
  if (have == 0) return missing;
  return have >= want ? have - want : shortWeight * (want - have);
}

// The penalty of offering format f for request w; lower is better.
long score(const PIXELFORMATDESCRIPTOR& w, const Format& f) {
  const PIXELFORMATDESCRIPTOR& p = f.pfd;
  long s = 0;
  if (w.iPixelType != p.iPixelType) s += 100000;
  const int want = w.cColorBits == 0 ? 24 : w.cColorBits;
  const bool paletteRequest = want <= 8;
  // Palette formats serve exactly the requests of 8 bits or fewer.
  if (paletteRequest != f.palette) s += 1000;
  if (!paletteRequest) {
    const int rgb = p.cRedBits + p.cGreenBits + p.cBlueBits;
    // cColorBits counted either without alpha (the documented meaning) or
    // with it (what drivers report).
    const int c = std::min(colourCost(rgb, want), colourCost(rgb + p.cAlphaBits, want));
    s += 20L * c;
    int r = w.cRedBits, g = w.cGreenBits, b = w.cBlueBits;
    if (r == 0 && g == 0 && b == 0) {
      // No channel sizes asked for: inferred from the colour depth, with or
      // without 8 alpha bits counted in it (24 and 32 give 8, 30 gives 10).
      r = g = b = want % 3 == 0 ? want / 3 : (want > 8 && (want - 8) % 3 == 0) ? (want - 8) / 3 : 0;
    }
    if (r > 0) s += 5L * std::abs(r - int(p.cRedBits));
    if (g > 0) s += 5L * std::abs(g - int(p.cGreenBits));
    if (b > 0) s += 5L * std::abs(b - int(p.cBlueBits));
  }
  if (w.cAlphaBits > 0)
    s += p.cAlphaBits == 0 ? 200 : 5L * std::abs(int(w.cAlphaBits) - int(p.cAlphaBits));
  else
    s += p.cAlphaBits;
  s += sizeCost(p.cDepthBits, w.cDepthBits, 300, 8);
  s += sizeCost(p.cStencilBits, w.cStencilBits, 300, 8);
  return s;
}

int choosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd) {
  int forced;
  if (takeForced(PYXWIN_OP_CHOOSE_PIXEL_FORMAT, &forced)) return forced;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  if (findDc(s, hdc) == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (ppfd == nullptr) {
    setError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!ensureEgl(s)) return 0;
  // No format draws to a bitmap.
  if (ppfd->dwFlags & PFD_DRAW_TO_BITMAP) {
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  int best = 0;
  long bestScore = LONG_MAX;
  for (size_t i = 0; i < s.formats.size(); ++i) {
    const long sc = score(*ppfd, s.formats[i]);
    if (sc < bestScore) {
      bestScore = sc;
      best = static_cast<int>(i) + 1;
    }
  }
  if (best == 0) setError(ERROR_INVALID_PIXEL_FORMAT);
  return best;
}

BOOL setPixelFormat(HDC hdc, int format) {
  int forced;
  if (takeForced(PYXWIN_OP_SET_PIXEL_FORMAT, &forced)) return forced;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!ensureEgl(s)) return FALSE;
  if (format < 1 || format > static_cast<int>(s.formats.size())) {
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (dc->format != 0) {
    if (dc->format == format) return TRUE;
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  const EGLint attrs[] = {EGL_WIDTH, dc->width, EGL_HEIGHT, dc->height, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(s.display, s.formats[format - 1].config, attrs);
  if (surface == EGL_NO_SURFACE) {
    setError(eglErrorCode(eglGetError()));
    return FALSE;
  }
  dc->surface = surface;
  dc->format = format;
  return TRUE;
}

int getPixelFormat(HDC hdc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (dc->format == 0) setError(ERROR_INVALID_PIXEL_FORMAT);
  return dc->format;
}

int describePixelFormat(HDC hdc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* ppfd) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  if (findDc(s, hdc) == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!ensureEgl(s)) return 0;
  const int count = static_cast<int>(s.formats.size());
  if (ppfd == nullptr) return count;  // as on Windows: just the count
  if (format < 1 || format > count) {
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  const size_t n = std::min<size_t>(bytes, sizeof(PIXELFORMATDESCRIPTOR));
  std::memcpy(ppfd, &s.formats[format - 1].pfd, n);
  return count;
}

BOOL swapBuffers(HDC hdc) {
  int forced;
  if (takeForced(PYXWIN_OP_SWAP_BUFFERS, &forced)) return forced;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr || dc->surface == EGL_NO_SURFACE) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // A pbuffer has no front buffer to show: eglSwapBuffers would do nothing.
  // The drawing is flushed when the calling thread draws into this DC.
  Context* c = findContext(s, currentContext());
  if (c != nullptr && c->boundDc == hdc) glFlush();
  return TRUE;
}

// ---- Contexts -----------------------------------------------------------

HGLRC createContext(HDC hdc) {
  int forced;
  if (takeForced(PYXWIN_OP_WGL_CREATE_CONTEXT, &forced)) return static_cast<HGLRC>(forced);
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (dc->format == 0 || !ensureEgl(s)) {
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  const Format& f = s.formats[dc->format - 1];
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    setError(eglErrorCode(eglGetError()));
    return 0;
  }
  EGLContext egl = eglCreateContext(s.display, f.config, EGL_NO_CONTEXT, nullptr);
  if (egl == EGL_NO_CONTEXT) {
    setError(eglErrorCode(eglGetError()));
    return 0;
  }
  Context c;
  c.id = newHandle(s);
  c.egl = egl;
  c.format = dc->format;
  c.config = f.config;
  s.contexts.emplace(c.id, c);
  return c.id;
}

BOOL deleteContext(HGLRC h) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Context* c = findContext(s, h);
  if (c == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (c->owner != 0 && c->owner != threadId()) {
    setError(ERROR_BUSY);
    return FALSE;
  }
  if (c->owner != 0 && !releaseCurrent(s)) return FALSE;
  eglDestroyContext(s.display, c->egl);
  s.contexts.erase(h);
  return TRUE;
}

BOOL makeCurrent(HDC hdc, HGLRC h) {
  int forced;
  if (takeForced(PYXWIN_OP_WGL_MAKE_CURRENT, &forced)) return forced;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  if (h == 0) return releaseCurrent(s) ? TRUE : FALSE;  // the device context is not looked at
  Context* c = findContext(s, h);
  DeviceContext* dc = findDc(s, hdc);
  if (c == nullptr || dc == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (c->owner != 0 && c->owner != threadId()) {
    setError(ERROR_BUSY);
    return FALSE;
  }
  if (dc->format != c->format || dc->surface == EGL_NO_SURFACE) {
    setError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  HGLRC& cur = currentContext();
  if (cur == h && c->boundDc == hdc) return TRUE;
  // EGL binds a surface to one thread at a time: a window another thread
  // draws into is busy (Windows would allow it; nothing here relies on it).
  for (const auto& other : s.contexts) {
    if (other.second.boundDc == hdc && other.second.owner != 0 &&
        other.second.owner != threadId()) {
      setError(ERROR_BUSY);
      return FALSE;
    }
  }
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE ||
      eglMakeCurrent(s.display, dc->surface, dc->surface, c->egl) != EGL_TRUE) {
    setError(eglErrorCode(eglGetError()));
    return FALSE;
  }
  if (cur != h) {
    if (Context* old = findContext(s, cur)) {
      old->owner = 0;
      old->boundDc = 0;
    }
  }
  cur = h;
  c->owner = threadId();
  c->boundDc = hdc;
  c->everCurrent = true;
  return TRUE;
}

HGLRC getCurrentContext() {
  return currentContext();
}

BOOL shareLists(HGLRC existing, HGLRC created) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Context* a = findContext(s, existing);
  Context* b = findContext(s, created);
  if (a == nullptr || b == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (a == b) {
    setError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // EGL shares only at creation: a context that has never been current has
  // no lists yet and is made again in the share group of `existing`.
  if (b->everCurrent || b->owner != 0 || b->sharesLists) {
    setError(ERROR_BUSY);
    return FALSE;
  }
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    setError(eglErrorCode(eglGetError()));
    return FALSE;
  }
  EGLContext egl = eglCreateContext(s.display, b->config, a->egl, nullptr);
  if (egl == EGL_NO_CONTEXT) {
    setError(eglErrorCode(eglGetError()));
    return FALSE;
  }
  eglDestroyContext(s.display, b->egl);
  b->egl = egl;
  b->sharesLists = true;
  return TRUE;
}

// ---- GDI palettes ---------------------------------------------------------

HPALETTE createPalette(const LOGPALETTE* lp) {
  int forced;
  if (takeForced(PYXWIN_OP_CREATE_PALETTE, &forced)) return static_cast<HPALETTE>(forced);
  if (lp == nullptr || lp->palVersion != 0x300 || lp->palNumEntries == 0) {
    setError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Palette p;
  p.entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  p.id = newHandle(s);
  HPALETTE id = p.id;
  s.palettes.emplace(id, std::move(p));
  return id;
}

HPALETTE selectPalette(HDC hdc, HPALETTE hpal) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr || findPalette(s, hpal) == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  HPALETTE previous = dc->selected;
  dc->selected = hpal;
  return previous;
}

UINT realizePalette(HDC hdc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  DeviceContext* dc = findDc(s, hdc);
  if (dc == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  Palette* p = findPalette(s, dc->selected);
  if (p == nullptr) return 0;
  dc->realized = p->entries;
  return static_cast<UINT>(p->entries.size());
}

// ---- USER -------------------------------------------------------------------

HDC getDc(HWND hwnd) {
  int forced;
  if (takeForced(PYXWIN_OP_GET_DC, &forced)) return static_cast<HDC>(forced);
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window* w = findWindow(s, hwnd);
  if (w == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return w->dc;
}

int releaseDc(HWND hwnd, HDC hdc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window* w = findWindow(s, hwnd);
  if (w == nullptr || hdc == 0 || w->dc != hdc) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return 1;
}

DWORD windowThread(HWND hwnd, DWORD* processId) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window* w = findWindow(s, hwnd);
  if (w == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (processId != nullptr) *processId = static_cast<DWORD>(getpid());
  return w->thread;
}

// ---- KERNEL -----------------------------------------------------------------

BOOL queryCounter(LARGE_INTEGER* count) {
  if (count == nullptr) {
    setError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  State& s = state();
  LONGLONG frequency;
  {
    std::lock_guard<std::mutex> guard(s.counterMutex);
    if (!s.readings.empty()) {
      count->QuadPart = s.readings.front();
      s.readings.pop_front();
      return TRUE;
    }
    frequency = s.frequency;
  }
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const __int128 ns = static_cast<__int128>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  count->QuadPart = frequency == 0 ? static_cast<LONGLONG>(ns)
                                   : static_cast<LONGLONG>(ns * frequency / 1000000000);
  return TRUE;
}

BOOL queryFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) {
    setError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  State& s = state();
  std::lock_guard<std::mutex> guard(s.counterMutex);
  frequency->QuadPart = s.frequency == 0 ? 1000000000 : s.frequency;
  return TRUE;
}

}  // namespace

// ---- The exported operations, each with its log line ----------------------

extern "C" {

int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd) {
  const int r = choosePixelFormat(hdc, ppfd);
  logCall("ChoosePixelFormat", {hdc}, r);
  return r;
}

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd) {
  const BOOL r = setPixelFormat(hdc, format);
  logCall("SetPixelFormat", {hdc, format}, r);
  return r;
}

int GetPixelFormat(HDC hdc) {
  const int r = getPixelFormat(hdc);
  logCall("GetPixelFormat", {hdc}, r);
  return r;
}

int DescribePixelFormat(HDC hdc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* ppfd) {
  const int r = describePixelFormat(hdc, format, bytes, ppfd);
  logCall("DescribePixelFormat", {hdc, format, bytes}, r);
  return r;
}

BOOL SwapBuffers(HDC hdc) {
  const BOOL r = swapBuffers(hdc);
  logCall("SwapBuffers", {hdc}, r);
  return r;
}

HGLRC wglCreateContext(HDC hdc) {
  const HGLRC r = createContext(hdc);
  logCall("wglCreateContext", {hdc}, r);
  return r;
}

BOOL wglDeleteContext(HGLRC hglrc) {
  const BOOL r = deleteContext(hglrc);
  logCall("wglDeleteContext", {hglrc}, r);
  return r;
}

BOOL wglMakeCurrent(HDC hdc, HGLRC hglrc) {
  const BOOL r = makeCurrent(hdc, hglrc);
  logCall("wglMakeCurrent", {hdc, hglrc}, r);
  return r;
}

HGLRC wglGetCurrentContext(void) {
  const HGLRC r = getCurrentContext();
  logCall("wglGetCurrentContext", {}, r);
  return r;
}

BOOL wglShareLists(HGLRC existing, HGLRC created) {
  const BOOL r = shareLists(existing, created);
  logCall("wglShareLists", {existing, created}, r);
  return r;
}

HPALETTE CreatePalette(const LOGPALETTE* plpal) {
  const HPALETTE r = createPalette(plpal);
  logCall("CreatePalette", {}, r);
  return r;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hpal, BOOL forceBackground) {
  const HPALETTE r = selectPalette(hdc, hpal);
  logCall("SelectPalette", {hdc, hpal, forceBackground}, r);
  return r;
}

UINT RealizePalette(HDC hdc) {
  const UINT r = realizePalette(hdc);
  logCall("RealizePalette", {hdc}, r);
  return r;
}

int GetSystemMetrics(int index) {
  const int r = index == SM_CXSCREEN   ? PYXWIN_DESKTOP_WIDTH
                : index == SM_CYSCREEN ? PYXWIN_DESKTOP_HEIGHT
                                       : 0;
  logCall("GetSystemMetrics", {index}, r);
  return r;
}

HDC GetDC(HWND hwnd) {
  const HDC r = getDc(hwnd);
  logCall("GetDC", {hwnd}, r);
  return r;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  const int r = releaseDc(hwnd, hdc);
  logCall("ReleaseDC", {hwnd, hdc}, r);
  return r;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  const DWORD r = windowThread(hwnd, processId);
  logCall("GetWindowThreadProcessId", {hwnd}, r);
  return r;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  const BOOL r = queryCounter(count);
  logCall("QueryPerformanceCounter", {}, r);
  return r;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  const BOOL r = queryFrequency(frequency);
  logCall("QueryPerformanceFrequency", {}, r);
  return r;
}

DWORD GetLastError(void) {
  const DWORD r = lastError();
  logCall("GetLastError", {}, r);
  return r;
}

void SetLastError(DWORD code) {
  setError(code);
  logCall("SetLastError", {code}, 0, false);
}

// ---- Offscreen windows (not Windows operations: not logged) ---------------

HWND pyxwinCreateWindow(int width, int height) {
  if (width < 1 || width > 8192 || height < 1 || height > 8192) {
    setError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window w;
  w.id = newHandle(s);
  w.width = width;
  w.height = height;
  w.thread = threadId();
  DeviceContext dc;
  dc.id = newHandle(s);
  dc.window = w.id;
  dc.width = width;
  dc.height = height;
  w.dc = dc.id;
  s.windows.emplace(w.id, w);
  s.dcs.emplace(dc.id, std::move(dc));
  return w.id;
}

BOOL pyxwinDestroyWindow(HWND hwnd) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window* w = findWindow(s, hwnd);
  if (w == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (DeviceContext* dc = findDc(s, w->dc)) {
    // EGL keeps a surface that is still current until it is released.
    if (dc->surface != EGL_NO_SURFACE) eglDestroySurface(s.display, dc->surface);
    s.dcs.erase(dc->id);
  }
  s.windows.erase(hwnd);
  return TRUE;
}

BOOL pyxwinWindowSize(HWND hwnd, int* width, int* height) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  Window* w = findWindow(s, hwnd);
  if (w == nullptr) {
    setError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (width != nullptr) *width = w->width;
  if (height != nullptr) *height = w->height;
  return TRUE;
}

}  // extern "C"
