package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;
import static com.tandrel.pyxolin.CoreGLU.gluProject;
import static org.junit.jupiter.api.Assertions.*;

import java.util.Arrays;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * Arrays that are null or shorter than GL would read or write are refused
 * before GL is called, with the native, the parameter and both counts named.
 */
class RefusalTest extends WithGLContext {
    @BeforeEach
    void clean() {
        GLFixture.takeError();
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glLoadIdentity();
    }

    static Stream<Arguments> refusals() {
        Runnable setRowLength = () -> glPixelStorei(GL_UNPACK_ROW_LENGTH, 8);
        Runnable none = () -> {};
        return Stream.of(
                // class, setup, call, expected message
                Arguments.of("null vector", none, (Runnable) () -> glVertex3fv(null),
                        NullPointerException.class, "glVertex3fv: v is null"),
                Arguments.of("null second corner", none, (Runnable) () -> glRectfv(new float[2], null),
                        NullPointerException.class, "glRectfv: v2 is null"),
                Arguments.of("short matrix", none, (Runnable) () -> glLoadMatrixf(new float[15]),
                        ArrayIndexOutOfBoundsException.class, "glLoadMatrixf: m needs 16 elements but has 15"),
                Arguments.of("short colour", none, (Runnable) () -> glColor4ubv(new byte[3]),
                        ArrayIndexOutOfBoundsException.class, "glColor4ubv: v needs 4 elements but has 3"),
                Arguments.of("short clip plane", none, (Runnable) () -> glClipPlane(GL_CLIP_PLANE0, new double[3]),
                        ArrayIndexOutOfBoundsException.class, "glClipPlane: equation needs 4 elements but has 3"),
                Arguments.of("short light position", none,
                        (Runnable) () -> glLightfv(GL_LIGHT0, GL_POSITION, new float[3]),
                        ArrayIndexOutOfBoundsException.class, "glLightfv: params needs 4 elements but has 3"),
                Arguments.of("short viewport query", none, (Runnable) () -> glGetIntegerv(GL_VIEWPORT, new int[3]),
                        ArrayIndexOutOfBoundsException.class, "glGetIntegerv: params needs 4 elements but has 3"),
                Arguments.of("short matrix query", none,
                        (Runnable) () -> glGetFloatv(GL_MODELVIEW_MATRIX, new float[4]),
                        ArrayIndexOutOfBoundsException.class, "glGetFloatv: params needs 16 elements but has 4"),
                Arguments.of("unknown name, empty array", none, (Runnable) () -> glGetIntegerv(0x7FFE, new int[0]),
                        ArrayIndexOutOfBoundsException.class, "glGetIntegerv: params needs 1 elements but has 0"),
                Arguments.of("short list names", none,
                        (Runnable) () -> glCallListsi(3, GL_INT, new int[2]),
                        ArrayIndexOutOfBoundsException.class, "glCallListsi: lists needs 3 elements but has 2"),
                Arguments.of("list names as shorts in bytes", none,
                        (Runnable) () -> glCallListsb(3, GL_UNSIGNED_SHORT, new byte[5]),
                        ArrayIndexOutOfBoundsException.class, "glCallListsb: lists needs 6 elements but has 5"),
                Arguments.of("short texture names", none, (Runnable) () -> glGenTextures(3, new int[2]),
                        ArrayIndexOutOfBoundsException.class, "glGenTextures: textures needs 3 elements but has 2"),
                Arguments.of("short priorities", none,
                        (Runnable) () -> glPrioritizeTextures(2, new int[2], new float[1]),
                        ArrayIndexOutOfBoundsException.class,
                        "glPrioritizeTextures: priorities needs 2 elements but has 1"),
                Arguments.of("short pixel map", none,
                        (Runnable) () -> glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 8, new float[7]),
                        ArrayIndexOutOfBoundsException.class, "glPixelMapfv: values needs 8 elements but has 7"),
                Arguments.of("short stipple", none, (Runnable) () -> glPolygonStipple(new byte[127]),
                        ArrayIndexOutOfBoundsException.class, "glPolygonStipple: mask needs 128 elements but has 127"),
                Arguments.of("short image", none,
                        (Runnable) () -> glDrawPixelsb(4, 4, GL_RGBA, GL_UNSIGNED_BYTE, new byte[63]),
                        ArrayIndexOutOfBoundsException.class, "glDrawPixelsb: pixels needs 64 elements but has 63"),
                // 3 rows of 8 pixels, then 4 pixels of the last row: 28 pixels of 4 bytes = 7 floats each
                Arguments.of("image under a row length", setRowLength,
                        (Runnable) () -> glTexImage2Df(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_FLOAT,
                                new float[64]),
                        ArrayIndexOutOfBoundsException.class, "glTexImage2Df: pixels needs 112 elements but has 64"),
                Arguments.of("bytes of an int image", setRowLength,
                        (Runnable) () -> glDrawPixelsi(4, 4, GL_RGBA, GL_UNSIGNED_BYTE, new int[16]),
                        ArrayIndexOutOfBoundsException.class, "glDrawPixelsi: pixels needs 28 elements but has 16"),
                Arguments.of("short readback", none,
                        (Runnable) () -> glReadPixelsb(0, 0, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, new byte[13]),
                        ArrayIndexOutOfBoundsException.class, "glReadPixelsb: pixels needs 14 elements but has 13"),
                Arguments.of("short map", none,
                        (Runnable) () -> glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 4, new float[11]),
                        ArrayIndexOutOfBoundsException.class, "nMap1f: points needs 12 elements but has 11"),
                Arguments.of("short patch", none,
                        (Runnable) () -> glMap2f(GL_MAP2_VERTEX_3, 0, 1, 3, 2, 0, 1, 6, 2, new float[11]),
                        ArrayIndexOutOfBoundsException.class, "nMap2f: points needs 12 elements but has 11"),
                Arguments.of("short selection buffer", none, (Runnable) () -> glSelectBuffer(10, new int[9]),
                        ArrayIndexOutOfBoundsException.class, "glSelectBuffer: buffer needs 10 elements but has 9"),
                Arguments.of("short mipmap image", none,
                        (Runnable) () -> com.tandrel.pyxolin.CoreGLU.gluBuild2DMipmapsb(GL_TEXTURE_2D, GL_RGBA, 4, 4,
                                GL_RGBA, GL_UNSIGNED_BYTE, new byte[60]),
                        ArrayIndexOutOfBoundsException.class, "gluBuild2DMipmapsb: data needs 64 elements but has 60"),
                Arguments.of("short projection output", none,
                        (Runnable) () -> gluProject(0, 0, 0, identity(), identity(), new int[] {0, 0, 1, 1},
                                new double[2]),
                        ArrayIndexOutOfBoundsException.class, "gluProject: win needs 3 elements but has 2"),
                Arguments.of("null vertex array", none, (Runnable) () -> glVertexPointer(3, GL_FLOAT, 0, (float[]) null),
                        NullPointerException.class, "nVertexPointerfv: ptr is null"),
                Arguments.of("null indices", none, (Runnable) () -> glDrawElementsi(GL_POINTS, 1, GL_UNSIGNED_INT, null),
                        NullPointerException.class, "glDrawElementsi: indices is null"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("refusals")
    void refusedWithoutReachingGL(String what, Runnable setup, Runnable call, Class<? extends Throwable> expected,
            String message) {
        setup.run();
        GLFixture.takeError();
        Throwable thrown = assertThrows(expected, call::run);
        assertEquals(message, thrown.getMessage());
        // GL was not called: it recorded nothing.
        assertEquals(GL_NO_ERROR, glGetError());
    }

    @Test
    void aRefusedCallChangesNoState() {
        float[] before = GLFixture.getFloats(GL_MODELVIEW_MATRIX, 16);
        float[] almost = new float[15];
        Arrays.fill(almost, 7);
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> glLoadMatrixf(almost));
        assertArrayEquals(before, GLFixture.getFloats(GL_MODELVIEW_MATRIX, 16));

        byte[] pixels = new byte[15];
        Arrays.fill(pixels, (byte) 9);
        assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> glReadPixelsb(0, 0, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, pixels));
        for (byte b : pixels) {
            assertEquals(9, b);
        }
    }

    @Test
    void anUnknownNameGetsABoundedBufferNotTheArrayEnd() {
        // A name the tables do not know still reaches GL, which reports it;
        // the one-element array is all that GL's answer can land in.
        int[] one = {42};
        glGetIntegerv(0x7FFE, one);
        assertEquals(GL_INVALID_ENUM, glGetError());
        assertEquals(42, one[0]);
        glLightfv(GL_LIGHT0, 0x7FFE, new float[] {1});
        assertEquals(GL_INVALID_ENUM, glGetError());
    }

    @Test
    void anUnknownPixelFormatIsJudgedByGLOnAnEmptyImage() {
        byte[] pixels = new byte[4];
        glDrawPixelsb(1, 1, 0x7FFE, GL_UNSIGNED_BYTE, pixels);
        assertEquals(GL_INVALID_ENUM, glGetError());
        assertEquals(com.tandrel.pyxolin.CoreGLU.GLU_INVALID_ENUM, com.tandrel.pyxolin.CoreGLU.gluBuild2DMipmapsb(
                GL_TEXTURE_2D, GL_RGBA, 1, 1, 0x7FFE, GL_UNSIGNED_BYTE, pixels));
    }

    @Test
    void projectionKeepsItsZeroForMatricesOfTheWrongLength() {
        double[] win = {7, 7, 7};
        assertEquals(0, gluProject(0, 0, 0, new double[15], identity(), new int[] {0, 0, 100, 100}, win));
        assertEquals(0, gluProject(0, 0, 0, identity(), identity(), new int[5], win));
        assertArrayEquals(new double[] {7, 7, 7}, win);
    }

    static double[] identity() {
        return new double[] {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    }
}
