// Refusals and extents of the CoreGL and CoreGLU natives.
#include "coregl_runtime.h"

#include <math.h>
#include <stdio.h>

#ifndef GL_BGR
#define GL_BGR 0x80E0
#define GL_BGRA 0x80E1
#endif

namespace pyx::coregl {

namespace {

void throwNew(JNIEnv* env, const char* className, const char* message) {
  jclass cls = env->FindClass(className);
  if (cls == nullptr) return;  // NoClassDefFoundError is pending instead
  env->ThrowNew(cls, message);
  env->DeleteLocalRef(cls);
}

// Sizes are worked out wide enough that no product of GL's int arguments
// overflows (exactly, as long as the result fits 64 bits), then clamped.
using Wide = long double;

int64_t clampBytes(Wide bytes) {
  const Wide limit = static_cast<Wide>(INT64_MAX / 2);
  return bytes > limit ? INT64_MAX / 2 : static_cast<int64_t>(bytes);
}

// x rounded up to a multiple of the power of two a.
Wide roundUp(Wide x, Wide a) { return ceill(x / a) * a; }

// Values per pixel of a pixel-transfer format; 0 when unknown.
int formatComponents(GLenum format) {
  switch (format) {
    case GL_COLOR_INDEX:
    case GL_STENCIL_INDEX:
    case GL_DEPTH_COMPONENT:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
    case GL_ALPHA:
    case GL_LUMINANCE:
    case 0x84F9:  // GL_DEPTH_STENCIL (one packed value)
    case 0x8D94:  // GL_RED_INTEGER
    case 0x8D95:  // GL_GREEN_INTEGER
    case 0x8D96:  // GL_BLUE_INTEGER
    case 0x8D97:  // GL_ALPHA_INTEGER
    case 0x8D9C:  // GL_LUMINANCE_INTEGER_EXT
      return 1;
    case GL_LUMINANCE_ALPHA:
    case 0x8227:  // GL_RG
    case 0x8228:  // GL_RG_INTEGER
    case 0x8D9D:  // GL_LUMINANCE_ALPHA_INTEGER_EXT
      return 2;
    case GL_RGB:
    case GL_BGR:
    case 0x8D98:  // GL_RGB_INTEGER
    case 0x8D9A:  // GL_BGR_INTEGER
      return 3;
    case GL_RGBA:
    case GL_BGRA:
    case 0x8000:  // GL_ABGR_EXT
    case 0x8D99:  // GL_RGBA_INTEGER
    case 0x8D9B:  // GL_BGRA_INTEGER
      return 4;
    default:
      return 0;
  }
}

struct PixelType {
  int bytes;    // bytes of one element; 0 when unknown
  bool packed;  // one element holds the whole pixel
};

PixelType pixelType(GLenum type) {
  switch (type) {
    case GL_UNSIGNED_BYTE:
    case GL_BYTE:
      return {1, false};
    case GL_UNSIGNED_SHORT:
    case GL_SHORT:
    case 0x140B:  // GL_HALF_FLOAT
      return {2, false};
    case GL_UNSIGNED_INT:
    case GL_INT:
    case GL_FLOAT:
      return {4, false};
    case 0x8032:  // GL_UNSIGNED_BYTE_3_3_2
    case 0x8362:  // GL_UNSIGNED_BYTE_2_3_3_REV
      return {1, true};
    case 0x8363:  // GL_UNSIGNED_SHORT_5_6_5
    case 0x8364:  // GL_UNSIGNED_SHORT_5_6_5_REV
    case 0x8033:  // GL_UNSIGNED_SHORT_4_4_4_4
    case 0x8365:  // GL_UNSIGNED_SHORT_4_4_4_4_REV
    case 0x8034:  // GL_UNSIGNED_SHORT_5_5_5_1
    case 0x8366:  // GL_UNSIGNED_SHORT_1_5_5_5_REV
    case 0x85BA:  // GL_UNSIGNED_SHORT_8_8_MESA
    case 0x85BB:  // GL_UNSIGNED_SHORT_8_8_REV_MESA
      return {2, true};
    case 0x8035:  // GL_UNSIGNED_INT_8_8_8_8
    case 0x8367:  // GL_UNSIGNED_INT_8_8_8_8_REV
    case 0x8036:  // GL_UNSIGNED_INT_10_10_10_2
    case 0x8368:  // GL_UNSIGNED_INT_2_10_10_10_REV
    case 0x84FA:  // GL_UNSIGNED_INT_24_8
    case 0x8C3B:  // GL_UNSIGNED_INT_10F_11F_11F_REV
    case 0x8C3E:  // GL_UNSIGNED_INT_5_9_9_9_REV
      return {4, true};
    case 0x8DAD:  // GL_FLOAT_32_UNSIGNED_INT_24_8_REV
      return {8, true};
    default:
      return {0, false};
  }
}

// Bytes from the first byte GL touches to one past the last, for rows of
// rowBytes each, skipping skipRows rows and skipBytes bytes into the first.
Wide spanBytes(Wide rowBytes, GLint skipRows, Wide skipBytes, GLsizei height, Wide lastRowBytes) {
  return static_cast<Wide>(skipRows) * rowBytes + skipBytes + static_cast<Wide>(height - 1) * rowBytes +
         lastRowBytes;
}

GLint positive(GLint v) { return v > 0 ? v : 0; }

PixelStore readStore(GLenum rowLength, GLenum skipRows, GLenum skipPixels, GLenum alignment, GLenum imageHeight,
                     GLenum skipImages) {
  PixelStore s;
  glGetIntegerv(rowLength, &s.rowLength);
  glGetIntegerv(skipRows, &s.skipRows);
  glGetIntegerv(skipPixels, &s.skipPixels);
  glGetIntegerv(alignment, &s.alignment);
  glGetIntegerv(imageHeight, &s.imageHeight);
  glGetIntegerv(skipImages, &s.skipImages);
  s.rowLength = positive(s.rowLength);
  s.skipRows = positive(s.skipRows);
  s.skipPixels = positive(s.skipPixels);
  s.imageHeight = positive(s.imageHeight);
  s.skipImages = positive(s.skipImages);
  if (s.alignment < 1) s.alignment = 1;
  return s;
}

// Dimension of an evaluator map target's control points; 4 (the most any
// target has) for targets this table does not know.
int mapDimension(GLenum target) {
  switch (target) {
    case GL_MAP1_INDEX:
    case GL_MAP2_INDEX:
    case GL_MAP1_TEXTURE_COORD_1:
    case GL_MAP2_TEXTURE_COORD_1:
      return 1;
    case GL_MAP1_TEXTURE_COORD_2:
    case GL_MAP2_TEXTURE_COORD_2:
      return 2;
    case GL_MAP1_VERTEX_3:
    case GL_MAP2_VERTEX_3:
    case GL_MAP1_NORMAL:
    case GL_MAP2_NORMAL:
    case GL_MAP1_TEXTURE_COORD_3:
    case GL_MAP2_TEXTURE_COORD_3:
      return 3;
    default:
      return 4;
  }
}

bool isMap1(GLenum target) { return target >= GL_MAP1_COLOR_4 && target <= GL_MAP1_VERTEX_4; }
bool isMap2(GLenum target) { return target >= GL_MAP2_COLOR_4 && target <= GL_MAP2_VERTEX_4; }

const unsigned char kEmptyImage[16] = {};

}  // namespace

void refuseNull(JNIEnv* env, const char* native, const char* param) {
  char message[200];
  snprintf(message, sizeof message, "%s: %s is null", native, param);
  throwNew(env, "java/lang/NullPointerException", message);
}

void refuseShort(JNIEnv* env, const char* native, const char* param, int64_t needed, int64_t given) {
  char message[240];
  snprintf(message, sizeof message, "%s: %s needs %lld elements but has %lld", native, param,
           static_cast<long long>(needed), static_cast<long long>(given));
  throwNew(env, "java/lang/ArrayIndexOutOfBoundsException", message);
}

void refuseUnsized(JNIEnv* env, const char* native, const char* param) {
  char message[240];
  snprintf(message, sizeof message, "%s: %s has a format or type whose pixel size is unknown", native, param);
  throwNew(env, "java/lang/IllegalArgumentException", message);
}

void refuseState(JNIEnv* env, const char* native, const char* what) {
  char message[240];
  snprintf(message, sizeof message, "%s: %s", native, what);
  throwNew(env, "java/lang/IllegalStateException", message);
}

PixelStore unpackState() {
  return readStore(GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS, GL_UNPACK_ALIGNMENT,
                   0x806E /* GL_UNPACK_IMAGE_HEIGHT */, 0x806D /* GL_UNPACK_SKIP_IMAGES */);
}

PixelStore packState() {
  return readStore(GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS, GL_PACK_SKIP_PIXELS, GL_PACK_ALIGNMENT,
                   0x806C /* GL_PACK_IMAGE_HEIGHT */, 0x806B /* GL_PACK_SKIP_IMAGES */);
}

int64_t imageBytes(const PixelStore& store, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   GLsizei depth) {
  const int components = formatComponents(format);
  if (type == GL_BITMAP) {
    if (components == 0) return -1;
    return bitmapBytes(store, width * components > 0 ? width : 0, height);
  }
  const PixelType t = pixelType(type);
  if (components == 0 || t.bytes == 0) return -1;
  if (width <= 0 || height <= 0 || depth < 0) return 0;
  const Wide pixelBytes = static_cast<Wide>(t.bytes) * (t.packed ? 1 : components);
  const Wide rowPixels = store.rowLength > 0 ? store.rowLength : width;
  const Wide a = store.alignment;
  Wide rowBytes = rowPixels * pixelBytes;
  if (t.bytes < a) rowBytes = roundUp(rowBytes, a);
  Wide bytes = spanBytes(rowBytes, store.skipRows, store.skipPixels * pixelBytes, height, width * pixelBytes);
  if (depth > 0) {
    const Wide imageRows = store.imageHeight > 0 ? store.imageHeight : height;
    bytes += static_cast<Wide>(store.skipImages + depth - 1) * imageRows * rowBytes;
  }
  return clampBytes(bytes);
}

int64_t bitmapBytes(const PixelStore& store, GLsizei width, GLsizei height) {
  if (width <= 0 || height <= 0) return 0;
  const Wide rowBits = store.rowLength > 0 ? store.rowLength : width;
  const Wide a = store.alignment;
  const Wide rowBytes = roundUp(rowBits, 8 * a) / 8;
  const Wide lastRow = roundUp(static_cast<Wide>(store.skipPixels) + width, 8) / 8;
  return clampBytes(spanBytes(rowBytes, store.skipRows, 0, height, lastRow));
}

int64_t texImageBytes(GLenum target, GLint level, GLenum format, GLenum type) {
  GLint width = 0, height = 0, depth = 0;
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_HEIGHT, &height);
  if (target == 0x806F /* GL_TEXTURE_3D */ || target == 0x8C1A /* GL_TEXTURE_2D_ARRAY */ ||
      target == 0x9009 /* GL_TEXTURE_CUBE_MAP_ARRAY */) {
    glGetTexLevelParameteriv(target, level, 0x8071 /* GL_TEXTURE_DEPTH */, &depth);
    if (depth <= 0) return formatComponents(format) == 0 || pixelType(type).bytes == 0 ? -1 : 0;
  }
  return imageBytes(packState(), width, height, format, type, depth);
}

