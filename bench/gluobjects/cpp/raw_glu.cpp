// The limit for the GLU-object figures: Mesa's GLU driven straight from C,
// with the same polygon, the same five tessellator callbacks and the same
// sphere as the Java contenders, in a context made through the same
// platform layer the pyxolin natives use. Prints "<figure> <value> <unit>".
#include <GL/gl.h>
#include <GL/glu.h>
#include <math.h>
#include <stdio.h>
#include <time.h>

#include <algorithm>
#include <vector>

#include "pyxwin/control.h"

namespace {

const int kRuns = 15;
const int kPolygons = 2000;
const int kSpheres = 200;

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Operations per second: the best of kRuns runs of `n` operations (other
// work on the machine only ever slows a run down).
template <typename Work>
double perSecond(int n, Work work) {
  work(n);
  std::vector<double> rates;
  for (int r = 0; r < kRuns; r++) {
    double t0 = now();
    work(n);
    rates.push_back(n / (now() - t0));
  }
  std::sort(rates.begin(), rates.end());
  return rates[kRuns - 1];
}

// A 50-point star (100 vertices) with a square hole; each vertex carries
// its x, y, z as its data, as the Java contenders hand in.
std::vector<std::vector<double>> star, hole;
void makePolygon() {
  for (int i = 0; i < 100; i++) {
    double r = i % 2 == 0 ? 10 : 5;
    star.push_back({r * cos(M_PI * i / 50), r * sin(M_PI * i / 50), 0});
  }
  hole = {{-2, -2, 0}, {-2, 2, 0}, {2, 2, 0}, {2, -2, 0}};
}

// What the callbacks see, kept so nothing is optimized away.
long vertices, others;
float sum;
void GLAPIENTRY onBegin(GLenum) { others++; }
void GLAPIENTRY onVertex(void* data) {
  vertices++;
  sum += static_cast<float>(static_cast<double*>(data)[0]);
}
void GLAPIENTRY onEnd() { others++; }
void GLAPIENTRY onError(GLenum) { others++; }
void GLAPIENTRY onEdgeFlag(GLboolean) { others++; }

void tessellate(GLUtesselator* tess) {
  gluBeginPolygon(tess);
  for (auto& v : star) gluTessVertex(tess, v.data(), v.data());
  gluNextContour(tess, GLU_INTERIOR);
  for (auto& v : hole) gluTessVertex(tess, v.data(), v.data());
  gluEndPolygon(tess);
}

}  // namespace

int main() {
  makePolygon();
  GLUtesselator* tess = gluNewTess();
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(onBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(onVertex));
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(onEnd));
  gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(onError));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(onEdgeFlag));
  double polygons = perSecond(kPolygons, [&](int n) {
    for (int i = 0; i < n; i++) tessellate(tess);
  });
  printf("tessellation %.1f polygons/s\n", polygons);
  fprintf(stderr, "raw C: %ld vertices, %ld other callbacks (%g)\n", vertices, others, sum);
  gluDeleteTess(tess);

  HWND hwnd = pyxwinCreateWindow(64, 64);
  HDC hdc = GetDC(hwnd);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER;
  pfd.cColorBits = 24;
  pfd.cDepthBits = 16;
  SetPixelFormat(hdc, ChoosePixelFormat(hdc, &pfd), &pfd);
  HGLRC glrc = wglCreateContext(hdc);
  if (glrc == 0 || !wglMakeCurrent(hdc, glrc)) {
    fprintf(stderr, "raw C: no context\n");
    return 1;
  }
  // Outside the view volume: the figure is GLU's and GL's vertex work,
  // not llvmpipe's rasterizing.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(5, 0, 0);
  GLUquadric* quadric = gluNewQuadric();
  double spheres = perSecond(kSpheres, [&](int n) {
    for (int i = 0; i < n; i++) gluSphere(quadric, 1, 64, 64);
    glFinish();
  });
  printf("sphere %.1f spheres/s\n", spheres);
  gluDeleteQuadric(quadric);
  wglMakeCurrent(0, 0);
  wglDeleteContext(glrc);
  pyxwinDestroyWindow(hwnd);
  return 0;
}
