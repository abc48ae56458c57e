// Shared helpers of the platform tests: a fixture that resets the layer and
// cleans up the windows and contexts a test made.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "pyxwin/control.h"

namespace pt {

struct Win {
  HWND hwnd;
  HDC hdc;
};

inline PIXELFORMATDESCRIPTOR request(int colour, int r, int g, int b, int a, int depth,
                                     int stencil, DWORD flags = PFD_SUPPORT_OPENGL |
                                                                PFD_DOUBLEBUFFER |
                                                                PFD_DRAW_TO_WINDOW,
                                     BYTE type = PFD_TYPE_RGBA) {
  PIXELFORMATDESCRIPTOR p;
  std::memset(&p, 0, sizeof p);
  p.nSize = sizeof p;
  p.nVersion = 1;
  p.dwFlags = flags;
  p.iPixelType = type;
  p.cColorBits = static_cast<BYTE>(colour);
  p.cRedBits = static_cast<BYTE>(r);
  p.cGreenBits = static_cast<BYTE>(g);
  p.cBlueBits = static_cast<BYTE>(b);
  p.cAlphaBits = static_cast<BYTE>(a);
  p.cDepthBits = static_cast<BYTE>(depth);
  p.cStencilBits = static_cast<BYTE>(stencil);
  return p;
}

// What GLCapabilities asks for by default: 24 colour bits, RGBA 8888, depth 24.
inline PIXELFORMATDESCRIPTOR javaDefault() { return request(24, 8, 8, 8, 8, 24, 0); }

inline std::string callLog() {
  const int n = pyxwinCallLog(nullptr, 0);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  pyxwinCallLog(&s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

inline std::vector<std::string> callLines() {
  std::vector<std::string> lines;
  std::string log = callLog(), cur;
  for (char ch : log) {
    if (ch == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  EXPECT_TRUE(cur.empty()) << "the log ends with a newline";
  return lines;
}

inline std::array<int, 4> readPixel(int x, int y) {
  unsigned char px[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  return {px[0], px[1], px[2], px[3]};
}

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pyxwinReset();
    wglMakeCurrent(0, 0);
    SetLastError(0);
  }

  void TearDown() override {
    pyxwinReset();
    wglMakeCurrent(0, 0);
    for (HGLRC c : contexts_) wglDeleteContext(c);
    for (HWND w : windows_) pyxwinDestroyWindow(w);
  }

  Win window(int w = 8, int h = 8) {
    HWND hwnd = pyxwinCreateWindow(w, h);
    EXPECT_NE(0u, hwnd);
    windows_.push_back(hwnd);
    HDC hdc = GetDC(hwnd);
    EXPECT_NE(0u, hdc);
    return {hwnd, hdc};
  }

  // A window whose DC has format `format`.
  Win formatted(int format, int w = 8, int h = 8) {
    Win win = window(w, h);
    PIXELFORMATDESCRIPTOR p;
    DescribePixelFormat(win.hdc, format, sizeof p, &p);
    EXPECT_EQ(TRUE, SetPixelFormat(win.hdc, format, &p));
    return win;
  }

  Win formatted(const PIXELFORMATDESCRIPTOR& want, int w = 8, int h = 8) {
    Win win = window(w, h);
    const int f = ChoosePixelFormat(win.hdc, &want);
    EXPECT_GT(f, 0);
    EXPECT_EQ(TRUE, SetPixelFormat(win.hdc, f, &want));
    return win;
  }

  HGLRC context(HDC hdc) {
    HGLRC c = wglCreateContext(hdc);
    EXPECT_NE(0u, c) << "error " << GetLastError();
    if (c != 0) contexts_.push_back(c);
    return c;
  }

  std::vector<HWND> windows_;
  std::vector<HGLRC> contexts_;
};

}  // namespace pt
