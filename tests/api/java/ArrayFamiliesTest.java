package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;
import static com.tandrel.pyxolin.CoreGLU.*;
import static org.junit.jupiter.api.Assertions.*;

import com.tandrel.pyxolin.CoreGL;
import java.lang.reflect.Array;
import java.lang.reflect.Method;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** Arrays lent to GL: vector forms, images, readback, maps and GLU. */
class ArrayFamiliesTest extends WithGLContext {
    @BeforeEach
    void clean() {
        GLFixture.takeError();
    }

    /** The state each vector form sets, as glGetFloatv sees it. */
    static int stateOf(String base) {
        switch (base) {
            case "Color": return GL_CURRENT_COLOR;
            case "Normal": return GL_CURRENT_NORMAL;
            case "TexCoord": return GL_CURRENT_TEXTURE_COORDS;
            case "RasterPos": return GL_CURRENT_RASTER_POSITION;
            case "Index": return GL_CURRENT_INDEX;
            default: return 0;
        }
    }

    static Object values(Class<?> arrayType, int n, boolean signed) {
        Object a = Array.newInstance(arrayType.getComponentType(), n);
        for (int i = 0; i < n; i++) {
            int v = i == 0 && signed ? -1 : 3 + i; // -1: an unsigned type's largest value
            if (!signed && i >= 2) v = i == 2 ? 0 : 8; // z on the near-far range, w positive
            Class<?> t = arrayType.getComponentType();
            if (t == byte.class) Array.setByte(a, i, (byte) v);
            else if (t == short.class) Array.setShort(a, i, (short) v);
            else if (t == int.class) Array.setInt(a, i, v);
            else if (t == float.class) Array.setFloat(a, i, v / 8f);
            else Array.setDouble(a, i, v / 8.0);
        }
        return a;
    }

    /** Every vector form sets exactly what its scalar form sets from the same values. */
    @Test
    void vectorFormsMatchTheirScalarForms() throws Exception {
        Pattern form = Pattern.compile("gl(Color|Normal|TexCoord|RasterPos|Index)(\\d?)(b|s|i|f|d|ub|us|ui)v");
        List<String> compared = new ArrayList<>();
        for (Method vector : CoreGL.class.getMethods()) {
            Matcher m = form.matcher(vector.getName());
            if (!m.matches()) continue;
            int n = m.group(2).isEmpty() ? 1 : Integer.parseInt(m.group(2));
            // a raster position off the window is invalid and not reported
            Object array = values(vector.getParameterTypes()[0], n, !m.group(1).equals("RasterPos"));
            Method scalar = null;
            for (Method s : CoreGL.class.getMethods()) {
                if (s.getName().equals(vector.getName().substring(0, vector.getName().length() - 1))) scalar = s;
            }
            assertNotNull(scalar, vector.getName());
            Object[] args = new Object[n];
            for (int i = 0; i < n; i++) args[i] = Array.get(array, i);
            int state = stateOf(m.group(1));
            glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
            scalar.invoke(null, args);
            float[] expected = GLFixture.getFloats(state, 4);
            glColor4f(0.25f, 0.25f, 0.25f, 0.25f);
            glNormal3f(9, 9, 9);
            glTexCoord4f(9, 9, 9, 9);
            glIndexf(9);
            glRasterPos4f(1, 1, 1, 1);
            vector.invoke(null, array);
            assertArrayEquals(expected, GLFixture.getFloats(state, 4), vector.getName());
            compared.add(vector.getName());
        }
        assertTrue(compared.contains("glColor3ubv") && compared.contains("glRasterPos4dv"), compared.toString());
    }

    @Test
    void vertexAndRectangleFormsDrawWhatTheScalarFormsDraw() {
        float[] scalar = GLFixture.feedback(() -> {
            glBegin(GL_POINTS);
            glVertex3f(1.5f, 2.5f, 0.25f);
            glEnd();
            glRectf(0, 0, 1, 1);
        });
        float[] vector = GLFixture.feedback(() -> {
            glBegin(GL_POINTS);
            glVertex3fv(new float[] {1.5f, 2.5f, 0.25f});
            glEnd();
            glRectfv(new float[] {0, 0}, new float[] {1, 1});
        });
        assertArrayEquals(scalar, vector);
        assertTrue(scalar.length > 4);
    }

