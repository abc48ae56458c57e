package com.tandrel.pyxolin.tests.gluobjects;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import com.tandrel.pyxolin.GLUNurbs;
import java.util.function.BiConsumer;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * Each array is refused when one element shorter than GLU reads for the
 * counts, orders, strides and map type of the call, and taken at exactly
 * that length. (GLU reads the arrays during the call, inside a surface or
 * not, so no context is needed.)
 */
class NurbsArraysTest {
    static final int GL_MAP1_VERTEX_3 = 0x0D97;
    static final int GL_MAP1_COLOR_4 = 0x0D90;
    static final int GL_MAP2_INDEX = 0x0DB1;
    static final int GL_MAP2_TEXTURE_COORD_2 = 0x0DB4;
    static final int GL_MAP2_VERTEX_3 = 0x0DB7;
    static final int GL_MAP2_VERTEX_4 = 0x0DB8;
    static final int GLU_MAP1_TRIM_2 = 100210;
    static final int GLU_MAP1_TRIM_3 = 100211;
    /** Knots of a cubic (order 4) with 4 control points. */
    static final float[] KNOTS = {0, 0, 0, 0, 1, 1, 1, 1};

    private final GLUNurbs nurbs = new GLUNurbs();

    @BeforeEach
    void create() {
        nurbs.create();
    }

    @AfterEach
    void destroy() {
        nurbs.destroy();
    }

    /** A call whose array {@code parameter} has {@code length} elements and every other array its full length. */
    interface Call extends BiConsumer<GLUNurbs, Integer> {
    }

    private static Arguments arrayOf(String nativeName, String parameter, int needed, Call call) {
        return Arguments.of(nativeName + " " + parameter + " needs " + needed, nativeName, parameter, needed, call);
    }

    private static float[] floats(int n) {
        float[] a = new float[n];
        for (int i = 0; i < n; i++) {
            a[i] = i % 4;
        }
        return a;
    }

    private static Call surface(int sStride, int tStride, int type) {
        return (n, length) -> n.nurbsSurface(8, KNOTS, 8, KNOTS, sStride, tStride, floats(length), 4, 4, type);
    }

    private static Call curve(int stride, int type) {
        return (n, length) -> n.nurbsCurve(8, KNOTS, stride, floats(length), 4, type);
    }

    static Stream<Arguments> arrays() {
        return Stream.of(
                arrayOf("loadSamplingMatrices", "modelMatrix", 16,
                        (n, length) -> n.loadSamplingMatrices(floats(length), floats(16), new int[] {0, 0, 8, 8})),
                arrayOf("loadSamplingMatrices", "projectionMatrix", 16,
                        (n, length) -> n.loadSamplingMatrices(floats(16), floats(length), new int[] {0, 0, 8, 8})),
                arrayOf("loadSamplingMatrices", "viewport", 4,
                        (n, length) -> n.loadSamplingMatrices(floats(16), floats(16), new int[length])),
                arrayOf("nNurbsSurface", "sKnots", 8,
                        (n, length) -> n.nurbsSurface(8, floats(length), 8, KNOTS, 12, 3, floats(48), 4, 4,
                                GL_MAP2_VERTEX_3)),
                arrayOf("nNurbsSurface", "tKnots", 8,
                        (n, length) -> n.nurbsSurface(8, KNOTS, 8, floats(length), 12, 3, floats(48), 4, 4,
                                GL_MAP2_VERTEX_3)),
                // 4 x 4 points: the last one starts at 3 * sStride + 3 * tStride.
                arrayOf("nNurbsSurface", "control", 48, surface(12, 3, GL_MAP2_VERTEX_3)),
                arrayOf("nNurbsSurface", "control", 64, surface(16, 4, GL_MAP2_VERTEX_4)),
                arrayOf("nNurbsSurface", "control", 32, surface(8, 2, GL_MAP2_TEXTURE_COORD_2)),
                arrayOf("nNurbsSurface", "control", 16, surface(4, 1, GL_MAP2_INDEX)),
                arrayOf("nNurbsSurface", "control", 78, surface(20, 5, GL_MAP2_VERTEX_3)),
                arrayOf("nNurbsSurface", "control", 48, surface(3, 12, GL_MAP2_VERTEX_3)),
                arrayOf("nNurbsCurve", "knots", 8,
                        (n, length) -> n.nurbsCurve(8, floats(length), 3, floats(12), 4, GL_MAP1_VERTEX_3)),
                arrayOf("nNurbsCurve", "control", 12, curve(3, GL_MAP1_VERTEX_3)),
                arrayOf("nNurbsCurve", "control", 19, curve(5, GL_MAP1_COLOR_4)),
                arrayOf("nNurbsCurve", "control", 8, curve(2, GLU_MAP1_TRIM_2)),
                arrayOf("nNurbsCurve", "control", 12, curve(3, GLU_MAP1_TRIM_3)),
                arrayOf("nPwlCurve", "data", 10, (n, length) -> n.pwlCurve(5, floats(length), 2, GLU_MAP1_TRIM_2)),
                arrayOf("nPwlCurve", "data", 15, (n, length) -> n.pwlCurve(5, floats(length), 3, GLU_MAP1_TRIM_3)),
                arrayOf("nPwlCurve", "data", 14, (n, length) -> n.pwlCurve(5, floats(length), 3, GLU_MAP1_TRIM_2)));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("arrays")
    void shortArraysAreRefusedAndExactOnesTaken(String name, String nativeName, String parameter, int needed,
            Call call) {
        call.accept(nurbs, needed);
        ArrayIndexOutOfBoundsException e = assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> call.accept(nurbs, needed - 1));
        assertEquals(nativeName + ": " + parameter + " needs " + needed + " elements, has " + (needed - 1),
                e.getMessage());
    }

