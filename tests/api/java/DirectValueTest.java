package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;
import static org.junit.jupiter.api.Assertions.*;

import com.tandrel.pyxolin.CoreGL;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** Plain values reach GL unchanged, and results come back as GL gave them. */
class DirectValueTest extends WithGLContext {
    @BeforeEach
    void clean() {
        GLFixture.takeError();
    }

    @Test
    void unsignedValuesTravelAsTheirBits() {
        glColor4ub((byte) -1, (byte) -1, (byte) -1, (byte) -1);
        assertArrayEquals(new float[] {1, 1, 1, 1}, GLFixture.getFloats(GL_CURRENT_COLOR, 4));
        glColor3ui(-1, 0, -1);
        assertArrayEquals(new float[] {1, 0, 1, 1}, GLFixture.getFloats(GL_CURRENT_COLOR, 4));
        glColor4us((short) -1, (short) 0, (short) 0, (short) -1);
        assertArrayEquals(new float[] {1, 0, 0, 1}, GLFixture.getFloats(GL_CURRENT_COLOR, 4));
        glLineStipple(3, (short) 0xF0F0);
        assertEquals(0xF0F0, GLFixture.getInts(GL_LINE_STIPPLE_PATTERN, 1)[0]);
        assertEquals(3, GLFixture.getInts(GL_LINE_STIPPLE_REPEAT, 1)[0]);
    }

    @Test
    void floatsAndDoublesArriveExactly() {
        glClearColor(0.1f, 0.2f, 0.3f, 0.4f);
        assertArrayEquals(new float[] {0.1f, 0.2f, 0.3f, 0.4f}, GLFixture.getFloats(GL_COLOR_CLEAR_VALUE, 4));
        glClearDepth(0.25);
        double[] depth = new double[1];
        glGetDoublev(GL_DEPTH_CLEAR_VALUE, depth);
        assertEquals(0.25, depth[0]);
        glMapGrid2d(3, 0.5, 1.5, 7, -2.0, 2.0);
        assertArrayEquals(new int[] {3, 7}, GLFixture.getInts(GL_MAP2_GRID_SEGMENTS, 2));
        double[] domain = new double[4];
        glGetDoublev(GL_MAP2_GRID_DOMAIN, domain);
        assertArrayEquals(new double[] {0.5, 1.5, -2.0, 2.0}, domain);
    }

    @Test
    void booleansBothWays() {
        boolean[] mask = new boolean[1];
        glDepthMask(false);
        glGetBooleanv(GL_DEPTH_WRITEMASK, mask);
        assertFalse(mask[0]);
        glDepthMask(true);
        glGetBooleanv(GL_DEPTH_WRITEMASK, mask);
        assertTrue(mask[0]);
        glEnable(GL_BLEND);
        assertTrue(glIsEnabled(GL_BLEND));
        glDisable(GL_BLEND);
        assertFalse(glIsEnabled(GL_BLEND));
    }

    @Test
    void errorsAndRejectedEnumsComeBackAsGLSaysThem() {
        assertFalse(glIsEnabled(0x7FFF));
        assertEquals(1280, glGetError()); // GL_INVALID_ENUM
        assertEquals(GL_NO_ERROR, glGetError());
        assertNull(glGetString(0x7FFF));
        GLFixture.takeError();
        assertNotNull(glGetString(GL_VERSION));
        assertFalse(glIsList(12345));
        assertFalse(glIsTexture(12345));
    }

    @Test
    void displayListsAndTheirNames() {
        int base = glGenLists(2);
        assertTrue(base > 0);
        glNewList(base, GL_COMPILE);
        glColor3f(0, 1, 0);
        glEndList();
        assertTrue(glIsList(base));
        glColor3f(1, 0, 0);
        glCallList(base);
        assertArrayEquals(new float[] {0, 1, 0, 1}, GLFixture.getFloats(GL_CURRENT_COLOR, 4));
        glDeleteLists(base, 2);
        assertFalse(glIsList(base));
    }

    @Test
    void renderModeCountsComeBackUnchangedEvenNegative() {
        int[] tiny = new int[4];
        glSelectBuffer(tiny.length, tiny);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(1);
        glPushName(2);
        glPushName(3);
        glBegin(GL_POINTS);
        glVertex2f(10, 10);
        glEnd();
        assertEquals(-1, glRenderMode(GL_RENDER)); // a 6-word record cannot fit in 4
    }

    @Test
    void clearAndDrawReachThePixels() {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        assertArrayEquals(new byte[] {0, 0, (byte) 255, (byte) 255}, GLFixture.pixel(5, 5));
        glColor3f(1, 0, 0);
        glRecti(0, 0, 8, 8);
        assertArrayEquals(new byte[] {(byte) 255, 0, 0, (byte) 255}, GLFixture.pixel(4, 4));
        assertArrayEquals(new byte[] {0, 0, (byte) 255, (byte) 255}, GLFixture.pixel(20, 20));
    }

    @Test
    void pokeNativeDoesNothing() {
        CoreGL.pokeNative();
        assertEquals(GL_NO_ERROR, glGetError());
    }
}
