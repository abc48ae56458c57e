package sun.awt;

/** A component peer whose window can be drawn into by native code. */
public interface DrawingSurface {
    DrawingSurfaceInfo getDrawingSurfaceInfo();
}
