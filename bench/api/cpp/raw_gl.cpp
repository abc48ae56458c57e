// The figures in plain C++ against the same GL, through an EGL pbuffer:
// the limit a binding can approach. Prints "<figure> <value> <unit>".
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <stdio.h>
#include <time.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kSize = 512;
constexpr int kBytes = kSize * kSize * 4;
constexpr int kCalls = 2000000;
constexpr int kTransfers = 40;
constexpr int kRuns = 15;

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e9 + t.tv_nsec;
}

template <typename Work>
double nsPerOp(Work work, int n) {
  work(n);
  std::vector<double> runs;
  for (int r = 0; r < kRuns; ++r) {
    const double t0 = now();
    work(n);
    runs.push_back((now() - t0) / n);
  }
  std::sort(runs.begin(), runs.end());
  return runs[kRuns / 2];
}

// Keeps the compiler from dropping a query whose result is unused.
volatile int sink;

bool makeContext() {
  auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getDisplay == nullptr) return false;
  EGLDisplay display = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                               EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_NONE};
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(display, attributes, &config, 1, &count) || count == 0) return false;
  const EGLint size[] = {EGL_WIDTH, kSize, EGL_HEIGHT, kSize, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(display, config, size);
  eglBindAPI(EGL_OPENGL_API);
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  return surface != EGL_NO_SURFACE && context != EGL_NO_CONTEXT &&
         eglMakeCurrent(display, surface, surface, context);
}

}  // namespace

int main() {
  if (!makeContext()) {
    fprintf(stderr, "raw_gl: no EGL pbuffer context\n");
    return 1;
  }
  glViewport(0, 0, kSize, kSize);
  printf("glIsEnabled %.3f ns\n", nsPerOp([](int n) { for (int i = 0; i < n; ++i) sink = glIsEnabled(GL_DEPTH_TEST); }, kCalls));
  printf("glGetError %.3f ns\n", nsPerOp([](int n) { for (int i = 0; i < n; ++i) sink = glGetError(); }, kCalls));
  printf("glVertex3f %.3f ns\n", nsPerOp([](int n) {
           glBegin(GL_POINTS);
           for (int i = 0; i < n; ++i) glVertex3f(-5.f, -5.f, 0.5f);
           glEnd();
         }, kCalls));
  float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  printf("glLoadMatrixf %.3f ns\n", nsPerOp([&](int n) { for (int i = 0; i < n; ++i) glLoadMatrixf(matrix); }, kCalls));
  GLint viewport[4];
  printf("glGetIntegerv %.3f ns\n", nsPerOp([&](int n) {
           for (int i = 0; i < n; ++i) glGetIntegerv(GL_VIEWPORT, viewport);
           sink = viewport[2];
         }, kCalls));
  std::vector<unsigned char> pixels(kBytes);
  const double readNs = nsPerOp([&](int n) {
    for (int i = 0; i < n; ++i) glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  }, kTransfers);
  printf("glReadPixels %.3f MB/s\n", kBytes / readNs * 1e3);
  glBindTexture(GL_TEXTURE_2D, 1);
  const double texNs = nsPerOp([&](int n) {
    for (int i = 0; i < n; ++i)
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  }, kTransfers);
  printf("glTexImage2D %.3f MB/s\n", kBytes / texNs * 1e3);
  return glGetError() == GL_NO_ERROR ? 0 : 1;
}
