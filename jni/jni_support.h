// What the JNI natives share: the two report forms, the missing-item report,
// the pending-exception probe, lookups that leave no lookup error pending,
// the drawing-surface bracket, and handles for native records.
#pragma once

#include <jni.h>
#include <stdint.h>

#include <mutex>
#include <unordered_map>

#include "messages.h"
#include "pyxwin/windows.h"

namespace pyx {

// A report form: composes "%s:%d: %s" and throws GLContextException with it,
// or writes "Context Error: %s\n" when the class cannot be found.
using ReportForm = void (*)(JNIEnv* env, const char* file, int line, const char* description);

// Throws; writes the standard-error line only when it cannot throw.
void raiseContextError(JNIEnv* env, const char* file, int line, const char* description);
// Always writes the standard-error line, then acts as raiseContextError (so
// the line is written twice when the exception class is missing).
void logAndRaiseContextError(JNIEnv* env, const char* file, int line, const char* description);
// "%s is NULL!" with the label, through the given form.
void reportMissing(ReportForm form, JNIEnv* env, const char* file, int line, const char* label);

// Describes (and so clears) a pending exception and goes on.
void probePendingException(JNIEnv* env);

// Lookups whose failure is tested and reported by the caller: a failed
// lookup leaves no NoSuchFieldError/NoSuchMethodError pending, so the report
// that follows is the exception Java receives.
jfieldID findField(JNIEnv* env, jclass cls, const char* name, const char* signature);
jmethodID findMethod(JNIEnv* env, jclass cls, const char* name, const char* signature);
jclass findClass(JNIEnv* env, const char* name);

// True when a call into Java threw; the exception stays pending.
inline bool javaThrew(JNIEnv* env) { return env->ExceptionCheck() == JNI_TRUE; }

// Native records behind 32-bit Java int fields. Handles are never 0 and are
// not reused, so a stale or forged value finds nothing.
template <typename Record>
class HandleTable {
 public:
  jint add(Record* record) {
    std::lock_guard<std::mutex> guard(mutex_);
    do {
      ++last_;
    } while (last_ == 0 || records_.count(static_cast<jint>(last_)) != 0);
    records_[static_cast<jint>(last_)] = record;
    return static_cast<jint>(last_);
  }

  // The record of a handle, or null for 0 and unknown handles.
  Record* find(jint handle) {
    if (handle == 0) return nullptr;
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = records_.find(handle);
    return it == records_.end() ? nullptr : it->second;
  }

  // Removes the handle and hands its record back for freeing.
  Record* remove(jint handle) {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = records_.find(handle);
    if (it == records_.end()) return nullptr;
    Record* record = it->second;
    records_.erase(it);
    return record;
  }

 private:
  std::mutex mutex_;
  uint32_t last_ = 0;
  std::unordered_map<jint, Record*> records_;
};

// Handles are stored in Java int fields as their 32 bits.
template <typename Handle>
jint handleToInt(Handle h) {
  return static_cast<jint>(static_cast<uint32_t>((uintptr_t)h));
}
template <typename Handle>
Handle intToHandle(jint v) {
  return (Handle)(uintptr_t)static_cast<uint32_t>(v);
}

// The window handle and device context of a component, behind its "pData".
struct GLComponentRecord {
  HWND hWnd;
  HDC hDC;
};
HandleTable<GLComponentRecord>& componentRecords();

// The drawing-surface bracket of one native call.
//
//   SurfaceBracket surface(env, component, raiseContextError);
//   if (!surface.lock(PYX_HERE)) return;
//   ... work on the window, device context or rendering context ...
//   if (failed) return surface.fail(PYX_HERE, "text");     // unlock, then report
//   surface.unlock(PYX_HERE);
//
// Every exit after a successful lock passes through unlock before the
// native returns: the destructor unlocks a bracket left open. A failure
// inside the bracket is reported after the unlock, and an exception thrown by
// Java inside the bracket is held aside during the unlock and raised again
// after it, so no Java method runs while an exception is pending.
class SurfaceBracket {
 public:
  struct Here {
    const char* file;
    int line;
  };

  // Finds the drawing-surface-info object in the component's field.
  SurfaceBracket(JNIEnv* env, jobject component, ReportForm form);
  // Uses the given drawing-surface-info object (for nCreate).
  SurfaceBracket(JNIEnv* env, jclass surfaceClass, jobject surfaceInfo, ReportForm form);
  ~SurfaceBracket();
  SurfaceBracket(const SurfaceBracket&) = delete;
  SurfaceBracket& operator=(const SurfaceBracket&) = delete;

  // Calls lock. False after a report (or with Java's exception pending when
  // lock threw): the native returns its failure value and does no work.
  bool lock(Here here);

  // Calls unlock; reports "unlockmethodID is NULL" when it cannot. False
  // when the native must return its failure value.
  bool unlock(Here here);

  // Ends the bracket after a failure: unlock, then the report of
  // `description` (or Java's exception, if one is pending).
  void fail(Here here, const char* description);
  void failMissing(Here here, const char* label);

  // Ends the bracket after a call into Java threw: unlock with the exception
  // held aside, then the exception again.
  void failWithPendingException(Here here);

  jobject surfaceInfo() const { return info_; }
  ReportForm form() const { return form_; }

 private:
  bool callUnlock(Here here, bool reportMissingMethod);

  JNIEnv* env_;
  jclass surfaceClass_ = nullptr;
  jobject info_ = nullptr;
  ReportForm form_;
  bool locked_ = false;
};

}  // namespace pyx

#define PYX_HERE (::pyx::SurfaceBracket::Here{__FILE__, __LINE__})
// Reports at the point of failure, naming this source file and line.
#define PYX_REPORT(form, env, text) (form)((env), __FILE__, __LINE__, (text))
#define PYX_REPORT_MISSING(form, env, label) ::pyx::reportMissing((form), (env), __FILE__, __LINE__, (label))
