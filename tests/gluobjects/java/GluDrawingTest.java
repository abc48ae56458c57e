package com.tandrel.pyxolin.tests.gluobjects;

import static com.tandrel.pyxolin.CoreGL.GL_COLOR_BUFFER_BIT;
import static com.tandrel.pyxolin.CoreGL.GL_MAP2_VERTEX_3;
import static com.tandrel.pyxolin.CoreGL.GL_MODELVIEW;
import static com.tandrel.pyxolin.CoreGL.GL_PROJECTION;
import static com.tandrel.pyxolin.CoreGL.GL_RGBA;
import static com.tandrel.pyxolin.CoreGL.GL_UNSIGNED_BYTE;
import static com.tandrel.pyxolin.CoreGLU.GLU_MAP1_TRIM_2;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.tandrel.pyxolin.CoreGL;
import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.GLUNurbs;
import com.tandrel.pyxolin.GLUQuadric;
import com.tandrel.pyxolin.Offscreen;
import java.util.function.Consumer;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * Quadrics and NURBS surfaces drawn into a 64 x 64 offscreen frame that
 * shows x and y from -2 to 2: each pixel is lit exactly where the shape
 * covers its centre (pixels within 1.5 pixels of an edge are not judged).
 */
class GluDrawingTest {
    static final int SIZE = 64;
    static final double PIXEL = 4.0 / SIZE;

    private static GLComponent component;
    private static GLContext context;

    @BeforeAll
    static void makeCurrent() {
        component = Offscreen.component(SIZE, SIZE);
        component.create();
        context = new GLContext(component, new GLCapabilities());
        assertTrue(context.create());
        context.makeCurrent();
        CoreGL.glViewport(component, 0, 0, SIZE, SIZE);
        CoreGL.glMatrixMode(GL_PROJECTION);
        CoreGL.glLoadIdentity();
        CoreGL.glOrtho(-2, 2, -2, 2, -2, 2);
        CoreGL.glMatrixMode(GL_MODELVIEW);
        CoreGL.glLoadIdentity();
    }

    @AfterAll
    static void release() {
        context.unlock();
        context.destroy();
        Offscreen.dispose(component);
    }

    @BeforeEach
    void clear() {
        CoreGL.glClearColor(0, 0, 0, 1);
        CoreGL.glClear(GL_COLOR_BUFFER_BIT);
        CoreGL.glColor3f(1, 1, 1);
    }

    /** Signed distance of a point from a shape's edge: positive inside. */
    interface Shape {
        double inside(double x, double y);
    }

