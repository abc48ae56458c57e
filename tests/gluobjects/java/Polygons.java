package com.tandrel.pyxolin.tests.gluobjects;

import com.tandrel.pyxolin.GLUTesselator;
import java.util.ArrayList;
import java.util.List;

/** Polygons to tessellate, and a tessellator that records every callback. */
final class Polygons {
    static final int GL_TRIANGLES = 4;
    static final int GLU_INTERIOR = 100122;
    static final int GLU_TESS_MISSING_END_POLYGON = 100153;
    static final int GLU_TESS_MISSING_END_CONTOUR = 100154;

    private Polygons() {
    }

    /** A star of {@code points} points, its vertices alternating between the two radii, counterclockwise. */
    static double[][] star(int points, double outer, double inner) {
        double[][] v = new double[2 * points][];
        for (int i = 0; i < 2 * points; i++) {
            double r = i % 2 == 0 ? outer : inner;
            double a = Math.PI * i / points;
            v[i] = new double[] {r * Math.cos(a), r * Math.sin(a), 0};
        }
        return v;
    }

    /** An axis-aligned square around the origin, clockwise. */
    static double[][] square(double half) {
        return new double[][] {{-half, -half, 0}, {-half, half, 0}, {half, half, 0}, {half, -half, 0}};
    }

    /** The area enclosed by a contour (shoelace), whatever its orientation. */
    static double area(double[][] contour) {
        double twice = 0;
        for (int i = 0; i < contour.length; i++) {
            double[] a = contour[i];
            double[] b = contour[(i + 1) % contour.length];
            twice += a[0] * b[1] - b[0] * a[1];
        }
        return Math.abs(twice) / 2;
    }

    /** Hands in each contour, each vertex with its x and y as its floats. */
    static void tessellate(GLUTesselator t, double[][]... contours) {
        t.beginPolygon();
        for (int c = 0; c < contours.length; c++) {
            if (c > 0) {
                t.nextContour(GLU_INTERIOR);
            }
            for (double[] v : contours[c]) {
                t.tessVertex(v, new float[] {(float) v[0], (float) v[1]});
            }
        }
        t.endPolygon();
    }

    /** Records each callback in order. */
    static class Recording extends GLUTesselator {
        final List<String> events = new ArrayList<>();
        final List<float[]> vertices = new ArrayList<>();
        final List<Integer> begins = new ArrayList<>();
        final List<Integer> errors = new ArrayList<>();
        int edgeFlags;
        int ends;

        @Override
        public void begin(int type) {
            events.add("begin");
            begins.add(type);
        }

        @Override
        public void vertex(float[] data) {
            events.add("vertex");
            vertices.add(data);
        }

        @Override
        public void end() {
            events.add("end");
            ends++;
        }

        @Override
        public void error(int errorCode) {
            events.add("error");
            errors.add(errorCode);
        }

        @Override
        public void edgeFlag(boolean boundaryEdge) {
            events.add("edgeFlag");
            edgeFlags++;
        }

        void clear() {
            events.clear();
            vertices.clear();
            begins.clear();
            errors.clear();
            edgeFlags = 0;
            ends = 0;
        }

        /** Total area of the triangles delivered, from the x and y each vertex carries. */
        double triangleArea() {
            double sum = 0;
            for (int i = 0; i + 2 < vertices.size(); i += 3) {
                float[] a = vertices.get(i);
                float[] b = vertices.get(i + 1);
                float[] c = vertices.get(i + 2);
                sum += Math.abs((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])) / 2;
            }
            return sum;
        }
    }
}