    @Test
    void matricesAndQueries() {
        float[] m = new float[16];
        for (int i = 0; i < 16; i++) m[i] = i + 0.5f;
        glLoadMatrixf(m);
        assertArrayEquals(m, GLFixture.getFloats(GL_MODELVIEW_MATRIX, 16));
        glLoadIdentity();
        gl.resetView();
        int[] viewport = new int[] {-1, -1, -1, -1, 99};
        glGetIntegerv(GL_VIEWPORT, viewport);
        assertArrayEquals(new int[] {0, 0, GLFixture.SIZE, GLFixture.SIZE, 99}, viewport);
        glLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, new float[] {0.5f, -1, 2});
        float[] direction = new float[3];
        glGetLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, direction);
        assertArrayEquals(new float[] {0.5f, -1, 2}, direction);
    }

    @Test
    void textureNamesAndResidency() {
        int[] names = {0, 0, 0, -5, -6};
        glGenTextures(3, names);
        assertTrue(names[0] != 0 && names[1] != 0 && names[2] != 0);
        assertArrayEquals(new int[] {-5, -6}, Arrays.copyOfRange(names, 3, 5));
        for (int i = 0; i < 3; i++) glBindTexture(GL_TEXTURE_2D, names[i]);
        byte[] resident = new byte[3];
        boolean all = glAreTexturesResident(3, names, resident);
        assertEquals(GL_NO_ERROR, glGetError());
        if (!all) assertEquals(3, resident.length);
        glPrioritizeTextures(2, names, new float[] {0.25f, 0.75f});
        glDeleteTextures(3, names);
        assertFalse(glIsTexture(names[0]));
    }

    @Test
    void callListsReadsBytesUnsigned() {
        int base = 1;
        glListBase(0);
        for (int list : new int[] {1, 255}) {
            glNewList(list, GL_COMPILE);
            glPassThrough(list);
            glEndList();
        }
        float[] tokens = GLFixture.feedback(() -> glCallListsb(2, GL_UNSIGNED_BYTE, new byte[] {-1, 1}));
        assertArrayEquals(new float[] {GL_PASS_THROUGH_TOKEN, 255, GL_PASS_THROUGH_TOKEN, 1}, tokens);
        int[] names = {1, 255};
        GLFixture.feedback(() -> glCallListsi(2, GL_INT, names));
        assertArrayEquals(new int[] {1, 255}, names);
        glDeleteLists(base, 255);
    }

    @Test
    void pixelsOutAndIn() {
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        byte[] rgba = new byte[4];
        glReadPixelsb(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        assertArrayEquals(new byte[] {-1, 0, 0, -1}, rgba);
        // a Java int is one texel's four bytes, in memory order
        int texel = java.nio.ByteOrder.nativeOrder() == java.nio.ByteOrder.LITTLE_ENDIAN ? 0x44332211 : 0x11223344;
        glBindTexture(GL_TEXTURE_2D, 7);
        glTexImage2Di(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, new int[] {texel, texel});
        byte[] back = new byte[8];
        glGetTexImageb(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back);
        assertArrayEquals(new byte[] {0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44}, back);
        glTexSubImage1Db(GL_TEXTURE_1D, 0, 0, 1, GL_RGB, GL_UNSIGNED_BYTE, new byte[3]);
        float[] floats = new float[8];
        glGetTexImagef(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, floats);
        assertEquals(0x11 / 255f, floats[0], 1e-6);
        float[] drawn = {0.5f, 0.25f, 1, 1};
        glRasterPos2i(3, 3);
        glDrawPixelsf(1, 1, GL_RGBA, GL_FLOAT, drawn);
        assertArrayEquals(new float[] {0.5f, 0.25f, 1, 1}, drawn);
        assertEquals((byte) 128, GLFixture.pixel(3, 3)[0]);
        // under a row length, readback skips the rest of each row
        glPixelStorei(GL_PACK_ROW_LENGTH, 4);
        byte[] rows = new byte[4 * 4 + 2 * 4];
        Arrays.fill(rows, (byte) 9);
        glReadPixelsb(0, 0, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, rows);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        assertEquals(9, rows[8]); // third pixel of the first row: skipped
        assertEquals(-1, rows[16]);
    }

    @Test
    void stippleRoundTrip() {
        byte[] mask = new byte[128];
        for (int i = 0; i < mask.length; i++) mask[i] = (byte) (i * 7);
        glPolygonStipple(mask);
        byte[] back = new byte[128];
        glGetPolygonStipple(back);
        assertArrayEquals(mask, back);
    }

    @Test
    void evaluatorMapsTakeTheirCopyDuringTheCall() {
        float[] points = {0, 0, 0, 1, 1, 0, 2, 1, 0, 3, 0, 0};
        glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 4, points);
        float[] copy = points.clone();
        Arrays.fill(points, 42);
        float[] coefficients = new float[12];
        glGetMapfv(GL_MAP1_VERTEX_3, GL_COEFF, coefficients);
        assertArrayEquals(copy, coefficients);
        assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> glGetMapfv(GL_MAP1_VERTEX_3, GL_COEFF, new float[11]));
        glMap2f(GL_MAP2_VERTEX_3, 0, 1, 3, 2, 0, 1, 6, 2, new float[] {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0});
        int[] order = new int[2];
        glGetMapiv(GL_MAP2_VERTEX_3, GL_ORDER, order);
        assertArrayEquals(new int[] {2, 2}, order);
        double[] d = {1, 2, 3, 4};
        glMap1d(GL_MAP1_INDEX, 0, 1, 1, 4, d);
        double[] back = new double[4];
        glGetMapdv(GL_MAP1_INDEX, GL_COEFF, back);
        assertArrayEquals(d, back);
    }

    @Test
    void gluProjectionsAndImages() {
        double[] id = RefusalTest.identity();
        double[] win = new double[3];
        assertEquals(1, gluProject(0, 0, 0, id, id, new int[] {0, 0, 100, 100}, win));
        assertArrayEquals(new double[] {50, 50, 0.5}, win, 1e-9);
        double[] obj = {9, 9, 9};
        assertEquals(1, gluUnProject(50, 50, 0.5, id, id, new int[] {0, 0, 100, 100}, obj));
        assertArrayEquals(new double[] {0, 0, 0}, obj, 1e-9);
        assertEquals("100900", gluErrorString(GLU_INVALID_ENUM));
        assertEquals("-1", gluErrorString(-1));
        byte[] image = new byte[4 * 4 * 4];
        Arrays.fill(image, (byte) 3);
        assertEquals(0, gluBuild2DMipmapsb(GL_TEXTURE_2D, GL_RGBA, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, image));
        for (byte b : image) assertEquals(3, b);
        byte[] scaled = new byte[48];
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        assertEquals(0, gluScaleImage(GL_RGB, 2, 2, GL_UNSIGNED_BYTE, new byte[12], 4, 4, GL_UNSIGNED_BYTE, scaled));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        int[] viewport = {0, 0, 64, 64};
        gluPickMatrix(32, 32, 2, 2, viewport);
        assertArrayEquals(new int[] {0, 0, 64, 64}, viewport);
        glLoadIdentity();
    }
}