    /** Which pixels are lit: counts lit pixels and fails on any judged pixel that disagrees. */
    private static int expectLitWhere(Shape shape) {
        byte[] rgba = new byte[SIZE * SIZE * 4];
        CoreGL.glReadPixelsb(0, 0, SIZE, SIZE, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        assertEquals(0, CoreGL.glGetError());
        int lit = 0;
        StringBuilder wrong = new StringBuilder();
        for (int py = 0; py < SIZE; py++) {
            for (int px = 0; px < SIZE; px++) {
                boolean on = (rgba[(py * SIZE + px) * 4] & 0xff) > 127;
                lit += on ? 1 : 0;
                double d = shape.inside(-2 + (px + 0.5) * PIXEL, -2 + (py + 0.5) * PIXEL);
                if (Math.abs(d) > 1.5 * PIXEL && on != d > 0 && wrong.length() < 200) {
                    wrong.append(" (").append(px).append(',').append(py).append(on ? " lit)" : " dark)");
                }
            }
        }
        assertEquals("", wrong.toString(), "pixels that disagree with the shape");
        return lit;
    }

    static Stream<Arguments> quadrics() {
        return Stream.of(
                Arguments.of("sphere of radius 1", (Consumer<GLUQuadric>) q -> q.sphere(1, 32, 16),
                        (Shape) (x, y) -> 1 - Math.hypot(x, y)),
                Arguments.of("disk from 0.5 to 1.5", (Consumer<GLUQuadric>) q -> q.disk(0.5, 1.5, 32, 2),
                        (Shape) (x, y) -> Math.min(Math.hypot(x, y) - 0.5, 1.5 - Math.hypot(x, y))),
                // Angles run clockwise from +y: 0 to 90 degrees is the quadrant x > 0, y > 0.
                Arguments.of("partial disk, a quarter", (Consumer<GLUQuadric>) q -> q.partialDisk(0, 1.5, 32, 2, 0, 90),
                        (Shape) (x, y) -> Math.min(Math.min(x, y), 1.5 - Math.hypot(x, y))),
                Arguments.of("cylinder seen end on, lines", (Consumer<GLUQuadric>) q -> {
                    q.drawStyle(com.tandrel.pyxolin.CoreGLU.GLU_LINE);
                    q.cylinder(1.2, 1.2, 1, 32, 1);
                }, (Shape) (x, y) -> 1.5 * PIXEL - Math.abs(Math.hypot(x, y) - 1.2) - 0.01));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("quadrics")
    void quadricsDrawWhereTheyCover(String name, Consumer<GLUQuadric> draw, Shape shape) {
        GLUQuadric q = new GLUQuadric();
        q.create();
        draw.accept(q);
        assertTrue(expectLitWhere(shape) > 0);

        // A destroyed quadric draws nothing.
        q.destroy();
        clear();
        draw.accept(q);
        assertEquals(0, expectLitWhere((x, y) -> -1));
    }

    /** A flat cubic patch over x, y in [-1, 1]: control points evenly spaced, so (u, v) maps linearly. */
    private static float[] flatPatch() {
        float[] control = new float[48];
        for (int i = 0; i < 4; i++) {
            for (int j = 0; j < 4; j++) {
                int at = i * 12 + j * 3;
                control[at] = -1 + 2 * i / 3f;
                control[at + 1] = -1 + 2 * j / 3f;
                control[at + 2] = 0;
            }
        }
        return control;
    }

    @Test
    void aTrimmedNurbsSurfaceDrawsTheSquareAroundItsHole() {
        float[] knots = {0, 0, 0, 0, 1, 1, 1, 1};
        GLUNurbs n = new GLUNurbs();
        n.create();
        n.beginSurface();
        n.nurbsSurface(8, knots, 8, knots, 12, 3, flatPatch(), 4, 4, GL_MAP2_VERTEX_3);
        n.beginTrim();
        n.pwlCurve(5, new float[] {0, 0, 1, 0, 1, 1, 0, 1, 0, 0}, 2, GLU_MAP1_TRIM_2);
        n.endTrim();
        n.beginTrim();
        // Clockwise: a hole over u, v in [0.25, 0.75], so x, y in [-0.5, 0.5].
        float[] hole = {0.25f, 0.25f, 0.25f, 0.75f, 0.75f, 0.75f, 0.75f, 0.25f, 0.25f, 0.25f};
        n.pwlCurve(5, hole, 2, GLU_MAP1_TRIM_2);
        n.endTrim();
        n.endSurface();

        Shape square = (x, y) -> 1 - Math.max(Math.abs(x), Math.abs(y));
        Shape squareHole = (x, y) -> Math.max(Math.abs(x), Math.abs(y)) - 0.5;
        int lit = expectLitWhere((x, y) -> Math.min(square.inside(x, y), squareHole.inside(x, y)));
        assertEquals(32 * 32 - 16 * 16, lit, 32 * 4 + 16 * 4);

        n.destroy();
        clear();
        n.beginSurface();
        n.nurbsSurface(8, knots, 8, knots, 12, 3, flatPatch(), 4, 4, GL_MAP2_VERTEX_3);
        n.endSurface();
        assertEquals(0, expectLitWhere((x, y) -> -1), "a destroyed renderer draws nothing");
    }
}
