package com.tandrel.pyxolin.tests.gluobjects;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;

import com.tandrel.pyxolin.GLUNurbs;
import com.tandrel.pyxolin.GLUQuadric;
import java.lang.reflect.Field;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * Handles in "pData". The sampling tolerance a new NURBS renderer starts
 * with (50) is the witness that a call reached a live GLU object: calls that
 * reach none answer 0.
 */
class GluObjectHandleTest {
    static final int GLU_SAMPLING_TOLERANCE = 100203;
    static final float DEFAULT_TOLERANCE = 50f;

    static int pData(Object o) {
        try {
            Field f = o.getClass().getDeclaredField("pData");
            f.setAccessible(true);
            return f.getInt(o);
        } catch (ReflectiveOperationException e) {
            throw new AssertionError(e);
        }
    }

    static void setPData(Object o, int value) {
        try {
            Field f = o.getClass().getDeclaredField("pData");
            f.setAccessible(true);
            f.setInt(o, value);
        } catch (ReflectiveOperationException e) {
            throw new AssertionError(e);
        }
    }

    @Test
    void handlesAreNonZeroDistinctAndDestroyLeavesThemInPlace() {
        GLUNurbs a = new GLUNurbs();
        GLUNurbs b = new GLUNurbs();
        GLUQuadric q = new GLUQuadric();
        a.create();
        b.create();
        q.create();
        assertNotEquals(0, pData(a));
        assertNotEquals(pData(a), pData(b));
        assertNotEquals(0, pData(q));
        assertEquals(DEFAULT_TOLERANCE, a.getNurbsProperty(GLU_SAMPLING_TOLERANCE));

        int handle = pData(a);
        a.destroy();
        assertEquals(handle, pData(a));
        assertEquals(0f, a.getNurbsProperty(GLU_SAMPLING_TOLERANCE), "a destroyed renderer answers nothing");
        a.destroy();
        assertEquals(DEFAULT_TOLERANCE, b.getNurbsProperty(GLU_SAMPLING_TOLERANCE), "destroy twice touches no other");

        q.destroy();
        q.destroy();
        q.sphere(1, 8, 8);
    }

    @ParameterizedTest(name = "pData {0}")
    @ValueSource(ints = {0, -1, Integer.MAX_VALUE, Integer.MIN_VALUE, 0x7ff00000})
    void handlesNoObjectHasReachNoGluObject(int forged) {
        GLUNurbs n = new GLUNurbs();
        setPData(n, forged);
        n.nurbsProperty(GLU_SAMPLING_TOLERANCE, 10f);
        assertEquals(0f, n.getNurbsProperty(GLU_SAMPLING_TOLERANCE));
        n.beginSurface();
        n.nurbsSurface(8, NurbsArraysTest.KNOTS, 8, NurbsArraysTest.KNOTS, 12, 3, new float[48], 4, 4,
                NurbsArraysTest.GL_MAP2_VERTEX_3);
        n.endSurface();
        n.beginCurve();
        n.endCurve();
        n.beginTrim();
        n.pwlCurve(2, new float[4], 2, NurbsArraysTest.GLU_MAP1_TRIM_2);
        n.endTrim();
        n.loadSamplingMatrices(new float[16], new float[16], new int[4]);
        n.destroy();

        GLUQuadric q = new GLUQuadric();
        setPData(q, forged);
        q.drawStyle(100012);
        q.normals(100000);
        q.orientation(100020);
        q.texture(true);
        q.sphere(1, 8, 8);
        q.cylinder(1, 1, 1, 8, 8);
        q.disk(0, 1, 8, 8);
        q.partialDisk(0, 1, 8, 8, 0, 90);
        q.destroy();
    }

    @Test
    void aSecondCreateReplacesTheHandleAndTheFirstObjectStaysLive() {
        GLUNurbs n = new GLUNurbs();
        n.create();
        int first = pData(n);
        n.nurbsProperty(GLU_SAMPLING_TOLERANCE, 25f);
        n.create();
        int second = pData(n);
        assertNotEquals(first, second);
        assertEquals(DEFAULT_TOLERANCE, n.getNurbsProperty(GLU_SAMPLING_TOLERANCE), "a new renderer");
        setPData(n, first);
        assertEquals(25f, n.getNurbsProperty(GLU_SAMPLING_TOLERANCE), "the first renderer is still there");
        n.destroy();
        setPData(n, second);
        n.destroy();
    }

    @Test
    void aPropertyGluHasNoValueForAnswersZero() {
        GLUNurbs n = new GLUNurbs();
        n.create();
        assertEquals(0f, n.getNurbsProperty(12345));
        n.destroy();
    }
}
