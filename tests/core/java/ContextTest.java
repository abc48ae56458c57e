package com.tandrel.pyxolin.tests.core;

import static com.tandrel.pyxolin.tests.core.Surfaces.calls;
import static com.tandrel.pyxolin.tests.core.Surfaces.callsNamed;
import static com.tandrel.pyxolin.tests.core.Surfaces.intField;
import static com.tandrel.pyxolin.tests.core.Surfaces.record;
import static com.tandrel.pyxolin.tests.core.Surfaces.surface;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.tandrel.pyxolin.CoreGL;
import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.GLContextException;
import com.tandrel.winplat.PlatformControl;
import java.util.List;
import java.util.function.Consumer;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;
import sun.awt.windows.WDrawingSurfaceInfo;

class ContextTest {
    static final int GL_COLOR_BUFFER_BIT = 0x4000;
    static final int GL_RGBA = 0x1908;
    static final int GL_UNSIGNED_BYTE = 0x1401;
    static final int GL_PROJECTION = 0x1701;
    static final int GL_MODELVIEW = 0x1700;
    static final int GL_COMPILE = 0x1300;
    static final int GL_VIEWPORT = 0x0BA2;

    final Surfaces s = new Surfaces();

    @AfterEach
    void tearDown() {
        s.close();
    }

    /** "path/nativeX.cpp:LINE: text", the line a failure report carries. */
    static void assertMessage(String sourceFile, String text, Throwable e) {
        Pattern line = Pattern.compile("^.*/" + Pattern.quote(sourceFile) + ":[0-9]+: " + Pattern.quote(text) + "$");
        assertTrue(line.matcher(e.getMessage()).matches(), "message was: " + e.getMessage());
    }

    static void assertUnlockedOnce(GLComponent c) {
        WDrawingSurfaceInfo info = surface(c);
        assertFalse(info.isLocked(), "surface left locked");
        List<String> trace = info.trace();
        assertEquals(trace.stream().filter("lock"::equals).count(),
                trace.stream().filter("unlock"::equals).count(), "lock/unlock pairs: " + trace);
    }

    static void ortho(int width, int height) {
        CoreGL.glMatrixMode(GL_PROJECTION);
        CoreGL.glLoadIdentity();
        CoreGL.glOrtho(0, width, 0, height, -1, 1);
        CoreGL.glMatrixMode(GL_MODELVIEW);
        CoreGL.glLoadIdentity();
    }

    static int[] rgbaAt(byte[] pixels, int width, int x, int y) {
        int i = (y * width + x) * 4;
        return new int[] {pixels[i] & 255, pixels[i + 1] & 255, pixels[i + 2] & 255, pixels[i + 3] & 255};
    }

