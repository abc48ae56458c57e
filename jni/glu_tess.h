// The process-wide polygon tessellator behind every GLUTesselator object:
// one GLU tessellator, one polygon at a time, and the vertex records GLU
// holds pointers to until that polygon is over. Nothing here knows a VM
// interface: a binding hands each call a Delivery that carries the GLU
// callbacks to its Java objects, so both bindings can share this.
//
// What the records and the lock guarantee:
//  - a vertex record (coordinates and its own floats) stays at its address
//    until GLU has let go of its polygon (gluEndPolygon returned, or the
//    polygon was abandoned by a new polygon, destroy or create); then its
//    memory goes back to the arena, so memory stays flat;
//  - the vertex callback delivers each vertex's own floats, however many
//    the other vertices of the polygon have;
//  - one thread at a time drives GLU; a call made from inside a callback on
//    the same thread does nothing, since GLU's tessellator cannot be
//    re-entered;
//  - once a delivery reports that Java threw, the polygon's later
//    callbacks are dropped, so the exception stays pending untouched until
//    the native returns.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>

// The calling convention GLU calls its callbacks with.
#if defined(_WIN32)
#define PYX_GLU_CALLBACK CALLBACK
#else
#define PYX_GLU_CALLBACK GLAPIENTRY
#endif

namespace pyx::tess {

using GluCallback = void(PYX_GLU_CALLBACK*)();

// One vertex handed in. The coordinates come first, so the record's address
// is the coordinate pointer GLU keeps; the vertex's floats follow the
// record. The record itself is the vertex data GLU hands back.
struct Vertex {
  double coords[3];
  int32_t floatCount;

  float* floats() { return reinterpret_cast<float*>(this + 1); }
};
static_assert(offsetof(Vertex, coords) == 0, "GLU's coordinate pointer is the record's address");
static_assert(sizeof(Vertex) % alignof(double) == 0, "records are packed back to back");

// Bump allocation of the current polygon's vertex records. Addresses stay
// fixed until reset; reset keeps a bounded number of blocks for the next
// polygon and frees the rest.
class VertexArena {
 public:
  VertexArena() = default;
  VertexArena(const VertexArena&) = delete;
  VertexArena& operator=(const VertexArena&) = delete;
  ~VertexArena() {
    freeBlocks(filled_);
    freeBlocks(spare_);
  }

  // A record with room for floatCount floats, or null when memory is out.
  Vertex* allocate(int32_t floatCount) {
    size_t size = sizeof(Vertex) + sizeof(float) * static_cast<size_t>(floatCount);
    size = (size + alignof(double) - 1) & ~(alignof(double) - 1);
    if (filled_ == nullptr || filled_->capacity - filled_->used < size) {
      if (!pushBlock(size)) return nullptr;
    }
    Vertex* vertex = reinterpret_cast<Vertex*>(bytes(filled_) + filled_->used);
    filled_->used += size;
    vertex->floatCount = floatCount;
    return vertex;
  }

  void reset() {
    while (filled_ != nullptr) {
      Block* block = filled_;
      filled_ = block->next;
      if (block->capacity == kBlockCapacity && spareCount_ < kMaxSpareBlocks) {
        block->next = spare_;
        spare_ = block;
        ++spareCount_;
      } else {
        free(block);
      }
    }
  }

 private:
  struct alignas(alignof(double)) Block {
    Block* next;
    size_t capacity;
    size_t used;
  };
  static_assert(sizeof(Block) % alignof(double) == 0, "records after the header are aligned");
  static constexpr size_t kBlockCapacity = 64 * 1024 - sizeof(Block);
  static constexpr int kMaxSpareBlocks = 16;

  static char* bytes(Block* block) { return reinterpret_cast<char*>(block + 1); }

  bool pushBlock(size_t size) {
    Block* block;
    if (size <= kBlockCapacity && spare_ != nullptr) {
      block = spare_;
      spare_ = block->next;
      --spareCount_;
    } else {
      size_t capacity = size <= kBlockCapacity ? kBlockCapacity : size;
      block = static_cast<Block*>(malloc(sizeof(Block) + capacity));
      if (block == nullptr) return false;
      block->capacity = capacity;
    }
    block->used = 0;
    block->next = filled_;
    filled_ = block;
    return true;
  }

  static void freeBlocks(Block* block) {
    while (block != nullptr) {
      Block* next = block->next;
      free(block);
      block = next;
    }
  }

  Block* filled_ = nullptr;
  Block* spare_ = nullptr;
  int spareCount_ = 0;
};

// How one native call's callbacks reach Java. A target is the binding's
// reference to the object that began the polygon. Each callback answers
// false once the Java method threw (or the VM could not make its argument):
// the polygon's later callbacks are then dropped.
class Delivery {
 public:
  virtual bool begin(void* target, GLenum type) = 0;
  virtual bool vertex(void* target, const float* floats, int32_t count) = 0;
  virtual bool end(void* target) = 0;
  virtual bool error(void* target, GLenum code) = 0;
  virtual bool edgeFlag(void* target, bool boundaryEdge) = 0;
  // The polygon of this target is over; the reference may go.
  virtual void release(void* target) = 0;

 protected:
  ~Delivery() = default;
};

class Tessellator {
 public:
  enum class VertexResult { kAdded, kIgnored, kOutOfMemory };

  // The one tessellator state of the library.
  static Tessellator& process() {
    static Tessellator state;
    return state;
  }

