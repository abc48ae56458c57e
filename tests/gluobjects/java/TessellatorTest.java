package com.tandrel.pyxolin.tests.gluobjects;

import static com.tandrel.pyxolin.tests.gluobjects.Polygons.GLU_INTERIOR;
import static com.tandrel.pyxolin.tests.gluobjects.Polygons.GL_TRIANGLES;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.tandrel.pyxolin.GLUTesselator;
import com.tandrel.pyxolin.tests.gluobjects.Polygons.Recording;
import java.lang.ref.WeakReference;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.function.Consumer;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

class TessellatorTest {
    private final Recording t = new Recording();

    @BeforeEach
    void freshTessellator() {
        t.create();
    }

    @Test
    void concavePolygonWithHoleBecomesTrianglesCoveringItsArea() {
        double[][] star = Polygons.star(5, 10, 4);
        double[][] hole = Polygons.square(1.5);
        Polygons.tessellate(t, star, hole);

        assertEquals(List.of(GL_TRIANGLES), t.begins);
        assertEquals(1, t.ends);
        assertEquals(0, t.vertices.size() % 3);
        assertTrue(t.edgeFlags > 0, "edge flags are reported");
        assertEquals(Polygons.area(star) - Polygons.area(hole), t.triangleArea(), 1e-3);
        assertEquals(List.of(), t.errors);
    }

    static class Counting extends GLUTesselator {
        int vertices;

        @Override
        public void vertex(float[] data) {
            vertices++;
        }
    }

    static final class Overriding extends Counting {
        int overridden;

        @Override
        public void vertex(float[] data) {
            overridden++;
        }
    }

    @Test
    void theMostDerivedOverrideReceivesTheCallbacks() {
        Overriding o = new Overriding();
        Polygons.tessellate(o, Polygons.square(1));
        assertEquals(6, o.overridden);
        assertEquals(0, o.vertices);
    }

    @Test
    void eachPolygonCallsTheObjectThatBeganItOnTheLatestTessellator() {
        Recording first = new Recording();
        Recording second = new Recording();
        first.create();
        second.create();
        Polygons.tessellate(first, Polygons.square(1));
        Polygons.tessellate(second, Polygons.square(1), Polygons.square(0.5));
        assertEquals(6, first.vertices.size());
        assertEquals(24, second.vertices.size());
    }

    /** Vertex i carries k floats i, i + 0.5, i + 1, ... */
    private static float[] dataOf(int i, int k) {
        float[] d = new float[k];
        for (int j = 0; j < k; j++) {
            d[j] = i + j / 2f;
        }
        return d;
    }

    @ParameterizedTest(name = "{0} floats a vertex")
    @ValueSource(ints = {0, 1, 7})
    void everyVertexDeliversAFreshCopyOfItsOwnFloats(int k) {
        double[][] coords = Polygons.square(1);
        List<float[]> handedIn = new ArrayList<>();
        t.beginPolygon();
        for (int i = 0; i < coords.length; i++) {
            float[] data = dataOf(i, k);
            handedIn.add(data);
            t.tessVertex(coords[i], data);
        }
        t.endPolygon();

        assertEquals(6, t.vertices.size());
        for (float[] delivered : t.vertices) {
            assertEquals(k, delivered.length);
            int i = k == 0 ? 0 : (int) delivered[0];
            if (k > 0) {
                assertArrayEquals(dataOf(i, k), delivered);
            }
            for (float[] in : handedIn) {
                assertNotSame(in, delivered);
            }
        }
        for (int i = 0; i < handedIn.size(); i++) {
            assertArrayEquals(dataOf(i, k), handedIn.get(i), "the arrays handed in are unchanged");
        }
    }

    @Test
    void verticesOfOnePolygonMayCarryDifferentNumbersOfFloats() {
        // The longest array comes first and the shortest last, so a rule that
        // used one length for the whole polygon would show here.
        int[] lengths = {9, 3, 1, 5};
        double[][] coords = Polygons.square(1);
        t.beginPolygon();
        for (int i = 0; i < coords.length; i++) {
            t.tessVertex(coords[i], dataOf(i, lengths[i]));
        }
        t.endPolygon();

        assertEquals(6, t.vertices.size());
        for (float[] delivered : t.vertices) {
            int i = (int) delivered[0];
            assertArrayEquals(dataOf(i, lengths[i]), delivered);
        }
    }

    @Test
    void onlyTheFirstThreeCoordinatesCount() {
        double[][] square = Polygons.square(1);
        t.beginPolygon();
        for (double[] v : square) {
            t.tessVertex(new double[] {v[0], v[1], v[2], 1e9, -1e9}, new float[] {(float) v[0], (float) v[1]});
        }
        t.endPolygon();
        assertEquals(4.0, t.triangleArea(), 1e-6);
    }

