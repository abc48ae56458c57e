// The MicroTimer natives: raw performance-counter readings in the Java
// object's "startpData" and "stoppData", turned into microseconds by
// getDelta.
#include <math.h>
#include <stdint.h>

#include "jni_support.h"
#include "pyxwin/windows.h"

namespace {

jlong counterReading() {
  LARGE_INTEGER reading;
  reading.QuadPart = 0;
  QueryPerformanceCounter(&reading);
  return reading.QuadPart;
}

jlong counterFrequency() {
  LARGE_INTEGER frequency;
  frequency.QuadPart = 0;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

// Microseconds from start to stop: the quotient of one million by the
// frequency is formed first, then multiplied by the tick difference, and
// the product truncated toward zero as Java's (long) cast does it (NaN to 0,
// saturating at the ends of the range). Without a counter (frequency 0)
// there is no interval to measure: 0.
jlong microsecondsBetween(jlong start, jlong stop, jlong frequency) {
  if (frequency == 0) return 0;
  jlong ticks = static_cast<jlong>(static_cast<uint64_t>(stop) - static_cast<uint64_t>(start));
  double factor = 1000000.0 / static_cast<double>(frequency);
  double product = static_cast<double>(ticks) * factor;
  if (isnan(product)) return 0;
  if (product >= 9223372036854775807.0) return INT64_MAX;
  if (product <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<jlong>(product);
}

void storeReading(JNIEnv* env, jobject self, const char* fieldName, const char* label) {
  jclass cls = env->GetObjectClass(self);
  jfieldID field = pyx::findField(env, cls, fieldName, "J");
  env->DeleteLocalRef(cls);
  if (field == nullptr) {
    PYX_REPORT_MISSING(pyx::raiseContextError, env, label);
    return;
  }
  env->SetLongField(self, field, counterReading());
}

}  // namespace

// Both readings to 0. A class without either field is reported like start
// and stop report it.
extern "C" JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_create(JNIEnv* env, jobject self) {
  jclass cls = env->GetObjectClass(self);
  jfieldID start = pyx::findField(env, cls, "startpData", "J");
  jfieldID stop = pyx::findField(env, cls, "stoppData", "J");
  env->DeleteLocalRef(cls);
  if (start == nullptr) {
    PYX_REPORT_MISSING(pyx::raiseContextError, env, "startpDataFieldID");
    return;
  }
  if (stop == nullptr) {
    PYX_REPORT_MISSING(pyx::raiseContextError, env, "stoppDataFieldID");
    return;
  }
  env->SetLongField(self, start, 0);
  env->SetLongField(self, stop, 0);
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_start(JNIEnv* env, jobject self) {
  storeReading(env, self, "startpData", "startpDataFieldID");
}

extern "C" JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_stop(JNIEnv* env, jobject self) {
  storeReading(env, self, "stoppData", "stoppDataFieldID");
}

extern "C" JNIEXPORT jlong JNICALL Java_com_tandrel_util3d_MicroTimer_getDelta(JNIEnv* env, jobject self) {
  jclass cls = env->GetObjectClass(self);
  jfieldID startField = pyx::findField(env, cls, "startpData", "J");
  if (startField == nullptr) {
    env->DeleteLocalRef(cls);
    PYX_REPORT_MISSING(pyx::logAndRaiseContextError, env, "startpDataFieldID");
    return 0;
  }
  jlong start = env->GetLongField(self, startField);
  jfieldID stopField = pyx::findField(env, cls, "stoppData", "J");
  env->DeleteLocalRef(cls);
  if (stopField == nullptr) {
    PYX_REPORT_MISSING(pyx::logAndRaiseContextError, env, "stoppDataFieldID");
    return 0;
  }
  jlong stop = env->GetLongField(self, stopField);
  return microsecondsBetween(start, stop, counterFrequency());
}
