// How many floats GLU's NURBS calls read from their arrays, given the counts,
// orders, strides and map type, so a binding can refuse a short array before
// GLU reads past it. Free of any VM interface; both bindings can share it.
//
// GLU copies knots and control points during the call itself. It reads
// every knot (knotCount floats) and, for a map type it knows, the
// (knotCount - order) control points of each direction, each with as many
// floats as the type has coordinates, stride floats apart. Where GLU refuses
// the call before reading control points (an unknown type, an order below 1,
// a negative stride, no control point at all) no control point is required.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <stdint.h>

namespace pyx::nurbs {

// GLU's own codes for the trimming types, which it also accepts as given.
constexpr GLenum kTrim2Internal = 0x8;
constexpr GLenum kTrim3Internal = 0xd;

// Floats per control point that GLU reads for a map type; 0 for a type GLU
// refuses without reading.
inline int coordinatesOf(GLenum type) {
  switch (type) {
    case GL_MAP1_INDEX:
    case GL_MAP2_INDEX:
    case GL_MAP1_TEXTURE_COORD_1:
    case GL_MAP2_TEXTURE_COORD_1:
      return 1;
    case GL_MAP1_TEXTURE_COORD_2:
    case GL_MAP2_TEXTURE_COORD_2:
    case GLU_MAP1_TRIM_2:
    case kTrim2Internal:
      return 2;
    case GL_MAP1_TEXTURE_COORD_3:
    case GL_MAP2_TEXTURE_COORD_3:
    case GL_MAP1_NORMAL:
    case GL_MAP2_NORMAL:
    case GL_MAP1_VERTEX_3:
    case GL_MAP2_VERTEX_3:
    case GLU_MAP1_TRIM_3:
    case kTrim3Internal:
      return 3;
    case GL_MAP1_TEXTURE_COORD_4:
    case GL_MAP2_TEXTURE_COORD_4:
    case GL_MAP1_VERTEX_4:
    case GL_MAP2_VERTEX_4:
    case GL_MAP1_COLOR_4:
    case GL_MAP2_COLOR_4:
      return 4;
    default:
      return 0;
  }
}

// Piecewise-linear curves take the trimming types only.
inline int trimCoordinatesOf(GLenum type) {
  switch (type) {
    case GLU_MAP1_TRIM_2:
    case kTrim2Internal:
      return 2;
    case GLU_MAP1_TRIM_3:
    case kTrim3Internal:
      return 3;
    default:
      return 0;
  }
}

// Floats spanned by `count` points `stride` floats apart, `coordinates`
// floats each.
inline int64_t spanOf(int64_t count, int64_t stride, int coordinates) {
  if (count <= 0 || coordinates == 0) return 0;
  return (count - 1) * stride + coordinates;
}

inline int64_t curveControlExtent(int32_t knotCount, int32_t stride, int32_t order, GLenum type) {
  if (order < 1 || stride < 0) return 0;
  return spanOf(int64_t{knotCount} - order, stride, coordinatesOf(type));
}

inline int64_t surfaceControlExtent(int32_t sKnotCount, int32_t tKnotCount, int32_t sStride, int32_t tStride,
                                    int32_t sOrder, int32_t tOrder, GLenum type) {
  int coordinates = coordinatesOf(type);
  int64_t sPoints = int64_t{sKnotCount} - sOrder;
  int64_t tPoints = int64_t{tKnotCount} - tOrder;
  if (coordinates == 0 || sOrder < 1 || tOrder < 1 || sStride < 0 || tStride < 0 || sPoints <= 0 ||
      tPoints <= 0) {
    return 0;
  }
  return (sPoints - 1) * sStride + (tPoints - 1) * tStride + coordinates;
}

inline int64_t pwlCurveExtent(int32_t count, int32_t stride, GLenum type) {
  if (stride < 0) return 0;
  return spanOf(count, stride, trimCoordinatesOf(type));
}

}  // namespace pyx::nurbs
