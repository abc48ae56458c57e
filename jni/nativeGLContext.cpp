// GLContext natives: pixel format and palette, creation with display-list
// sharing, make current, swap, release and destroy.
#include <GL/gl.h>
#include <stdio.h>

#include "coregl_context.h"
#include "jni_support.h"
#include "pixelformat.h"

namespace {

#define REPORT(form, text) PYX_REPORT(form, env, text)
#define REPORT_MISSING(form, label) PYX_REPORT_MISSING(form, env, label)

void announcePalette() {
  fputs("we need a palette!\n", stderr);
  fflush(stderr);
}

const char* pixelFormatFailure(pyx::PixelFormatStatus status) {
  switch (status) {
    case pyx::PixelFormatStatus::ChooseFailed: return "Cannot ChoosePixelFormat";
    case pyx::PixelFormatStatus::SetFailed: return "Cannot SetPixelFormat";
    case pyx::PixelFormatStatus::PaletteFailed: return "Failed to realize palette!";
    case pyx::PixelFormatStatus::Ok: break;
  }
  return nullptr;
}

// The method of that name on the object's own class when `cls` is not the
// object's class or a superclass of it, so that a method ID is never called
// on an object of another class.
jmethodID methodFor(JNIEnv* env, jclass cls, jobject object, const char* name, const char* signature) {
  if (cls != nullptr && env->IsInstanceOf(object, cls)) return pyx::findMethod(env, cls, name, signature);
  jclass own = env->GetObjectClass(object);
  jmethodID id = pyx::findMethod(env, own, name, signature);
  env->DeleteLocalRef(own);
  return id;
}

// Reads the capability array into `caps`; false when there is none to read
// (Java's exception, if one was thrown, stays pending).
enum class Capabilities { Read, Absent, Refused };

Capabilities readCapabilities(JNIEnv* env, jobject capabilities, jmethodID getAsInt, int32_t* caps,
                              jsize* length) {
  jintArray array = static_cast<jintArray>(env->CallObjectMethod(capabilities, getAsInt));
  if (pyx::javaThrew(env) || array == nullptr) return Capabilities::Absent;
  *length = env->GetArrayLength(array);
  if (*length < pyx::kCapabilityCount) return Capabilities::Refused;
  env->GetIntArrayRegion(array, 0, pyx::kCapabilityCount, reinterpret_cast<jint*>(caps));
  env->DeleteLocalRef(array);
  return Capabilities::Read;
}

}  // namespace

