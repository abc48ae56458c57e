// Internal state of the stand-in layer: handle tables, the EGL display and
// the pixel formats offered, forced failures, counter overrides, call log and
// the per-thread state (last error, current context).
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "pyxwin/control.h"

namespace pyxwin {

struct Format {
  PIXELFORMATDESCRIPTOR pfd;
  EGLConfig config;
  EGLint configId;
  bool palette;  // the 8-bit 3-3-2 format over an RGBA8888 config
};

struct Window {
  HWND id;
  int width, height;
  DWORD thread;
  HDC dc;
};

struct DeviceContext {
  HDC id;
  HWND window;
  int width, height;
  int format = 0;  // 1-based, 0 before SetPixelFormat
  EGLSurface surface = EGL_NO_SURFACE;
  HPALETTE selected = 0;
  std::vector<PALETTEENTRY> realized;
};

struct Context {
  HGLRC id;
  EGLContext egl;
  int format;
  EGLConfig config;
  DWORD owner = 0;  // thread id it is current on, 0 when current nowhere
  HDC boundDc = 0;  // the DC it was last made current with
  bool everCurrent = false;
  bool sharesLists = false;  // made again in another context's share group
};

struct Palette {
  HPALETTE id;
  std::vector<PALETTEENTRY> entries;
};

struct Forced {
  int result = 0;
  DWORD error = 0;
  int times = 0;  // 0: not forced; < 0: until cleared
};

struct State {
  // Tables, EGL and formats.
  std::mutex mutex;
  bool eglTried = false;
  EGLDisplay display = EGL_NO_DISPLAY;
  std::vector<Format> formats;
  uint32_t lastHandle = 0;
  std::unordered_map<uint32_t, Window> windows;
  std::unordered_map<uint32_t, DeviceContext> dcs;
  std::unordered_map<uint32_t, Context> contexts;
  std::unordered_map<uint32_t, Palette> palettes;

  // Forced failures.
  std::mutex forcedMutex;
  Forced forced[PYXWIN_OP_COUNT];

  // Counter overrides.
  std::mutex counterMutex;
  LONGLONG frequency = 0;  // 0: the real one
  std::deque<LONGLONG> readings;

  // Call log.
  std::mutex logMutex;
  bool recording = false;
  std::string log;
};

// The process-wide state; never destroyed.
State& state();

// Per-thread state.
DWORD threadId();
void setError(DWORD code);
DWORD lastError();
HGLRC& currentContext();

// Under state().mutex: initializes EGL and the format table once; false
// (with the calling thread's error set) when EGL is unusable.
bool ensureEgl(State& s);
void enumerateFormats(State& s);

// A forced failure of `op`: true (with *result and the last error set) when
// the call must fail; consumes one of its times.
bool takeForced(int op, int* result);

// Appends "Name(a, b) = r" (or "Name(a, b)" when hasResult is false) while
// recording.
void logCall(const char* name, std::initializer_list<long long> args, long long result,
             bool hasResult = true);

// A system error code for the current EGL error.
DWORD eglErrorCode(EGLint eglError);

uint32_t newHandle(State& s);

}  // namespace pyxwin
