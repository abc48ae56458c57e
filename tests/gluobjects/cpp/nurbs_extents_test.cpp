// The extents the NURBS natives require are enough for what Mesa's GLU
// reads: each array ends right before an inaccessible page, so a read one
// element further faults.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <vector>

#include "glu_nurbs_extents.h"

namespace {

// `count` floats (at least one page's worth of room) whose last element is
// followed by a page that cannot be read.
class GuardedFloats {
 public:
  GuardedFloats(int64_t count, float fill) {
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    size_t bytes = static_cast<size_t>(count) * sizeof(float);
    size_t dataPages = (bytes + page - 1) / page + 1;
    size_ = (dataPages + 1) * page;
    base_ = static_cast<char*>(mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(base_ + dataPages * page, page, PROT_NONE);
    data_ = reinterpret_cast<float*>(base_ + dataPages * page - bytes);
    for (int64_t i = 0; i < count; i++) data_[i] = fill;
  }
  ~GuardedFloats() { munmap(base_, size_); }
  float* get() { return data_; }

 private:
  char* base_;
  size_t size_;
  float* data_;
};

std::vector<float> clampedKnots(int knotCount, int order) {
  std::vector<float> k(knotCount);
  for (int i = 0; i < knotCount; i++) {
    if (i < order) k[i] = 0;
    else if (i >= knotCount - order) k[i] = 1;
    else k[i] = static_cast<float>(i - order + 1) / (knotCount - 2 * order + 1);
  }
  return k;
}

struct SurfaceCase {
  int sKnots, tKnots, sStride, tStride, sOrder, tOrder;
  GLenum type;
};

class Renderer : public testing::Test {
 protected:
  void SetUp() override {
    nurbs_ = gluNewNurbsRenderer();
    // No context here: sampling uses these matrices, not GL's.
    gluNurbsProperty(nurbs_, GLU_AUTO_LOAD_MATRIX, GL_FALSE);
    GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    GLint viewport[4] = {0, 0, 16, 16};
    gluLoadSamplingMatrices(nurbs_, identity, identity, viewport);
  }
  void TearDown() override { gluDeleteNurbsRenderer(nurbs_); }
  GLUnurbs* nurbs_ = nullptr;
};

TEST_F(Renderer, SurfaceControlPointsEndWhereGluStopsReading) {
  const SurfaceCase cases[] = {
      {8, 8, 12, 3, 4, 4, GL_MAP2_VERTEX_3},   {8, 8, 16, 4, 4, 4, GL_MAP2_VERTEX_4},
      {8, 8, 8, 2, 4, 4, GL_MAP2_TEXTURE_COORD_2}, {8, 8, 4, 1, 4, 4, GL_MAP2_INDEX},
      {8, 8, 20, 5, 4, 4, GL_MAP2_VERTEX_3},   {8, 8, 3, 12, 4, 4, GL_MAP2_VERTEX_3},
      {10, 6, 9, 3, 3, 2, GL_MAP2_NORMAL},     {12, 8, 4, 32, 4, 4, GL_MAP2_COLOR_4},
      {8, 8, 0, 0, 4, 4, GL_MAP2_VERTEX_3},
  };
  for (const SurfaceCase& c : cases) {
    int64_t needed = pyx::nurbs::surfaceControlExtent(c.sKnots, c.tKnots, c.sStride, c.tStride, c.sOrder,
                                                      c.tOrder, c.type);
    SCOPED_TRACE(needed);
    ASSERT_GT(needed, 0);
    std::vector<float> s = clampedKnots(c.sKnots, c.sOrder), t = clampedKnots(c.tKnots, c.tOrder);
    GuardedFloats sKnots(c.sKnots, 0), tKnots(c.tKnots, 0), control(needed, 0.5f);
    std::copy(s.begin(), s.end(), sKnots.get());
    std::copy(t.begin(), t.end(), tKnots.get());
    gluBeginSurface(nurbs_);
    gluNurbsSurface(nurbs_, c.sKnots, sKnots.get(), c.tKnots, tKnots.get(), c.sStride, c.tStride, control.get(),
                    c.sOrder, c.tOrder, c.type);
    gluEndSurface(nurbs_);
  }
}

TEST_F(Renderer, CurveAndTrimPointsEndWhereGluStopsReading) {
  // A trimmed surface: one curve of every trimming kind around its domain.
  GLfloat knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
  GLfloat control[48];
  for (int i = 0; i < 16; i++) {
    control[3 * i] = static_cast<float>(i % 4);
    control[3 * i + 1] = static_cast<float>(i / 4);
    control[3 * i + 2] = 0;
  }
  gluBeginSurface(nurbs_);
  gluNurbsSurface(nurbs_, 8, knots, 8, knots, 12, 3, control, 4, 4, GL_MAP2_VERTEX_3);
  gluBeginTrim(nurbs_);
  {
    int64_t needed = pyx::nurbs::pwlCurveExtent(5, 2, GLU_MAP1_TRIM_2);
    GuardedFloats edge(needed, 0);
    const float square[10] = {0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
    std::copy(square, square + 10, edge.get());
    gluPwlCurve(nurbs_, 5, edge.get(), 2, GLU_MAP1_TRIM_2);
  }
  gluEndTrim(nurbs_);
  gluBeginTrim(nurbs_);
  {
    int64_t needed = pyx::nurbs::curveControlExtent(4, 3, 2, GLU_MAP1_TRIM_3);
    GuardedFloats line(needed, 1);
    const float points[6] = {0.25f, 0.25f, 1, 0.5f, 0.75f, 1};  // clockwise: a hole
    std::copy(points, points + 6, line.get());
    GLfloat lineKnots[4] = {0, 0, 1, 1};
    gluNurbsCurve(nurbs_, 4, lineKnots, 3, line.get(), 2, GLU_MAP1_TRIM_3);
    int64_t pwlNeeded = pyx::nurbs::pwlCurveExtent(3, 3, GLU_MAP1_TRIM_3);
    GuardedFloats back(pwlNeeded, 1);
    const float rest[9] = {0.5f, 0.75f, 1, 0.75f, 0.25f, 1, 0.25f, 0.25f, 1};
    std::copy(rest, rest + 9, back.get());
    gluPwlCurve(nurbs_, 3, back.get(), 3, GLU_MAP1_TRIM_3);
  }
  gluEndTrim(nurbs_);
  gluEndSurface(nurbs_);

  gluBeginCurve(nurbs_);
  int64_t needed = pyx::nurbs::curveControlExtent(8, 5, 4, GL_MAP1_COLOR_4);
  GuardedFloats colors(needed, 0.5f);
  gluNurbsCurve(nurbs_, 8, knots, 5, colors.get(), 4, GL_MAP1_COLOR_4);
  needed = pyx::nurbs::curveControlExtent(8, 3, 4, GL_MAP1_VERTEX_3);
  GuardedFloats points(needed, 0.5f);
  gluNurbsCurve(nurbs_, 8, knots, 3, points.get(), 4, GL_MAP1_VERTEX_3);
  gluEndCurve(nurbs_);
}

TEST(Extents, NothingIsRequiredWhereGluReadsNoControlPoint) {
  EXPECT_EQ(pyx::nurbs::surfaceControlExtent(8, 8, 12, 3, 4, 4, 0x1234), 0);
  EXPECT_EQ(pyx::nurbs::surfaceControlExtent(8, 8, -12, 3, 4, 4, GL_MAP2_VERTEX_3), 0);
  EXPECT_EQ(pyx::nurbs::surfaceControlExtent(8, 8, 12, 3, 0, 4, GL_MAP2_VERTEX_3), 0);
  EXPECT_EQ(pyx::nurbs::surfaceControlExtent(4, 8, 12, 3, 4, 4, GL_MAP2_VERTEX_3), 0);
  EXPECT_EQ(pyx::nurbs::curveControlExtent(8, 3, 4, GL_MAP2_VERTEX_3), 12);  // GLU takes either kind
  EXPECT_EQ(pyx::nurbs::pwlCurveExtent(5, 2, GL_MAP1_VERTEX_3), 0);
  EXPECT_EQ(pyx::nurbs::pwlCurveExtent(5, 2, pyx::nurbs::kTrim2Internal), 10);
  // The largest counts and strides stay in range.
  EXPECT_EQ(pyx::nurbs::surfaceControlExtent(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1, 1, GL_MAP2_VERTEX_4),
            2 * (int64_t{INT32_MAX} - 2) * INT32_MAX + 4);
}

}  // namespace