extern "C" JNIEXPORT jboolean JNICALL Java_com_tandrel_pyxolin_GLContext_nCreateContext(JNIEnv* env,
                                                                                       jobject self,
                                                                                       jobject component) {
  constexpr pyx::ReportForm form = pyx::logAndRaiseContextError;

  jclass contextClass = env->GetObjectClass(self);
  jclass componentClass = component ? env->GetObjectClass(component) : nullptr;
  jclass capabilitiesClass = pyx::findClass(env, "com/tandrel/pyxolin/GLCapabilities");
  jfieldID capabilitiesField =
      pyx::findField(env, contextClass, "capabilities", "Lcom/tandrel/pyxolin/GLCapabilities;");
  jmethodID getCapabilitiesAsInt = pyx::findMethod(env, capabilitiesClass, "getCapabilitiesAsInt", "()[I");
  jfieldID contextPData = pyx::findField(env, contextClass, "pData", "I");
  jfieldID componentPData = pyx::findField(env, componentClass, "pData", "I");

  if (componentClass == nullptr) {
    REPORT_MISSING(form, "GLComponentClassblock");
    return JNI_FALSE;
  }
  if (componentPData == nullptr) {
    REPORT_MISSING(form, "GLComponentpDataFieldID");
    return JNI_FALSE;
  }
  if (contextPData == nullptr) {
    REPORT_MISSING(form, "GLContextpDataFieldID");
    return JNI_FALSE;
  }
  if (capabilitiesClass == nullptr) {
    REPORT_MISSING(form, "GLCapabilitiesClassblock");
    return JNI_FALSE;
  }

  pyx::SurfaceBracket surface(env, component, form);

  if (capabilitiesField == nullptr) {
    REPORT_MISSING(form, "GLContextcapabilitiesFieldID");
    return JNI_FALSE;
  }
  jobject capabilities = env->GetObjectField(self, capabilitiesField);
  if (capabilities == nullptr) return JNI_FALSE;
  if (getCapabilitiesAsInt == nullptr) {
    REPORT_MISSING(form, "getCapabilitiesAsIntMethodID");
    return JNI_FALSE;
  }
  int32_t caps[pyx::kCapabilityCount];
  jsize capsLength = 0;
  switch (readCapabilities(env, capabilities, getCapabilitiesAsInt, caps, &capsLength)) {
    case Capabilities::Read: break;
    case Capabilities::Absent: return JNI_FALSE;
    case Capabilities::Refused: {
      pyx::MessageBuffer text;
      snprintf(text, sizeof text, "getCapabilitiesAsInt() gave %d elements, %d needed", (int)capsLength,
               pyx::kCapabilityCount);
      REPORT(form, text);
      return JNI_FALSE;
    }
  }

  pyx::GLComponentRecord* record = pyx::componentRecords().find(env->GetIntField(component, componentPData));
  if (record == nullptr) {
    REPORT_MISSING(form, "GLComponentRecord");
    return JNI_FALSE;
  }
  HDC hDC = record->hDC;

  if (!surface.lock(PYX_HERE)) return JNI_FALSE;

  PIXELFORMATDESCRIPTOR pfd;
  if (!pyx::capabilitiesToDescriptor(caps, &pfd)) {
    surface.fail(PYX_HERE, "Illegal layer type!");
    return JNI_FALSE;
  }
  if (const char* failure = pixelFormatFailure(pyx::applyPixelFormat(hDC, &pfd, announcePalette))) {
    surface.fail(PYX_HERE, failure);
    return JNI_FALSE;
  }

  jfieldID sharedField =
      pyx::findField(env, componentClass, "sharedComponent", "Lcom/tandrel/pyxolin/GLComponent;");
  if (sharedField == nullptr) {
    surface.failMissing(PYX_HERE, "sharedComponentFieldID");
    return JNI_FALSE;
  }
  jobject sharedComponent = env->GetObjectField(component, sharedField);

  HGLRC created = 0;
  jboolean result = JNI_TRUE;
  if (sharedComponent == nullptr) {
    created = wglCreateContext(hDC);
    if (!created) {
      surface.fail(PYX_HERE, "context creation failed!");
      return JNI_FALSE;
    }
  } else {
    jmethodID getContext =
        methodFor(env, componentClass, sharedComponent, "getContext", "()Lcom/tandrel/pyxolin/GLContext;");
    if (getContext == nullptr) {
      surface.failMissing(PYX_HERE, "getContextMethodID");
      return JNI_FALSE;
    }
    jobject sharedContext = env->CallObjectMethod(sharedComponent, getContext);
    if (pyx::javaThrew(env)) {
      surface.failWithPendingException(PYX_HERE);
      return JNI_FALSE;
    }
    if (sharedContext == nullptr) {
      surface.failMissing(PYX_HERE, "sharedContext");
      return JNI_FALSE;
    }
    jmethodID isInitialized = methodFor(env, contextClass, sharedContext, "isInitialized", "()Z");
    if (isInitialized == nullptr) {
      surface.failMissing(PYX_HERE, "isInitializedMethodID");
      return JNI_FALSE;
    }
    jboolean initialized = env->CallBooleanMethod(sharedContext, isInitialized);
    if (pyx::javaThrew(env)) {
      surface.failWithPendingException(PYX_HERE);
      return JNI_FALSE;
    }
    if (!initialized) {
      result = JNI_FALSE;  // try again once the other context exists
    } else {
      jfieldID sharedPData = env->IsInstanceOf(sharedContext, contextClass)
                                 ? pyx::findField(env, contextClass, "pData", "I")
                                 : nullptr;
      if (sharedPData == nullptr) {
        surface.failMissing(PYX_HERE, "sharedContextpDataFieldID");
        return JNI_FALSE;
      }
      HGLRC shared = pyx::intToHandle<HGLRC>(env->GetIntField(sharedContext, sharedPData));
      if (!shared) {
        surface.failMissing(PYX_HERE, "sharedContextpData");
        return JNI_FALSE;
      }
      created = wglCreateContext(hDC);
      wglShareLists(shared, created);
      if (!created) {
        surface.failMissing(PYX_HERE, "glContext");
        return JNI_FALSE;
      }
    }
  }

  if (!surface.unlock(PYX_HERE)) return JNI_FALSE;
  env->SetIntField(self, contextPData, pyx::handleToInt(created));

  jclass lockedClass = env->GetObjectClass(capabilities);
  jfieldID lockedField = pyx::findField(env, lockedClass, "capabilityLocked", "Z");
  if (lockedField == nullptr) {
    REPORT_MISSING(form, "GLCapabilitiescapabilityLockedFieldID");
    return JNI_FALSE;
  }
  env->SetBooleanField(capabilities, lockedField, JNI_TRUE);
  return result;
}

