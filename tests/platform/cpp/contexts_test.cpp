// Rendering contexts: creation, current per thread, deletion, sharing of
// display lists, swapping.
#include <thread>

#include "support.h"

using namespace pt;

namespace {

using ContextTest = PlatformTest;

// Runs f on a new thread and waits for it.
template <typename F>
void onOtherThread(F f) {
  std::thread t(f);
  t.join();
}

TEST_F(ContextTest, CreateNeedsAPixelFormat) {
  Win w = window();
  SetLastError(0);
  EXPECT_EQ(0u, wglCreateContext(w.hdc));
  EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  EXPECT_EQ(TRUE, SetPixelFormat(w.hdc, 1, nullptr));
  HGLRC c = context(w.hdc);
  EXPECT_NE(0u, c);
  EXPECT_TRUE(pyxwinContextExists(c));
  EXPECT_EQ(0u, pyxwinContextThread(c)) << "a new context is current nowhere";
}

TEST_F(ContextTest, MakeCurrentBindsTheCallingThread) {
  Win w = formatted(javaDefault());
  HGLRC c = context(w.hdc);
  EXPECT_EQ(0u, wglGetCurrentContext());
  EXPECT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(c, wglGetCurrentContext());
  EXPECT_EQ(pyxwinCurrentThreadId(), pyxwinContextThread(c));
  EXPECT_EQ(TRUE, wglMakeCurrent(w.hdc, c)) << "again: no change";
  EXPECT_EQ(c, wglGetCurrentContext());
  EXPECT_EQ(TRUE, wglMakeCurrent(0, 0));
  EXPECT_EQ(0u, wglGetCurrentContext());
  EXPECT_EQ(0u, pyxwinContextThread(c));
  EXPECT_EQ(TRUE, wglMakeCurrent(0, 0)) << "releasing with nothing current";
}

TEST_F(ContextTest, OneContextOnManyWindowsOfItsFormat) {
  const PIXELFORMATDESCRIPTOR want = javaDefault();
  Win a = formatted(want, 4, 4), b = formatted(want, 6, 2);
  HGLRC c = context(a.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(a.hdc, c));
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_EQ(TRUE, wglMakeCurrent(b.hdc, c));
  glViewport(0, 0, 6, 2);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(255, readPixel(5, 1)[2]);
  ASSERT_EQ(TRUE, wglMakeCurrent(a.hdc, c));
  auto px = readPixel(3, 3);
  EXPECT_EQ(255, px[0]) << "each window keeps its own pixels";
  EXPECT_EQ(0, px[2]);
}

TEST_F(ContextTest, FormatsMustMatch) {
  Win a = formatted(1), b = formatted(2);
  HGLRC c = context(a.hdc);
  SetLastError(0);
  EXPECT_EQ(FALSE, wglMakeCurrent(b.hdc, c));
  EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  Win none = window();
  SetLastError(0);
  EXPECT_EQ(FALSE, wglMakeCurrent(none.hdc, c));
  EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  EXPECT_EQ(0u, wglGetCurrentContext());
}

TEST_F(ContextTest, SwitchingContextsReleasesTheOldOne) {
  Win w = formatted(javaDefault());
  HGLRC a = context(w.hdc), b = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, a));
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, b));
  EXPECT_EQ(b, wglGetCurrentContext());
  EXPECT_EQ(0u, pyxwinContextThread(a));
  Win other = formatted(javaDefault());
  onOtherThread([&] {
    EXPECT_EQ(TRUE, wglMakeCurrent(other.hdc, a)) << GetLastError();
    wglMakeCurrent(0, 0);
  });
}

// EGL binds a surface to one thread at a time.
TEST_F(ContextTest, AWindowIsDrawnFromOneThreadAtATime) {
  Win w = formatted(javaDefault());
  HGLRC a = context(w.hdc), b = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, a));
  onOtherThread([&] {
    EXPECT_EQ(FALSE, wglMakeCurrent(w.hdc, b));
    EXPECT_EQ(DWORD(ERROR_BUSY), GetLastError());
  });
  ASSERT_EQ(TRUE, wglMakeCurrent(0, 0));
  onOtherThread([&] {
    EXPECT_EQ(TRUE, wglMakeCurrent(w.hdc, b));
    wglMakeCurrent(0, 0);
  });
}

