package com.tandrel.pyxolin.tests.api;

import static com.tandrel.pyxolin.CoreGL.*;
import static org.junit.jupiter.api.Assertions.*;

import com.tandrel.pyxolin.GLCapabilities;
import com.tandrel.pyxolin.GLComponent;
import com.tandrel.pyxolin.GLContext;
import com.tandrel.pyxolin.Offscreen;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/**
 * Vertex arrays, selection and feedback buffers that GL keeps after the
 * native returns: GL draws the Java array's contents at draw time, and the
 * records GL writes are in the Java array once glRenderMode ends the mode.
 * Points are read back through feedback, which reports each vertex exactly.
 */
class KeptArraysTest {
    private GLFixture gl;

    @BeforeEach
    void open() {
        gl = new GLFixture();
    }

    @AfterEach
    void close() {
        gl.close();
    }

    /** The x, y of each point in a feedback record list. */
    static float[] points(float[] feedback) {
        float[] xy = new float[feedback.length / 4 * 2];
        int n = 0;
        for (int i = 0; i < feedback.length; i += 4) {
            assertEquals(GL_POINT_TOKEN, (int) feedback[i]);
            xy[n++] = feedback[i + 1];
            xy[n++] = feedback[i + 2];
        }
        return java.util.Arrays.copyOf(xy, n);
    }

