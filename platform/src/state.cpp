// Process and thread state, EGL start-up and the table of pixel formats.
#include "state.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

namespace pyxwin {

State& state() {
  static State* s = new State;  // never destroyed: threads may outlive exit()
  return *s;
}

namespace {

struct ThreadState {
  DWORD tid = 0;
  DWORD lastError = 0;
  HGLRC current = 0;
  ~ThreadState();
};

thread_local ThreadState t_thread;

// A thread that ends with a context current gives it up, so that other
// threads can make it current afterwards.
ThreadState::~ThreadState() {
  if (current == 0) return;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  auto it = s.contexts.find(current);
  if (it != s.contexts.end() && it->second.owner == tid) {
    it->second.owner = 0;
    it->second.boundDc = 0;
  }
  current = 0;
  // The main thread's thread-local state goes at exit(); EGL is left alone
  // then.
  if (tid != static_cast<DWORD>(getpid()) && s.display != EGL_NO_DISPLAY) {
    eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglReleaseThread();
  }
}

}  // namespace

DWORD threadId() {
  if (t_thread.tid == 0) t_thread.tid = static_cast<DWORD>(syscall(SYS_gettid));
  return t_thread.tid;
}

void setError(DWORD code) { t_thread.lastError = code; }
DWORD lastError() { return t_thread.lastError; }
HGLRC& currentContext() {
  threadId();  // the destructor needs the id
  return t_thread.current;
}

uint32_t newHandle(State& s) {
  // Handles count up and are never reused (in 2^32 - 1 allocations).
  do {
    ++s.lastHandle;
  } while (s.lastHandle == 0 || s.windows.count(s.lastHandle) || s.dcs.count(s.lastHandle) ||
           s.contexts.count(s.lastHandle) || s.palettes.count(s.lastHandle));
  return s.lastHandle;
}

DWORD eglErrorCode(EGLint e) {
  switch (e) {
    case EGL_BAD_ALLOC:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EGL_BAD_ACCESS:
      return ERROR_BUSY;
    case EGL_BAD_MATCH:
    case EGL_BAD_CONFIG:
      return ERROR_INVALID_PIXEL_FORMAT;
    case EGL_BAD_PARAMETER:
    case EGL_BAD_ATTRIBUTE:
      return ERROR_INVALID_PARAMETER;
    case EGL_BAD_CONTEXT:
    case EGL_BAD_SURFACE:
    case EGL_BAD_DISPLAY:
      return ERROR_INVALID_HANDLE;
    default:
      return ERROR_GEN_FAILURE;
  }
}

bool ensureEgl(State& s) {
  if (!s.eglTried) {
    s.eglTried = true;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay d = EGL_NO_DISPLAY;
    if (getPlatformDisplay != nullptr)
      d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (d != EGL_NO_DISPLAY && eglInitialize(d, &major, &minor) == EGL_TRUE) {
      s.display = d;
      enumerateFormats(s);
    } else {
      std::fprintf(stderr, "pyxwin: cannot initialize the EGL surfaceless display (0x%x)\n",
                   eglGetError());
    }
  }
  if (s.display == EGL_NO_DISPLAY) {
    setError(ERROR_GEN_FAILURE);
    return false;
  }
  return true;
}

namespace {

EGLint attrib(EGLDisplay d, EGLConfig c, EGLint name, EGLint fallback = 0) {
  EGLint v = fallback;
  if (eglGetConfigAttrib(d, c, name, &v) != EGL_TRUE) {
    eglGetError();
    return fallback;
  }
  return v;
}

PIXELFORMATDESCRIPTOR baseDescriptor() {
  PIXELFORMATDESCRIPTOR p;
  std::memset(&p, 0, sizeof p);
  p.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  p.nVersion = 1;
  // Pbuffers have a single colour buffer (GL_DOUBLEBUFFER is false on them),
  // so no format claims PFD_DOUBLEBUFFER.
  p.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  p.iPixelType = PFD_TYPE_RGBA;
  p.iLayerType = PFD_MAIN_PLANE;
  return p;
}

// Order of the colour layouts in the table: the common ones first.
int layoutRank(const PIXELFORMATDESCRIPTOR& p) {
  const int r = p.cRedBits, g = p.cGreenBits, b = p.cBlueBits, a = p.cAlphaBits;
  if (r == 8 && g == 8 && b == 8 && a == 8) return 0;
  if (r == 8 && g == 8 && b == 8 && a == 0) return 1;
  if (r == 5 && g == 6 && b == 5 && a == 0) return 2;
  if (r == 10 && g == 10 && b == 10 && a == 2) return 3;
  if (r == 10 && g == 10 && b == 10 && a == 0) return 4;
  return 5;
}

}  // namespace

void enumerateFormats(State& s) {
  EGLDisplay d = s.display;
  const EGLint want[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,  EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                         EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER, EGL_SAMPLE_BUFFERS, 0,
                         EGL_SAMPLES,         0,               EGL_NONE};
  EGLint n = 0;
  if (eglChooseConfig(d, want, nullptr, 0, &n) != EGL_TRUE || n <= 0) return;
  std::vector<EGLConfig> configs(n);
  if (eglChooseConfig(d, want, configs.data(), n, &n) != EGL_TRUE) return;
  configs.resize(n);

  const char* ext = eglQueryString(d, EGL_EXTENSIONS);
  const bool floatExt = ext != nullptr && std::strstr(ext, "EGL_EXT_pixel_format_float") != nullptr;

  struct Candidate {
    Format f;
    int rank;
  };
  std::vector<Candidate> rgba;
  std::vector<Candidate> palette;
  for (EGLConfig c : configs) {
    if (floatExt &&
        attrib(d, c, EGL_COLOR_COMPONENT_TYPE_EXT, EGL_COLOR_COMPONENT_TYPE_FIXED_EXT) !=
            EGL_COLOR_COMPONENT_TYPE_FIXED_EXT)
      continue;
    if ((attrib(d, c, EGL_RENDERABLE_TYPE) & EGL_OPENGL_BIT) == 0) continue;
    if ((attrib(d, c, EGL_SURFACE_TYPE) & EGL_PBUFFER_BIT) == 0) continue;
    if (attrib(d, c, EGL_SAMPLES) != 0 || attrib(d, c, EGL_SAMPLE_BUFFERS) != 0) continue;
    const EGLint r = attrib(d, c, EGL_RED_SIZE), g = attrib(d, c, EGL_GREEN_SIZE),
                 b = attrib(d, c, EGL_BLUE_SIZE), a = attrib(d, c, EGL_ALPHA_SIZE),
                 depth = attrib(d, c, EGL_DEPTH_SIZE), stencil = attrib(d, c, EGL_STENCIL_SIZE);
    if (r <= 0 || g <= 0 || b <= 0 || r + g + b + a > 255 || depth > 255 || stencil > 255) continue;

    Format f;
    f.config = c;
    f.configId = attrib(d, c, EGL_CONFIG_ID);
    f.palette = false;
    PIXELFORMATDESCRIPTOR& p = f.pfd;
    p = baseDescriptor();
    // A little-endian BGRA pixel: blue in the low bits, then green, red and
    // alpha.
    p.cColorBits = static_cast<BYTE>(r + g + b + a);
    p.cBlueBits = static_cast<BYTE>(b);
    p.cBlueShift = 0;
    p.cGreenBits = static_cast<BYTE>(g);
    p.cGreenShift = static_cast<BYTE>(b);
    p.cRedBits = static_cast<BYTE>(r);
    p.cRedShift = static_cast<BYTE>(b + g);
    p.cAlphaBits = static_cast<BYTE>(a);
    p.cAlphaShift = static_cast<BYTE>(a > 0 ? r + g + b : 0);
    p.cDepthBits = static_cast<BYTE>(depth);
    p.cStencilBits = static_cast<BYTE>(stencil);

    auto same = [&](const Candidate& o) {
      const PIXELFORMATDESCRIPTOR& q = o.f.pfd;
      return q.cRedBits == p.cRedBits && q.cGreenBits == p.cGreenBits &&
             q.cBlueBits == p.cBlueBits && q.cAlphaBits == p.cAlphaBits &&
             q.cDepthBits == p.cDepthBits && q.cStencilBits == p.cStencilBits;
    };
    if (std::any_of(rgba.begin(), rgba.end(), same)) continue;  // EGL lists its best first
    rgba.push_back({f, layoutRank(p)});

    if (r == 8 && g == 8 && b == 8 && a == 8) {
      // The 8-bit palette format: 3-3-2 as GDI would store it in one byte,
      // drawn through the RGBA8888 config underneath.
      Format pf = f;
      pf.palette = true;
      PIXELFORMATDESCRIPTOR& q = pf.pfd;
      q = baseDescriptor();
      q.dwFlags |= PFD_NEED_PALETTE;
      q.cColorBits = 8;
      q.cRedBits = 3;
      q.cRedShift = 0;
      q.cGreenBits = 3;
      q.cGreenShift = 3;
      q.cBlueBits = 2;
      q.cBlueShift = 6;
      q.cAlphaBits = 0;
      q.cAlphaShift = 0;
      q.cDepthBits = static_cast<BYTE>(depth);
      q.cStencilBits = static_cast<BYTE>(stencil);
      palette.push_back({pf, 0});
    }
  }
  auto order = [](const Candidate& x, const Candidate& y) {
    return std::make_tuple(x.rank, -int(x.f.pfd.cColorBits), -int(x.f.pfd.cRedBits),
                           int(x.f.pfd.cDepthBits), int(x.f.pfd.cStencilBits)) <
           std::make_tuple(y.rank, -int(y.f.pfd.cColorBits), -int(y.f.pfd.cRedBits),
                           int(y.f.pfd.cDepthBits), int(y.f.pfd.cStencilBits));
  };
  std::stable_sort(rgba.begin(), rgba.end(), order);
  std::stable_sort(palette.begin(), palette.end(), order);
  for (auto& c : rgba) s.formats.push_back(c.f);
  for (auto& c : palette) s.formats.push_back(c.f);
}

bool takeForced(int op, int* result) {
  if (op < 0 || op >= PYXWIN_OP_COUNT) return false;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.forcedMutex);
  Forced& f = s.forced[op];
  if (f.times == 0) return false;
  if (f.times > 0) --f.times;
  *result = f.result;
  setError(f.error);
  return true;
}