TEST_F(ContextTest, AContextIsCurrentOnOneThreadAtATime) {
  Win w = formatted(javaDefault());
  HGLRC c = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  SetLastError(1234);
  onOtherThread([&] {
    EXPECT_EQ(0u, wglGetCurrentContext());
    EXPECT_EQ(0u, GetLastError()) << "last errors are per thread";
    EXPECT_EQ(FALSE, wglMakeCurrent(w.hdc, c));
    EXPECT_EQ(DWORD(ERROR_BUSY), GetLastError());
    SetLastError(0);
    EXPECT_EQ(FALSE, wglDeleteContext(c));
    EXPECT_EQ(DWORD(ERROR_BUSY), GetLastError());
    EXPECT_EQ(TRUE, wglMakeCurrent(0, 0)) << "releases only this thread's";
  });
  EXPECT_EQ(1234u, GetLastError());
  EXPECT_EQ(c, wglGetCurrentContext());
  EXPECT_TRUE(pyxwinContextExists(c));

  // Handed over: released here, made current there.
  ASSERT_EQ(TRUE, wglMakeCurrent(0, 0));
  DWORD other = 0;
  onOtherThread([&] {
    ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c)) << GetLastError();
    other = pyxwinCurrentThreadId();
    EXPECT_EQ(other, pyxwinContextThread(c));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(255, readPixel(0, 0)[1]);
    EXPECT_EQ(TRUE, wglMakeCurrent(0, 0));
  });
  EXPECT_NE(pyxwinCurrentThreadId(), other);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(255, readPixel(0, 0)[1]) << "the other thread drew into the same window";
}

TEST_F(ContextTest, AThreadThatEndsGivesItsContextUp) {
  Win w = formatted(javaDefault());
  HGLRC c = context(w.hdc);
  onOtherThread([&] { ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c)); });
  EXPECT_EQ(0u, pyxwinContextThread(c));
  EXPECT_EQ(TRUE, wglMakeCurrent(w.hdc, c)) << GetLastError();
}

TEST_F(ContextTest, DeleteReleasesTheCallersCurrentContext) {
  Win w = formatted(javaDefault());
  HGLRC c = wglCreateContext(w.hdc);
  ASSERT_NE(0u, c);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(TRUE, wglDeleteContext(c));
  EXPECT_EQ(0u, wglGetCurrentContext());
  EXPECT_FALSE(pyxwinContextExists(c));
  SetLastError(0);
  EXPECT_EQ(FALSE, wglDeleteContext(c)) << "stale";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_EQ(FALSE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(ContextTest, DeleteOfANonCurrentContextLeavesTheCurrentOne) {
  Win w = formatted(javaDefault());
  HGLRC a = context(w.hdc);
  HGLRC b = wglCreateContext(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, a));
  EXPECT_EQ(TRUE, wglDeleteContext(b));
  EXPECT_EQ(a, wglGetCurrentContext());
}

// A display list compiled in one context runs in another after
// wglShareLists, and not in a context that does not share.
TEST_F(ContextTest, SharedContextsShareDisplayLists) {
  const PIXELFORMATDESCRIPTOR want = javaDefault();
  Win wa = formatted(want), wb = formatted(want), wc = formatted(want);
  HGLRC a = context(wa.hdc), b = context(wb.hdc), c = context(wc.hdc);
  ASSERT_EQ(TRUE, wglShareLists(a, b));

  ASSERT_EQ(TRUE, wglMakeCurrent(wa.hdc, a));
  GLuint list = glGenLists(1);
  ASSERT_NE(0u, list);
  glNewList(list, GL_COMPILE);
  glClearColor(0.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEndList();
  ASSERT_EQ(GLenum(GL_NO_ERROR), glGetError());

  ASSERT_EQ(TRUE, wglMakeCurrent(wb.hdc, b));
  EXPECT_EQ(GL_TRUE, glIsList(list));
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(list);
  auto px = readPixel(2, 2);
  EXPECT_EQ(0, px[0]);
  EXPECT_EQ(255, px[1]);
  EXPECT_EQ(255, px[2]);

  ASSERT_EQ(TRUE, wglMakeCurrent(wc.hdc, c));
  EXPECT_EQ(GL_FALSE, glIsList(list)) << "c shares with nobody";
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(list);
  EXPECT_EQ(0, readPixel(2, 2)[1]);
}

TEST_F(ContextTest, ContextsSharingWithOneShareWithEachOther) {
  const PIXELFORMATDESCRIPTOR want = javaDefault();
  Win w = formatted(want);
  HGLRC a = context(w.hdc), b = context(w.hdc), c = context(w.hdc);
  ASSERT_EQ(TRUE, wglShareLists(a, b));
  ASSERT_EQ(TRUE, wglShareLists(a, c));
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, b));
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glEndList();
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(GL_TRUE, glIsList(list));
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, a));
  EXPECT_EQ(GL_TRUE, glIsList(list));
  // Deleting the first context leaves the lists with the others.
  ASSERT_EQ(TRUE, wglMakeCurrent(0, 0));
  ASSERT_EQ(TRUE, wglDeleteContext(a));
  contexts_.erase(contexts_.begin());
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, b));
  EXPECT_EQ(GL_TRUE, glIsList(list));
}

