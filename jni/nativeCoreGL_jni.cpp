// The CoreGL and CoreGLU natives. All but nGlViewport are expanded from the
// declarative table in api/.
#include <GL/gl.h>
#include <GL/glu.h>

#include "jni_support.h"

// glViewport under the component's drawing-surface lock.
extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_CoreGL_nGlViewport(
    JNIEnv* env, jclass, jobject component, jint x, jint y, jint width, jint height) {
  pyx::SurfaceBracket surface(env, component, pyx::raiseContextError);
  if (!surface.lock(PYX_HERE)) return;
  glViewport(x, y, width, height);
  surface.unlock(PYX_HERE);
}

#if __has_include("coregl_jni.inc")
#include "coregl_jni.inc"
#endif
