// The CoreGL and CoreGLU natives. Most are expanded from the declarative
// table in api/ (coregl_jni.inc); those written here depart from their
// family's rule.
#include <GL/gl.h>
#include <GL/glu.h>
#include <stdio.h>

#include "coregl_runtime.h"
#include "jni_support.h"

// glViewport under the component's drawing-surface lock.
extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_CoreGL_nGlViewport(
    JNIEnv* env, jclass, jobject component, jint x, jint y, jint width, jint height) {
  pyx::SurfaceBracket surface(env, component, pyx::raiseContextError);
  if (!surface.lock(PYX_HERE)) return;
  glViewport(x, y, width, height);
  surface.unlock(PYX_HERE);
}

#include "coregl_jni.inc"

// The natives below depart from their family's rule and are written here.

namespace {

// gluProject and gluUnProject: matrices of the wrong length give 0, as GLU
// cannot be asked; the output array is refused like any other.
jint projectWith(JNIEnv* env, const char* native, bool inverse, jdouble x, jdouble y, jdouble z, jdoubleArray model, jdoubleArray proj, jintArray view,
                 jdoubleArray out) {
  namespace c = ::pyx::coregl;
  if (model == nullptr) return c::refuseNull(env, native, "modelMatrix"), 0;
  if (proj == nullptr) return c::refuseNull(env, native, "projMatrix"), 0;
  if (view == nullptr) return c::refuseNull(env, native, "viewport"), 0;
  if (env->GetArrayLength(model) != 16 || env->GetArrayLength(proj) != 16 || env->GetArrayLength(view) != 4) return 0;
  c::Arg<jdoubleArray, c::In, 16> modelArg(env, model);
  c::Arg<jdoubleArray, c::In, 16> projArg(env, proj);
  c::Arg<jintArray, c::In, 4> viewArg(env, view);
  c::Arg<jdoubleArray, c::OutOnce, 3> outArg(env, out);
  const char* outName = inverse ? "obj" : "win";
  if (!modelArg.check(c::Need::exactly(16), native, "modelMatrix") ||
      !projArg.check(c::Need::exactly(16), native, "projMatrix") ||
      !viewArg.check(c::Need::exactly(4), native, "viewport") || !outArg.check(c::Need::exactly(3), native, outName))
    return 0;
  if (!modelArg.copyIn() || !projArg.copyIn() || !viewArg.copyIn() || !outArg.copyIn()) return 0;
  GLdouble* o = outArg.data();
  const GLint* v = reinterpret_cast<const GLint*>(viewArg.data());  // jint is long on 32-bit Windows
  const GLint result = inverse ? gluUnProject(x, y, z, modelArg.data(), projArg.data(), v, &o[0], &o[1], &o[2])
                               : gluProject(x, y, z, modelArg.data(), projArg.data(), v, &o[0], &o[1], &o[2]);
  outArg.copyOut();
  return result;
}

}  // namespace

// The string GL names, or null (with "New string is NULL!" on standard error
// when the VM cannot make the string).
extern "C" JNIEXPORT jstring JNICALL Java_com_tandrel_pyxolin_CoreGL_glGetString(JNIEnv* env, jclass, jint name) {
  const GLubyte* text = glGetString(static_cast<GLenum>(name));
  if (text == nullptr) return nullptr;
  jstring result = env->NewStringUTF(reinterpret_cast<const char*>(text));
  if (result == nullptr) fputs("New string is NULL!", stderr);
  return result;
}

// The error code's decimal digits; GLU is not asked.
extern "C" JNIEXPORT jstring JNICALL Java_com_tandrel_pyxolin_CoreGLU_gluErrorString(JNIEnv* env, jclass,
                                                                                     jint errorCode) {
  char digits[32];
  snprintf(digits, sizeof digits, "%d", static_cast<int>(errorCode));
  return env->NewStringUTF(digits);
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_CoreGLU_gluProject(JNIEnv* env, jclass, jdouble objX,
                                                                              jdouble objY, jdouble objZ,
                                                                              jdoubleArray modelMatrix,
                                                                              jdoubleArray projMatrix,
                                                                              jintArray viewport, jdoubleArray win) {
  return projectWith(env, "gluProject", false, objX, objY, objZ, modelMatrix, projMatrix, viewport, win);
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_CoreGLU_gluUnProject(JNIEnv* env, jclass, jdouble winX,
                                                                                jdouble winY, jdouble winZ,
                                                                                jdoubleArray modelMatrix,
                                                                                jdoubleArray projMatrix,
                                                                                jintArray viewport, jdoubleArray obj) {
  return projectWith(env, "gluUnProject", true, winX, winY, winZ, modelMatrix, projMatrix, viewport, obj);
}

// Ending selection or feedback mode copies GL's records into the Java array.
extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_CoreGL_glRenderMode(JNIEnv* env, jclass, jint mode) {
  return ::pyx::coregl::renderMode(env, static_cast<GLenum>(mode));
}

// GL keeps the buffer: it writes into storage kept with the Java array.
extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_CoreGL_glSelectBuffer(JNIEnv* env, jclass, jint size,
                                                                                 jintArray buffer) {
  ::pyx::coregl::keepSelectBuffer(env, size, buffer);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_CoreGL_glFeedbackBuffer(JNIEnv* env, jclass, jint size,
                                                                                   jint type, jfloatArray buffer) {
  ::pyx::coregl::keepFeedbackBuffer(env, size, static_cast<GLenum>(type), buffer);
}
