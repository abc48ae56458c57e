package com.tandrel.pyxolin;

/**
 * The GLU polygon tessellator. A polygon is {@link #beginPolygon}, its
 * vertices ({@link #tessVertex}, with {@link #nextContour} between contours),
 * then {@link #endPolygon}, all on one thread; during {@code endPolygon} the
 * result comes back through {@link #begin}, {@link #vertex}, {@link #end},
 * {@link #error} and {@link #edgeFlag} of the object that began the polygon.
 * Override them in a subclass; here they do nothing.
 *
 * <p>There is one tessellator for the whole process: every object works on
 * the one made by the latest {@link #create}, and {@link #destroy} through
 * any object deletes it. Calls out of order (a vertex or an end without a
 * polygon, anything after {@code destroy}) do nothing. An exception thrown
 * by a callback ends that polygon's callbacks and is thrown by the call
 * during which it happened, normally {@code endPolygon}.
 */
public class GLUTesselator {
    static {
        NativeLibrary.load();
    }

    public native void create();

    public native void destroy();

    public void beginPolygon() {
        nBeginPolygon();
    }

    public void endPolygon() {
        nEndPolygon();
    }

    /**
     * One vertex of the current polygon: the first three elements of
     * {@code coords} are x, y and z, and {@code data} is the vertex's own
     * floats, handed back to {@link #vertex} in a new array whenever GLU
     * emits this vertex.
     */
    public native void tessVertex(double[] coords, float[] data);

    /** The vertices that follow form a new contour (GLU_EXTERIOR, GLU_INTERIOR, GLU_UNKNOWN, ...). */
    public native void nextContour(int type);

    native void nBeginPolygon();

    native void nEndPolygon();

    /** A primitive begins: GL_TRIANGLES, since edge flags are reported. */
    public void begin(int type) {
    }

    /** A vertex of the primitive, with a copy of the floats handed in with it. */
    public void vertex(float[] data) {
    }

    public void end() {
    }

    /** A GLU error code (GLU_TESS_ERROR1 and on, GLU_OUT_OF_MEMORY). */
    public void error(int errorCode) {
    }

    /** Whether the edges that follow lie on the polygon's boundary. */
    public void edgeFlag(boolean boundaryEdge) {
    }
}