    static byte[] readPixels(int width, int height) {
        byte[] pixels = new byte[width * height * 4];
        CoreGL.glReadPixelsb(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        return pixels;
    }

    GLContext current(GLComponent c) {
        GLContext ctx = s.context(c, new GLCapabilities());
        assertTrue(ctx.create());
        ctx.makeCurrent();
        return ctx;
    }

    @Test
    void rendersOffscreenAndReadsBackWhatWasDrawn() {
        GLComponent c = s.created(64, 32);
        GLContext ctx = current(c);
        CoreGL.glViewport(c, 0, 0, 64, 32);
        ortho(64, 32);
        CoreGL.glClearColor(0, 0, 1, 1);
        CoreGL.glClear(GL_COLOR_BUFFER_BIT);
        CoreGL.glColor3f(1, 0, 0);
        CoreGL.glRecti(0, 0, 32, 32);

        byte[] pixels = readPixels(64, 32);
        assertArrayEquals(new int[] {255, 0, 0, 255}, rgbaAt(pixels, 64, 5, 5));
        assertArrayEquals(new int[] {0, 0, 255, 255}, rgbaAt(pixels, 64, 50, 20));

        assertNotEquals(0, c.getGLContext());
        assertEquals(intField(ctx, "pData"), c.getGLContext());
        ctx.swapBuffers();
        assertUnlockedOnce(c);
    }

    @Test
    void displayListCompiledInOneContextDrawsInTheSharingContext() {
        GLComponent first = s.created(16, 16);
        GLComponent second = s.component(16, 16);
        second.setSharedComponent(first);
        assertTrue(second.create());

        GLContext older = current(first);
        int list = CoreGL.glGenLists(1);
        CoreGL.glNewList(list, GL_COMPILE);
        CoreGL.glColor3f(0, 1, 0);
        CoreGL.glRecti(0, 0, 16, 16);
        CoreGL.glEndList();
        older.unlock();

        record();
        GLContext newer = s.context(second, new GLCapabilities());
        assertTrue(newer.create());
        assertEquals(List.of("wglShareLists(" + intField(older, "pData") + ", " + intField(newer, "pData") + ") = 1"),
                callsNamed("wglShareLists"), "the older context comes first");

        newer.makeCurrent();
        ortho(16, 16);
        CoreGL.glClearColor(0, 0, 0, 1);
        CoreGL.glClear(GL_COLOR_BUFFER_BIT);
        assertTrue(CoreGL.glIsList(list));
        CoreGL.glCallList(list);
        assertArrayEquals(new int[] {0, 255, 0, 255}, rgbaAt(readPixels(16, 16), 16, 8, 8));
    }

    /** Counts what the natives ask of a component. */
    static class CountingComponent extends GLComponent {
        private static final long serialVersionUID = 1L;
        int getContextCalls;
        RuntimeException throwFromGetContext;

        @Override
        public GLContext getContext() {
            getContextCalls++;
            if (throwFromGetContext != null) {
                throw throwFromGetContext;
            }
            return super.getContext();
        }
    }

    /** A context that claims to be initialized whatever its handle. */
    static class EagerContext extends GLContext {
        EagerContext(GLComponent c) {
            super(c, new GLCapabilities());
        }

        @Override
        public boolean isInitialized() {
            return true;
        }
    }

    @Test
    void sharingFailuresNameTheMissingItem() {
        GLComponent lonely = s.created(8, 8);
        GLComponent sharer = s.created(8, 8);
        sharer.setSharedComponent(lonely);
        assertMessage("nativeGLContext.cpp", "sharedContext is NULL!",
                assertThrows(GLContextException.class, () -> s.context(sharer, new GLCapabilities()).create()));
        assertUnlockedOnce(sharer);

        new EagerContext(lonely); // initialized by its own word, but without a handle
        assertMessage("nativeGLContext.cpp", "sharedContextpData is NULL!",
                assertThrows(GLContextException.class, () -> s.context(sharer, new GLCapabilities()).create()));

        GLComponent first = s.created(8, 8);
        assertTrue(s.context(first, new GLCapabilities()).create());
        GLComponent second = s.created(8, 8);
        second.setSharedComponent(first);
        PlatformControl.forceFailure(PlatformControl.WGL_CREATE_CONTEXT, 0, 0, 1);
        record();
        assertMessage("nativeGLContext.cpp", "glContext is NULL!",
                assertThrows(GLContextException.class, () -> s.context(second, new GLCapabilities()).create()));
        assertEquals(1, callsNamed("wglShareLists").size(), "wglShareLists comes before the new handle is tested");
        assertUnlockedOnce(second);
    }

    @Test
    void contextWithoutSharedComponentAsksNothingOfOthers() {
        CountingComponent c = s.attach(new CountingComponent(), 8, 8);
        assertTrue(c.create());
        record();
        assertTrue(s.context(c, new GLCapabilities()).create());
        assertEquals(0, c.getContextCalls);
        assertEquals(List.of(), callsNamed("wglShareLists"));
    }

    @Test
    void sharingWithAnUninitializedContextCreatesNothingYet() {
        GLComponent first = s.created(8, 8);
        s.context(first, new GLCapabilities()); // never created
        GLComponent second = s.created(8, 8);
        second.setSharedComponent(first);

        record();
        GLCapabilities caps = new GLCapabilities();
        GLContext ctx = s.context(second, caps);
        assertFalse(ctx.create());
        assertEquals(0, intField(ctx, "pData"));
        assertTrue(caps.isLocked());
        assertEquals(1, callsNamed("SetPixelFormat").size(), calls().toString());
        assertTrue(callsNamed("SetPixelFormat").get(0).endsWith("= 1"));
        assertEquals(List.of(), callsNamed("wglCreateContext"));
        assertUnlockedOnce(second);
    }

    static Stream<Arguments> creationFailures() {
        Consumer<GLCapabilities> none = caps -> { };
        return Stream.of(
            Arguments.of("layer 3", (Consumer<GLCapabilities>) caps -> caps.setLayer(3), -1, 0, "Illegal layer type!"),
            Arguments.of("layer -1", (Consumer<GLCapabilities>) caps -> caps.setLayer(-1), -1, 0, "Illegal layer type!"),
            Arguments.of("no format", none, PlatformControl.CHOOSE_PIXEL_FORMAT, 0, "Cannot ChoosePixelFormat"),
            Arguments.of("bitmap", (Consumer<GLCapabilities>) caps -> caps.setDrawToBitmap(true), -1, 0,
                    "Cannot ChoosePixelFormat"),
            Arguments.of("set answers 2", none, PlatformControl.SET_PIXEL_FORMAT, 2, "Cannot SetPixelFormat"),
            Arguments.of("set answers 0", none, PlatformControl.SET_PIXEL_FORMAT, 0, "Cannot SetPixelFormat"),
            Arguments.of("no palette", (Consumer<GLCapabilities>) caps -> caps.setColorBits(8),
                    PlatformControl.CREATE_PALETTE, 0, "Failed to realize palette!"),
            Arguments.of("no context", none, PlatformControl.WGL_CREATE_CONTEXT, 0, "context creation failed!"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("creationFailures")
    void creationFailuresAreReportedAfterTheUnlock(String name, Consumer<GLCapabilities> request, int forcedOp,
            int forcedResult, String text) {
        GLComponent c = s.created(8, 8);
        GLCapabilities caps = new GLCapabilities();
        request.accept(caps);
        if (forcedOp >= 0) {
            PlatformControl.forceFailure(forcedOp, forcedResult, 0, 1);
        }
        record();
        GLContext ctx = s.context(c, caps);
        GLContextException e = assertThrows(GLContextException.class, ctx::create);
        assertMessage("nativeGLContext.cpp", text, e);
        assertEquals(0, intField(ctx, "pData"));
        assertUnlockedOnce(c);
        if (text.equals("Illegal layer type!")) {
            assertEquals(List.of(), callsNamed("ChoosePixelFormat"), "refused before any format is chosen");
        }
    }

    @Test
    void eightBitRequestRealizesTheRampPalette() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = s.context(c, new GLCapabilities().setColorBits(8));
        assertTrue(ctx.create());
        int[] entries = PlatformControl.paletteEntries(c.getWidget());
        assertEquals(256, entries.length);
        assertEquals(0x000000, entries[0] & 0xffffff);
        assertEquals(0xffffff, entries[255] & 0xffffff);
        // entry 45 = red field 5, green field 5, blue field 0 of a 3-3-2 index
        assertEquals(182, entries[45] & 255, "red");
        assertEquals(182, (entries[45] >> 8) & 255, "green");
        assertEquals(0, (entries[45] >> 16) & 255, "blue");
    }

    @Test
    void capabilityArrayShorterThan22IsRefused() {
        GLComponent c = s.created(8, 8);
        GLCapabilities shortCaps = new GLCapabilities() {
            @Override
            public int[] getCapabilitiesAsInt() {
                return new int[21];
            }
        };
        record();
        GLContextException e = assertThrows(GLContextException.class, () -> s.context(c, shortCaps).create());
        assertTrue(e.getMessage().endsWith("getCapabilitiesAsInt() gave 21 elements, 22 needed"), e.getMessage());
        assertEquals(List.of(), callsNamed("ChoosePixelFormat"));
        assertFalse(shortCaps.isLocked());
    }

    @Test
    void nullCapabilitiesOrArrayGiveFalseWithoutReport() {
        GLComponent c = s.created(8, 8);
        assertFalse(s.context(c, null).create());
        GLCapabilities noArray = new GLCapabilities() {
            @Override
            public int[] getCapabilitiesAsInt() {
                return null;
            }
        };
        assertFalse(s.context(c, noArray).create());
        assertUnlockedOnce(c);
    }

    @Test
    void secondMakeCurrentMakesNoWglMakeCurrentCall() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        record();
        ctx.makeCurrent();
        assertEquals(List.of(), callsNamed("wglMakeCurrent"));
        assertUnlockedOnce(c);
    }

    @Test
    void makeCurrentFailureIsReported() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = s.context(c, new GLCapabilities());
        assertTrue(ctx.create());
        PlatformControl.forceFailure(PlatformControl.WGL_MAKE_CURRENT, 0, 170, 2);
        GLContextException e = assertThrows(GLContextException.class, ctx::makeCurrent);
        assertMessage("nativeGLContext.cpp", "wglMakeCurrent", e);
        assertUnlockedOnce(c);
    }

    @Test
    void swapFinishesSwapsAndReleases() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        record();
        ctx.swapBuffers();
        List<String> log = calls();
        int swap = indexOfPrefix(log, "SwapBuffers(");
        int release = log.indexOf("wglMakeCurrent(0, 0) = 1");
        assertTrue(swap >= 0 && release > swap, log.toString());
        assertEquals(0, currentContext());
    }

