// The natives of GLUNurbs, GLUQuadric and GLUTesselator: GLU NURBS
// renderers and quadrics behind 32-bit handles in "pData", and the
// process-wide tessellator whose callbacks call the Java object that began
// the polygon.
#include <GL/gl.h>
#include <GL/glu.h>
#include <stdio.h>

#include <mutex>
#include <new>
#include <shared_mutex>

#include "glu_jni_arrays.h"
#include "glu_nurbs_extents.h"
#include "glu_tess.h"
#include "jni_support.h"

namespace {

using pyx::glu::hasElements;
using pyx::glu::isNotNegative;
using pyx::glu::LentElements;

// GLU objects of one kind behind handles. A record is used under its own
// lock, so two threads never drive one GLU object at once, and destroyed
// only when no thread is using any, so no call runs on a freed object.
template <typename Object, void (*Delete)(Object*)>
class GluObjects {
 public:
  // The handle of a new record for object, or 0 when none can be made.
  jint add(Object* object) {
    Record* record = new (std::nothrow) Record(object);
    if (record == nullptr) {
      Delete(object);
      return 0;
    }
    return table_.add(record);
  }

  // Runs work(object) for a live handle; does nothing for 0, unknown or
  // destroyed handles.
  template <typename Work>
  void use(jint handle, Work&& work) {
    std::shared_lock<std::shared_mutex> alive(lifetimes_);
    Record* record = table_.find(handle);
    if (record == nullptr) return;
    std::lock_guard<std::mutex> alone(record->inUse);
    work(record->object);
  }

  void destroy(jint handle) {
    std::unique_lock<std::shared_mutex> noneInUse(lifetimes_);
    Record* record = table_.remove(handle);
    if (record == nullptr) return;
    Delete(record->object);
    delete record;
  }

 private:
  struct Record {
    explicit Record(Object* o) : object(o) {}
    Object* object;
    std::mutex inUse;
  };
  std::shared_mutex lifetimes_;
  pyx::HandleTable<Record> table_;
};

void deleteNurbs(GLUnurbs* nurbs) { gluDeleteNurbsRenderer(nurbs); }
void deleteQuadric(GLUquadric* quadric) { gluDeleteQuadric(quadric); }

GluObjects<GLUnurbs, deleteNurbs>& nurbsObjects() {
  static GluObjects<GLUnurbs, deleteNurbs> objects;
  return objects;
}
GluObjects<GLUquadric, deleteQuadric>& quadricObjects() {
  static GluObjects<GLUquadric, deleteQuadric> objects;
  return objects;
}

// The object's "pData" field, looked up on its class. When the class has
// none, the VM's NoSuchFieldError stays pending for the caller.
jfieldID pDataField(JNIEnv* env, jobject self) {
  jclass cls = env->GetObjectClass(self);
  jfieldID field = env->GetFieldID(cls, "pData", "I");
  env->DeleteLocalRef(cls);
  return field;
}

// Reads "pData"; false (with NoSuchFieldError pending) when there is none.
bool readHandle(JNIEnv* env, jobject self, jint* handle) {
  jfieldID field = pDataField(env, self);
  if (field == nullptr) return false;
  *handle = env->GetIntField(self, field);
  return true;
}

// GLU's NURBS code is C++ and allocates with new: a count it cannot find
// memory for throws std::bad_alloc, which reaches Java as OutOfMemoryError
// instead of ending the process.
template <typename Work>
void withNurbs(JNIEnv* env, jobject self, Work&& work) {
  jint handle;
  if (!readHandle(env, self, &handle)) return;
  try {
    nurbsObjects().use(handle, work);
  } catch (const std::bad_alloc&) {
    pyx::glu::throwNamed(env, "java/lang/OutOfMemoryError", "GLU has no memory for this NURBS call");
  }
}

template <typename Work>
void withQuadric(JNIEnv* env, jobject self, Work&& work) {
  jint handle;
  if (readHandle(env, self, &handle)) quadricObjects().use(handle, work);
}

template <typename Objects, typename Make>
void createInto(JNIEnv* env, jobject self, Objects& objects, Make make) {
  jfieldID field = pDataField(env, self);
  if (field == nullptr) return;
  auto* object = make();
  env->SetIntField(self, field, object == nullptr ? 0 : objects.add(object));
}

template <typename Objects>
void destroyFrom(JNIEnv* env, jobject self, Objects& objects) {
  jint handle;
  if (readHandle(env, self, &handle)) objects.destroy(handle);
}

}  // namespace

