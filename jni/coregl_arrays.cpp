// Vertex arrays, selection and feedback buffers that GL keeps beyond the
// native that hands them over.
//
// A VM may lend a copy of a Java array that is freed at release (HotSpot
// always does), and even an array lent in place moves once it is released.
// So GL is never given the Java array itself: each kept array gets storage
// of its own, which GL keeps, and the Java array is held by a global
// reference beside it.
//  - Vertex arrays: every draw first checks that each enabled array covers
//    the indices drawn, then copies that part of the Java array's current
//    contents into the storage, so a change made in Java after the pointer
//    call is drawn.
//  - Selection and feedback: when glRenderMode ends the mode, the records GL
//    wrote into the storage are copied into the Java array.
// Storage is freed only when GL can no longer refer to it: when replaced,
// and, for vertex arrays, once no client-attribute stack entry can bring it
// back. The state belongs to the context current on the calling thread.
#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "coregl_context.h"
#include "coregl_runtime.h"
#include "pyxwin/windows.h"

#ifndef GL_FOG_COORD_ARRAY
#define GL_FOG_COORD_ARRAY 0x8457
#endif
#ifndef GL_SECONDARY_COLOR_ARRAY
#define GL_SECONDARY_COLOR_ARRAY 0x845E
#endif

namespace pyx::coregl {

namespace {

// A query that GL refuses (inside glBegin/glEnd) leaves this in place.
constexpr GLint kUnanswered = -0x7EADBEEF;

struct KeptArray {
  jobject array = nullptr;  // global reference
  std::unique_ptr<unsigned char[]> storage;
  size_t bytes = 0;
  size_t elementSize = 1;
};

enum Slot { kVertex, kNormal, kColor, kIndex, kTexCoord, kEdgeFlag, kSlots };

struct SlotQueries {
  GLenum cap, pointer, size, type, stride;
  GLint fixedSize;  // when the array has no size parameter
  const char* label;
};
const SlotQueries kQueries[kSlots] = {
    {GL_VERTEX_ARRAY, GL_VERTEX_ARRAY_POINTER, GL_VERTEX_ARRAY_SIZE, GL_VERTEX_ARRAY_TYPE, GL_VERTEX_ARRAY_STRIDE, 0,
     "vertex array"},
    {GL_NORMAL_ARRAY, GL_NORMAL_ARRAY_POINTER, 0, GL_NORMAL_ARRAY_TYPE, GL_NORMAL_ARRAY_STRIDE, 3, "normal array"},
    {GL_COLOR_ARRAY, GL_COLOR_ARRAY_POINTER, GL_COLOR_ARRAY_SIZE, GL_COLOR_ARRAY_TYPE, GL_COLOR_ARRAY_STRIDE, 0,
     "color array"},
    {GL_INDEX_ARRAY, GL_INDEX_ARRAY_POINTER, 0, GL_INDEX_ARRAY_TYPE, GL_INDEX_ARRAY_STRIDE, 1, "index array"},
    {GL_TEXTURE_COORD_ARRAY, GL_TEXTURE_COORD_ARRAY_POINTER, GL_TEXTURE_COORD_ARRAY_SIZE, GL_TEXTURE_COORD_ARRAY_TYPE,
     GL_TEXTURE_COORD_ARRAY_STRIDE, 0, "texture coordinate array"},
    {GL_EDGE_FLAG_ARRAY, GL_EDGE_FLAG_ARRAY_POINTER, 0, 0, GL_EDGE_FLAG_ARRAY_STRIDE, 1, "edge flag array"},
};

// Arrays GL can be told to enable but that no CoreGL native can give.
const GLenum kUngivenCaps[] = {GL_FOG_COORD_ARRAY, GL_SECONDARY_COLOR_ARRAY};
const char* const kUngivenLabels[] = {"the fog coordinate array is enabled, and CoreGL cannot give one",
                                      "the secondary color array is enabled, and CoreGL cannot give one"};
constexpr int kUngiven = 2;

// What GL reads from one vertex array, as last set or restored.
struct Binding {
  KeptArray* array = nullptr;  // null: no Java array (never given, or not ours)
  size_t offset = 0;
  GLint size = 0;
  GLenum type = 0;
  GLsizei stride = 0;
  bool enabled = false;
};

struct Records {
  KeptArray* kept = nullptr;
  GLsizei size = 0;
};

struct ClientState {
  Binding bindings[kSlots];
  bool ungivenEnabled[kUngiven] = {};
  bool ungivenTouched[kUngiven] = {};
  // The bindings may differ from GL's (a pop that could not be followed):
  // draws refresh them from GL first, and refuse when GL cannot be asked.
  bool stale = false;
  std::vector<std::unique_ptr<KeptArray>> arrays;
  std::unique_ptr<KeptArray> select;
  std::unique_ptr<KeptArray> feedback;
};

std::mutex statesMutex;
std::unordered_map<HGLRC, std::unique_ptr<ClientState>> states;
std::atomic<unsigned> statesGeneration{1};

struct CachedState {
  HGLRC context = 0;
  unsigned generation = 0;
  ClientState* state = nullptr;
};
thread_local CachedState cached;

ClientState* currentState(bool create) {
  const HGLRC context = wglGetCurrentContext();
  if (context == 0) return nullptr;
  const unsigned generation = statesGeneration.load(std::memory_order_acquire);
  if (cached.context == context && cached.generation == generation && cached.state != nullptr) return cached.state;
  std::lock_guard<std::mutex> guard(statesMutex);
  auto it = states.find(context);
  ClientState* state = nullptr;
  if (it != states.end()) {
    state = it->second.get();
  } else if (create) {
    state = (states[context] = std::make_unique<ClientState>()).get();
  }
  if (state != nullptr) cached = {context, generation, state};
  return state;
}

void drop(JNIEnv* env, std::unique_ptr<KeptArray>& kept) {
  if (kept && kept->array != nullptr) env->DeleteGlobalRef(kept->array);
  kept.reset();
}

// New storage holding the Java array's current contents, with the array
// held; null (with Java's exception pending) when the VM refuses.
std::unique_ptr<KeptArray> keep(JNIEnv* env, jarray array, size_t elementSize) {
  auto kept = std::make_unique<KeptArray>();
  kept->elementSize = elementSize;
  kept->bytes = static_cast<size_t>(env->GetArrayLength(array)) * elementSize;
  kept->storage.reset(new (std::nothrow) unsigned char[kept->bytes > 0 ? kept->bytes : 1]);
  if (!kept->storage) {
    jclass oom = env->FindClass("java/lang/OutOfMemoryError");
    if (oom != nullptr) env->ThrowNew(oom, "no storage for an array GL keeps");
    return nullptr;
  }
  if (kept->bytes > 0) {
    void* elements = env->GetPrimitiveArrayCritical(array, nullptr);
    if (elements == nullptr) return nullptr;
    memcpy(kept->storage.get(), elements, kept->bytes);
    env->ReleasePrimitiveArrayCritical(array, elements, JNI_ABORT);
  }
  kept->array = env->NewGlobalRef(array);
  if (kept->array == nullptr) return nullptr;
  return kept;
}

// Copies bytes [from, to) of the Java array into the storage.
bool refresh(JNIEnv* env, KeptArray& kept, size_t from, size_t to) {
  if (to <= from) return true;
  void* elements = env->GetPrimitiveArrayCritical(static_cast<jarray>(kept.array), nullptr);
  if (elements == nullptr) return false;
  memcpy(kept.storage.get() + from, static_cast<unsigned char*>(elements) + from, to - from);
  env->ReleasePrimitiveArrayCritical(static_cast<jarray>(kept.array), elements, JNI_ABORT);
  return true;
}

GLint query(GLenum pname) {
  GLint value = kUnanswered;
  glGetIntegerv(pname, &value);
  return value;
}

// Reads the bindings back from GL (after glPopClientAttrib or
// glInterleavedArrays). False, leaving the state stale, when GL cannot be
// asked (inside glBegin/glEnd).
bool readBack(ClientState& state) {
  if (query(GL_CLIENT_ATTRIB_STACK_DEPTH) == kUnanswered) {
    state.stale = true;
    return false;
  }
  for (int s = 0; s < kSlots; ++s) {
    const SlotQueries& q = kQueries[s];
    Binding& b = state.bindings[s];
    b.enabled = query(q.cap) > 0;
    GLvoid* pointer = nullptr;
    glGetPointerv(q.pointer, &pointer);
    b.size = q.size != 0 ? query(q.size) : q.fixedSize;
    b.type = q.type != 0 ? static_cast<GLenum>(query(q.type)) : GL_UNSIGNED_BYTE;
    b.stride = query(q.stride);
    b.array = nullptr;
    b.offset = 0;
    const unsigned char* p = static_cast<const unsigned char*>(pointer);
    for (auto& kept : state.arrays) {
      const unsigned char* base = kept->storage.get();
      if (p >= base && p < base + (kept->bytes > 0 ? kept->bytes : 1)) {
        b.array = kept.get();
        b.offset = static_cast<size_t>(p - base);
        break;
      }
    }
  }
  for (int u = 0; u < kUngiven; ++u) {
    if (state.ungivenTouched[u]) state.ungivenEnabled[u] = query(kUngivenCaps[u]) > 0;
  }
  state.stale = false;
  return true;
}

// Frees vertex-array storage that GL can no longer reach: none is in use
// and no client-attribute stack entry is saved that could restore it.
void collect(JNIEnv* env, ClientState& state) {
  if (query(GL_CLIENT_ATTRIB_STACK_DEPTH) != 0) return;
  auto& arrays = state.arrays;
  for (auto it = arrays.begin(); it != arrays.end();) {
    bool used = false;
    for (const Binding& b : state.bindings) used = used || b.array == it->get();
    if (used) {
      ++it;
    } else {
      drop(env, *it);
      it = arrays.erase(it);
    }
  }
}

int componentBytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case 0x140B:  // GL_HALF_FLOAT
      return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
      return 4;
    default:  // GL_DOUBLE, and the most for any other
      return 8;
  }
}

