package com.tandrel.pyxolin;

/**
 * A GLU quadric: spheres, cylinders, disks and partial disks drawn into the
 * rendering context current on the calling thread. {@link #create} before
 * anything else, {@link #destroy} last; calls on an object that was never
 * created or is already destroyed do nothing.
 */
public class GLUQuadric {
    static {
        NativeLibrary.load();
    }

    /** Handle of the native quadric; 0 before the first {@link #create}. */
    int pData;

    public native void create();

    public native void destroy();

    /** GLU_FILL, GLU_LINE, GLU_SILHOUETTE or GLU_POINT. */
    public native void drawStyle(int style);

    /** GLU_NONE, GLU_FLAT or GLU_SMOOTH. */
    public native void normals(int normals);

    /** GLU_OUTSIDE or GLU_INSIDE. */
    public native void orientation(int orientation);

    public native void texture(boolean textureCoords);

    public native void sphere(double radius, int slices, int stacks);

    public native void cylinder(double baseRadius, double topRadius, double height, int slices, int stacks);

    public native void disk(double innerRadius, double outerRadius, int slices, int loops);

    public native void partialDisk(double innerRadius, double outerRadius, int slices, int loops,
            double startAngle, double sweepAngle);
}
