// Capability arrays to descriptors, the ramp palette, and message lines.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "messages.h"
#include "pixelformat.h"

namespace {

std::vector<int32_t> request(std::initializer_list<std::pair<int, int32_t>> elements) {
  std::vector<int32_t> caps(pyx::kCapabilityCount, 0);
  caps[1] = caps[2] = 1;  // single-buffered, no stereo: features ask with 0
  for (auto [index, value] : elements) caps[index] = value;
  return caps;
}

TEST(CapabilitiesToDescriptor, FixedFieldsAndFlags) {
  struct Case {
    const char* name;
    std::vector<int32_t> caps;
    DWORD flags;
    BYTE pixelType;
  } cases[] = {
      {"double buffer, window, RGBA", request({{1, 0}, {2, 1}, {3, 0}, {0, 0}}), 0x25, PFD_TYPE_RGBA},
      {"stereo", request({{2, 0}}), 0x20 | 0x2 | 0x4, PFD_TYPE_RGBA},
      {"bitmap never window", request({{3, 7}}), 0x20 | 0x8, PFD_TYPE_RGBA},
      {"colour index", request({{0, -5}}), 0x24, PFD_TYPE_COLORINDEX},
  };
  for (const Case& c : cases) {
    PIXELFORMATDESCRIPTOR pfd;
    memset(&pfd, 0xAB, sizeof pfd);
    ASSERT_TRUE(pyx::capabilitiesToDescriptor(c.caps.data(), &pfd)) << c.name;
    EXPECT_EQ(pfd.nSize, 40) << c.name;
    EXPECT_EQ(pfd.nVersion, 1) << c.name;
    EXPECT_EQ(pfd.dwFlags, c.flags) << c.name;
    EXPECT_EQ(pfd.iPixelType, c.pixelType) << c.name;
    EXPECT_EQ(pfd.bReserved, 0) << c.name;
    EXPECT_EQ(pfd.dwLayerMask | pfd.dwVisibleMask | pfd.dwDamageMask, 0u) << c.name;
  }
}

TEST(CapabilitiesToDescriptor, SizesAndShiftsLandInTheirInterleavedFields) {
  std::vector<int32_t> caps(pyx::kCapabilityCount);
  for (int i = 4; i <= 20; ++i) caps[i] = i;  // each element names its index
  caps[18] = 300;                             // only the low 8 bits are kept
  PIXELFORMATDESCRIPTOR pfd;
  ASSERT_TRUE(pyx::capabilitiesToDescriptor(caps.data(), &pfd));
  EXPECT_EQ(pfd.cColorBits, 4);
  EXPECT_EQ(pfd.cRedBits, 5);
  EXPECT_EQ(pfd.cGreenBits, 6);
  EXPECT_EQ(pfd.cBlueBits, 7);
  EXPECT_EQ(pfd.cAlphaBits, 8);
  EXPECT_EQ(pfd.cRedShift, 9);
  EXPECT_EQ(pfd.cGreenShift, 10);
  EXPECT_EQ(pfd.cBlueShift, 11);
  EXPECT_EQ(pfd.cAlphaShift, 12);
  EXPECT_EQ(pfd.cAccumBits, 13);
  EXPECT_EQ(pfd.cAccumRedBits, 14);
  EXPECT_EQ(pfd.cAccumGreenBits, 15);
  EXPECT_EQ(pfd.cAccumBlueBits, 16);
  EXPECT_EQ(pfd.cAccumAlphaBits, 17);
  EXPECT_EQ(pfd.cDepthBits, 44);
  EXPECT_EQ(pfd.cStencilBits, 19);
  EXPECT_EQ(pfd.cAuxBuffers, 20);
}

TEST(CapabilitiesToDescriptor, Layers) {
  const std::pair<int32_t, int> legal[] = {{0, 0}, {1, 1}, {2, 255}};
  for (auto [layer, byte] : legal) {
    PIXELFORMATDESCRIPTOR pfd;
    ASSERT_TRUE(pyx::capabilitiesToDescriptor(request({{21, layer}}).data(), &pfd)) << layer;
    EXPECT_EQ(pfd.iLayerType, byte) << layer;
  }
  for (int32_t layer : {3, -1, 256, INT32_MIN}) {
    PIXELFORMATDESCRIPTOR pfd;
    EXPECT_FALSE(pyx::capabilitiesToDescriptor(request({{21, layer}}).data(), &pfd)) << layer;
  }
}

PIXELFORMATDESCRIPTOR described332() {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.cColorBits = 8;
  pfd.cRedBits = 3;
  pfd.cRedShift = 0;
  pfd.cGreenBits = 3;
  pfd.cGreenShift = 3;
  pfd.cBlueBits = 2;
  pfd.cBlueShift = 6;
  return pfd;
}

TEST(RampPalette, ThreeThreeTwo) {
  const PIXELFORMATDESCRIPTOR pfd = described332();
  ASSERT_EQ(pyx::rampPaletteSize(pfd), 256);
  const int threeBit[] = {0, 36, 72, 109, 145, 182, 218, 255};
  const int twoBit[] = {0, 85, 170, 255};
  for (int i = 0; i < 256; ++i) {
    PALETTEENTRY e = pyx::rampPaletteEntry(pfd, i);
    ASSERT_EQ(e.peRed, threeBit[i & 7]) << i;
    ASSERT_EQ(e.peGreen, threeBit[(i >> 3) & 7]) << i;
    ASSERT_EQ(e.peBlue, twoBit[(i >> 6) & 3]) << i;
    ASSERT_EQ(e.peFlags, 0) << i;
  }
  PALETTEENTRY e45 = pyx::rampPaletteEntry(pfd, 45);
  EXPECT_EQ(e45.peRed, 182);
  EXPECT_EQ(e45.peGreen, 182);
  EXPECT_EQ(e45.peBlue, 0);
}

TEST(RampPalette, DegenerateDescriptionsStayDefined) {
  PIXELFORMATDESCRIPTOR noBlue = described332();
  noBlue.cBlueBits = 0;
  EXPECT_EQ(pyx::rampPaletteEntry(noBlue, 255).peBlue, 0);

  PIXELFORMATDESCRIPTOR huge = described332();
  huge.cRedBits = 255;
  huge.cRedShift = 255;
  EXPECT_EQ(pyx::rampPaletteEntry(huge, 255).peRed, 0);

  PIXELFORMATDESCRIPTOR deep = described332();
  deep.cColorBits = 16;
  EXPECT_EQ(pyx::rampPaletteSize(deep), 0) << "65536 entries do not fit the 16-bit count";
  deep.cColorBits = 15;
  EXPECT_EQ(pyx::rampPaletteSize(deep), 32768);
}

TEST(Messages, LineAndMissingItemFormats) {
  pyx::MessageBuffer item, line;
  pyx::formatMissingItem(item, "context");
  EXPECT_STREQ(item, "context is NULL!");
  pyx::formatMessageLine(line, "/src/jni/nativeGLContext.cpp", 42, item);
  EXPECT_STREQ(line, "/src/jni/nativeGLContext.cpp:42: context is NULL!");
}

TEST(Messages, OverlongLinesAreTruncatedToTheBuffer) {
  std::string path(3000, 'p');
  struct Guarded {
    pyx::MessageBuffer line;
    char guard[16];
  } g;
  memset(g.guard, 'G', sizeof g.guard);
  pyx::formatMessageLine(g.line, path.c_str(), 1, "text");
  EXPECT_EQ(strlen(g.line), pyx::kMessageBufferSize - 1);
  for (char c : g.guard) EXPECT_EQ(c, 'G');
}

}  // namespace