    static Stream<Arguments> refusedVertices() {
        return Stream.of(
                Arguments.of("null coords", null, new float[1], NullPointerException.class,
                        "tessVertex: coords is null"),
                Arguments.of("short coords", new double[2], new float[1], ArrayIndexOutOfBoundsException.class,
                        "tessVertex: coords needs 3 elements, has 2"),
                Arguments.of("null data", new double[3], null, NullPointerException.class,
                        "tessVertex: data is null"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("refusedVertices")
    void refusedVerticesLeaveThePolygonAsItWas(String name, double[] coords, float[] data,
            Class<? extends Throwable> thrown, String message) {
        double[][] square = Polygons.square(1);
        t.beginPolygon();
        t.tessVertex(square[0], new float[] {-1, -1});
        t.tessVertex(square[1], new float[] {-1, 1});
        Throwable e = assertThrows(thrown, () -> t.tessVertex(coords, data));
        assertEquals(message, e.getMessage());
        t.tessVertex(square[2], new float[] {1, 1});
        t.tessVertex(square[3], new float[] {1, -1});
        t.endPolygon();
        assertEquals(6, t.vertices.size());
        assertEquals(4.0, t.triangleArea(), 1e-6);
    }

    /** Throws from the callback named, at its n-th call. */
    static final class Throwing extends Recording {
        final String at;
        final int n;
        int calls;

        Throwing(String at, int n) {
            this.at = at;
            this.n = n;
        }

        private void maybeThrow(String callback) {
            if (callback.equals(at) && ++calls == n) {
                throw new IllegalStateException("thrown from " + callback);
            }
        }

        @Override
        public void begin(int type) {
            super.begin(type);
            maybeThrow("begin");
        }

        @Override
        public void vertex(float[] data) {
            super.vertex(data);
            maybeThrow("vertex");
        }

        @Override
        public void edgeFlag(boolean boundaryEdge) {
            super.edgeFlag(boundaryEdge);
            maybeThrow("edgeFlag");
        }

        @Override
        public void end() {
            super.end();
            maybeThrow("end");
        }
    }

    @ParameterizedTest(name = "{0} #{1}")
    @org.junit.jupiter.params.provider.CsvSource({"begin, 1", "edgeFlag, 1", "vertex, 2", "end, 1"})
    void aThrowingCallbackEndsItsPolygonsCallbacksAndReachesEndPolygon(String at, int n) {
        Throwing thrower = new Throwing(at, n);
        Recording reference = new Recording();
        Polygons.tessellate(reference, Polygons.square(1));
        int upTo = indexOfNth(reference.events, at, n) + 1;

        IllegalStateException e = assertThrows(IllegalStateException.class,
                () -> Polygons.tessellate(thrower, Polygons.square(1)));
        assertEquals("thrown from " + at, e.getMessage());
        assertEquals(reference.events.subList(0, upTo), thrower.events, "nothing is called after the throw");

        thrower.clear();
        Polygons.tessellate(thrower, Polygons.square(2));
        assertEquals(16.0, thrower.triangleArea(), 1e-6, "the next polygon is tessellated as usual");
    }

    private static int indexOfNth(List<String> events, String name, int n) {
        for (int i = 0, seen = 0; i < events.size(); i++) {
            if (events.get(i).equals(name) && ++seen == n) {
                return i;
            }
        }
        throw new AssertionError(name + " #" + n + " never happens in " + events);
    }

    static Stream<Arguments> callsOutOfOrder() {
        double[] v = {0, 0, 0};
        float[] d = {1};
        return Stream.of(
                Arguments.of("vertex and end without a polygon", (Consumer<Recording>) r -> {
                    r.tessVertex(v, d);
                    r.endPolygon();
                }),
                Arguments.of("contour without a polygon", (Consumer<Recording>) r -> r.nextContour(GLU_INTERIOR)),
                Arguments.of("destroy twice", (Consumer<Recording>) r -> {
                    r.destroy();
                    r.destroy();
                }),
                Arguments.of("a polygon after destroy", (Consumer<Recording>) r -> {
                    r.destroy();
                    Polygons.tessellate(r, Polygons.square(1), Polygons.square(0.5));
                }),
                Arguments.of("end twice", (Consumer<Recording>) r -> {
                    r.beginPolygon();
                    r.endPolygon();
                    r.endPolygon();
                }));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("callsOutOfOrder")
    void callsOutOfOrderDoNothing(String name, Consumer<Recording> calls) {
        calls.accept(t);
        assertEquals(List.of(), t.events);

        t.create();
        Polygons.tessellate(t, Polygons.square(1));
        assertEquals(4.0, t.triangleArea(), 1e-6, "a new create makes a working tessellator");
    }

    @Test
    void anUnfinishedPolygonIsReportedToTheObjectBeginningTheNextOne() {
        Recording abandoned = new Recording();
        abandoned.beginPolygon();
        abandoned.tessVertex(new double[] {0, 0, 0}, new float[0]);
        Polygons.tessellate(t, Polygons.square(1));
        assertEquals(List.of(), abandoned.events);
        assertEquals(List.of(Polygons.GLU_TESS_MISSING_END_CONTOUR, Polygons.GLU_TESS_MISSING_END_POLYGON),
                t.errors);
        assertEquals(4.0, t.triangleArea(), 1e-6);
    }

    /** Calls the tessellator from inside its own callbacks. */
    static final class Reentering extends Recording {
        @Override
        public void end() {
            super.end();
            Polygons.tessellate(this, Polygons.square(3));
            nextContour(GLU_INTERIOR);
            destroy();
            create();
        }
    }

    @Test
    void callsFromInsideACallbackAreIgnored() {
        Reentering r = new Reentering();
        Polygons.tessellate(r, Polygons.square(1));
        assertEquals(1, r.ends);
        assertEquals(4.0, r.triangleArea(), 1e-6);

        // Neither the destroy nor the create inside took effect: the same
        // tessellator still works.
        Polygons.tessellate(t, Polygons.square(1));
        assertEquals(4.0, t.triangleArea(), 1e-6);
    }

    static Stream<Arguments> waysAPolygonEnds() {
        return Stream.of(
                Arguments.of("endPolygon", (Consumer<GLUTesselator>) GLUTesselator::endPolygon),
                Arguments.of("another object's polygon",
                        (Consumer<GLUTesselator>) x -> Polygons.tessellate(new GLUTesselator(), Polygons.square(1))),
                Arguments.of("destroy", (Consumer<GLUTesselator>) GLUTesselator::destroy),
                Arguments.of("create", (Consumer<GLUTesselator>) GLUTesselator::create));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("waysAPolygonEnds")
    void theLibraryLetsGoOfTheObjectOnceItsPolygonIsOver(String name, Consumer<GLUTesselator> ending)
            throws InterruptedException {
        WeakReference<GLUTesselator> ref = beginSquareOnANewObject();
        ending.accept(t);
        for (int i = 0; i < 100 && ref.get() != null; i++) {
            System.gc();
            Thread.sleep(10);
        }
        assertNull(ref.get(), "the object that began the polygon is still referenced");
    }

    private static WeakReference<GLUTesselator> beginSquareOnANewObject() {
        GLUTesselator x = new Recording();
        x.beginPolygon();
        for (double[] v : Polygons.square(1)) {
            x.tessVertex(v, new float[] {1, 2, 3});
        }
        return new WeakReference<>(x);
    }

    /** Notes whether each callback ran on a thread that was inside a tessellator call of its own. */
    static final class ThreadChecking extends GLUTesselator {
        static final ThreadLocal<Boolean> inCall = ThreadLocal.withInitial(() -> false);
        final AtomicInteger callbacks = new AtomicInteger();
        final AtomicInteger strayCallbacks = new AtomicInteger();

        private void note() {
            callbacks.incrementAndGet();
            if (!inCall.get()) {
                strayCallbacks.incrementAndGet();
            }
        }

        @Override
        public void begin(int type) {
            note();
        }

        @Override
        public void vertex(float[] data) {
            note();
        }

        @Override
        public void end() {
            note();
        }

        @Override
        public void error(int errorCode) {
            note();
        }

        @Override
        public void edgeFlag(boolean boundaryEdge) {
            note();
        }
    }

    @Test
    void twoThreadsTessellatingAtOnceEachCallBackOnTheirOwnThread() throws Exception {
        ThreadChecking[] objects = {new ThreadChecking(), new ThreadChecking()};
        List<Throwable> failures = new ArrayList<>();
        Thread[] threads = new Thread[objects.length];
        for (int n = 0; n < threads.length; n++) {
            ThreadChecking o = objects[n];
            threads[n] = new Thread(() -> {
                try {
                    for (int i = 0; i < 1000; i++) {
                        ThreadChecking.inCall.set(true);
                        Polygons.tessellate(o, Polygons.star(4, 2, 1), Polygons.square(0.25));
                        ThreadChecking.inCall.set(false);
                    }
                } catch (Throwable e) {
                    synchronized (failures) {
                        failures.add(e);
                    }
                }
            });
        }
        for (Thread th : threads) {
            th.start();
        }
        for (Thread th : threads) {
            th.join();
        }
        assertEquals(List.of(), failures);
        int all = Arrays.stream(objects).mapToInt(o -> o.callbacks.get()).sum();
        assertTrue(all > 1000, "callbacks arrived: " + all);
        for (ThreadChecking o : objects) {
            assertEquals(0, o.strayCallbacks.get());
        }
        assertSame(Boolean.FALSE, ThreadChecking.inCall.get());
    }
}
