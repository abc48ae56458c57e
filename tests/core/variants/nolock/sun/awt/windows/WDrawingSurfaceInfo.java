package sun.awt.windows;

import java.awt.Rectangle;

/** A drawing-surface-info class without lock, for the natives' missing-method paths. */
public class WDrawingSurfaceInfo {
    private final int hwnd;
    private final int hdc;
    public int lockCalls;
    public int unlockCalls;

    public WDrawingSurfaceInfo(int hwnd, int hdc, Rectangle bounds) {
        this.hwnd = hwnd;
        this.hdc = hdc;
    }

    public void unlock() {
        unlockCalls++;
    }

    public int getHDC() {
        return hdc;
    }

    public int getHWnd() {
        return hwnd;
    }

    public Rectangle getBounds() {
        return new Rectangle();
    }
}
