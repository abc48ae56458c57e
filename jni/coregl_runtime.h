// What the generated CoreGL and CoreGLU natives share: how many elements GL
// reads or writes (Need), lending one Java array for one GL call (Arg), the
// refusals of null and short arrays, image sizes under the pixel-store
// state, and the vertex arrays, selection and feedback buffers that GL keeps.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <jni.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <type_traits>

namespace pyx::coregl {

// Refusals: throw into Java and make no GL call.
void refuseNull(JNIEnv* env, const char* native, const char* param);
void refuseShort(JNIEnv* env, const char* native, const char* param, int64_t needed, int64_t given);
void refuseUnsized(JNIEnv* env, const char* native, const char* param);
void refuseState(JNIEnv* env, const char* native, const char* what);

// How many elements of one Java array a GL call reads or writes.
class Need {
 public:
  static Need exactly(int64_t elements) { return Need(Kind::elements, elements < 0 ? 0 : elements); }
  // A byte count; negative when the image's format or type has no known size.
  static Need bytes(int64_t bytes) { return bytes < 0 ? Need(Kind::unsized, 0) : Need(Kind::bytes, bytes); }
  // A parameter name the table does not know: GL gets a bounded buffer.
  static Need bounded() { return Need(Kind::bounded, 1); }
  // As many values as an integer state holds (glGet of a variable list).
  static Need queried(GLenum countState) {
    GLint n = 0;
    glGetIntegerv(countState, &n);
    return exactly(n);
  }

  bool unsized() const { return kind_ == Kind::unsized; }
  bool isBounded() const { return kind_ == Kind::bounded; }
  int64_t elements(size_t elementSize) const {
    if (kind_ == Kind::bytes) return (amount_ + static_cast<int64_t>(elementSize) - 1) / static_cast<int64_t>(elementSize);
    return amount_;
  }

