// The control interface: forced failures, the call log, counter overrides;
// and palettes, windows, metrics and handle refusal.
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <set>
#include <thread>

#include "support.h"

using namespace pt;

namespace {

using ControlTest = PlatformTest;

std::string str(unsigned v) { return std::to_string(v); }

TEST_F(ControlTest, ForcedFailureLastsItsTimesAndDoesNothingElse) {
  Win w = window();
  PIXELFORMATDESCRIPTOR want = javaDefault();
  pyxwinForceFailure(PYXWIN_OP_CHOOSE_PIXEL_FORMAT, 0, 2000, 2);
  SetLastError(0);
  EXPECT_EQ(0, ChoosePixelFormat(w.hdc, &want));
  EXPECT_EQ(2000u, GetLastError());
  SetLastError(0);
  EXPECT_EQ(0, ChoosePixelFormat(w.hdc, &want));
  EXPECT_EQ(2000u, GetLastError());
  const int f = ChoosePixelFormat(w.hdc, &want);
  EXPECT_GT(f, 0) << "two times only";

  pyxwinForceFailure(PYXWIN_OP_SET_PIXEL_FORMAT, 2, 0, 1);
  SetLastError(77);
  EXPECT_EQ(2, SetPixelFormat(w.hdc, f, &want)) << "the result as given";
  EXPECT_EQ(0u, GetLastError()) << "the error as given, also 0";
  EXPECT_EQ(0, GetPixelFormat(w.hdc)) << "a forced call sets nothing";
  EXPECT_EQ(1, SetPixelFormat(w.hdc, f, &want));

  pyxwinForceFailure(PYXWIN_OP_WGL_CREATE_CONTEXT, 0, 8, 1);
  EXPECT_EQ(0u, wglCreateContext(w.hdc));
  EXPECT_EQ(8u, GetLastError());
  HGLRC c = context(w.hdc);

  // Both forms of wglMakeCurrent.
  pyxwinForceFailure(PYXWIN_OP_WGL_MAKE_CURRENT, 0, 170, 2);
  EXPECT_EQ(FALSE, wglMakeCurrent(w.hdc, c));
  EXPECT_EQ(170u, GetLastError());
  EXPECT_EQ(0u, wglGetCurrentContext()) << "not made current";
  EXPECT_EQ(FALSE, wglMakeCurrent(0, 0));
  EXPECT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  pyxwinForceFailure(PYXWIN_OP_WGL_MAKE_CURRENT, 0, 6, 1);
  EXPECT_EQ(FALSE, wglMakeCurrent(0, 0));
  EXPECT_EQ(c, wglGetCurrentContext()) << "not released";

  pyxwinForceFailure(PYXWIN_OP_SWAP_BUFFERS, 0, 0, 1);
  SetLastError(5);
  EXPECT_EQ(FALSE, SwapBuffers(w.hdc));
  EXPECT_EQ(0u, GetLastError());
  EXPECT_EQ(TRUE, SwapBuffers(w.hdc));

  pyxwinForceFailure(PYXWIN_OP_GET_DC, 0, 6, 1);
  EXPECT_EQ(0u, GetDC(w.hwnd));
  EXPECT_EQ(w.hdc, GetDC(w.hwnd));

  LOGPALETTE lp = {0x300, 1, {{1, 2, 3, 0}}};
  pyxwinForceFailure(PYXWIN_OP_CREATE_PALETTE, 0, 8, 1);
  EXPECT_EQ(0u, CreatePalette(&lp));
  EXPECT_NE(0u, CreatePalette(&lp));
}

TEST_F(ControlTest, ForcedFailureUntilResetOrCleared) {
  Win w = window();
  pyxwinForceFailure(PYXWIN_OP_GET_DC, 0, 6, -1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(0u, GetDC(w.hwnd));
  // Any thread meets it.
  std::thread([&] { EXPECT_EQ(0u, GetDC(w.hwnd)); }).join();
  pyxwinReset();
  EXPECT_EQ(w.hdc, GetDC(w.hwnd));
  pyxwinForceFailure(PYXWIN_OP_GET_DC, 0, 6, -1);
  pyxwinForceFailure(PYXWIN_OP_GET_DC, 0, 6, 0);
  EXPECT_EQ(w.hdc, GetDC(w.hwnd)) << "times 0 clears";
  pyxwinForceFailure(PYXWIN_OP_COUNT, 0, 6, -1);  // ignored
  pyxwinForceFailure(-1, 0, 6, -1);               // ignored
}

TEST_F(ControlTest, CallLogLines) {
  Win w = window();
  PIXELFORMATDESCRIPTOR want = javaDefault();
  pyxwinRecordCalls(TRUE);
  const int f = ChoosePixelFormat(w.hdc, &want);
  SetPixelFormat(w.hdc, f, &want);
  GetPixelFormat(w.hdc);
  PIXELFORMATDESCRIPTOR p;
  const int n = DescribePixelFormat(w.hdc, f, 40, &p);
  HGLRC c = wglCreateContext(w.hdc);
  HGLRC d = wglCreateContext(w.hdc);
  wglShareLists(c, d);
  wglMakeCurrent(w.hdc, c);
  wglGetCurrentContext();
  SwapBuffers(w.hdc);
  SwapBuffers(0);
  GetLastError();
  SetLastError(0);
  wglMakeCurrent(0, 0);
  wglDeleteContext(c);
  wglDeleteContext(d);
  GetSystemMetrics(SM_CXSCREEN);
  GetSystemMetrics(SM_CYSCREEN);
  GetDC(w.hwnd);
  ReleaseDC(w.hwnd, w.hdc);
  const DWORD tid = GetWindowThreadProcessId(w.hwnd, nullptr);
  LOGPALETTE lp = {0x300, 1, {{1, 2, 3, 0}}};
  HPALETTE pal = CreatePalette(&lp);
  SelectPalette(w.hdc, pal, FALSE);
  RealizePalette(w.hdc);
  LARGE_INTEGER li;
  QueryPerformanceFrequency(&li);
  QueryPerformanceCounter(&li);
  pyxwinRecordCalls(FALSE);
  GetDC(w.hwnd);  // not recorded

  const std::string dc = str(w.hdc), wnd = str(w.hwnd);
  const std::vector<std::string> expected = {
      "ChoosePixelFormat(" + dc + ") = " + std::to_string(f),
      "SetPixelFormat(" + dc + ", " + std::to_string(f) + ") = 1",
      "GetPixelFormat(" + dc + ") = " + std::to_string(f),
      "DescribePixelFormat(" + dc + ", " + std::to_string(f) + ", 40) = " + std::to_string(n),
      "wglCreateContext(" + dc + ") = " + str(c),
      "wglCreateContext(" + dc + ") = " + str(d),
      "wglShareLists(" + str(c) + ", " + str(d) + ") = 1",
      "wglMakeCurrent(" + dc + ", " + str(c) + ") = 1",
      "wglGetCurrentContext() = " + str(c),
      "SwapBuffers(" + dc + ") = 1",
      "SwapBuffers(0) = 0",
      "GetLastError() = 6",
      "SetLastError(0)",
      "wglMakeCurrent(0, 0) = 1",
      "wglDeleteContext(" + str(c) + ") = 1",
      "wglDeleteContext(" + str(d) + ") = 1",
      "GetSystemMetrics(0) = 1920",
      "GetSystemMetrics(1) = 1080",
      "GetDC(" + wnd + ") = " + dc,
      "ReleaseDC(" + wnd + ", " + dc + ") = 1",
      "GetWindowThreadProcessId(" + wnd + ") = " + str(tid),
      "CreatePalette() = " + str(pal),
      "SelectPalette(" + dc + ", " + str(pal) + ", 0) = 0",
      "RealizePalette(" + dc + ") = 1",
      "QueryPerformanceFrequency() = 1",
      "QueryPerformanceCounter() = 1",
  };
  EXPECT_EQ(expected, callLines());
  pyxwinClearCallLog();
  EXPECT_EQ("", callLog());
}

TEST_F(ControlTest, CallLogShowsForcedResults) {
  Win w = window();
  pyxwinRecordCalls(TRUE);
  pyxwinForceFailure(PYXWIN_OP_SET_PIXEL_FORMAT, 2, 0, 1);
  SetPixelFormat(w.hdc, 1, nullptr);
  EXPECT_EQ(std::vector<std::string>{"SetPixelFormat(" + str(w.hdc) + ", 1) = 2"}, callLines());
}

TEST_F(ControlTest, CallLogCopyTruncates) {
  pyxwinRecordCalls(TRUE);
  SetLastError(12345);
  const std::string full = "SetLastError(12345)\n";
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(int(full.size()), pyxwinCallLog(buf, sizeof buf));
  EXPECT_STREQ("SetLast", buf);
  EXPECT_EQ(int(full.size()), pyxwinCallLog(nullptr, 0));
  EXPECT_EQ(int(full.size()), pyxwinCallLog(buf, 0));
  EXPECT_EQ('S', buf[0]) << "capacity 0 writes nothing";
  pyxwinReset();
  EXPECT_EQ(0, pyxwinCallLog(nullptr, 0)) << "reset clears the log";
  SetLastError(1);
  EXPECT_EQ(0, pyxwinCallLog(nullptr, 0)) << "and stops recording";
}

TEST_F(ControlTest, CallLogFromManyThreads) {
  pyxwinRecordCalls(TRUE);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 500; ++i) SetLastError(t * 1000 + i);
    });
  for (auto& th : threads) th.join();
  auto lines = callLines();
  ASSERT_EQ(2000u, lines.size());
  std::set<std::string> seen(lines.begin(), lines.end());
  EXPECT_EQ(2000u, seen.size());
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 500; ++i)
      EXPECT_TRUE(seen.count("SetLastError(" + std::to_string(t * 1000 + i) + ")"));
}