void logCall(const char* name, std::initializer_list<long long> args, long long result,
             bool hasResult) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.logMutex);
  if (!s.recording) return;
  // A runaway recording stops growing at 64 MiB.
  if (s.log.size() > (64u << 20)) return;
  std::string line = name;
  line += '(';
  bool first = true;
  for (long long a : args) {
    if (!first) line += ", ";
    first = false;
    line += std::to_string(a);
  }
  line += ')';
  if (hasResult) {
    line += " = ";
    line += std::to_string(result);
  }
  line += '\n';
  s.log += line;
}

}  // namespace pyxwin

using namespace pyxwin;

// ---- Control interface -------------------------------------------------

extern "C" {

void pyxwinForceFailure(int op, int result, DWORD errorCode, int times) {
  if (op < 0 || op >= PYXWIN_OP_COUNT) return;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.forcedMutex);
  s.forced[op].result = result;
  s.forced[op].error = errorCode;
  s.forced[op].times = times;
}

void pyxwinReset(void) {
  State& s = state();
  {
    std::lock_guard<std::mutex> guard(s.forcedMutex);
    for (auto& f : s.forced) f = Forced();
  }
  {
    std::lock_guard<std::mutex> guard(s.counterMutex);
    s.frequency = 0;
    s.readings.clear();
  }
  {
    std::lock_guard<std::mutex> guard(s.logMutex);
    s.recording = false;
    s.log.clear();
  }
}

