// Natives driven from C++ through an embedded JVM, for what a Java test
// cannot arrange or observe: objects of classes that lack a member, a
// drawing-surface class without lock or unlock, a class path without the
// exception class, and the lines written to the process's standard error.
//
// The JVM's class path and java.desktop patch come from PYX_TEST_CLASSPATH
// and PYX_TEST_PATCH; ctest runs this binary once per arrangement with a
// filter for the suites that belong to it.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <jni.h>

#include <regex>
#include <string>
#include <vector>

#include "embedded_jvm.h"
#include "pyxwin/control.h"

extern "C" {
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_CoreGL_nGlViewport(JNIEnv*, jclass, jobject, jint, jint, jint,
                                                                   jint);
JNIEXPORT jboolean JNICALL Java_com_tandrel_pyxolin_GLContext_nCreateContext(JNIEnv*, jobject, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLContext_nMakeCurrent(JNIEnv*, jobject, jobject);
JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getDesktopWidth(JNIEnv*, jobject);
JNIEXPORT jboolean JNICALL Java_com_tandrel_pyxolin_GLComponent_nCreate(JNIEnv*, jobject);
JNIEXPORT jint JNICALL Java_com_tandrel_pyxolin_GLComponent_getWidget(JNIEnv*, jobject);
}

namespace {

using namespace pyxtest;

void setObject(jobject o, const char* name, const char* signature, jobject value) {
  jfieldID f = env->GetFieldID(env->GetObjectClass(o), name, signature);
  ASSERT_NE(f, nullptr) << name;
  env->SetObjectField(o, f, value);
}

// An offscreen window with a pixel format and a current context, and a
// drawing-surface-info object of whatever class the patch provides.
struct Window {
  HWND hwnd = pyxwinCreateWindow(16, 16);
  HDC hdc = GetDC(hwnd);
  HGLRC glrc = 0;
  jobject info = nullptr;

  Window() {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW;
    pfd.cColorBits = 24;
    SetPixelFormat(hdc, ChoosePixelFormat(hdc, &pfd), &pfd);
    glrc = wglCreateContext(hdc);
    wglMakeCurrent(hdc, glrc);
    jobject bounds = newObject("java/awt/Rectangle", "(IIII)V", 0, 0, 16, 16);
    info = newObject("sun/awt/windows/WDrawingSurfaceInfo", "(IILjava/awt/Rectangle;)V", (jint)hwnd, (jint)hdc,
                     bounds);
  }
  ~Window() {
    wglMakeCurrent(0, 0);
    wglDeleteContext(glrc);
    pyxwinDestroyWindow(hwnd);
  }
};

// Each test gets a local-reference frame of its own, as a native call would.
class Embedded : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(env->PushLocalFrame(256), JNI_OK); }
  void TearDown() override {
    EXPECT_FALSE(env->ExceptionCheck());
    env->PopLocalFrame(nullptr);
  }
};
using Reports = Embedded;
using MissingMembers = Embedded;
using MissingExceptionClass = Embedded;
using NoLock = Embedded;
using NoUnlock = Embedded;

jobject componentWith(jobject info) {
  jobject c = newObject("com/tandrel/pyxolin/GLComponent");
  setObject(c, "drawingSurfaceInfo", "Ljava/lang/Object;", info);
  return c;
}

jobject contextFor(jobject component) {
  jobject caps = newObject("com/tandrel/pyxolin/GLCapabilities");
  return newObject("com/tandrel/pyxolin/GLContext",
                   "(Lcom/tandrel/pyxolin/GLComponent;Lcom/tandrel/pyxolin/GLCapabilities;)V", component, caps);
}

std::vector<int> viewport() {
  std::vector<int> v(4);
  glGetIntegerv(GL_VIEWPORT, v.data());
  return v;
}

void expectMessage(const Thrown& t, const char* file, const char* text) {
  EXPECT_EQ(t.className, "com.tandrel.pyxolin.GLContextException");
  std::regex line("^.*/" + std::string(file) + ":[0-9]+: " + std::regex_replace(text, std::regex(R"([.()!])"), R"(\$&)") + "$");
  EXPECT_TRUE(std::regex_match(t.message, line)) << t.message;
}

// --- with the usual drawing-surface stand-ins -----------------------------

TEST_F(Reports, RaiseFormWritesNothingAndLogFormWritesTheLineOnce) {
  Window w;
  jobject component = componentWith(w.info);  // never created: "pData" 0
  jobject context = contextFor(component);

  StderrCapture quiet;
  Java_com_tandrel_pyxolin_GLContext_nMakeCurrent(env, context, component);
  EXPECT_EQ(quiet.finish(), "");
  expectMessage(takeException(), "nativeGLContext.cpp", "GLComponentRecord is NULL!");

  StderrCapture logged;
  EXPECT_FALSE(Java_com_tandrel_pyxolin_GLContext_nCreateContext(env, context, component));
  std::string err = logged.finish();
  Thrown t = takeException();
  expectMessage(t, "nativeGLContext.cpp", "GLComponentRecord is NULL!");
  EXPECT_EQ(err, "Context Error: " + t.message + "\n");
}