TEST_F(ControlTest, CounterRunsOnTheMonotonicClock) {
  LARGE_INTEGER f, a, b;
  ASSERT_EQ(TRUE, QueryPerformanceFrequency(&f));
  EXPECT_EQ(1000000000, f.QuadPart);
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const LONGLONG before = LONGLONG(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  ASSERT_EQ(TRUE, QueryPerformanceCounter(&a));
  ASSERT_EQ(TRUE, QueryPerformanceCounter(&b));
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const LONGLONG after = LONGLONG(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  EXPECT_LE(before, a.QuadPart);
  EXPECT_LE(a.QuadPart, b.QuadPart);
  EXPECT_LE(b.QuadPart, after);
  EXPECT_EQ(FALSE, QueryPerformanceCounter(nullptr));
  EXPECT_EQ(FALSE, QueryPerformanceFrequency(nullptr));
}

TEST_F(ControlTest, CounterOverrides) {
  pyxwinSetCounterFrequency(3000000);
  LARGE_INTEGER f, r;
  QueryPerformanceFrequency(&f);
  EXPECT_EQ(3000000, f.QuadPart);
  const LONGLONG queued[] = {5, 7, -3, 1LL << 40};
  pyxwinQueueCounterReadings(queued, 2);
  pyxwinQueueCounterReadings(queued + 2, 2);
  for (LONGLONG q : queued) {
    ASSERT_EQ(TRUE, QueryPerformanceCounter(&r));
    EXPECT_EQ(q, r.QuadPart);
  }
  // Then the real clock again, at the overridden rate.
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const LONGLONG lo = (LONGLONG(ts.tv_sec) * 1000000000 + ts.tv_nsec) / 1000 * 3;
  QueryPerformanceCounter(&r);
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const LONGLONG hi = (LONGLONG(ts.tv_sec) * 1000000000 + ts.tv_nsec) / 1000 * 3 + 3;
  EXPECT_LE(lo, r.QuadPart);
  EXPECT_LE(r.QuadPart, hi);

  pyxwinQueueCounterReadings(queued, 1);
  pyxwinSetCounterFrequency(0);
  QueryPerformanceFrequency(&f);
  EXPECT_EQ(1000000000, f.QuadPart) << "0 restores the real frequency";
  pyxwinSetCounterFrequency(42);
  pyxwinReset();
  QueryPerformanceFrequency(&f);
  EXPECT_EQ(1000000000, f.QuadPart);
  QueryPerformanceCounter(&r);
  EXPECT_NE(5, r.QuadPart) << "reset drops queued readings";
}

TEST_F(ControlTest, PalettesAreCopiedSelectedAndRealized) {
  Win w = window();
  std::vector<unsigned char> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i)
    lp->palPalEntry[i] = {BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  HPALETTE a = CreatePalette(lp);
  ASSERT_NE(0u, a);
  lp->palPalEntry[0].peRed = 99;  // copied: no effect on a
  lp->palNumEntries = 2;
  HPALETTE b = CreatePalette(lp);
  ASSERT_NE(0u, b);
  EXPECT_NE(a, b);

  EXPECT_EQ(0, pyxwinPaletteEntries(w.hdc, nullptr, 0));
  EXPECT_EQ(0u, RealizePalette(w.hdc)) << "nothing selected";
  EXPECT_EQ(0u, SelectPalette(w.hdc, a, FALSE)) << "none selected before";
  EXPECT_EQ(a, pyxwinSelectedPalette(w.hdc));
  EXPECT_EQ(256u, RealizePalette(w.hdc));
  std::vector<PALETTEENTRY> got(300);
  ASSERT_EQ(256, pyxwinPaletteEntries(w.hdc, got.data(), int(got.size())));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(i, got[i].peRed);
    EXPECT_EQ(255 - i, got[i].peGreen);
    EXPECT_EQ(i / 2, got[i].peBlue);
    EXPECT_EQ(0, got[i].peFlags);
  }
  EXPECT_EQ(a, SelectPalette(w.hdc, b, FALSE)) << "the previous palette";
  ASSERT_EQ(256, pyxwinPaletteEntries(w.hdc, got.data(), 1)) << "realized is still a";
  EXPECT_EQ(2u, RealizePalette(w.hdc));
  PALETTEENTRY two[2];
  ASSERT_EQ(2, pyxwinPaletteEntries(w.hdc, two, 2));
  EXPECT_EQ(99, two[0].peRed);
  EXPECT_EQ(-1, pyxwinPaletteEntries(0, nullptr, 0));
  EXPECT_EQ(-1, pyxwinPaletteEntries(w.hwnd, nullptr, 0));
}

TEST_F(ControlTest, BadPalettesAreRefused) {
  Win w = window();
  LOGPALETTE lp = {0x300, 1, {{1, 2, 3, 0}}};
  SetLastError(0);
  EXPECT_EQ(0u, CreatePalette(nullptr));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
  lp.palVersion = 0x200;
  EXPECT_EQ(0u, CreatePalette(&lp));
  lp.palVersion = 0x300;
  lp.palNumEntries = 0;
  EXPECT_EQ(0u, CreatePalette(&lp));
  lp.palNumEntries = 1;
  HPALETTE p = CreatePalette(&lp);
  SetLastError(0);
  EXPECT_EQ(0u, SelectPalette(w.hdc, w.hdc, FALSE)) << "a DC is not a palette";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_EQ(0u, SelectPalette(p, p, FALSE)) << "a palette is not a DC";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_EQ(0u, RealizePalette(0));
  EXPECT_EQ(0u, pyxwinSelectedPalette(w.hdc));
}

TEST_F(ControlTest, WindowsAndTheirThreads) {
  EXPECT_EQ(0u, pyxwinCreateWindow(0, 5));
  EXPECT_EQ(0u, pyxwinCreateWindow(5, 8193));
  EXPECT_EQ(0u, pyxwinCreateWindow(-1, 1));
  Win w = window(8192, 3);
  int width = 0, height = 0;
  EXPECT_EQ(TRUE, pyxwinWindowSize(w.hwnd, &width, &height));
  EXPECT_EQ(8192, width);
  EXPECT_EQ(3, height);
  EXPECT_EQ(w.hdc, GetDC(w.hwnd)) << "one DC per window";
  EXPECT_EQ(1, ReleaseDC(w.hwnd, w.hdc));
  EXPECT_EQ(w.hdc, GetDC(w.hwnd)) << "still there after ReleaseDC";
  EXPECT_EQ(0, ReleaseDC(w.hwnd, w.hwnd));

  const DWORD self = static_cast<DWORD>(syscall(SYS_gettid));
  EXPECT_EQ(self, pyxwinCurrentThreadId());
  DWORD pid = 0;
  EXPECT_EQ(self, GetWindowThreadProcessId(w.hwnd, &pid));
  EXPECT_EQ(static_cast<DWORD>(getpid()), pid);
  HWND other = 0;
  DWORD otherThread = 0;
  std::thread([&] {
    other = pyxwinCreateWindow(2, 2);
    otherThread = pyxwinCurrentThreadId();
  }).join();
  windows_.push_back(other);
  EXPECT_NE(self, otherThread);
  EXPECT_EQ(otherThread, GetWindowThreadProcessId(other, nullptr))
      << "the creating thread, also after it ended";
  EXPECT_EQ(0u, GetWindowThreadProcessId(w.hdc, nullptr));
}

TEST_F(ControlTest, SystemMetrics) {
  EXPECT_EQ(PYXWIN_DESKTOP_WIDTH, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(PYXWIN_DESKTOP_HEIGHT, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(1920, GetSystemMetrics(0));
  EXPECT_EQ(1080, GetSystemMetrics(1));
  EXPECT_EQ(0, GetSystemMetrics(2));
  EXPECT_EQ(0, GetSystemMetrics(-1));
}

// 0, stale and wrong-kind handles are refused with ERROR_INVALID_HANDLE.
TEST_F(ControlTest, HandlesAreCheckedForKindAndLife) {
  Win live = formatted(javaDefault());
  HGLRC rc = context(live.hdc);
  LOGPALETTE lp = {0x300, 1, {{1, 2, 3, 0}}};
  HPALETTE pal = CreatePalette(&lp);
  Win dead = window();
  ASSERT_EQ(TRUE, pyxwinDestroyWindow(dead.hwnd));
  windows_.pop_back();
  EXPECT_EQ(FALSE, pyxwinDestroyWindow(dead.hwnd)) << "twice";
  HGLRC deadRc = wglCreateContext(live.hdc);
  ASSERT_EQ(TRUE, wglDeleteContext(deadRc));

  PIXELFORMATDESCRIPTOR want = javaDefault(), p;
  auto refused = [](const char* what, long long result) {
    EXPECT_EQ(0, result) << what;
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError()) << what;
    SetLastError(0);
  };
  const uint32_t notDcs[] = {0, dead.hdc, live.hwnd, rc, pal, 0xdeadbeef};
  for (uint32_t h : notDcs) {
    SCOPED_TRACE(h);
    SetLastError(0);
    refused("ChoosePixelFormat", ChoosePixelFormat(h, &want));
    refused("SetPixelFormat", SetPixelFormat(h, 1, &want));
    refused("GetPixelFormat", GetPixelFormat(h));
    refused("DescribePixelFormat", DescribePixelFormat(h, 1, 40, &p));
    refused("SwapBuffers", SwapBuffers(h));
    refused("wglCreateContext", wglCreateContext(h));
    refused("wglMakeCurrent(dc)", wglMakeCurrent(h, rc));
    refused("SelectPalette", SelectPalette(h, pal, FALSE));
    refused("RealizePalette", RealizePalette(h));
  }
  const uint32_t notContexts[] = {deadRc, live.hdc, live.hwnd, pal, 0xdeadbeef};
  for (uint32_t h : notContexts) {
    SCOPED_TRACE(h);
    refused("wglMakeCurrent(rc)", wglMakeCurrent(live.hdc, h));
    refused("wglDeleteContext", wglDeleteContext(h));
    refused("wglShareLists first", wglShareLists(h, rc));
    refused("wglShareLists second", wglShareLists(rc, h));
  }
  refused("wglDeleteContext(0)", wglDeleteContext(0));
  const uint32_t notWindows[] = {0, dead.hwnd, live.hdc, rc, pal};
  for (uint32_t h : notWindows) {
    SCOPED_TRACE(h);
    refused("GetDC", GetDC(h));
    refused("ReleaseDC", ReleaseDC(h, live.hdc));
    refused("GetWindowThreadProcessId", GetWindowThreadProcessId(h, nullptr));
    int wd, ht;
    refused("pyxwinWindowSize", pyxwinWindowSize(h, &wd, &ht));
    refused("pyxwinDestroyWindow", pyxwinDestroyWindow(h));
  }
  refused("SelectPalette(bad palette)", SelectPalette(live.hdc, 0xdeadbeef, FALSE));
  EXPECT_EQ(0u, wglGetCurrentContext());
}

TEST_F(ControlTest, HandlesAreNotReused) {
  std::set<uint32_t> seen;
  for (int i = 0; i < 200; ++i) {
    HWND w = pyxwinCreateWindow(1, 1);
    HDC dc = GetDC(w);
    EXPECT_TRUE(seen.insert(w).second);
    EXPECT_TRUE(seen.insert(dc).second);
    pyxwinDestroyWindow(w);
  }
  EXPECT_EQ(0u, seen.count(0));
}

}  // namespace