void pyxwinSetCounterFrequency(LONGLONG ticksPerSecond) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.counterMutex);
  s.frequency = ticksPerSecond > 0 ? ticksPerSecond : 0;
}

void pyxwinQueueCounterReadings(const LONGLONG* readings, int count) {
  if (readings == nullptr || count <= 0) return;
  State& s = state();
  std::lock_guard<std::mutex> guard(s.counterMutex);
  s.readings.insert(s.readings.end(), readings, readings + count);
}

void pyxwinRecordCalls(BOOL on) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.logMutex);
  s.recording = on != FALSE;
}

int pyxwinCallLog(char* buffer, int capacity) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.logMutex);
  const size_t len = s.log.size();
  if (buffer != nullptr && capacity > 0) {
    const size_t n = std::min(len, static_cast<size_t>(capacity) - 1);
    std::memcpy(buffer, s.log.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(std::min(len, static_cast<size_t>(0x7fffffff)));
}

void pyxwinClearCallLog(void) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.logMutex);
  s.log.clear();
}

int pyxwinFormatCount(void) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  const DWORD saved = lastError();
  const bool ok = ensureEgl(s);
  setError(saved);
  return ok ? static_cast<int>(s.formats.size()) : 0;
}

int pyxwinPaletteEntries(HDC hdc, PALETTEENTRY* out, int capacity) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  auto it = s.dcs.find(hdc);
  if (hdc == 0 || it == s.dcs.end()) return -1;
  const auto& e = it->second.realized;
  if (out != nullptr && capacity > 0) {
    const size_t n = std::min(e.size(), static_cast<size_t>(capacity));
    std::copy(e.begin(), e.begin() + n, out);
  }
  return static_cast<int>(e.size());
}

HPALETTE pyxwinSelectedPalette(HDC hdc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  auto it = s.dcs.find(hdc);
  return hdc == 0 || it == s.dcs.end() ? 0 : it->second.selected;
}

int pyxwinDCPixelFormat(HDC hdc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  auto it = s.dcs.find(hdc);
  return hdc == 0 || it == s.dcs.end() ? -1 : it->second.format;
}

BOOL pyxwinContextExists(HGLRC hglrc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  return hglrc != 0 && s.contexts.count(hglrc) != 0;
}

DWORD pyxwinContextThread(HGLRC hglrc) {
  State& s = state();
  std::lock_guard<std::mutex> guard(s.mutex);
  auto it = s.contexts.find(hglrc);
  return hglrc == 0 || it == s.contexts.end() ? 0 : it->second.owner;
}

HGLRC pyxwinCurrentContext(void) { return currentContext(); }

DWORD pyxwinCurrentThreadId(void) { return threadId(); }

}  // extern "C"