// Bytes of one element of a binding.
int64_t elementBytes(const Binding& b, int slot) {
  if (slot == kEdgeFlag) return 1;
  switch (b.type) {
    case 0x8D9F:  // GL_INT_2_10_10_10_REV
    case 0x8368:  // GL_UNSIGNED_INT_2_10_10_10_REV
    case 0x8C3B:  // GL_UNSIGNED_INT_10F_11F_11F_REV
      return 4;
    default:
      break;
  }
  const int64_t size = b.size == 0x80E1 /* GL_BGRA */ ? 4 : (b.size > 0 ? b.size : 0);
  return size * componentBytes(b.type);
}

int64_t strideBytes(const Binding& b, int slot) { return b.stride > 0 ? b.stride : elementBytes(b, slot); }

// Checks every enabled array against the indices first .. last.
bool checkBindings(JNIEnv* env, const ClientState& state, const char* native, int64_t first, int64_t last) {
  for (int s = 0; s < kSlots; ++s) {
    const Binding& b = state.bindings[s];
    if (!b.enabled) continue;
    if (b.array == nullptr) {
      char what[120];
      snprintf(what, sizeof what, "the %s is enabled but has no Java array", kQueries[s].label);
      refuseState(env, native, what);
      return false;
    }
    const int64_t element = static_cast<int64_t>(b.array->elementSize);
    const int64_t given = static_cast<int64_t>(b.array->bytes) / element;
    if (first < 0) {
      refuseShort(env, native, kQueries[s].label, first, given);
      return false;
    }
    const int64_t end = static_cast<int64_t>(b.offset) + last * strideBytes(b, s) + elementBytes(b, s);
    if (end > static_cast<int64_t>(b.array->bytes)) {
      refuseShort(env, native, kQueries[s].label, (end + element - 1) / element, given);
      return false;
    }
  }
  for (int u = 0; u < kUngiven; ++u) {
    if (state.ungivenEnabled[u]) {
      refuseState(env, native, kUngivenLabels[u]);
      return false;
    }
  }
  return true;
}