 private:
  enum class Kind { elements, bytes, bounded, unsized };
  Need(Kind kind, int64_t amount) : kind_(kind), amount_(amount) {}
  Kind kind_;
  int64_t amount_;
};

// Java array types and their elements.
template <typename A>
struct Elements;
#define PYX_COREGL_ELEMENTS(A, T, Name)                                                                      \
  template <>                                                                                                \
  struct Elements<A> {                                                                                       \
    using Type = T;                                                                                          \
    static void get(JNIEnv* env, A a, jsize n, T* to) { env->Get##Name##ArrayRegion(a, 0, n, to); }          \
    static void set(JNIEnv* env, A a, jsize n, const T* from) { env->Set##Name##ArrayRegion(a, 0, n, from); } \
  };
PYX_COREGL_ELEMENTS(jbooleanArray, jboolean, Boolean)
PYX_COREGL_ELEMENTS(jbyteArray, jbyte, Byte)
PYX_COREGL_ELEMENTS(jshortArray, jshort, Short)
PYX_COREGL_ELEMENTS(jintArray, jint, Int)
PYX_COREGL_ELEMENTS(jfloatArray, jfloat, Float)
PYX_COREGL_ELEMENTS(jdoubleArray, jdouble, Double)
#undef PYX_COREGL_ELEMENTS

struct In {};       // GL reads the elements
struct Out {};      // GL writes them; the call is a query that can be asked again
struct OutOnce {};  // GL writes them; the call must not be repeated

// A bit pattern a stack buffer is filled with, to tell afterwards whether
// the VM (or GL) wrote an element. A Java value may equal it, so a match
// only sends the call down the slow path, never to a wrong answer.
template <typename T>
T marker() {
  T value;
  memset(&value, 0xA5, sizeof value);
  return value;
}
template <typename T>
bool isMarker(const T& value) {
  const T m = marker<T>();
  return memcmp(&value, &m, sizeof value) == 0;
}

// One Java array lent to one GL call. Up to Capacity elements travel
// through a stack buffer; larger arrays are lent in place with
// GetPrimitiveArrayCritical around the GL call alone. A call runs
//   check (every array) -> copyIn (every array) -> lend (every array)
//   -> GL call -> unlend (every array) -> copyOut (every array)
// so that no JNI function runs while an array is held critical, and every
// refusal comes before GL is called.
//
// Each JNI call costs more than a small GL call, so the stack path makes as
// few as it can: an input array is checked by its one region copy (the VM
// refuses a short array and leaves the buffer alone, which the marker in
// its last element shows); a query's output is written back with one
// region copy, asking the query again only when an element still holds the
// marker (GL left it alone, or wrote the marker's value).
template <typename A, typename Direction, int Capacity>
class Arg {
  using T = typename Elements<A>::Type;
  static constexpr bool kReads = std::is_same<Direction, In>::value;
  static constexpr bool kWrites = !kReads;
  static constexpr bool kRepeatable = std::is_same<Direction, Out>::value;

 public:
  Arg(JNIEnv* env, A array) : env_(env), array_(array) {}
  ~Arg() {
    if (lent_ != nullptr) env_->ReleasePrimitiveArrayCritical(array_, lent_, JNI_ABORT);
  }
  Arg(const Arg&) = delete;
  Arg& operator=(const Arg&) = delete;

  // Refuses a null array, or one shorter than GL reads or writes (a small
  // input array's length is checked by copyIn).
  bool check(const Need& need, const char* native, const char* param) {
    native_ = native;
    param_ = param;
    if (array_ == nullptr) {
      refuseNull(env_, native, param);
      return false;
    }
    if (need.isBounded()) {
      const jsize length = env_->GetArrayLength(array_);
      if (length < 1) {
        refuseShort(env_, native, param, 1, length);
        return false;
      }
      // GL may pass more values than the array holds; it gets the whole
      // buffer, the Java array its first elements.
      count_ = length < kBuffer ? length : kBuffer;
      copied_ = true;
      bounded_ = true;
      memset(buffer_, 0, sizeof buffer_);
      return true;
    }
    const int64_t needed = need.elements(sizeof(T));
    copied_ = needed <= Capacity;
    if (!(copied_ && kReads)) {
      const jsize length = env_->GetArrayLength(array_);
      if (needed > length) {
        refuseShort(env_, native, param, needed, length);
        return false;
      }
    }
    count_ = static_cast<jsize>(needed);
    return true;
  }

  bool copyIn() {
    if (!copied_ || count_ == 0) return true;
    if (bounded_ || !std::is_same<Direction, Out>::value) {
      if (kReads && !bounded_) {
        buffer_[count_ - 1] = marker<T>();
        Elements<A>::get(env_, array_, count_, buffer_);
        if (isMarker(buffer_[count_ - 1]) && env_->ExceptionCheck()) {
          env_->ExceptionClear();
          refuseShort(env_, native_, param_, count_, env_->GetArrayLength(array_));
          return false;
        }
        return true;
      }
      // A bounded buffer, or an output GL may leave partly alone: start from
      // the Java array's values.
      Elements<A>::get(env_, array_, count_, buffer_);
      return true;
    }
    for (jsize i = 0; i < count_; ++i) buffer_[i] = marker<T>();
    return true;
  }

  bool lend() {
    if (copied_) return true;
    lent_ = static_cast<T*>(env_->GetPrimitiveArrayCritical(array_, nullptr));
    return lent_ != nullptr;  // null leaves OutOfMemoryError pending
  }

  T* data() { return copied_ ? buffer_ : lent_; }

  void unlend(jint mode) {
    if (lent_ == nullptr) return;
    env_->ReleasePrimitiveArrayCritical(array_, lent_, kWrites ? mode : JNI_ABORT);
    lent_ = nullptr;
  }

  // False when the query must be asked again after again(): an element
  // still holds the marker.
  bool copyOut() {
    if (!kWrites || !copied_ || count_ == 0) return true;
    if (kRepeatable && !bounded_ && !again_) {
      for (jsize i = 0; i < count_; ++i)
        if (isMarker(buffer_[i])) return false;
    }
    Elements<A>::set(env_, array_, count_, buffer_);
    return true;
  }

  // Before asking the query again: start from the Java array's values.
  void again() {
    again_ = true;
    Elements<A>::get(env_, array_, count_, buffer_);
  }

 private:
  static constexpr int kBuffer = Capacity > 0 ? Capacity : 1;
  JNIEnv* env_;
  A array_;
  const char* native_ = "";
  const char* param_ = "";
  jsize count_ = 0;
  bool copied_ = false;
  bool bounded_ = false;
  bool again_ = false;
  T* lent_ = nullptr;
  T buffer_[kBuffer];
};

// Pixel-store state that decides how many bytes an image spans.
struct PixelStore {
  GLint rowLength = 0;
  GLint skipRows = 0;
  GLint skipPixels = 0;
  GLint alignment = 4;
  GLint imageHeight = 0;
  GLint skipImages = 0;
};
PixelStore unpackState();
PixelStore packState();

// Bytes an image of the given size spans, or -1 when format or type has no
// known pixel size. depth 0 is a one- or two-dimensional image.
int64_t imageBytes(const PixelStore& store, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   GLsizei depth = 0);
int64_t bitmapBytes(const PixelStore& store, GLsizei width, GLsizei height);
// Bytes glGetTexImage writes for the level as it is now.
int64_t texImageBytes(GLenum target, GLint level, GLenum format, GLenum type);
int64_t listNameBytes(GLsizei n, GLenum type);
int64_t map1Elements(GLenum target, GLint stride, GLint order);
int64_t map2Elements(GLenum target, GLint ustride, GLint uorder, GLint vstride, GLint vorder);
Need getMapCount(GLenum target, GLenum query);
Need pixelMapCount(GLenum map);
// An image of no pixels, for letting GL judge enums without touching memory.
const GLvoid* emptyImage();

#include "coregl_pnames.inc"

// Vertex arrays that GL keeps. GL is given storage of the binding's own,
// filled from the Java array, and every draw brings the part it reads up to
// date with the Java array first; the Java array is held by a global
// reference meanwhile. Each context has its own.
enum class ArrayKind { vertex, normal, color, index, texcoord, edgeflag, interleaved };

void keepArray(JNIEnv* env, ArrayKind kind, GLint size, GLenum type, GLenum format, GLsizei stride, jarray array,
               size_t elementSize, const char* native, const char* param);
template <typename A>
void keepArray(JNIEnv* env, ArrayKind kind, GLint size, GLenum type, GLenum format, GLsizei stride, A array,
               const char* native, const char* param) {
  keepArray(env, kind, size, type, format, stride, array, sizeof(typename Elements<A>::Type), native, param);
}

// Before glDrawArrays and glArrayElement: checks that every enabled array
// covers the indices first .. first + count - 1 and refreshes them.
bool prepareDraw(JNIEnv* env, const char* native, GLint first, GLsizei count);

// glDrawElements with indices from a Java array.
void drawElements(JNIEnv* env, const char* native, GLenum mode, GLsizei count, GLenum type, jarray indices,
                  size_t elementSize);
template <typename A>
void drawElements(JNIEnv* env, const char* native, jint mode, jint count, jint type, A indices) {
  drawElements(env, native, static_cast<GLenum>(mode), count, static_cast<GLenum>(type), indices,
               sizeof(typename Elements<A>::Type));
}

// After glEnableClientState / glDisableClientState, and glPopClientAttrib.
void clientStateChanged(GLenum cap, bool enabled);
void clientStateRestored();

// Selection and feedback buffers (glSelectBuffer, glFeedbackBuffer) and the
// copy of their records into the Java array when glRenderMode ends the mode.
void keepSelectBuffer(JNIEnv* env, GLsizei size, jintArray buffer);
void keepFeedbackBuffer(JNIEnv* env, GLsizei size, GLenum type, jfloatArray buffer);
GLint renderMode(JNIEnv* env, GLenum mode);

}  // namespace pyx::coregl
