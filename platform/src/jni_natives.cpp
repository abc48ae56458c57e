// The natives of com.tandrel.winplat.WinPlatform and PlatformControl.
#include <jni.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "pyxwin/control.h"

extern "C" {

// ---- WinPlatform ----------------------------------------------------------

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_WinPlatform_createWindow(JNIEnv*, jclass,
                                                                        jint width,
                                                                        jint height) {
  return static_cast<jint>(pyxwinCreateWindow(width, height));
}

JNIEXPORT jboolean JNICALL Java_com_tandrel_winplat_WinPlatform_destroyWindow(JNIEnv*, jclass,
                                                                             jint hwnd) {
  return pyxwinDestroyWindow(static_cast<HWND>(hwnd)) ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_WinPlatform_getDC(JNIEnv*, jclass, jint hwnd) {
  return static_cast<jint>(GetDC(static_cast<HWND>(hwnd)));
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_WinPlatform_releaseDC(JNIEnv*, jclass, jint hwnd,
                                                                     jint hdc) {
  return ReleaseDC(static_cast<HWND>(hwnd), static_cast<HDC>(hdc));
}

// The AWT side reads the desktop size without a GetSystemMetrics call, so
// that it leaves no line in the call log.
JNIEXPORT jint JNICALL Java_com_tandrel_winplat_WinPlatform_screenWidth(JNIEnv*, jclass) {
  return PYXWIN_DESKTOP_WIDTH;
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_WinPlatform_screenHeight(JNIEnv*, jclass) {
  return PYXWIN_DESKTOP_HEIGHT;
}

// ---- PlatformControl --------------------------------------------------------

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_forceFailure(
    JNIEnv*, jclass, jint op, jint result, jint errorCode, jint times) {
  pyxwinForceFailure(op, result, static_cast<DWORD>(errorCode), times);
}

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_reset(JNIEnv*, jclass) {
  pyxwinReset();
}

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_setCounterFrequency(
    JNIEnv*, jclass, jlong ticksPerSecond) {
  pyxwinSetCounterFrequency(ticksPerSecond);
}

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_queueCounterReadings(
    JNIEnv* env, jclass, jlongArray readings) {
  if (readings == nullptr) return;
  const jsize n = env->GetArrayLength(readings);
  if (n <= 0) return;
  std::vector<jlong> values(static_cast<size_t>(n));
  env->GetLongArrayRegion(readings, 0, n, values.data());
  if (env->ExceptionCheck()) return;
  std::vector<LONGLONG> copy(values.begin(), values.end());
  pyxwinQueueCounterReadings(copy.data(), n);
}

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_recordCalls(JNIEnv*, jclass,
                                                                           jboolean on) {
  pyxwinRecordCalls(on ? TRUE : FALSE);
}

JNIEXPORT jstring JNICALL Java_com_tandrel_winplat_PlatformControl_callLog(JNIEnv* env, jclass) {
  // The log may grow between the two calls; ask until it fits.
  std::string buffer;
  int len = pyxwinCallLog(nullptr, 0);
  for (;;) {
    buffer.assign(static_cast<size_t>(len) + 1, '\0');
    const int now = pyxwinCallLog(&buffer[0], len + 1);
    if (now <= len) {
      buffer.resize(static_cast<size_t>(now));
      break;
    }
    len = now;
  }
  return env->NewStringUTF(buffer.c_str());  // the log is plain ASCII
}

JNIEXPORT void JNICALL Java_com_tandrel_winplat_PlatformControl_clearCallLog(JNIEnv*, jclass) {
  pyxwinClearCallLog();
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_formatCount(JNIEnv*, jclass) {
  return pyxwinFormatCount();
}

JNIEXPORT jintArray JNICALL Java_com_tandrel_winplat_PlatformControl_paletteEntries(JNIEnv* env,
                                                                                   jclass,
                                                                                   jint hdc) {
  const int n = pyxwinPaletteEntries(static_cast<HDC>(hdc), nullptr, 0);
  if (n < 0) return nullptr;
  std::vector<PALETTEENTRY> entries(static_cast<size_t>(n));
  const int got = pyxwinPaletteEntries(static_cast<HDC>(hdc), entries.data(), n);
  const int count = got < n ? (got < 0 ? 0 : got) : n;
  std::vector<jint> flat(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    flat[i] = static_cast<jint>(static_cast<uint32_t>(entries[i].peRed) |
                                static_cast<uint32_t>(entries[i].peGreen) << 8 |
                                static_cast<uint32_t>(entries[i].peBlue) << 16 |
                                static_cast<uint32_t>(entries[i].peFlags) << 24);
  }
  jintArray result = env->NewIntArray(static_cast<jsize>(flat.size()));
  if (result == nullptr) return nullptr;
  env->SetIntArrayRegion(result, 0, static_cast<jsize>(flat.size()), flat.data());
  return result;
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_selectedPalette(JNIEnv*, jclass,
                                                                               jint hdc) {
  return static_cast<jint>(pyxwinSelectedPalette(static_cast<HDC>(hdc)));
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_pixelFormatOf(JNIEnv*, jclass,
                                                                             jint hdc) {
  return pyxwinDCPixelFormat(static_cast<HDC>(hdc));
}

JNIEXPORT jboolean JNICALL Java_com_tandrel_winplat_PlatformControl_contextExists(JNIEnv*, jclass,
                                                                                 jint hglrc) {
  return pyxwinContextExists(static_cast<HGLRC>(hglrc)) ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_contextThread(JNIEnv*, jclass,
                                                                             jint hglrc) {
  return static_cast<jint>(pyxwinContextThread(static_cast<HGLRC>(hglrc)));
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_currentContext(JNIEnv*, jclass) {
  return static_cast<jint>(pyxwinCurrentContext());
}

JNIEXPORT jint JNICALL Java_com_tandrel_winplat_PlatformControl_currentThreadId(JNIEnv*, jclass) {
  return static_cast<jint>(pyxwinCurrentThreadId());
}

}  // extern "C"
