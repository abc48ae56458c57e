#include "jni_support.h"

#include <stdio.h>

namespace pyx {

namespace {

const char kExceptionClass[] = "com/tandrel/pyxolin/GLContextException";
const char kSurfaceInfoClass[] = "sun/awt/windows/WDrawingSurfaceInfo";

// Composes the message line; returns the exception class, or null when it
// cannot be found (the VM's class-lookup error then stays pending).
jclass composeReport(JNIEnv* env, MessageBuffer& line, const char* file, int lineNo,
                     const char* description) {
  // A failed lookup that led here may have left its error pending; the
  // report is what Java receives, and FindClass must not run over it.
  if (env->ExceptionCheck()) env->ExceptionClear();
  jclass cls = env->FindClass(kExceptionClass);
  formatMessageLine(line, file, lineNo, description);
  return cls;
}

}  // namespace

void raiseContextError(JNIEnv* env, const char* file, int line, const char* description) {
  MessageBuffer message;
  jclass cls = composeReport(env, message, file, line, description);
  if (cls != nullptr) {
    env->ThrowNew(cls, message);
    env->DeleteLocalRef(cls);
  } else {
    writeContextErrorLine(message);
  }
}

void logAndRaiseContextError(JNIEnv* env, const char* file, int line, const char* description) {
  MessageBuffer message;
  jclass cls = composeReport(env, message, file, line, description);
  writeContextErrorLine(message);
  if (cls != nullptr) {
    env->ThrowNew(cls, message);
    env->DeleteLocalRef(cls);
  } else {
    writeContextErrorLine(message);
  }
}

void reportMissing(ReportForm form, JNIEnv* env, const char* file, int line, const char* label) {
  MessageBuffer description;
  formatMissingItem(description, label);
  form(env, file, line, description);
}

void probePendingException(JNIEnv* env) {
  if (env->ExceptionCheck()) env->ExceptionDescribe();
}

jfieldID findField(JNIEnv* env, jclass cls, const char* name, const char* signature) {
  if (cls == nullptr) return nullptr;
  jfieldID id = env->GetFieldID(cls, name, signature);
  if (id == nullptr) env->ExceptionClear();
  return id;
}

jmethodID findMethod(JNIEnv* env, jclass cls, const char* name, const char* signature) {
  if (cls == nullptr) return nullptr;
  jmethodID id = env->GetMethodID(cls, name, signature);
  if (id == nullptr) env->ExceptionClear();
  return id;
}

jclass findClass(JNIEnv* env, const char* name) {
  jclass cls = env->FindClass(name);
  if (cls == nullptr) env->ExceptionClear();
  return cls;
}

HandleTable<GLComponentRecord>& componentRecords() {
  static HandleTable<GLComponentRecord> table;
  return table;
}

SurfaceBracket::SurfaceBracket(JNIEnv* env, jobject component, ReportForm form)
    : env_(env), form_(form) {
  surfaceClass_ = env->FindClass(kSurfaceInfoClass);
  probePendingException(env);
  if (component == nullptr) return;
  jclass componentClass = env->GetObjectClass(component);
  jfieldID field = env->GetFieldID(componentClass, "drawingSurfaceInfo", "Ljava/lang/Object;");
  probePendingException(env);
  env->DeleteLocalRef(componentClass);
  if (field == nullptr) return;
  info_ = env->GetObjectField(component, field);
  probePendingException(env);
}

SurfaceBracket::SurfaceBracket(JNIEnv* env, jclass surfaceClass, jobject surfaceInfo, ReportForm form)
    : env_(env), surfaceClass_(surfaceClass), info_(surfaceInfo), form_(form) {}

SurfaceBracket::~SurfaceBracket() {
  // A path that did not close the bracket is unlocked all the same.
  failWithPendingException(PYX_HERE);
}

bool SurfaceBracket::lock(Here here) {
  if (surfaceClass_ == nullptr) {
    reportMissing(form_, env_, here.file, here.line, "WDrawingSurfaceInfoClass");
    return false;
  }
  if (info_ == nullptr) {
    reportMissing(form_, env_, here.file, here.line, "drawingSurfaceInfo");
    return false;
  }
  if (!env_->IsInstanceOf(info_, surfaceClass_)) {
    form_(env_, here.file, here.line, "drawingSurfaceInfo is not a WDrawingSurfaceInfo");
    return false;
  }
  jmethodID lockMethod = findMethod(env_, surfaceClass_, "lock", "()I");
  if (lockMethod == nullptr) {
    form_(env_, here.file, here.line, "lockmethodID is NULL");
    return false;
  }
  env_->CallIntMethod(info_, lockMethod);  // whatever lock answers, the work goes on
  if (javaThrew(env_)) return false;       // not locked; Java's exception goes to the caller
  locked_ = true;
  return true;
}

bool SurfaceBracket::callUnlock(Here here, bool reportMissingMethod) {
  locked_ = false;
  jmethodID unlockMethod = findMethod(env_, surfaceClass_, "unlock", "()V");
  if (unlockMethod == nullptr) {
    if (reportMissingMethod) form_(env_, here.file, here.line, "unlockmethodID is NULL");
    return false;
  }
  env_->CallVoidMethod(info_, unlockMethod);
  return !javaThrew(env_);
}

bool SurfaceBracket::unlock(Here here) {
  if (!locked_) return false;
  return callUnlock(here, true);
}

void SurfaceBracket::fail(Here here, const char* description) {
  if (locked_) {
    // The failure in the bracket is the one reported: an unlock that
    // cannot be resolved or that throws is not allowed to hide it.
    callUnlock(here, false);
    if (env_->ExceptionCheck()) env_->ExceptionClear();
  }
  form_(env_, here.file, here.line, description);
}

void SurfaceBracket::failMissing(Here here, const char* label) {
  MessageBuffer description;
  formatMissingItem(description, label);
  fail(here, description);
}

void SurfaceBracket::failWithPendingException(Here here) {
  if (!locked_) return;
  jthrowable held = env_->ExceptionOccurred();
  if (held) env_->ExceptionClear();
  callUnlock(here, false);
  if (held) {
    if (env_->ExceptionCheck()) env_->ExceptionClear();
    env_->Throw(held);
    env_->DeleteLocalRef(held);
  }
}

}  // namespace pyx
