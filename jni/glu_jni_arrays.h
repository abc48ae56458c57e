// Refusals of the GLU-object natives: a null array, an array shorter than
// GLU reads, a count GLU cannot take. Each throws into Java with a message
// naming the native and the parameter, and the caller makes no GLU call.
#pragma once

#include <jni.h>
#include <stdint.h>
#include <stdio.h>

namespace pyx::glu {

inline void throwNamed(JNIEnv* env, const char* className, const char* message) {
  jclass cls = env->FindClass(className);
  if (cls == nullptr) return;  // the VM's own error is pending instead
  env->ThrowNew(cls, message);
  env->DeleteLocalRef(cls);
}

// True when `array` holds at least `needed` elements; otherwise throws
// NullPointerException or ArrayIndexOutOfBoundsException and answers false.
inline bool hasElements(JNIEnv* env, jarray array, int64_t needed, const char* native, const char* parameter) {
  char message[256];
  if (array == nullptr) {
    snprintf(message, sizeof message, "%s: %s is null", native, parameter);
    throwNamed(env, "java/lang/NullPointerException", message);
    return false;
  }
  jsize given = env->GetArrayLength(array);
  if (given >= needed) return true;
  snprintf(message, sizeof message, "%s: %s needs %lld elements, has %ld", native, parameter,
           static_cast<long long>(needed), static_cast<long>(given));
  throwNamed(env, "java/lang/ArrayIndexOutOfBoundsException", message);
  return false;
}

// True for a count of 0 or more; otherwise throws IllegalArgumentException.
inline bool isNotNegative(JNIEnv* env, jint count, const char* native, const char* parameter) {
  if (count >= 0) return true;
  char message[256];
  snprintf(message, sizeof message, "%s: %s is %ld, cannot be negative", native, parameter,
           static_cast<long>(count));
  throwNamed(env, "java/lang/IllegalArgumentException", message);
  return false;
}

// The elements of a primitive array, lent without a copy for one GLU call
// that makes no JNI call, and given back unchanged (JNI_ABORT).
template <typename Element>
class LentElements {
 public:
  LentElements(JNIEnv* env, jarray array) : env_(env), array_(array) {
    elements_ = static_cast<Element*>(env->GetPrimitiveArrayCritical(array, nullptr));
  }
  ~LentElements() {
    if (elements_ != nullptr) env_->ReleasePrimitiveArrayCritical(array_, elements_, JNI_ABORT);
  }
  LentElements(const LentElements&) = delete;
  LentElements& operator=(const LentElements&) = delete;

  Element* get() const { return elements_; }

 private:
  JNIEnv* env_;
  jarray array_;
  Element* elements_;
};

}  // namespace pyx::glu
