package sun.awt;

import java.awt.Rectangle;

/** Access to a peer's native drawing surface, bracketed by lock and unlock. */
public interface DrawingSurfaceInfo {
    int lock();

    void unlock();

    Rectangle getBounds();
}
