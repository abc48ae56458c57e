// Natives driven from C++ through an embedded JVM (with -Xcheck:jni), for
// objects of classes that lack what the natives look up, and for the lines
// they write to standard error. The class path comes from PYX_TEST_CLASSPATH.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <jni.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "embedded_jvm.h"

#include <regex>
#include <string>
#include <vector>

extern "C" {
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_create(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nBeginPolygon(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_tessVertex(JNIEnv*, jobject, jdoubleArray,
                                                                         jfloatArray);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nextContour(JNIEnv*, jobject, jint);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUTesselator_nEndPolygon(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_create(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_start(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_util3d_MicroTimer_stop(JNIEnv*, jobject);
JNIEXPORT jlong JNICALL Java_com_tandrel_util3d_MicroTimer_getDelta(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_create(JNIEnv*, jobject);
JNIEXPORT jfloat JNICALL Java_com_tandrel_pyxolin_GLUNurbs_getNurbsProperty(JNIEnv*, jobject, jint);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUNurbs_destroy(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_create(JNIEnv*, jobject);
JNIEXPORT void JNICALL Java_com_tandrel_pyxolin_GLUQuadric_sphere(JNIEnv*, jobject, jdouble, jint, jint);
}

namespace {

using namespace pyxtest;

jint intField(jobject o, const char* name) {
  return env->GetIntField(o, env->GetFieldID(env->GetObjectClass(o), name, "I"));
}

// A concave star with a square hole, as contours of x, y, z.
std::vector<std::vector<std::vector<double>>> starWithHole() {
  std::vector<std::vector<double>> star, hole;
  for (int i = 0; i < 10; i++) {
    double r = i % 2 == 0 ? 10 : 4;
    star.push_back({r * cos(M_PI * i / 5), r * sin(M_PI * i / 5), 0});
  }
  hole = {{-1.5, -1.5, 0}, {-1.5, 1.5, 0}, {1.5, 1.5, 0}, {1.5, -1.5, 0}};
  return {star, hole};
}

// The callbacks Mesa's tessellator makes for the polygon, driven from C with
// the same five callbacks registered: the reference for what Java sees.
std::vector<std::string> referenceEvents;
void GLAPIENTRY onBegin(GLenum) { referenceEvents.push_back("begin"); }
void GLAPIENTRY onVertex(void*) { referenceEvents.push_back("vertex"); }
void GLAPIENTRY onEnd() { referenceEvents.push_back("end"); }
void GLAPIENTRY onError(GLenum) { referenceEvents.push_back("error"); }
void GLAPIENTRY onEdgeFlag(GLboolean) { referenceEvents.push_back("edgeFlag"); }

std::vector<std::string> referenceCallbacks() {
  referenceEvents.clear();
  GLUtesselator* tess = gluNewTess();
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(onBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(onVertex));
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(onEnd));
  gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(onError));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(onEdgeFlag));
  auto contours = starWithHole();
  gluBeginPolygon(tess);
  for (size_t c = 0; c < contours.size(); c++) {
    if (c > 0) gluNextContour(tess, GLU_INTERIOR);
    for (auto& v : contours[c]) gluTessVertex(tess, v.data(), v.data());
  }
  gluEndPolygon(tess);
  gluDeleteTess(tess);
  return referenceEvents;
}

// The same polygon through the natives, its callbacks going to target.
void tessellateOn(jobject target) {
  Java_com_tandrel_pyxolin_GLUTesselator_create(env, target);
  Java_com_tandrel_pyxolin_GLUTesselator_nBeginPolygon(env, target);
  auto contours = starWithHole();
  for (size_t c = 0; c < contours.size(); c++) {
    if (c > 0) Java_com_tandrel_pyxolin_GLUTesselator_nextContour(env, target, GLU_INTERIOR);
    for (auto& v : contours[c]) {
      jdoubleArray coords = env->NewDoubleArray(3);
      env->SetDoubleArrayRegion(coords, 0, 3, v.data());
      jfloatArray data = env->NewFloatArray(2);
      Java_com_tandrel_pyxolin_GLUTesselator_tessVertex(env, target, coords, data);
      env->DeleteLocalRef(coords);
      env->DeleteLocalRef(data);
    }
  }
  Java_com_tandrel_pyxolin_GLUTesselator_nEndPolygon(env, target);
}

int count(const std::vector<std::string>& events, const std::string& name) {
  return static_cast<int>(std::count(events.begin(), events.end(), name));
}

// Each test gets a local-reference frame of its own and leaves no exception.
class Embedded : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(env->PushLocalFrame(256), JNI_OK); }
  void TearDown() override {
    EXPECT_FALSE(env->ExceptionCheck());
    env->PopLocalFrame(nullptr);
  }
};
using Callbacks = Embedded;
using Timer = Embedded;
using Handles = Embedded;

const char kPackage[] = "com/tandrel/pyxolin/tests/gluobjects/";

TEST_F(Callbacks, AClassWithoutEdgeFlagGetsOneLinePerEdgeFlagCallbackAndNoCall) {
  std::vector<std::string> reference = referenceCallbacks();
  ASSERT_GT(count(reference, "edgeFlag"), 0);

  jobject target = newObject((std::string(kPackage) + "WithoutEdgeFlag").c_str());
  StderrCapture err;
  tessellateOn(target);
  std::string lines = err.finish();
  ASSERT_FALSE(env->ExceptionCheck());

  std::string expected;
  for (int i = 0; i < count(reference, "edgeFlag"); i++) expected += "Cannot locate edgeFlagMethodID\n";
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(intField(target, "begins"), count(reference, "begin"));
  EXPECT_EQ(intField(target, "vertices"), count(reference, "vertex"));
  EXPECT_EQ(intField(target, "ends"), count(reference, "end"));
  EXPECT_EQ(intField(target, "errors"), 0);
  EXPECT_EQ(intField(target, "edgeFlagsOfTheWrongKind"), 0);
}

TEST_F(Callbacks, AClassWithoutAnyCallbackGetsTheLinesInCallbackOrder) {
  std::string expected;
  for (const std::string& event : referenceCallbacks()) expected += "Cannot locate " + event + "MethodID\n";

  jobject target = newObject((std::string(kPackage) + "WithoutMembers$Nothing").c_str());
  StderrCapture err;
  tessellateOn(target);
  EXPECT_EQ(err.finish(), expected);
}

void expectReport(const Thrown& t, const char* label) {
  EXPECT_EQ(t.className, "com.tandrel.pyxolin.GLContextException");
  std::regex line(std::string("^.*/nativeMicroTimer\\.cpp:[0-9]+: ") + label + " is NULL!$");
  EXPECT_TRUE(std::regex_match(t.message, line)) << t.message;
}

TEST_F(Timer, MissingReadingsAreReportedByTheirLabels) {
  struct Case {
    const char* className;
    void (*native)(JNIEnv*, jobject);
    const char* label;
  };
  const Case raised[] = {
      {"WithoutMembers$Nothing", Java_com_tandrel_util3d_MicroTimer_start, "startpDataFieldID"},
      {"WithoutMembers$Nothing", Java_com_tandrel_util3d_MicroTimer_stop, "stoppDataFieldID"},
      {"WithoutMembers$TimerWithoutStop", Java_com_tandrel_util3d_MicroTimer_stop, "stoppDataFieldID"},
      {"WithoutMembers$TimerWithoutStop", Java_com_tandrel_util3d_MicroTimer_create, "stoppDataFieldID"},
      {"WithoutMembers$TimerWithIntReadings", Java_com_tandrel_util3d_MicroTimer_start, "startpDataFieldID"},
  };
  for (const Case& c : raised) {
    SCOPED_TRACE(c.label);
    jobject timer = newObject((std::string(kPackage) + c.className).c_str());
    StderrCapture quiet;
    c.native(env, timer);
    EXPECT_EQ(quiet.finish(), "");
    expectReport(takeException(), c.label);
  }

  jobject withoutStop = newObject((std::string(kPackage) + "WithoutMembers$TimerWithoutStop").c_str());
  Java_com_tandrel_util3d_MicroTimer_start(env, withoutStop);
  ASSERT_FALSE(env->ExceptionCheck());

  const std::pair<const char*, const char*> logged[] = {
      {"WithoutMembers$Nothing", "startpDataFieldID"},
      {"WithoutMembers$TimerWithoutStop", "stoppDataFieldID"},
  };
  for (auto& [className, label] : logged) {
    SCOPED_TRACE(label);
    jobject timer = newObject((std::string(kPackage) + className).c_str());
    StderrCapture err;
    EXPECT_EQ(Java_com_tandrel_util3d_MicroTimer_getDelta(env, timer), 0);
    std::string line = err.finish();
    Thrown t = takeException();
    expectReport(t, label);
    EXPECT_EQ(line, "Context Error: " + t.message + "\n");
  }
}

TEST_F(Handles, AClassWithoutPDataGetsTheVmsNoSuchFieldError) {
  jobject bare = newObject((std::string(kPackage) + "WithoutMembers$Nothing").c_str());
  void (*natives[])(JNIEnv*, jobject) = {Java_com_tandrel_pyxolin_GLUNurbs_create,
                                          Java_com_tandrel_pyxolin_GLUNurbs_destroy,
                                          Java_com_tandrel_pyxolin_GLUQuadric_create};
  for (auto native : natives) {
    native(env, bare);
    EXPECT_EQ(takeException().className, "java.lang.NoSuchFieldError");
  }
  EXPECT_EQ(Java_com_tandrel_pyxolin_GLUNurbs_getNurbsProperty(env, bare, GLU_SAMPLING_TOLERANCE), 0.0f);
  EXPECT_EQ(takeException().className, "java.lang.NoSuchFieldError");
  Java_com_tandrel_pyxolin_GLUQuadric_sphere(env, bare, 1, 8, 8);
  EXPECT_EQ(takeException().className, "java.lang.NoSuchFieldError");
}

}  // namespace

int main(int argc, char** argv) { return pyxtest::runTestsInJvm(argc, argv); }