// Brings the part of each enabled array that indices first .. last read up
// to date with its Java array. Runs no JNI function but the critical pairs.
bool refreshBindings(JNIEnv* env, const ClientState& state, int64_t first, int64_t last) {
  for (int s = 0; s < kSlots; ++s) {
    const Binding& b = state.bindings[s];
    if (!b.enabled || b.array == nullptr) continue;
    size_t from = b.offset + static_cast<size_t>(first * strideBytes(b, s));
    size_t to = b.offset + static_cast<size_t>(last * strideBytes(b, s) + elementBytes(b, s));
    // Interleaved arrays share one Java array: refresh it once.
    bool done = false;
    for (int e = 0; e < s; ++e) done = done || (state.bindings[e].enabled && state.bindings[e].array == b.array);
    if (done) continue;
    for (int o = s + 1; o < kSlots; ++o) {
      const Binding& other = state.bindings[o];
      if (!other.enabled || other.array != b.array) continue;
      from = std::min(from, other.offset + static_cast<size_t>(first * strideBytes(other, o)));
      to = std::max(to, other.offset + static_cast<size_t>(last * strideBytes(other, o) + elementBytes(other, o)));
    }
    if (!refresh(env, *b.array, from, to)) return false;
  }
  return true;
}

bool anyEnabled(const ClientState& state) {
  for (const Binding& b : state.bindings)
    if (b.enabled) return true;
  for (bool u : state.ungivenEnabled)
    if (u) return true;
  return false;
}