    @Test
    void aDrawReadsTheArrayAsItIsAtDrawTime() {
        float[] vertices = {1, 2, 0, 3, 4, 0, 5, 6, 0};
        glVertexPointer(3, GL_FLOAT, 0, vertices);
        glEnableClientState(GL_VERTEX_ARRAY);
        assertArrayEquals(new float[] {1, 2, 3, 4, 5, 6}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 3))));
        vertices[3] = 30;
        vertices[4] = 40;
        assertArrayEquals(new float[] {1, 2, 30, 40, 5, 6},
                points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 3))));
        vertices[0] = 11;
        assertArrayEquals(new float[] {5, 6, 11, 2},
                points(GLFixture.feedback(() -> glDrawElementsb(GL_POINTS, 2, GL_UNSIGNED_BYTE, new byte[] {2, 0}))));
        vertices[6] = 50;
        assertArrayEquals(new float[] {50, 6}, points(GLFixture.feedback(() -> {
            glBegin(GL_POINTS);
            glArrayElement(2);
            glEnd();
        })));
        assertEquals(GL_NO_ERROR, glGetError());
    }

    @Test
    void aTriangleFromNineFloatsIsDrawn() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glVertexPointer(3, GL_FLOAT, 0, new float[] {0, 0, 0, 40, 0, 0, 0, 40, 0});
        glEnableClientState(GL_VERTEX_ARRAY);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        assertEquals((byte) 255, GLFixture.pixel(5, 5)[0]);
        assertEquals(0, GLFixture.pixel(40, 40)[0]);
    }

    @Test
    void colourBytesAreReadUnsigned() {
        glVertexPointer(2, GL_FLOAT, 0, new float[] {8, 8});
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, new byte[] {-1, 0, -1, -1});
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glBegin(GL_POINTS);
        glArrayElement(0);
        glEnd();
        assertArrayEquals(new float[] {1, 0, 1, 1}, GLFixture.getFloats(GL_CURRENT_COLOR, 4));
    }

    @Test
    void aTooShortArrayIsRefusedAtDrawTime() {
        glVertexPointer(3, GL_FLOAT, 0, new float[8]);
        glEnableClientState(GL_VERTEX_ARRAY);
        glDrawArrays(GL_POINTS, 0, 2); // six floats: fine
        ArrayIndexOutOfBoundsException e = assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> glDrawArrays(GL_POINTS, 0, 3));
        assertEquals("glDrawArrays: vertex array needs 9 elements but has 8", e.getMessage());
        assertThrows(ArrayIndexOutOfBoundsException.class,
                () -> glDrawElementsi(GL_POINTS, 2, GL_UNSIGNED_INT, new int[] {0, 3}));
        // a stride makes each vertex take more of the array
        glVertexPointer(2, GL_FLOAT, 16, new float[8]);
        glDrawArrays(GL_POINTS, 0, 2);
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> glDrawArrays(GL_POINTS, 1, 2));
        // disabled arrays are not read, so not checked
        glDisableClientState(GL_VERTEX_ARRAY);
        glDrawArrays(GL_POINTS, 0, 1000);
        assertEquals(GL_NO_ERROR, glGetError());
    }

    @Test
    void anEnabledArrayWithoutAJavaArrayIsRefused() {
        glEnableClientState(GL_NORMAL_ARRAY);
        IllegalStateException e = assertThrows(IllegalStateException.class, () -> glDrawArrays(GL_POINTS, 0, 1));
        assertEquals("glDrawArrays: the normal array is enabled but has no Java array", e.getMessage());
        assertThrows(IllegalStateException.class, () -> {
            glBegin(GL_POINTS);
            try {
                glArrayElement(0);
            } finally {
                glEnd();
            }
        });
        glDisableClientState(GL_NORMAL_ARRAY);
        glDrawArrays(GL_POINTS, 0, 1);
    }

    @Test
    void interleavedArraysDrawFromOneJavaArray() {
        // GL_C3F_V3F: r, g, b, x, y, z per vertex
        float[] data = {1, 0, 0, 10, 11, 0, 0, 1, 0, 20, 21, 0};
        glInterleavedArrays(GL_C3F_V3F, 0, data);
        assertTrue(glIsEnabled(GL_VERTEX_ARRAY));
        assertTrue(glIsEnabled(GL_COLOR_ARRAY));
        data[9] = 25;
        assertArrayEquals(new float[] {10, 11, 25, 21}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 2))));
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> glDrawArrays(GL_POINTS, 0, 3));
    }

    @Test
    void poppingClientStateBringsBackTheEarlierJavaArray() {
        float[] first = {1, 1, 0};
        float[] second = {2, 2, 0, 3, 3, 0};
        glVertexPointer(3, GL_FLOAT, 0, first);
        glEnableClientState(GL_VERTEX_ARRAY);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glVertexPointer(3, GL_FLOAT, 0, second);
        assertArrayEquals(new float[] {2, 2, 3, 3}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 2))));
        glDisableClientState(GL_VERTEX_ARRAY);
        glPopClientAttrib();
        assertTrue(glIsEnabled(GL_VERTEX_ARRAY));
        first[0] = 9;
        assertArrayEquals(new float[] {9, 1}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 1))));
        // the restored array is one vertex long again
        assertThrows(ArrayIndexOutOfBoundsException.class, () -> glDrawArrays(GL_POINTS, 0, 2));
    }

    @Test
    void aDisplayListKeepsWhatTheArrayHeldWhenCompiled() {
        float[] vertices = {4, 5, 0};
        glVertexPointer(3, GL_FLOAT, 0, vertices);
        glEnableClientState(GL_VERTEX_ARRAY);
        int list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glDrawArrays(GL_POINTS, 0, 1);
        glEndList();
        vertices[0] = 40;
        assertArrayEquals(new float[] {4, 5}, points(GLFixture.feedback(() -> glCallList(list))));
        assertArrayEquals(new float[] {40, 5}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 1))));
    }

    @Test
    void eachContextKeepsItsOwnArrays() {
        float[] mine = {1, 2, 0};
        glVertexPointer(3, GL_FLOAT, 0, mine);
        glEnableClientState(GL_VERTEX_ARRAY);
        GLComponent otherComponent = Offscreen.component(GLFixture.SIZE, GLFixture.SIZE);
        assertTrue(otherComponent.create());
        GLContext other = new GLContext(otherComponent, new GLCapabilities());
        other.create();
        try {
            gl.context.unlock();
            other.makeCurrent();
            gl.resetView();
            // the other context has enabled nothing and kept nothing
            assertFalse(glIsEnabled(GL_VERTEX_ARRAY));
            float[] theirs = {7, 8, 0, 9, 10, 0};
            glVertexPointer(3, GL_FLOAT, 0, theirs);
            glEnableClientState(GL_VERTEX_ARRAY);
            assertArrayEquals(new float[] {7, 8, 9, 10},
                    points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 2))));
            other.unlock();
            gl.context.makeCurrent();
            assertArrayEquals(new float[] {1, 2}, points(GLFixture.feedback(() -> glDrawArrays(GL_POINTS, 0, 1))));
            assertThrows(ArrayIndexOutOfBoundsException.class, () -> glDrawArrays(GL_POINTS, 0, 2));
        } finally {
            gl.context.unlock();
            other.makeCurrent();
            other.unlock();
            other.destroy();
            Offscreen.dispose(otherComponent);
            gl.context.makeCurrent();
        }
    }

    @Test
    void pickingLeavesTheHitRecordsInTheJavaArray() {
        int[] hits = new int[64];
        java.util.Arrays.fill(hits, -7);
        glSelectBuffer(hits.length, hits);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        glLoadName(11);
        glRecti(0, 0, 10, 10);
        glLoadName(22);
        glRecti(100, 100, 110, 110); // outside the view: no hit
        glLoadName(33);
        glRecti(20, 20, 30, 30);
        assertEquals(2, glRenderMode(GL_RENDER));
        assertEquals(1, hits[0]); // one name on the stack
        assertEquals(11, hits[3]);
        assertEquals(1, hits[4]);
        assertEquals(33, hits[7]);
        assertEquals(-7, hits[8]); // nothing past the records is touched
    }

    @Test
    void feedbackLeavesTheValuesInTheJavaArray() {
        float[] values = new float[32];
        glFeedbackBuffer(values.length, GL_2D, values);
        glRenderMode(GL_FEEDBACK);
        glPassThrough(5);
        glBegin(GL_POINTS);
        glVertex2f(3, 4);
        glEnd();
        assertEquals(5, glRenderMode(GL_RENDER));
        assertArrayEquals(new float[] {GL_PASS_THROUGH_TOKEN, 5, GL_POINT_TOKEN, 3, 4, 0},
                java.util.Arrays.copyOf(values, 6));
    }

    @Test
    void aSelectionBufferCannotBeReplacedInSelectionMode() {
        int[] kept = new int[16];
        glSelectBuffer(kept.length, kept);
        glRenderMode(GL_SELECT);
        glSelectBuffer(16, new int[16]); // GL refuses: the first stays
        assertEquals(GL_INVALID_OPERATION, glGetError());
        glInitNames();
        glPushName(4);
        glRecti(0, 0, 5, 5);
        assertEquals(1, glRenderMode(GL_RENDER));
        assertEquals(4, kept[3]);
    }
}
