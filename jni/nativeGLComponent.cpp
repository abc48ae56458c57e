// GLComponent natives: the component's window and device context, its
// context handle, and the desktop size.
#include <new>

#include "jni_support.h"

namespace {

constexpr pyx::ReportForm kForm = pyx::logAndRaiseContextError;

#define REPORT(text) PYX_REPORT(kForm, env, text)
#define REPORT_MISSING(label) PYX_REPORT_MISSING(kForm, env, label)

// The component's record, or null when "pData" holds no live handle.
pyx::GLComponentRecord* recordOf(JNIEnv* env, jobject component, jfieldID pData) {
  return pyx::componentRecords().find(env->GetIntField(component, pData));
}

// Replaces the component's record by a new one; the earlier record, if any,
// is freed.
bool storeRecord(JNIEnv* env, jobject component, jfieldID pData, HWND hWnd, HDC hDC) {
  auto* record = new (std::nothrow) pyx::GLComponentRecord{hWnd, hDC};
  if (record == nullptr) return false;
  delete pyx::componentRecords().remove(env->GetIntField(component, pData));
  env->SetIntField(component, pData, pyx::componentRecords().add(record));
  return true;
}

}  // namespace

extern "C" JNIEXPORT jboolean JNICALL Java_com_tandrel_pyxolin_GLComponent_nCreate(JNIEnv* env,
                                                                                   jobject component) {
  jclass componentClass = env->GetObjectClass(component);
  jclass surfaceClass = env->FindClass("sun/awt/DrawingSurface");
  pyx::probePendingException(env);
  jclass surfaceInfoInterface = env->FindClass("sun/awt/DrawingSurfaceInfo");
  pyx::probePendingException(env);
  jclass surfaceInfoClass = env->FindClass("sun/awt/windows/WDrawingSurfaceInfo");
  pyx::probePendingException(env);
  (void)surfaceInfoInterface;

  jfieldID peerField = pyx::findField(env, componentClass, "peer", "Ljava/awt/peer/ComponentPeer;");
  jfieldID pDataField = pyx::findField(env, componentClass, "pData", "I");
  jobject peer = peerField ? env->GetObjectField(component, peerField) : nullptr;
  jmethodID getInfo =
      pyx::findMethod(env, surfaceClass, "getDrawingSurfaceInfo", "()Lsun/awt/DrawingSurfaceInfo;");

  if (peer == nullptr) {
    REPORT("peer is null");
    return JNI_FALSE;
  }
  if (getInfo == nullptr) {
    REPORT("getDrawingSurfaceInfo methodID is null");
    return JNI_FALSE;
  }
  if (!env->IsInstanceOf(peer, surfaceClass)) {
    REPORT("peer is not a DrawingSurface");
    return JNI_FALSE;
  }

  jobject info = env->CallObjectMethod(peer, getInfo);
  if (pyx::javaThrew(env)) return JNI_FALSE;
  if (info == nullptr) {
    REPORT("drawingSurfaceInfo is null!");
    return JNI_FALSE;
  }

  jfieldID infoField = env->GetFieldID(componentClass, "drawingSurfaceInfo", "Ljava/lang/Object;");
  if (infoField != nullptr) env->SetObjectField(component, infoField, info);
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    REPORT("Cannot set drawingSurfaceInfo");
    return JNI_FALSE;
  }

  pyx::SurfaceBracket surface(env, surfaceInfoClass, info, kForm);
  if (!surface.lock(PYX_HERE)) return JNI_FALSE;

  jmethodID getHDC = pyx::findMethod(env, surfaceInfoClass, "getHDC", "()I");
  if (getHDC == nullptr) {
    surface.fail(PYX_HERE, "Failed to get 'getHDC()' method ID");
    return JNI_FALSE;
  }
  jmethodID getHWnd = pyx::findMethod(env, surfaceInfoClass, "getHWnd", "()I");
  if (getHWnd == nullptr) {
    surface.fail(PYX_HERE, "Failed to get ``getHWnd()'' method ID");
    return JNI_FALSE;
  }

  jint hDC = env->CallIntMethod(info, getHDC);
  if (pyx::javaThrew(env)) {
    surface.failWithPendingException(PYX_HERE);
    return JNI_FALSE;
  }
  if (hDC == 0) {
    surface.fail(PYX_HERE, "Failed to fetch HDC from DrawingSurfaceInfo");
    return JNI_FALSE;
  }
  jint hWnd = env->CallIntMethod(info, getHWnd);
  if (pyx::javaThrew(env)) {
    surface.failWithPendingException(PYX_HERE);
    return JNI_FALSE;
  }
  if (hWnd == 0) {
    surface.fail(PYX_HERE, "Failed to fetch HWND from DrawingSurfaceInfo");
    return JNI_FALSE;
  }

  if (pDataField == nullptr) {
    surface.failMissing(PYX_HERE, "GLComponentpDataFieldID");
    return JNI_FALSE;
  }
  if (!storeRecord(env, component, pDataField, pyx::intToHandle<HWND>(hWnd), pyx::intToHandle<HDC>(hDC))) {
    surface.fail(PYX_HERE, "Cannot allocate GLComponentRecord");
    return JNI_FALSE;
  }

  if (!surface.unlock(PYX_HERE)) return JNI_FALSE;
  return JNI_TRUE;
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getDesktopWidth(JNIEnv* env,
                                                                                       jobject component) {
  pyx::SurfaceBracket surface(env, component, kForm);
  if (!surface.lock(PYX_HERE)) return 0;
  int width = GetSystemMetrics(SM_CXSCREEN);
  if (!surface.unlock(PYX_HERE)) return 0;
  return width;
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getDesktopHeight(JNIEnv*, jobject) {
  return GetSystemMetrics(SM_CYSCREEN);
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getWindow(JNIEnv* env,
                                                                                 jobject component) {
  jclass componentClass = env->GetObjectClass(component);
  jfieldID pData = pyx::findField(env, componentClass, "pData", "I");
  if (pData == nullptr) return 0;
  pyx::GLComponentRecord* record = recordOf(env, component, pData);
  return record ? pyx::handleToInt(record->hWnd) : 0;
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getWidget(JNIEnv* env,
                                                                                 jobject component) {
  jclass componentClass = env->GetObjectClass(component);
  jfieldID pData = pyx::findField(env, componentClass, "pData", "I");
  if (pData == nullptr) {
    REPORT_MISSING("GLComponentpDataFieldID");
    return 0;
  }
  pyx::GLComponentRecord* record = recordOf(env, component, pData);
  if (record == nullptr) {
    REPORT_MISSING("GLComponentRecord");
    return 0;
  }
  return pyx::handleToInt(record->hDC);
}

extern "C" JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getGLContext(JNIEnv* env,
                                                                                    jobject component) {
  jclass componentClass = env->GetObjectClass(component);
  jclass contextClass = pyx::findClass(env, "com/tandrel/pyxolin/GLContext");
  jmethodID getContext =
      pyx::findMethod(env, componentClass, "getContext", "()Lcom/tandrel/pyxolin/GLContext;");
  jfieldID contextPData = pyx::findField(env, contextClass, "pData", "I");

  if (componentClass == nullptr) {
    REPORT_MISSING("GLComponentClassblock");
    return 0;
  }
  if (contextClass == nullptr) {
    REPORT_MISSING("GLContextClassblock");
    return 0;
  }
  if (getContext == nullptr) {
    REPORT_MISSING("getContextMethodID");
    return 0;
  }
  if (contextPData == nullptr) {
    REPORT_MISSING("GLContextpDataFieldID");
    return 0;
  }

  jobject context = env->CallObjectMethod(component, getContext);
  if (pyx::javaThrew(env)) return 0;
  if (context == nullptr) {
    REPORT_MISSING("context");
    return 0;
  }
  return env->GetIntField(context, contextPData);
}