TEST_F(MissingMembers, ComponentAndContextClassesWithoutPData) {
  Window w;
  jobject bare = newObject("fixtures/NoPDataComponent");
  setObject(bare, "drawingSurfaceInfo", "Ljava/lang/Object;", w.info);

  StderrCapture c1;
  EXPECT_EQ(Java_com_tandrel_pyxolin_GLComponent_getWidget(env, bare), 0);
  c1.finish();
  expectMessage(takeException(), "nativeGLComponent.cpp", "GLComponentpDataFieldID is NULL!");

  jobject component = componentWith(w.info);
  StderrCapture c2;
  EXPECT_FALSE(Java_com_tandrel_pyxolin_GLContext_nCreateContext(env, contextFor(component), bare));
  c2.finish();
  expectMessage(takeException(), "nativeGLContext.cpp", "GLComponentpDataFieldID is NULL!");

  StderrCapture c3;
  EXPECT_FALSE(Java_com_tandrel_pyxolin_GLContext_nCreateContext(env, newObject("fixtures/NoPDataContext"), component));
  c3.finish();
  expectMessage(takeException(), "nativeGLContext.cpp", "GLContextpDataFieldID is NULL!");
  EXPECT_FALSE(env->ExceptionCheck());
}

TEST_F(MissingMembers, ComponentWithoutTheSurfaceFieldCannotStoreTheObject) {
  Window w;
  jobject bare = newObject("fixtures/NoSurfaceFieldComponent");
  jobject peer = newObject("sun/awt/windows/WOffscreenPeer", "(Ljava/awt/Component;Lsun/awt/DrawingSurfaceInfo;)V",
                           bare, w.info);
  setObject(bare, "peer", "Ljava/awt/peer/ComponentPeer;", peer);

  StderrCapture err;
  EXPECT_FALSE(Java_com_tandrel_pyxolin_GLComponent_nCreate(env, bare));
  std::string text = err.finish();
  Thrown t = takeException();
  expectMessage(t, "nativeGLComponent.cpp", "Cannot set drawingSurfaceInfo");
  EXPECT_NE(text.find("NoSuchFieldError"), std::string::npos) << "the probe describes the pending error: " << text;
  EXPECT_NE(text.find("Context Error: " + t.message + "\n"), std::string::npos) << text;
}

// --- a class path without GLContextException --------------------------------

TEST_F(MissingExceptionClass, LinesAreWrittenAndTheClassLookupErrorIsPending) {
  Window w;
  jobject component = componentWith(w.info);
  jobject context = contextFor(component);

  StderrCapture once;
  Java_com_tandrel_pyxolin_GLContext_nMakeCurrent(env, context, component);
  std::string err = once.finish();
  Thrown t = takeException();
  EXPECT_EQ(t.className, "java.lang.NoClassDefFoundError");
  std::regex line(R"(^Context Error: .*/nativeGLContext\.cpp:[0-9]+: GLComponentRecord is NULL!\n$)");
  EXPECT_TRUE(std::regex_match(err, line)) << err;

  StderrCapture twice;
  EXPECT_FALSE(Java_com_tandrel_pyxolin_GLContext_nCreateContext(env, context, component));
  err = twice.finish();
  EXPECT_EQ(takeException().className, "java.lang.NoClassDefFoundError");
  size_t half = err.size() / 2;
  EXPECT_EQ(err.substr(0, half), err.substr(half));
  EXPECT_TRUE(std::regex_match(err.substr(0, half), line)) << err;
}

// --- drawing-surface classes without lock or without unlock -----------------

TEST_F(NoLock, NothingIsDoneAndTheReportNamesTheLock) {
  Window w;
  glViewport(0, 0, 16, 16);
  jobject component = componentWith(w.info);

  StderrCapture quiet;
  Java_com_tandrel_pyxolin_CoreGL_nGlViewport(env, nullptr, component, 1, 2, 3, 4);
  EXPECT_EQ(quiet.finish(), "");
  expectMessage(takeException(), "nativeCoreGL_jni.cpp", "lockmethodID is NULL");
  EXPECT_EQ(viewport(), (std::vector<int>{0, 0, 16, 16}));

  StderrCapture logged;
  EXPECT_EQ(Java_com_tandrel_pyxolin_GLComponent_getDesktopWidth(env, component), 0);
  std::string err = logged.finish();
  Thrown t = takeException();
  expectMessage(t, "nativeGLComponent.cpp", "lockmethodID is NULL");
  EXPECT_EQ(err, "Context Error: " + t.message + "\n");
}

TEST_F(NoUnlock, TheWorkIsDoneBeforeTheReport) {
  Window w;
  glViewport(0, 0, 16, 16);
  jobject component = componentWith(w.info);
  Java_com_tandrel_pyxolin_CoreGL_nGlViewport(env, nullptr, component, 1, 2, 3, 4);
  expectMessage(takeException(), "nativeCoreGL_jni.cpp", "unlockmethodID is NULL");
  EXPECT_EQ(viewport(), (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace

int main(int argc, char** argv) { return pyxtest::runTestsInJvm(argc, argv); }