namespace {

// What nMakeCurrent and nSwapBuffers share: the two "pData" fields tested
// inside the bracket, and the component's record.
struct BoundContext {
  pyx::GLComponentRecord* record;
  HGLRC handle;
};

bool bindContext(JNIEnv* env, jobject self, jobject component, pyx::SurfaceBracket& surface,
                 BoundContext* out) {
  jclass componentClass = component ? env->GetObjectClass(component) : nullptr;
  jfieldID componentPData = pyx::findField(env, componentClass, "pData", "I");
  jclass contextClass = env->GetObjectClass(self);
  jfieldID contextPData = pyx::findField(env, contextClass, "pData", "I");

  if (!surface.lock(PYX_HERE)) return false;
  if (componentPData == nullptr) {
    surface.failMissing(PYX_HERE, "GLComponentpDataFieldID");
    return false;
  }
  if (contextPData == nullptr) {
    surface.failMissing(PYX_HERE, "GLContextpDataFieldID");
    return false;
  }
  out->record = pyx::componentRecords().find(env->GetIntField(component, componentPData));
  if (out->record == nullptr) {
    surface.failMissing(PYX_HERE, "GLComponentRecord");
    return false;
  }
  out->handle = pyx::intToHandle<HGLRC>(env->GetIntField(self, contextPData));
  return true;
}

}  // namespace

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLContext_nMakeCurrent(JNIEnv* env, jobject self,
                                                                                 jobject component) {
  pyx::SurfaceBracket surface(env, component, pyx::raiseContextError);
  BoundContext bound;
  if (!bindContext(env, self, component, surface, &bound)) return;

  if (wglGetCurrentContext() != bound.handle) {
    wglMakeCurrent(0, 0);
    if (!wglMakeCurrent(bound.record->hDC, bound.handle)) {
      surface.fail(PYX_HERE, "wglMakeCurrent");
      return;
    }
  }
  surface.unlock(PYX_HERE);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLContext_nSwapBuffers(JNIEnv* env, jobject self,
                                                                                 jobject component) {
  pyx::SurfaceBracket surface(env, component, pyx::raiseContextError);
  BoundContext bound;
  if (!bindContext(env, self, component, surface, &bound)) return;

  HDC hDC = bound.record->hDC;
  if (hDC) {
    if (wglGetCurrentContext()) {
      glFinish();
      if (!SwapBuffers(hDC)) {
        DWORD code = GetLastError();
        if (code != 0) {
          pyx::MessageBuffer text;
          snprintf(text, sizeof text, "SwapBuffers(): %d", (int)code);
          surface.fail(PYX_HERE, text);
          return;
        }
      }
    }
    if (!wglMakeCurrent(0, 0)) {
      surface.fail(PYX_HERE, "Failed to reset context!");
      return;
    }
  }
  surface.unlock(PYX_HERE);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLContext_nDestroyContext(JNIEnv* env,
                                                                                    jobject self,
                                                                                    jobject component) {
  constexpr pyx::ReportForm form = pyx::raiseContextError;
  jclass componentClass = component ? env->GetObjectClass(component) : nullptr;
  jfieldID contextField = pyx::findField(env, componentClass, "_context", "Lcom/tandrel/pyxolin/GLContext;");
  jclass contextClass = env->GetObjectClass(self);
  jfieldID contextPData = pyx::findField(env, contextClass, "pData", "I");

  pyx::SurfaceBracket surface(env, component, form);
  if (!surface.lock(PYX_HERE)) return;
  if (contextPData == nullptr) {
    surface.failMissing(PYX_HERE, "GLContextpDataFieldID");
    return;
  }
  HGLRC handle = pyx::intToHandle<HGLRC>(env->GetIntField(self, contextPData));
  if (handle) {
    wglMakeCurrent(0, 0);
    // What CoreGL keeps for the context (vertex arrays, selection and
    // feedback storage) may go only once GL can no longer use it.
    if (wglDeleteContext(handle)) pyx::coregl::forgetClientState(env, handle);
    env->SetIntField(self, contextPData, 0);
    if (contextField == nullptr) {
      surface.failMissing(PYX_HERE, "GLComponent_contextFieldID");
      return;
    }
    env->SetObjectField(component, contextField, nullptr);
  }
  surface.unlock(PYX_HERE);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLContext_nUnlock(JNIEnv*, jobject) {
  wglMakeCurrent(0, 0);
}