int slotOf(GLenum cap) {
  for (int s = 0; s < kSlots; ++s)
    if (kQueries[s].cap == cap) return s;
  return -1;
}

template <typename Index>
int64_t highestIndex(const void* indices, GLsizei count) {
  const Index* p = static_cast<const Index*>(indices);
  Index highest = 0;
  for (GLsizei i = 0; i < count; ++i) highest = p[i] > highest ? p[i] : highest;
  return static_cast<int64_t>(highest);
}

// Copies GL's records from kept storage into its Java array.
void deliverRecords(JNIEnv* env, KeptArray& kept, int64_t elements) {
  const int64_t capacity = static_cast<int64_t>(kept.bytes / kept.elementSize);
  if (elements < 0 || elements > capacity) elements = capacity;
  if (elements == 0) return;
  const jsize n = static_cast<jsize>(elements);
  if (kept.elementSize == sizeof(jint)) {
    env->SetIntArrayRegion(static_cast<jintArray>(kept.array), 0, n, reinterpret_cast<jint*>(kept.storage.get()));
  }
}

void deliverFeedback(JNIEnv* env, KeptArray& kept, int64_t elements) {
  const int64_t capacity = static_cast<int64_t>(kept.bytes / sizeof(jfloat));
  if (elements < 0 || elements > capacity) elements = capacity;
  if (elements == 0) return;
  env->SetFloatArrayRegion(static_cast<jfloatArray>(kept.array), 0, static_cast<jsize>(elements),
                           reinterpret_cast<jfloat*>(kept.storage.get()));
}

// Words of the hit records that a selection left in the buffer.
int64_t selectionWords(const GLuint* buffer, int64_t capacity, GLint hits) {
  if (hits < 0) return capacity;  // overflow: the buffer is full
  int64_t at = 0;
  for (GLint h = 0; h < hits && at < capacity; ++h) at += 3 + static_cast<int64_t>(buffer[at]);
  return at < capacity ? at : capacity;
}

}  // namespace

void keepArray(JNIEnv* env, ArrayKind kind, GLint size, GLenum type, GLenum format, GLsizei stride, jarray array,
               size_t elementSize, const char* native, const char* param) {
  if (array == nullptr) {
    refuseNull(env, native, param);
    return;
  }
  ClientState* state = currentState(true);
  if (state == nullptr) return;  // no context: GL would ignore the call
  std::unique_ptr<KeptArray> kept = keep(env, array, elementSize);
  if (!kept) return;
  const GLvoid* storage = kept->storage.get();
  GLenum pointerQuery = GL_VERTEX_ARRAY_POINTER;
  int slot = -1;
  switch (kind) {
    case ArrayKind::vertex:
      glVertexPointer(size, type, stride, storage);
      slot = kVertex;
      break;
    case ArrayKind::normal:
      glNormalPointer(type, stride, storage);
      slot = kNormal;
      break;
    case ArrayKind::color:
      glColorPointer(size, type, stride, storage);
      slot = kColor;
      break;
    case ArrayKind::index:
      glIndexPointer(type, stride, storage);
      slot = kIndex;
      break;
    case ArrayKind::texcoord:
      glTexCoordPointer(size, type, stride, storage);
      slot = kTexCoord;
      break;
    case ArrayKind::edgeflag:
      glEdgeFlagPointer(stride, storage);
      slot = kEdgeFlag;
      break;
    case ArrayKind::interleaved:
      glInterleavedArrays(format, stride, storage);
      break;
  }
  if (slot >= 0) pointerQuery = kQueries[slot].pointer;
  // GL refuses a bad size, type or stride (and keeps its old pointer).
  GLvoid* now = nullptr;
  glGetPointerv(pointerQuery, &now);
  const unsigned char* base = kept->storage.get();
  const unsigned char* p = static_cast<const unsigned char*>(now);
  if (p < base || p >= base + (kept->bytes > 0 ? kept->bytes : 1)) {
    drop(env, kept);
    return;
  }
  KeptArray* added = kept.get();
  state->arrays.push_back(std::move(kept));
  if (slot >= 0) {
    Binding& b = state->bindings[slot];
    b.array = added;
    b.offset = 0;
    b.size = kQueries[slot].size != 0 ? size : kQueries[slot].fixedSize;
    b.type = slot == kEdgeFlag ? GL_UNSIGNED_BYTE : type;
    b.stride = stride;
  } else {
    readBack(*state);
  }
  collect(env, *state);
}