int64_t listNameBytes(GLsizei n, GLenum type) {
  if (n <= 0) return 0;
  int bytes;
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      bytes = 1;
      break;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_2_BYTES:
      bytes = 2;
      break;
    case GL_3_BYTES:
      bytes = 3;
      break;
    default:  // GL_INT, GL_UNSIGNED_INT, GL_FLOAT, GL_4_BYTES, and the most for any other
      bytes = 4;
      break;
  }
  return static_cast<int64_t>(n) * bytes;
}

int64_t map1Elements(GLenum target, GLint stride, GLint order) {
  if (order < 1) return 0;
  const int dimension = mapDimension(target);
  const int64_t step = stride > dimension ? stride : dimension;
  return (static_cast<int64_t>(order) - 1) * step + dimension;
}

int64_t map2Elements(GLenum target, GLint ustride, GLint uorder, GLint vstride, GLint vorder) {
  if (uorder < 1 || vorder < 1) return 0;
  const int dimension = mapDimension(target);
  const int64_t us = ustride > dimension ? ustride : dimension;
  const int64_t vs = vstride > dimension ? vstride : dimension;
  return (static_cast<int64_t>(uorder) - 1) * us + (static_cast<int64_t>(vorder) - 1) * vs + dimension;
}

Need getMapCount(GLenum target, GLenum query) {
  const bool one = isMap1(target), two = isMap2(target);
  if (!one && !two) return Need::bounded();
  switch (query) {
    case GL_ORDER:
      return Need::exactly(one ? 1 : 2);
    case GL_DOMAIN:
      return Need::exactly(one ? 2 : 4);
    case GL_COEFF: {
      GLint order[2] = {0, 0};
      glGetMapiv(target, GL_ORDER, order);
      const int64_t points = one ? order[0] : static_cast<int64_t>(order[0]) * order[1];
      return Need::exactly(points * mapDimension(target));
    }
    default:
      return Need::bounded();
  }
}

Need pixelMapCount(GLenum map) {
  if (map < GL_PIXEL_MAP_I_TO_I || map > GL_PIXEL_MAP_A_TO_A) return Need::bounded();
  GLint size = 0;
  glGetIntegerv(map - GL_PIXEL_MAP_I_TO_I + GL_PIXEL_MAP_I_TO_I_SIZE, &size);
  return Need::exactly(size);
}

const GLvoid* emptyImage() { return kEmptyImage; }

}  // namespace pyx::coregl