TEST_F(ContextTest, SharingAcrossThreadsAndFormats) {
  Win wa = formatted(javaDefault());
  Win wb = formatted(request(16, 5, 6, 5, 0, 16, 0));
  HGLRC a = context(wa.hdc), b = context(wb.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(wa.hdc, a));
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glClearColor(1.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEndList();
  // The existing context is current here; the new one is still unused.
  ASSERT_EQ(TRUE, wglShareLists(a, b));
  onOtherThread([&] {
    ASSERT_EQ(TRUE, wglMakeCurrent(wb.hdc, b));
    glCallList(list);
    auto px = readPixel(0, 0);
    EXPECT_EQ(255, px[0]);
    EXPECT_EQ(255, px[1]);
    EXPECT_EQ(0, px[2]);
    wglMakeCurrent(0, 0);
  });
}

TEST_F(ContextTest, SharingNeedsAContextThatWasNeverCurrent) {
  Win w = formatted(javaDefault());
  HGLRC a = context(w.hdc), b = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, b));
  ASSERT_EQ(TRUE, wglMakeCurrent(0, 0));
  SetLastError(0);
  EXPECT_EQ(FALSE, wglShareLists(a, b));
  EXPECT_NE(0u, GetLastError());
  EXPECT_EQ(TRUE, wglShareLists(b, a)) << "the other way round a has no lists yet";
  HGLRC c = context(w.hdc);
  SetLastError(0);
  EXPECT_EQ(FALSE, wglShareLists(c, a)) << "a shares already";
  EXPECT_EQ(DWORD(ERROR_BUSY), GetLastError());
  EXPECT_EQ(TRUE, wglShareLists(a, c)) << "joins the group of b and a";
  SetLastError(0);
  EXPECT_EQ(FALSE, wglShareLists(a, a));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_EQ(FALSE, wglShareLists(a, 0));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_EQ(FALSE, wglShareLists(w.hdc, a)) << "a DC is not a context";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(ContextTest, SwapBuffersNeedsASurface) {
  Win w = window();
  SetLastError(0);
  EXPECT_EQ(FALSE, SwapBuffers(w.hdc)) << "no pixel format yet";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  ASSERT_EQ(TRUE, SetPixelFormat(w.hdc, 1, nullptr));
  EXPECT_EQ(TRUE, SwapBuffers(w.hdc)) << "nothing current: nothing to flush";
  HGLRC c = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(TRUE, SwapBuffers(w.hdc));
  EXPECT_EQ(255, readPixel(0, 0)[0]) << "a single-buffered surface keeps its pixels";
  EXPECT_EQ(c, wglGetCurrentContext()) << "the swap releases nothing";
  SetLastError(0);
  EXPECT_EQ(FALSE, SwapBuffers(0));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(ContextTest, DestroyingAWindowUnderACurrentContextIsSafe) {
  Win w = formatted(javaDefault());
  HGLRC c = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(TRUE, pyxwinDestroyWindow(w.hwnd));
  EXPECT_EQ(FALSE, SwapBuffers(w.hdc));
  EXPECT_EQ(TRUE, wglMakeCurrent(0, 0));
  SetLastError(0);
  EXPECT_EQ(FALSE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_EQ(TRUE, wglDeleteContext(c));
  contexts_.clear();
}

}  // namespace