bool prepareDraw(JNIEnv* env, const char* native, GLint first, GLsizei count) {
  ClientState* state = currentState(false);
  if (state == nullptr) return true;  // nothing was enabled through CoreGL
  if (state->stale && !readBack(*state)) {
    refuseState(env, native, "the vertex arrays were restored where GL could not report them");
    return false;
  }
  if (count <= 0 || !anyEnabled(*state)) return true;
  const int64_t last = static_cast<int64_t>(first) + count - 1;
  if (!checkBindings(env, *state, native, first, last)) return false;
  return refreshBindings(env, *state, first, last);
}

void drawElements(JNIEnv* env, const char* native, GLenum mode, GLsizei count, GLenum type, jarray indices,
                  size_t elementSize) {
  if (indices == nullptr) {
    refuseNull(env, native, "indices");
    return;
  }
  int indexBytes;
  switch (type) {
    case GL_UNSIGNED_BYTE:
      indexBytes = 1;
      break;
    case GL_UNSIGNED_SHORT:
      indexBytes = 2;
      break;
    default:  // GL_UNSIGNED_INT, and the most for a type GL refuses
      indexBytes = 4;
      break;
  }
  const jsize length = env->GetArrayLength(indices);
  const int64_t neededBytes = count > 0 ? static_cast<int64_t>(count) * indexBytes : 0;
  const int64_t needed = (neededBytes + static_cast<int64_t>(elementSize) - 1) / static_cast<int64_t>(elementSize);
  if (needed > length) {
    refuseShort(env, native, "indices", needed, length);
    return;
  }
  ClientState* state = currentState(false);
  if (state != nullptr && state->stale && !readBack(*state)) {
    refuseState(env, native, "the vertex arrays were restored where GL could not report them");
    return;
  }
  const bool check = state != nullptr && count > 0 && anyEnabled(*state) &&
                     (type == GL_UNSIGNED_BYTE || type == GL_UNSIGNED_SHORT || type == GL_UNSIGNED_INT);
  void* lent = env->GetPrimitiveArrayCritical(indices, nullptr);
  if (lent == nullptr) return;
  if (check) {
    // The indices are read while lent, so GL draws exactly what was checked.
    int64_t highest = type == GL_UNSIGNED_BYTE    ? highestIndex<GLubyte>(lent, count)
                      : type == GL_UNSIGNED_SHORT ? highestIndex<GLushort>(lent, count)
                                                  : highestIndex<GLuint>(lent, count);
    // Checking throws nothing while lent: it only decides.
    bool covered = true;
    for (int s = 0; s < kSlots && covered; ++s) {
      const Binding& b = state->bindings[s];
      if (!b.enabled) continue;
      covered = b.array != nullptr &&
                static_cast<int64_t>(b.offset) + highest * strideBytes(b, s) + elementBytes(b, s) <=
                    static_cast<int64_t>(b.array->bytes);
    }
    for (bool u : state->ungivenEnabled) covered = covered && !u;
    if (!covered) {
      env->ReleasePrimitiveArrayCritical(indices, lent, JNI_ABORT);
      checkBindings(env, *state, native, 0, highest);
      return;
    }
    if (!refreshBindings(env, *state, 0, highest)) {
      env->ReleasePrimitiveArrayCritical(indices, lent, JNI_ABORT);
      return;
    }
  }
  glDrawElements(mode, count, type, lent);
  env->ReleasePrimitiveArrayCritical(indices, lent, JNI_ABORT);
}

