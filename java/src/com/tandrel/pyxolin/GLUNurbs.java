package com.tandrel.pyxolin;

/**
 * A GLU NURBS renderer: curves, trimmed surfaces and trimming curves drawn
 * into the rendering context current on the calling thread. {@link #create}
 * before anything else, {@link #destroy} last; calls on an object that was
 * never created or is already destroyed do nothing.
 *
 * <p>Arrays are read for the one call only and never written. An array
 * shorter than GLU would read for the given counts, orders, strides and map
 * type is refused with {@link ArrayIndexOutOfBoundsException}, a null one
 * with {@link NullPointerException}, and nothing is drawn.
 */
public class GLUNurbs {
    static {
        NativeLibrary.load();
    }

    /** Handle of the native renderer; 0 before the first {@link #create}. */
    int pData;

    public native void create();

    public native void destroy();

    public native void nurbsProperty(int property, float value);

    /** The property's value, or 0.0 for a property GLU has no value for. */
    public native float getNurbsProperty(int property);

    /** A 16-element model matrix, a 16-element projection matrix and a 4-element viewport. */
    public native void loadSamplingMatrices(float[] modelMatrix, float[] projectionMatrix, int[] viewport);

    public native void beginSurface();

    public native void endSurface();

    public native void beginCurve();

    public native void endCurve();

    public native void beginTrim();

    public native void endTrim();

    /**
     * One surface of {@code (sKnotCount - sOrder) x (tKnotCount - tOrder)}
     * control points, point (i, j) starting at {@code i * sStride + j * tStride}
     * in {@code control}, with as many floats as the map type has coordinates.
     */
    public void nurbsSurface(int sKnotCount, float[] sKnots, int tKnotCount, float[] tKnots, int sStride,
            int tStride, float[] control, int sOrder, int tOrder, int type) {
        nNurbsSurface(sKnotCount, sKnots, tKnotCount, tKnots, sStride, tStride, control, sOrder, tOrder, type);
    }

    /** One curve of {@code knotCount - order} control points {@code stride} floats apart. */
    public void nurbsCurve(int knotCount, float[] knots, int stride, float[] control, int order, int type) {
        nNurbsCurve(knotCount, knots, stride, control, order, type);
    }

    /** A piecewise-linear trimming curve of {@code count} points {@code stride} floats apart. */
    public void pwlCurve(int count, float[] data, int stride, int type) {
        nPwlCurve(count, data, stride, type);
    }

    native void nNurbsSurface(int sKnotCount, float[] sKnots, int tKnotCount, float[] tKnots, int sStride,
            int tStride, float[] control, int sOrder, int tOrder, int type);

    native void nNurbsCurve(int knotCount, float[] knots, int stride, float[] control, int order, int type);

    native void nPwlCurve(int count, float[] data, int stride, int type);
}
