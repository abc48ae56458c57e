// An embedded JVM for GoogleTest programs that drive natives directly: the
// VM (with -Xcheck:jni), standard-error capture, and the pending exception
// taken apart. The class path comes from PYX_TEST_CLASSPATH, the library
// path from PYX_TEST_LIBDIR, and an optional java.desktop patch from
// PYX_TEST_PATCH.
#pragma once

#include <gtest/gtest.h>
#include <jni.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace pyxtest {

inline JavaVM* vm;
inline JNIEnv* env;

// Everything written to file descriptor 2 while it lives.
class StderrCapture {
 public:
  StderrCapture() {
    fflush(stderr);
    saved_ = dup(2);
    file_ = tmpfile();
    dup2(fileno(file_), 2);
  }
  std::string finish() {
    fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    std::string text;
    rewind(file_);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, file_)) > 0) text.append(buf, n);
    fclose(file_);
    // Whatever else was written (the VM's JNI checks) still reaches the log.
    fputs(text.c_str(), stderr);
    return text;
  }

 private:
  int saved_;
  FILE* file_;
};

inline std::string stringOf(jstring s) {
  if (s == nullptr) return "";
  const char* chars = env->GetStringUTFChars(s, nullptr);
  std::string out(chars);
  env->ReleaseStringUTFChars(s, chars);
  return out;
}

// The pending exception's class name and message, or empty ones; clears it.
struct Thrown {
  std::string className;
  std::string message;
};

inline Thrown takeException() {
  Thrown t;
  jthrowable e = env->ExceptionOccurred();
  if (e == nullptr) return t;
  env->ExceptionClear();
  jclass classClass = env->FindClass("java/lang/Class");
  jmethodID getName = env->GetMethodID(classClass, "getName", "()Ljava/lang/String;");
  jobject name = env->CallObjectMethod(env->GetObjectClass(e), getName);
  EXPECT_FALSE(env->ExceptionCheck());
  t.className = stringOf(static_cast<jstring>(name));
  jclass throwable = env->FindClass("java/lang/Throwable");
  jmethodID getMessage = env->GetMethodID(throwable, "getMessage", "()Ljava/lang/String;");
  jobject message = env->CallObjectMethod(e, getMessage);
  EXPECT_FALSE(env->ExceptionCheck());
  t.message = stringOf(static_cast<jstring>(message));
  return t;
}

// A new object of the class through the constructor of that signature.
inline jobject newObject(const char* className, const char* signature = "()V", ...) {
  jclass cls = env->FindClass(className);
  EXPECT_NE(cls, nullptr) << className;
  if (cls == nullptr) {
    env->ExceptionClear();
    return nullptr;
  }
  jmethodID ctor = env->GetMethodID(cls, "<init>", signature);
  va_list args;
  va_start(args, signature);
  jobject o = env->NewObjectV(cls, ctor, args);
  va_end(args);
  EXPECT_FALSE(env->ExceptionCheck()) << className;
  return o;
}

// Creates the VM, runs the tests, and destroys the VM again, so that none
// of its threads is still checking the process's signal handlers while the
// process exits.
inline int runTestsInJvm(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char* classpath = getenv("PYX_TEST_CLASSPATH");
  const char* libdir = getenv("PYX_TEST_LIBDIR");
  const char* patch = getenv("PYX_TEST_PATCH");
  if (!classpath || !libdir) {
    fprintf(stderr, "set PYX_TEST_CLASSPATH and PYX_TEST_LIBDIR (and PYX_TEST_PATCH if needed)\n");
    return 2;
  }
  std::vector<std::string> texts = {std::string("-Djava.class.path=") + classpath,
                                    std::string("-Djava.library.path=") + libdir, "-Djava.awt.headless=true",
                                    "-Xcheck:jni"};
  if (patch) {
    texts.push_back(std::string("--patch-module=java.desktop=") + patch);
    texts.push_back("--add-exports=java.desktop/sun.awt=ALL-UNNAMED");
    texts.push_back("--add-exports=java.desktop/sun.awt.windows=ALL-UNNAMED");
  }
  std::vector<JavaVMOption> options;
  for (std::string& t : texts) options.push_back(JavaVMOption{t.data(), nullptr});
  JavaVMInitArgs args{JNI_VERSION_10, static_cast<jint>(options.size()), options.data(), JNI_FALSE};
  if (JNI_CreateJavaVM(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK) {
    fprintf(stderr, "cannot create the JVM\n");
    return 2;
  }
  int result = RUN_ALL_TESTS();
  vm->DestroyJavaVM();
  return result;
}

}  // namespace pyxtest
