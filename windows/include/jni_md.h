/* Machine-dependent JNI types for 32-bit Windows, for cross-compiling the
   DLLs against the platform-neutral jni.h of the build machine's JDK. */
#ifndef PYX_WIN32_JNI_MD_H
#define PYX_WIN32_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#endif