// --- GLUNurbs ----------------------------------------------------------------

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_create(JNIEnv* env, jobject self) {
  createInto(env, self, nurbsObjects(), gluNewNurbsRenderer);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_destroy(JNIEnv* env, jobject self) {
  destroyFrom(env, self, nurbsObjects());
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_nurbsProperty(JNIEnv* env, jobject self,
                                                                                  jint property, jfloat value) {
  withNurbs(env, self, [&](GLUnurbs* nurbs) { gluNurbsProperty(nurbs, property, value); });
}

extern "C" JNIEXPORT jfloat JNICALL Java_com_tandrel_pyxolin_GLUNurbs_getNurbsProperty(JNIEnv* env, jobject self,
                                                                                       jint property) {
  GLfloat value = 0.0f;  // what Java gets where GLU stores nothing
  withNurbs(env, self, [&](GLUnurbs* nurbs) { gluGetNurbsProperty(nurbs, property, &value); });
  return value;
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_loadSamplingMatrices(
    JNIEnv* env, jobject self, jfloatArray modelMatrix, jfloatArray projectionMatrix, jintArray viewport) {
  const char* native = "loadSamplingMatrices";
  if (!hasElements(env, modelMatrix, 16, native, "modelMatrix") ||
      !hasElements(env, projectionMatrix, 16, native, "projectionMatrix") ||
      !hasElements(env, viewport, 4, native, "viewport")) {
    return;
  }
  GLfloat model[16], projection[16];
  jint viewElements[4];
  env->GetFloatArrayRegion(modelMatrix, 0, 16, model);
  env->GetFloatArrayRegion(projectionMatrix, 0, 16, projection);
  env->GetIntArrayRegion(viewport, 0, 4, viewElements);
  GLint view[4] = {viewElements[0], viewElements[1], viewElements[2], viewElements[3]};
  withNurbs(env, self, [&](GLUnurbs* nurbs) { gluLoadSamplingMatrices(nurbs, model, projection, view); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_beginSurface(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluBeginSurface);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_endSurface(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluEndSurface);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_beginCurve(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluBeginCurve);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_endCurve(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluEndCurve);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_beginTrim(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluBeginTrim);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_endTrim(JNIEnv* env, jobject self) {
  withNurbs(env, self, gluEndTrim);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_nNurbsSurface(
    JNIEnv* env, jobject self, jint sKnotCount, jfloatArray sKnots, jint tKnotCount, jfloatArray tKnots,
    jint sStride, jint tStride, jfloatArray control, jint sOrder, jint tOrder, jint type) {
  const char* native = "nNurbsSurface";
  int64_t controlNeeded =
      pyx::nurbs::surfaceControlExtent(sKnotCount, tKnotCount, sStride, tStride, sOrder, tOrder, type);
  if (!isNotNegative(env, sKnotCount, native, "sKnotCount") ||
      !isNotNegative(env, tKnotCount, native, "tKnotCount") ||
      !hasElements(env, sKnots, sKnotCount, native, "sKnots") ||
      !hasElements(env, tKnots, tKnotCount, native, "tKnots") ||
      !hasElements(env, control, controlNeeded, native, "control")) {
    return;
  }
  withNurbs(env, self, [&](GLUnurbs* nurbs) {
    LentElements<GLfloat> s(env, sKnots);
    if (s.get() == nullptr) return;
    LentElements<GLfloat> t(env, tKnots);
    if (t.get() == nullptr) return;
    LentElements<GLfloat> points(env, control);
    if (points.get() == nullptr) return;
    gluNurbsSurface(nurbs, sKnotCount, s.get(), tKnotCount, t.get(), sStride, tStride, points.get(), sOrder,
                    tOrder, type);
  });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_nNurbsCurve(JNIEnv* env, jobject self,
                                                                                jint knotCount, jfloatArray knots,
                                                                                jint stride, jfloatArray control,
                                                                                jint order, jint type) {
  const char* native = "nNurbsCurve";
  if (!isNotNegative(env, knotCount, native, "knotCount") ||
      !hasElements(env, knots, knotCount, native, "knots") ||
      !hasElements(env, control, pyx::nurbs::curveControlExtent(knotCount, stride, order, type), native,
                   "control")) {
    return;
  }
  withNurbs(env, self, [&](GLUnurbs* nurbs) {
    LentElements<GLfloat> k(env, knots);
    if (k.get() == nullptr) return;
    LentElements<GLfloat> points(env, control);
    if (points.get() == nullptr) return;
    gluNurbsCurve(nurbs, knotCount, k.get(), stride, points.get(), order, type);
  });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_nPwlCurve(JNIEnv* env, jobject self, jint count,
                                                                              jfloatArray data, jint stride,
                                                                              jint type) {
  if (!hasElements(env, data, pyx::nurbs::pwlCurveExtent(count, stride, type), "nPwlCurve", "data")) return;
  withNurbs(env, self, [&](GLUnurbs* nurbs) {
    LentElements<GLfloat> points(env, data);
    if (points.get() == nullptr) return;
    gluPwlCurve(nurbs, count, points.get(), stride, type);
  });
}

// --- GLUQuadric ----------------------------------------------------------------

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_create(JNIEnv* env, jobject self) {
  createInto(env, self, quadricObjects(), gluNewQuadric);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_destroy(JNIEnv* env, jobject self) {
  destroyFrom(env, self, quadricObjects());
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_drawStyle(JNIEnv* env, jobject self,
                                                                                jint style) {
  withQuadric(env, self, [&](GLUquadric* q) { gluQuadricDrawStyle(q, style); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_normals(JNIEnv* env, jobject self,
                                                                              jint normals) {
  withQuadric(env, self, [&](GLUquadric* q) { gluQuadricNormals(q, normals); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_orientation(JNIEnv* env, jobject self,
                                                                                  jint orientation) {
  withQuadric(env, self, [&](GLUquadric* q) { gluQuadricOrientation(q, orientation); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_texture(JNIEnv* env, jobject self,
                                                                              jboolean textureCoords) {
  withQuadric(env, self, [&](GLUquadric* q) { gluQuadricTexture(q, textureCoords); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_sphere(JNIEnv* env, jobject self,
                                                                             jdouble radius, jint slices,
                                                                             jint stacks) {
  withQuadric(env, self, [&](GLUquadric* q) { gluSphere(q, radius, slices, stacks); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_cylinder(JNIEnv* env, jobject self,
                                                                               jdouble baseRadius,
                                                                               jdouble topRadius, jdouble height,
                                                                               jint slices, jint stacks) {
  withQuadric(env, self, [&](GLUquadric* q) { gluCylinder(q, baseRadius, topRadius, height, slices, stacks); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_disk(JNIEnv* env, jobject self,
                                                                           jdouble innerRadius,
                                                                           jdouble outerRadius, jint slices,
                                                                           jint loops) {
  withQuadric(env, self, [&](GLUquadric* q) { gluDisk(q, innerRadius, outerRadius, slices, loops); });
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_partialDisk(
    JNIEnv* env, jobject self, jdouble innerRadius, jdouble outerRadius, jint slices, jint loops,
    jdouble startAngle, jdouble sweepAngle) {
  withQuadric(env, self, [&](GLUquadric* q) {
    gluPartialDisk(q, innerRadius, outerRadius, slices, loops, startAngle, sweepAngle);
  });
}

// --- GLUTesselator -------------------------------------------------------------

namespace {

// Carries one native call's callbacks to Java with that call's own
// environment: GLU makes them on the thread of the call, during it.
class JavaDelivery final : public pyx::tess::Delivery {
 public:
  explicit JavaDelivery(JNIEnv* env) : env_(env) {}

  bool begin(void* target, GLenum type) override {
    return callJava(target, "begin", "(I)V", "Cannot locate beginMethodID\n",
                    [&](jobject object, jmethodID method) {
                      env_->CallVoidMethod(object, method, static_cast<jint>(type));
                    });
  }

  bool vertex(void* target, const float* floats, int32_t count) override {
    return callJava(target, "vertex", "([F)V", "Cannot locate vertexMethodID\n",
                    [&](jobject object, jmethodID method) {
                      // A fresh array per call, never the one handed in.
                      jfloatArray array = env_->NewFloatArray(count);
                      if (array == nullptr) return;  // OutOfMemoryError is pending
                      if (count > 0) env_->SetFloatArrayRegion(array, 0, count, floats);
                      env_->CallVoidMethod(object, method, array);
                      env_->DeleteLocalRef(array);
                    });
  }

  bool end(void* target) override {
    return callJava(target, "end", "()V", "Cannot locate endMethodID\n",
                    [&](jobject object, jmethodID method) { env_->CallVoidMethod(object, method); });
  }

  bool error(void* target, GLenum code) override {
    return callJava(target, "error", "(I)V", "Cannot locate errorMethodID\n",
                    [&](jobject object, jmethodID method) {
                      env_->CallVoidMethod(object, method, static_cast<jint>(code));
                    });
  }

  bool edgeFlag(void* target, bool boundaryEdge) override {
    return callJava(target, "edgeFlag", "(Z)V", "Cannot locate edgeFlagMethodID\n",
                    [&](jobject object, jmethodID method) {
                      env_->CallVoidMethod(object, method, boundaryEdge ? JNI_TRUE : JNI_FALSE);
                    });
  }

  void release(void* target) override { env_->DeleteGlobalRef(static_cast<jobject>(target)); }

 private:
  // Looks the method up on the object's own class, so an override runs. A
  // missing method is reported by its line; its lookup error is cleared so
  // the polygon's other callbacks can go on. False once Java threw.
  template <typename Invoke>
  bool callJava(void* target, const char* name, const char* signature, const char* missingLine, Invoke&& invoke) {
    jobject object = static_cast<jobject>(target);
    jclass cls = env_->GetObjectClass(object);
    jmethodID method = pyx::findMethod(env_, cls, name, signature);
    env_->DeleteLocalRef(cls);
    if (method == nullptr) {
      fputs(missingLine, stderr);
      return true;
    }
    invoke(object, method);
    return !pyx::javaThrew(env_);
  }

  JNIEnv* env_;
};

pyx::tess::Tessellator& tessellator() { return pyx::tess::Tessellator::process(); }

}  // namespace

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_create(JNIEnv* env, jobject) {
  JavaDelivery delivery(env);
  tessellator().create(delivery);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_destroy(JNIEnv* env, jobject) {
  JavaDelivery delivery(env);
  tessellator().destroy(delivery);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nBeginPolygon(JNIEnv* env,
                                                                                       jobject self) {
  if (self == nullptr) return;
  jobject target = env->NewGlobalRef(self);
  if (target == nullptr) return;  // OutOfMemoryError is pending
  JavaDelivery delivery(env);
  tessellator().beginPolygon(delivery, target);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_tessVertex(JNIEnv* env, jobject,
                                                                                    jdoubleArray coords,
                                                                                    jfloatArray data) {
  if (!hasElements(env, coords, 3, "tessVertex", "coords") || !hasElements(env, data, 0, "tessVertex", "data")) {
    return;
  }
  jdouble xyz[3];
  env->GetDoubleArrayRegion(coords, 0, 3, xyz);
  jsize floatCount = env->GetArrayLength(data);
  JavaDelivery delivery(env);
  auto result = tessellator().addVertex(delivery, xyz, floatCount, [&](float* floats) {
    if (floatCount > 0) env->GetFloatArrayRegion(data, 0, floatCount, floats);
  });
  if (result == pyx::tess::Tessellator::VertexResult::kOutOfMemory) {
    pyx::glu::throwNamed(env, "java/lang/OutOfMemoryError", "tessVertex: no memory for the vertex's record");
  }
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nextContour(JNIEnv* env, jobject,
                                                                                     jint type) {
  JavaDelivery delivery(env);
  tessellator().nextContour(delivery, type);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nEndPolygon(JNIEnv* env, jobject) {
  JavaDelivery delivery(env);
  tessellator().endPolygon(delivery);
}