    static Stream<Arguments> nullArrays() {
        return Stream.of(
                Arguments.of("loadSamplingMatrices: viewport is null",
                        (Runnable) () -> new GLUNurbs().loadSamplingMatrices(floats(16), floats(16), null)),
                Arguments.of("nNurbsSurface: tKnots is null",
                        (Runnable) () -> new GLUNurbs().nurbsSurface(8, KNOTS, 8, null, 12, 3, floats(48), 4, 4,
                                GL_MAP2_VERTEX_3)),
                Arguments.of("nNurbsCurve: control is null",
                        (Runnable) () -> new GLUNurbs().nurbsCurve(8, KNOTS, 3, null, 4, GL_MAP1_VERTEX_3)),
                Arguments.of("nPwlCurve: data is null",
                        (Runnable) () -> new GLUNurbs().pwlCurve(0, null, 2, GLU_MAP1_TRIM_2)));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("nullArrays")
    void nullArraysAreRefused(String message, Runnable call) {
        assertEquals(message, assertThrows(NullPointerException.class, call::run).getMessage());
    }

    @Test
    void negativeKnotCountsAreRefused() {
        IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                () -> nurbs.nurbsSurface(8, KNOTS, -1, KNOTS, 12, 3, floats(48), 4, 4, GL_MAP2_VERTEX_3));
        assertEquals("nNurbsSurface: tKnotCount is -1, cannot be negative", e.getMessage());
        e = assertThrows(IllegalArgumentException.class,
                () -> nurbs.nurbsCurve(-8, KNOTS, 3, floats(12), 4, GL_MAP1_VERTEX_3));
        assertEquals("nNurbsCurve: knotCount is -8, cannot be negative", e.getMessage());
    }

    @Test
    void callsGluRefusesBeforeReadingControlPointsNeedNone() {
        // An unknown map type, an order below 1, a negative stride, too few
        // knots: GLU reads no control point, so an empty array is enough.
        nurbs.nurbsSurface(8, KNOTS, 8, KNOTS, 12, 3, new float[0], 4, 4, 0x1234);
        nurbs.nurbsSurface(8, KNOTS, 8, KNOTS, 12, 3, new float[0], 0, 4, GL_MAP2_VERTEX_3);
        nurbs.nurbsSurface(8, KNOTS, 8, KNOTS, -12, 3, new float[0], 4, 4, GL_MAP2_VERTEX_3);
        nurbs.nurbsCurve(4, KNOTS, 3, new float[0], 4, GL_MAP1_VERTEX_3);
        nurbs.pwlCurve(5, new float[0], 2, GL_MAP1_VERTEX_3);
        nurbs.pwlCurve(-5, new float[0], 2, GLU_MAP1_TRIM_2);
    }

    @Test
    void aCountGluCannotFindMemoryForIsAnOutOfMemoryError() throws java.io.IOException {
        // Stride 0 repeats one point, so two floats pass for any count; GLU
        // then asks for tens of gigabytes, which only a heuristic
        // overcommit policy reliably refuses.
        String policy = new String(java.nio.file.Files.readAllBytes(
                java.nio.file.Paths.get("/proc/sys/vm/overcommit_memory"))).trim();
        org.junit.jupiter.api.Assumptions.assumeTrue(policy.equals("0") || policy.equals("2"), policy);
        nurbs.beginTrim();
        OutOfMemoryError e = assertThrows(OutOfMemoryError.class,
                () -> nurbs.pwlCurve(Integer.MAX_VALUE, new float[2], 0, GLU_MAP1_TRIM_2));
        assertEquals("GLU has no memory for this NURBS call", e.getMessage());
        nurbs.endTrim();
        assertEquals(50f, nurbs.getNurbsProperty(GluObjectHandleTest.GLU_SAMPLING_TOLERANCE), "still usable");
    }

    @Test
    void theArraysAreLeftAsTheyWere() {
        float[] knots = KNOTS.clone();
        float[] control = floats(48);
        float[] model = floats(16);
        int[] viewport = {0, 0, 8, 8};
        nurbs.loadSamplingMatrices(model, model, viewport);
        nurbs.nurbsSurface(8, knots, 8, knots, 12, 3, control, 4, 4, GL_MAP2_VERTEX_3);
        assertArrayEquals(KNOTS, knots);
        assertArrayEquals(floats(48), control);
        assertArrayEquals(floats(16), model);
        assertArrayEquals(new int[] {0, 0, 8, 8}, viewport);
    }
}