void clientStateChanged(GLenum cap, bool enabled) {
  const int slot = slotOf(cap);
  int ungiven = -1;
  for (int u = 0; u < kUngiven; ++u)
    if (kUngivenCaps[u] == cap) ungiven = u;
  if (slot < 0 && ungiven < 0) return;
  ClientState* state = currentState(true);
  if (state == nullptr) return;
  // GL's own answer, where it gives one; where it cannot (inside
  // glBegin/glEnd) the array counts as enabled, which only checks more.
  const GLint answer = query(cap);
  const bool now = answer == kUnanswered ? true : answer > 0;
  if (slot >= 0) {
    state->bindings[slot].enabled = now;
  } else {
    state->ungivenEnabled[ungiven] = now;
    state->ungivenTouched[ungiven] = true;
  }
  (void)enabled;
}

void clientStateRestored() {
  ClientState* state = currentState(false);
  if (state != nullptr) readBack(*state);
}

void keepSelectBuffer(JNIEnv* env, GLsizei size, jintArray buffer) {
  if (buffer == nullptr) {
    refuseNull(env, "glSelectBuffer", "buffer");
    return;
  }
  const jsize length = env->GetArrayLength(buffer);
  if (size > length) {
    refuseShort(env, "glSelectBuffer", "buffer", size, length);
    return;
  }
  ClientState* state = currentState(true);
  if (state == nullptr) return;
  std::unique_ptr<KeptArray> kept = keep(env, buffer, sizeof(jint));
  if (!kept) return;
  kept->bytes = static_cast<size_t>(size > 0 ? size : 0) * sizeof(jint);  // GL writes no further
  glSelectBuffer(size, reinterpret_cast<GLuint*>(kept->storage.get()));
  GLvoid* now = nullptr;
  glGetPointerv(GL_SELECTION_BUFFER_POINTER, &now);
  if (now != kept->storage.get()) {  // refused (in selection mode, or a bad size)
    drop(env, kept);
    return;
  }
  drop(env, state->select);
  state->select = std::move(kept);
}

void keepFeedbackBuffer(JNIEnv* env, GLsizei size, GLenum type, jfloatArray buffer) {
  if (buffer == nullptr) {
    refuseNull(env, "glFeedbackBuffer", "buffer");
    return;
  }
  const jsize length = env->GetArrayLength(buffer);
  if (size > length) {
    refuseShort(env, "glFeedbackBuffer", "buffer", size, length);
    return;
  }
  ClientState* state = currentState(true);
  if (state == nullptr) return;
  std::unique_ptr<KeptArray> kept = keep(env, buffer, sizeof(jfloat));
  if (!kept) return;
  kept->bytes = static_cast<size_t>(size > 0 ? size : 0) * sizeof(jfloat);
  glFeedbackBuffer(size, type, reinterpret_cast<GLfloat*>(kept->storage.get()));
  GLvoid* now = nullptr;
  glGetPointerv(GL_FEEDBACK_BUFFER_POINTER, &now);
  if (now != kept->storage.get()) {
    drop(env, kept);
    return;
  }
  drop(env, state->feedback);
  state->feedback = std::move(kept);
}

GLint renderMode(JNIEnv* env, GLenum mode) {
  const GLint before = query(GL_RENDER_MODE);
  const GLint result = glRenderMode(mode);
  if (before != GL_SELECT && before != GL_FEEDBACK) return result;
  // GL refuses a bad mode (and any call inside glBegin/glEnd) and stays in
  // its mode; a call it takes ends the mode and returns the count.
  const GLint after = query(GL_RENDER_MODE);
  if (after == kUnanswered || (after == before && static_cast<GLenum>(after) != mode)) return result;
  ClientState* state = currentState(false);
  if (state == nullptr) return result;
  if (before == GL_SELECT && state->select) {
    KeptArray& kept = *state->select;
    const int64_t capacity = static_cast<int64_t>(kept.bytes / sizeof(GLuint));
    deliverRecords(env, kept, selectionWords(reinterpret_cast<const GLuint*>(kept.storage.get()), capacity, result));
  } else if (before == GL_FEEDBACK && state->feedback) {
    deliverFeedback(env, *state->feedback, result);
  }
  return result;
}

void forgetClientState(JNIEnv* env, HGLRC context) {
  std::unique_ptr<ClientState> state;
  {
    std::lock_guard<std::mutex> guard(statesMutex);
    auto it = states.find(context);
    if (it == states.end()) return;
    state = std::move(it->second);
    states.erase(it);
    statesGeneration.fetch_add(1, std::memory_order_acq_rel);
  }
  for (auto& kept : state->arrays) drop(env, kept);
  drop(env, state->select);
  drop(env, state->feedback);
}

}  // namespace pyx::coregl