  // A new GLU tessellator with the five callbacks. An unfinished polygon is
  // given up; the earlier tessellator is left as it is.
  void create(Delivery& delivery) {
    Call call(*this, delivery);
    if (!call.entered()) return;
    finishPolygon(delivery);
    tess_ = gluNewTess();
    if (tess_ == nullptr) return;
    gluTessCallback(tess_, GLU_TESS_BEGIN, reinterpret_cast<GluCallback>(&onBegin));
    gluTessCallback(tess_, GLU_TESS_VERTEX, reinterpret_cast<GluCallback>(&onVertex));
    gluTessCallback(tess_, GLU_TESS_END, reinterpret_cast<GluCallback>(&onEnd));
    gluTessCallback(tess_, GLU_TESS_ERROR, reinterpret_cast<GluCallback>(&onError));
    gluTessCallback(tess_, GLU_TESS_EDGE_FLAG, reinterpret_cast<GluCallback>(&onEdgeFlag));
  }

  // Deletes the tessellator; GLU reports an unfinished polygon to its
  // target. Later calls do nothing until the next create.
  void destroy(Delivery& delivery) {
    Call call(*this, delivery);
    if (!call.entered() || tess_ == nullptr) return;
    gluDeleteTess(tess_);
    tess_ = nullptr;
    finishPolygon(delivery);
  }

  // Starts a polygon whose callbacks go to target; takes the target over
  // (released when the polygon is over, or at once when refused). GLU
  // reports an unfinished polygon to the new target.
  void beginPolygon(Delivery& delivery, void* target) {
    Call call(*this, delivery);
    if (!call.entered() || tess_ == nullptr) {
      delivery.release(target);
      return;
    }
    void* abandoned = inPolygon_ ? target_ : nullptr;
    target_ = target;
    inPolygon_ = true;
    stopped_ = false;
    gluBeginPolygon(tess_);
    // GLU has dropped the abandoned polygon's vertices; the new one has none.
    arena_.reset();
    if (abandoned != nullptr) delivery.release(abandoned);
  }

  // Hands one vertex of the current polygon to GLU. fill(float*) copies the
  // vertex's floatCount floats into its record.
  template <typename Fill>
  VertexResult addVertex(Delivery& delivery, const double coords[3], int32_t floatCount, Fill&& fill) {
    Call call(*this, delivery);
    if (!call.entered() || tess_ == nullptr || !inPolygon_) return VertexResult::kIgnored;
    Vertex* vertex = arena_.allocate(floatCount);
    if (vertex == nullptr) return VertexResult::kOutOfMemory;
    memcpy(vertex->coords, coords, sizeof vertex->coords);
    fill(vertex->floats());
    gluTessVertex(tess_, vertex->coords, vertex);
    return VertexResult::kAdded;
  }

  void nextContour(Delivery& delivery, GLenum type) {
    Call call(*this, delivery);
    if (!call.entered() || tess_ == nullptr || !inPolygon_) return;
    gluNextContour(tess_, type);
  }

  // GLU tessellates and makes the callbacks; then the polygon's records and
  // target are released.
  void endPolygon(Delivery& delivery) {
    Call call(*this, delivery);
    if (!call.entered() || tess_ == nullptr || !inPolygon_) return;
    gluEndPolygon(tess_);
    finishPolygon(delivery);
  }

 private:
  Tessellator() = default;

  // Holds the lock for one native call and names the delivery the GLU
  // callbacks of this thread use meanwhile. A call from inside a callback
  // (this thread already holds the lock) does not enter.
  class Call {
   public:
    Call(Tessellator& state, Delivery& delivery) : state_(state), delivery_(delivery) {
      if (current_ != nullptr) return;
      lock_ = std::unique_lock<std::mutex>(state.mutex_);
      current_ = this;
    }
    ~Call() {
      if (lock_.owns_lock()) current_ = nullptr;
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    bool entered() const { return lock_.owns_lock(); }

    // The callbacks' way to the polygon and its delivery.
    template <typename Deliver>
    static void deliver(Deliver&& deliver) {
      Call* call = current_;
      if (call == nullptr) return;
      Tessellator& state = call->state_;
      if (!state.inPolygon_ || state.stopped_) return;
      if (!deliver(call->delivery_, state.target_)) state.stopped_ = true;
    }

   private:
    static inline thread_local Call* current_ = nullptr;
    Tessellator& state_;
    Delivery& delivery_;
    std::unique_lock<std::mutex> lock_;
  };

  void finishPolygon(Delivery& delivery) {
    if (!inPolygon_) return;
    inPolygon_ = false;
    arena_.reset();
    delivery.release(target_);
    target_ = nullptr;
  }

  static void PYX_GLU_CALLBACK onBegin(GLenum type) {
    Call::deliver([type](Delivery& d, void* target) { return d.begin(target, type); });
  }
  static void PYX_GLU_CALLBACK onVertex(void* data) {
    Call::deliver([data](Delivery& d, void* target) {
      // GLU hands back only records it was given; null would mean a
      // combined vertex, which needs a combine callback GLU does not have.
      Vertex* vertex = static_cast<Vertex*>(data);
      if (vertex == nullptr) return d.vertex(target, nullptr, 0);
      return d.vertex(target, vertex->floats(), vertex->floatCount);
    });
  }
  static void PYX_GLU_CALLBACK onEnd() {
    Call::deliver([](Delivery& d, void* target) { return d.end(target); });
  }
  static void PYX_GLU_CALLBACK onError(GLenum code) {
    Call::deliver([code](Delivery& d, void* target) { return d.error(target, code); });
  }
  static void PYX_GLU_CALLBACK onEdgeFlag(GLboolean flag) {
    Call::deliver([flag](Delivery& d, void* target) { return d.edgeFlag(target, flag != GL_FALSE); });
  }

  std::mutex mutex_;
  GLUtesselator* tess_ = nullptr;
  void* target_ = nullptr;
  bool inPolygon_ = false;
  bool stopped_ = false;
  VertexArena arena_;
};

}  // namespace pyx::tess