    /** The calling thread's current context, as the platform sees it. */
    static int currentContext() {
        return PlatformControl.currentContext();
    }

    static int indexOfPrefix(List<String> log, String prefix) {
        for (int i = 0; i < log.size(); i++) {
            if (log.get(i).startsWith(prefix)) {
                return i;
            }
        }
        return -1;
    }

    @Test
    void swapWithoutCurrentContextStillReleases() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        ctx.unlock();
        record();
        ctx.swapBuffers();
        assertEquals(List.of(), callsNamed("SwapBuffers"));
        assertEquals(List.of("wglMakeCurrent(0, 0) = 1"), callsNamed("wglMakeCurrent"));
    }

    @Test
    void swapFailureWithErrorSixIsReportedAndSkipsTheRelease() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        int handle = intField(ctx, "pData");
        PlatformControl.forceFailure(PlatformControl.SWAP_BUFFERS, 0, 6, 1);
        record();
        GLContextException e = assertThrows(GLContextException.class, ctx::swapBuffers);
        assertMessage("nativeGLContext.cpp", "SwapBuffers(): 6", e);
        assertEquals(List.of(), callsNamed("wglMakeCurrent"));
        assertEquals(handle, currentContext());
        assertUnlockedOnce(c);
    }

    @Test
    void swapFailureWithoutErrorCodeGoesOnAsASwap() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        PlatformControl.forceFailure(PlatformControl.SWAP_BUFFERS, 0, 0, 1);
        ctx.swapBuffers();
        assertEquals(0, currentContext());
    }

    @Test
    void failedReleaseAfterSwapIsReported() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        PlatformControl.forceFailure(PlatformControl.WGL_MAKE_CURRENT, 0, 6, 1);
        GLContextException e = assertThrows(GLContextException.class, ctx::swapBuffers);
        assertMessage("nativeGLContext.cpp", "Failed to reset context!", e);
        assertUnlockedOnce(c);
    }

    @Test
    void destroyReleasesDeletesAndClearsAndASecondDestroyDoesNothing() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        ctx.destroy();
        assertEquals(0, intField(ctx, "pData"));
        assertNull(c.getContext());
        assertEquals(0, currentContext());

        record();
        ctx.destroy();
        assertEquals(List.of(), calls());
        assertUnlockedOnce(c);
    }

    @Test
    void destroyLetsGoOfTheArraysTheContextKept() throws InterruptedException {
        GLComponent c = s.created(8, 8);
        GLContext ctx = current(c);
        float[] vertices = new float[9];
        java.lang.ref.WeakReference<float[]> kept = new java.lang.ref.WeakReference<>(vertices);
        CoreGL.nVertexPointerfv(3, 0x1406 /* GL_FLOAT */, 0, vertices);
        vertices = null;
        ctx.destroy();
        for (int i = 0; i < 50 && kept.get() != null; i++) {
            System.gc();
            Thread.sleep(10);
        }
        assertNull(kept.get(), "the vertex array is still held after its context was destroyed");
    }

    @ParameterizedTest
    @ValueSource(ints = {0, -1, 12345})
    void whateverLockAnswersTheWorkGoesOn(int lockResult) {
        GLComponent c = s.created(32, 32);
        current(c);
        surface(c).lockResult = lockResult;
        CoreGL.glViewport(c, 1, 2, 3, 4);
        int[] viewport = new int[4];
        CoreGL.glGetIntegerv(GL_VIEWPORT, viewport);
        assertArrayEquals(new int[] {1, 2, 3, 4}, viewport);
        assertUnlockedOnce(c);
    }

    @Test
    void javaExceptionsInsideTheBracketReachTheCallerAfterTheUnlock() {
        GLComponent c = s.component(8, 8);
        WDrawingSurfaceInfo info = surface(c);
        IllegalStateException thrown = new IllegalStateException("getHDC failed");
        info.throwOnGetHDC = thrown;
        assertSame(thrown, assertThrows(IllegalStateException.class, c::create));
        assertEquals(List.of("lock", "getHDC", "unlock"), info.trace());
        assertEquals(0, intField(c, "pData"));

        info.throwOnGetHDC = null;
        info.clearTrace();
        IllegalStateException lockFailure = new IllegalStateException("lock failed");
        info.throwOnLock = lockFailure;
        assertSame(lockFailure, assertThrows(IllegalStateException.class, c::create));
        assertEquals(List.of("lock"), info.trace(), "nothing to unlock when lock threw");
    }

    @Test
    void exceptionsFromJavaMethodsOfTheContractReachTheCaller() {
        GLComponent c = s.created(8, 8);
        IllegalArgumentException fromCaps = new IllegalArgumentException("caps");
        GLCapabilities throwing = new GLCapabilities() {
            @Override
            public int[] getCapabilitiesAsInt() {
                throw fromCaps;
            }
        };
        assertSame(fromCaps, assertThrows(IllegalArgumentException.class, () -> s.context(c, throwing).create()));

        CountingComponent first = s.attach(new CountingComponent(), 8, 8);
        assertTrue(first.create());
        GLComponent second = s.created(8, 8);
        second.setSharedComponent(first);
        first.throwFromGetContext = new UnsupportedOperationException("getContext");
        assertSame(first.throwFromGetContext,
                assertThrows(UnsupportedOperationException.class, () -> s.context(second, new GLCapabilities()).create()));
        assertUnlockedOnce(second);
    }

    @Test
    void componentNativesAnswerTheRecordedHandles() {
        GLComponent c = s.component(8, 8);
        assertEquals(1080, c.getDesktopHeight(), "works before nCreate");
        assertEquals(0, c.getWindow());
        GLContextException e = assertThrows(GLContextException.class, c::getDesktopWidth);
        assertMessage("nativeGLComponent.cpp", "drawingSurfaceInfo is NULL!", e);
        assertMessage("nativeGLComponent.cpp", "GLComponentRecord is NULL!",
                assertThrows(GLContextException.class, c::getWidget));

        assertTrue(c.create());
        WDrawingSurfaceInfo info = surface(c);
        assertEquals(info.getHWnd(), c.getWindow());
        assertEquals(info.getHDC(), c.getWidget());
        assertEquals(1920, c.getDesktopWidth());
        assertMessage("nativeGLComponent.cpp", "context is NULL!",
                assertThrows(GLContextException.class, c::getGLContext));
        s.context(c, new GLCapabilities());
        assertEquals(0, c.getGLContext(), "a context never created has handle 0");
        assertUnlockedOnce(c);
    }

    @Test
    void nCreateFailuresLeaveTheComponentAsItWas() {
        GLComponent noPeer = new GLComponent();
        GLContextException e = assertThrows(GLContextException.class, noPeer::create);
        assertMessage("nativeGLComponent.cpp", "peer is null", e);
        assertEquals(0, intField(noPeer, "pData"));
        assertNull(Surfaces.get(noPeer, "drawingSurfaceInfo"));

        GLComponent c = s.component(8, 8);
        WDrawingSurfaceInfo info = surface(c);
        info.hdcOverride = 0;
        assertMessage("nativeGLComponent.cpp", "Failed to fetch HDC from DrawingSurfaceInfo",
                assertThrows(GLContextException.class, c::create));
        assertFalse(info.trace().contains("getHWnd"), "getHWnd is not called after a null HDC");
        assertUnlockedOnce(c);
        assertSame(info, Surfaces.get(c, "drawingSurfaceInfo"), "the field keeps the object");

        info.hdcOverride = null;
        info.hwndOverride = 0;
        assertMessage("nativeGLComponent.cpp", "Failed to fetch HWND from DrawingSurfaceInfo",
                assertThrows(GLContextException.class, c::create));
        assertEquals(0, intField(c, "pData"));
    }

    @Test
    void staleOrForgedRecordHandlesAreRefused() {
        GLComponent c = s.created(8, 8);
        GLContext ctx = s.context(c, new GLCapabilities());
        for (int forged : new int[] {0, 0x7fffffff, intField(c, "pData") + 1000}) {
            Surfaces.set(c, "pData", forged);
            assertMessage("nativeGLContext.cpp", "GLComponentRecord is NULL!",
                    assertThrows(GLContextException.class, ctx::create));
            assertMessage("nativeGLContext.cpp", "GLComponentRecord is NULL!",
                    assertThrows(GLContextException.class, ctx::makeCurrent));
            assertEquals(0, c.getWindow());
            assertUnlockedOnce(c);
        }
    }
}
