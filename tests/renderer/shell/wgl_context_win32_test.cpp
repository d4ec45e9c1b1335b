// The WGL pieces the renderer window and the test context share, on a real
// context: the pixel format the request gets, every multitexture entry point
// through wglGetProcAddress, and the swap interval.

#include "renderer/shell/gl_extensions.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/wgl_context_win32.h"

#include "tests/support/offscreen_gl.h"

namespace kestrune {
namespace {

using WglContext = test::GlTest;

TEST_F(WglContext, TheRequestGetsADoubleBufferedRgbaFormatWithADepthBuffer) {
    const PIXELFORMATDESCRIPTOR request = PixelFormatRequest(kColourBits);
    EXPECT_EQ(request.nSize, 40);
    EXPECT_EQ(request.cColorBits, 32);
    EXPECT_EQ(request.cDepthBits, 16);

    // What the system made of the request on the context's own window.
    const HDC deviceContext = wglGetCurrentDC();
    ASSERT_NE(deviceContext, nullptr);
    PIXELFORMATDESCRIPTOR chosen{};
    ASSERT_NE(
        DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext), sizeof chosen, &chosen),
        0);
    EXPECT_TRUE(chosen.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(chosen.dwFlags & PFD_SUPPORT_OPENGL);
    EXPECT_TRUE(chosen.dwFlags & PFD_DRAW_TO_WINDOW);
    EXPECT_EQ(chosen.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(chosen.cDepthBits, 16);
    EXPECT_GE(chosen.cRedBits, 8);
}

TEST_F(WglContext, EveryMultitextureEntryPointLoadsAndUnknownNamesStayNull) {
    WglPlatform platform;
    g_extensions = ExtensionTable{};
    LoadExtensions(platform);
    for (const char* name : kExtensionNames) {
        EXPECT_NE(platform.GetProcAddress(name), nullptr) << name;
    }
    EXPECT_TRUE(g_extensions.HasMultitexture());
    EXPECT_NE(g_extensions.glMultiTexCoord4svARB, nullptr);
    EXPECT_EQ(platform.GetProcAddress("glNoSuchFunctionKestrune"), nullptr);
    // Core OpenGL 1.1 comes from opengl32 itself, never from the driver.
    EXPECT_EQ(platform.GetProcAddress("glClear"), nullptr);
}

TEST_F(WglContext, TheSwapIntervalIsSetWhereTheDriverOffersIt) {
    WglPlatform platform;
    using GetSwapIntervalFn = int(WINAPI*)();
    const auto getSwapInterval =
        reinterpret_cast<GetSwapIntervalFn>(platform.GetProcAddress("wglGetSwapIntervalEXT"));
    if (!platform.GetProcAddress("wglSwapIntervalEXT") || !getSwapInterval) {
        GTEST_SKIP() << "the driver offers no swap interval";
    }
    platform.SetSwapInterval(1);
    EXPECT_EQ(getSwapInterval(), 1);
    platform.SetSwapInterval(0);
    EXPECT_EQ(getSwapInterval(), 0);
}

} // namespace
} // namespace kestrune
