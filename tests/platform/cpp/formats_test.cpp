// Pixel formats: enumeration, honest descriptors, choosing, setting once.
#include <cmath>

#include "support.h"

using namespace pt;

namespace {

using FormatTest = PlatformTest;

PIXELFORMATDESCRIPTOR describe(HDC hdc, int i) {
  PIXELFORMATDESCRIPTOR p;
  std::memset(&p, 0xcd, sizeof p);
  EXPECT_EQ(pyxwinFormatCount(), DescribePixelFormat(hdc, i, sizeof p, &p));
  return p;
}

bool isPalette(const PIXELFORMATDESCRIPTOR& p) { return (p.dwFlags & PFD_NEED_PALETTE) != 0; }

TEST_F(FormatTest, CountIsTheSameEverywhere) {
  Win w = window();
  const int n = pyxwinFormatCount();
  ASSERT_GT(n, 1);
  EXPECT_EQ(n, DescribePixelFormat(w.hdc, 0, 0, nullptr)) << "null descriptor: just the count";
  EXPECT_EQ(n, DescribePixelFormat(w.hdc, 1, 40, nullptr));
  PIXELFORMATDESCRIPTOR p;
  EXPECT_EQ(n, DescribePixelFormat(w.hdc, n, 40, &p));
}

TEST_F(FormatTest, BadIndexOrHandleDescribesNothing) {
  Win w = window();
  const int n = pyxwinFormatCount();
  PIXELFORMATDESCRIPTOR p;
  for (int bad : {0, -1, n + 1, 1 << 30}) {
    SetLastError(0);
    EXPECT_EQ(0, DescribePixelFormat(w.hdc, bad, sizeof p, &p)) << bad;
    EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  }
  SetLastError(0);
  EXPECT_EQ(0, DescribePixelFormat(0, 1, sizeof p, &p));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_EQ(0, DescribePixelFormat(w.hwnd, 1, sizeof p, &p)) << "a window is not a DC";
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(FormatTest, ShortBufferGetsOnlyItsBytes) {
  Win w = window();
  unsigned char buf[sizeof(PIXELFORMATDESCRIPTOR)];
  std::memset(buf, 0xcd, sizeof buf);
  EXPECT_EQ(pyxwinFormatCount(),
            DescribePixelFormat(w.hdc, 1, 4, reinterpret_cast<PIXELFORMATDESCRIPTOR*>(buf)));
  EXPECT_EQ(40, buf[0] | buf[1] << 8);
  EXPECT_EQ(1, buf[2] | buf[3] << 8);
  EXPECT_EQ(0xcd, buf[4]);
}

TEST_F(FormatTest, DescriptorsAreWellFormed) {
  Win w = window();
  const int n = pyxwinFormatCount();
  int palettes = 0;
  for (int i = 1; i <= n; ++i) {
    SCOPED_TRACE(i);
    PIXELFORMATDESCRIPTOR p = describe(w.hdc, i);
    EXPECT_EQ(40, p.nSize);
    EXPECT_EQ(1, p.nVersion);
    const DWORD base = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    EXPECT_EQ(base, p.dwFlags & ~DWORD(PFD_NEED_PALETTE)) << "pbuffers are single-buffered";
    EXPECT_EQ(PFD_TYPE_RGBA, p.iPixelType);
    EXPECT_EQ(0, p.cAccumBits);
    EXPECT_EQ(0, p.cAccumRedBits + p.cAccumGreenBits + p.cAccumBlueBits + p.cAccumAlphaBits);
    EXPECT_EQ(0, p.cAuxBuffers);
    EXPECT_EQ(PFD_MAIN_PLANE, p.iLayerType);
    EXPECT_EQ(0, p.bReserved);
    EXPECT_EQ(0u, p.dwLayerMask | p.dwVisibleMask | p.dwDamageMask);
    EXPECT_EQ(p.cColorBits, p.cRedBits + p.cGreenBits + p.cBlueBits + p.cAlphaBits);
    // The channels tile the pixel without overlapping.
    uint32_t used = 0;
    auto channel = [&](int bits, int shift) {
      if (bits == 0) return;
      const uint32_t mask = ((1u << bits) - 1) << shift;
      EXPECT_EQ(0u, used & mask) << "overlap at shift " << shift;
      used |= mask;
    };
    channel(p.cRedBits, p.cRedShift);
    channel(p.cGreenBits, p.cGreenShift);
    channel(p.cBlueBits, p.cBlueShift);
    channel(p.cAlphaBits, p.cAlphaShift);
    EXPECT_EQ(p.cColorBits == 32 ? 0xffffffffu : (1u << p.cColorBits) - 1, used);
    if (isPalette(p)) {
      ++palettes;
      EXPECT_EQ(8, p.cColorBits);
      EXPECT_EQ(3, p.cRedBits);
      EXPECT_EQ(0, p.cRedShift);
      EXPECT_EQ(3, p.cGreenBits);
      EXPECT_EQ(3, p.cGreenShift);
      EXPECT_EQ(2, p.cBlueBits);
      EXPECT_EQ(6, p.cBlueShift);
      EXPECT_EQ(0, p.cAlphaBits);
    } else {
      // Little-endian BGRA: blue lowest.
      EXPECT_EQ(0, p.cBlueShift);
      EXPECT_EQ(p.cBlueBits, p.cGreenShift);
      EXPECT_EQ(p.cBlueBits + p.cGreenBits, p.cRedShift);
    }
  }
  EXPECT_GE(palettes, 1);
  // No two formats are described alike.
  for (int i = 1; i <= n; ++i)
    for (int j = i + 1; j <= n; ++j) {
      PIXELFORMATDESCRIPTOR a = describe(w.hdc, i), b = describe(w.hdc, j);
      EXPECT_NE(0, std::memcmp(&a, &b, sizeof a)) << i << " and " << j;
    }
}

// Every format, set on a window and drawn with, has the buffers it
// describes: GL reports the sizes, and a clear colour comes back.
TEST_F(FormatTest, EveryFormatRendersAsDescribed) {
  const int n = pyxwinFormatCount();
  for (int i = 1; i <= n; ++i) {
    SCOPED_TRACE(i);
    Win w = formatted(i, 5, 3);
    const PIXELFORMATDESCRIPTOR p = describe(w.hdc, i);
    HGLRC c = context(w.hdc);
    ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
    GLint red, green, blue, alpha, depth, stencil;
    GLboolean doubleBuffer = GL_TRUE;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
    EXPECT_EQ((p.dwFlags & PFD_DOUBLEBUFFER) != 0, doubleBuffer == GL_TRUE);
    EXPECT_EQ(p.cDepthBits, depth);
    EXPECT_EQ(p.cStencilBits, stencil);
    if (isPalette(p)) {
      // Drawn through an RGBA8888 buffer: at least the described precision.
      EXPECT_GE(red, p.cRedBits);
      EXPECT_GE(green, p.cGreenBits);
      EXPECT_GE(blue, p.cBlueBits);
    } else {
      EXPECT_EQ(p.cRedBits, red);
      EXPECT_EQ(p.cGreenBits, green);
      EXPECT_EQ(p.cBlueBits, blue);
      EXPECT_EQ(p.cAlphaBits, alpha);
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(5, viewport[2]);
    EXPECT_EQ(3, viewport[3]);

    glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    auto px = readPixel(4, 2);
    EXPECT_EQ(255, px[0]);
    EXPECT_EQ(0, px[1]);
    EXPECT_EQ(255, px[2]);
    if (alpha > 0) {
      EXPECT_EQ(0, px[3]);
    }
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    px = readPixel(0, 0);
    EXPECT_EQ(0, px[0]);
    EXPECT_EQ(255, px[1]);
    EXPECT_EQ(0, px[2]);
    EXPECT_EQ(255, px[3]);
    if (depth > 0) {
      glClearDepth(0.5);
      glClear(GL_DEPTH_BUFFER_BIT);
      GLfloat z = 0;
      glReadPixels(1, 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z);
      EXPECT_NEAR(0.5, z, 1e-3);
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_EQ(TRUE, SwapBuffers(w.hdc));
    EXPECT_EQ(TRUE, wglMakeCurrent(0, 0));
  }
}

TEST_F(FormatTest, ChoosesWhatJavaAsksForByDefault) {
  Win w = window();
  const PIXELFORMATDESCRIPTOR want = javaDefault();
  const int f = ChoosePixelFormat(w.hdc, &want);
  ASSERT_GT(f, 0);
  PIXELFORMATDESCRIPTOR p = describe(w.hdc, f);
  EXPECT_EQ(8, p.cRedBits);
  EXPECT_EQ(8, p.cGreenBits);
  EXPECT_EQ(8, p.cBlueBits);
  EXPECT_EQ(8, p.cAlphaBits);
  EXPECT_EQ(24, p.cDepthBits);
  EXPECT_EQ(0, p.cStencilBits);
  EXPECT_FALSE(isPalette(p));
}

TEST_F(FormatTest, ChoosesByDepthStencilAndColour) {
  Win w = window();
  struct Case {
    PIXELFORMATDESCRIPTOR want;
    int r, g, b, a, depth, stencil;
  } cases[] = {
      {request(24, 8, 8, 8, 0, 24, 8), 8, 8, 8, 0, 24, 8},
      {request(32, 8, 8, 8, 8, 16, 0), 8, 8, 8, 8, 16, 0},
      {request(32, 0, 0, 0, 0, 0, 0), 8, 8, 8, 8, 0, 0},  // channels inferred: 8 + alpha
      {request(24, 0, 0, 0, 0, 0, 0), 8, 8, 8, 0, 0, 0},
      {request(30, 0, 0, 0, 0, 0, 0), 10, 10, 10, 0, 0, 0},
      {request(16, 0, 0, 0, 0, 16, 0), 5, 6, 5, 0, 16, 0},
      {request(16, 5, 6, 5, 0, 24, 0), 5, 6, 5, 0, 24, 0},
      {request(30, 10, 10, 10, 0, 24, 0), 10, 10, 10, 0, 24, 0},
      {request(30, 10, 10, 10, 2, 24, 8), 10, 10, 10, 2, 24, 8},
      {request(24, 8, 8, 8, 8, 32, 0), 8, 8, 8, 8, 32, 0},
      {request(24, 8, 8, 8, 8, 0, 8), 8, 8, 8, 8, 24, 8},  // stencil only comes with depth 24
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.want.cColorBits) << " bits, depth "
                                    << int(c.want.cDepthBits));
    const int f = ChoosePixelFormat(w.hdc, &c.want);
    ASSERT_GT(f, 0);
    PIXELFORMATDESCRIPTOR p = describe(w.hdc, f);
    EXPECT_EQ(c.r, p.cRedBits);
    EXPECT_EQ(c.g, p.cGreenBits);
    EXPECT_EQ(c.b, p.cBlueBits);
    EXPECT_EQ(c.a, p.cAlphaBits);
    EXPECT_EQ(c.depth, p.cDepthBits);
    EXPECT_EQ(c.stencil, p.cStencilBits);
  }
}

TEST_F(FormatTest, EightBitRequestsChooseThePaletteFormat) {
  Win w = window();
  for (int bits : {1, 4, 8}) {
    for (BYTE type : {BYTE(PFD_TYPE_RGBA), BYTE(PFD_TYPE_COLORINDEX)}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, type " << int(type));
      // Channel sizes as GLCapabilities leaves them (8 each) are overruled.
      PIXELFORMATDESCRIPTOR want = request(bits, 8, 8, 8, 8, 24, 0,
                                           PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER |
                                               PFD_DRAW_TO_WINDOW,
                                           type);
      const int f = ChoosePixelFormat(w.hdc, &want);
      ASSERT_GT(f, 0);
      PIXELFORMATDESCRIPTOR p = describe(w.hdc, f);
      EXPECT_TRUE(isPalette(p));
      EXPECT_EQ(8, p.cColorBits);
      EXPECT_EQ(24, p.cDepthBits);
    }
  }
  PIXELFORMATDESCRIPTOR nine = request(9, 0, 0, 0, 0, 0, 0);
  EXPECT_FALSE(isPalette(describe(w.hdc, ChoosePixelFormat(w.hdc, &nine))));
}

// Asking for exactly what a format describes gives that format back.
TEST_F(FormatTest, ChoosingADescriptionGivesItsFormat) {
  Win w = window();
  for (int i = 1; i <= pyxwinFormatCount(); ++i) {
    PIXELFORMATDESCRIPTOR p = describe(w.hdc, i);
    EXPECT_EQ(i, ChoosePixelFormat(w.hdc, &p));
  }
}

TEST_F(FormatTest, NothingDrawsToABitmap) {
  Win w = window();
  PIXELFORMATDESCRIPTOR want = request(24, 8, 8, 8, 8, 24, 0,
                                       PFD_SUPPORT_OPENGL | PFD_DRAW_TO_BITMAP);
  SetLastError(0);
  EXPECT_EQ(0, ChoosePixelFormat(w.hdc, &want));
  EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
}

TEST_F(FormatTest, ChooseRefusesBadArguments) {
  Win w = window();
  PIXELFORMATDESCRIPTOR want = javaDefault();
  SetLastError(0);
  EXPECT_EQ(0, ChoosePixelFormat(w.hdc, nullptr));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_EQ(0, ChoosePixelFormat(0, &want));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(FormatTest, SetPixelFormatOncePerDeviceContext) {
  Win w = window();
  EXPECT_EQ(0, GetPixelFormat(w.hdc));
  EXPECT_EQ(0, pyxwinDCPixelFormat(w.hdc));
  PIXELFORMATDESCRIPTOR want = javaDefault();
  const int f = ChoosePixelFormat(w.hdc, &want);
  const int other = f == 1 ? 2 : 1;
  EXPECT_EQ(1, SetPixelFormat(w.hdc, f, &want));
  EXPECT_EQ(f, GetPixelFormat(w.hdc));
  EXPECT_EQ(1, SetPixelFormat(w.hdc, f, &want)) << "the same format again";
  SetLastError(0);
  EXPECT_EQ(0, SetPixelFormat(w.hdc, other, &want));
  EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  EXPECT_EQ(f, GetPixelFormat(w.hdc));
  EXPECT_EQ(1, SetPixelFormat(w.hdc, f, nullptr)) << "the descriptor is not needed";
}

TEST_F(FormatTest, SetPixelFormatRefusesBadFormatsAndHandles) {
  Win w = window();
  const int n = pyxwinFormatCount();
  for (int bad : {0, -3, n + 1}) {
    SetLastError(0);
    EXPECT_EQ(0, SetPixelFormat(w.hdc, bad, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PIXEL_FORMAT), GetLastError());
  }
  EXPECT_EQ(0, GetPixelFormat(w.hdc)) << "still settable";
  SetLastError(0);
  EXPECT_EQ(0, SetPixelFormat(w.hwnd, 1, nullptr));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_EQ(1, SetPixelFormat(w.hdc, 1, nullptr));
}

TEST_F(FormatTest, LargestWindowGetsItsSurface) {
  Win w = formatted(1, 8192, 1);
  HGLRC c = context(w.hdc);
  ASSERT_EQ(TRUE, wglMakeCurrent(w.hdc, c));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(8192, viewport[2]);
  EXPECT_EQ(1, viewport[3]);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  auto px = readPixel(8191, 0);
  EXPECT_EQ(255, px[2]);
}

}  // namespace
