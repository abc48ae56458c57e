package com.tandrel.pyxolin;

import com.tandrel.winplat.WinPlatform;
import java.awt.Rectangle;
import sun.awt.AWTAccessor;
import sun.awt.windows.WDrawingSurfaceInfo;
import sun.awt.windows.WOffscreenPeer;

/**
 * Offscreen components: a {@link GLComponent} of a given size whose peer is
 * an offscreen window, so that a program can render with no display.
 *
 * <pre>
 * GLComponent c = Offscreen.component(256, 256);
 * c.create();
 * GLContext ctx = new GLContext(c, new GLCapabilities());
 * ctx.create();
 * </pre>
 */
public final class Offscreen {
    private Offscreen() {
    }

    /** A new component of the given size with an offscreen peer. */
    public static GLComponent component(int width, int height) {
        return attach(new GLComponent(), width, height);
    }

    /** Gives an existing component an offscreen window of the given size as its peer. */
    public static <T extends GLComponent> T attach(T component, int width, int height) {
        int hwnd = WinPlatform.createWindow(width, height);
        if (hwnd == 0) {
            throw new IllegalArgumentException("cannot make a " + width + "x" + height + " window");
        }
        int hdc = WinPlatform.getDC(hwnd);
        WDrawingSurfaceInfo info = new WDrawingSurfaceInfo(hwnd, hdc, new Rectangle(0, 0, width, height));
        component.setSize(width, height);
        AWTAccessor.getComponentAccessor().setPeer(component, new WOffscreenPeer(component, info));
        return component;
    }

    /** The component's drawing surface, or null when it has no offscreen peer. */
    public static WDrawingSurfaceInfo surfaceOf(GLComponent component) {
        Object peer = AWTAccessor.getComponentAccessor().getPeer(component);
        if (peer instanceof WOffscreenPeer) {
            return (WDrawingSurfaceInfo) ((WOffscreenPeer) peer).getDrawingSurfaceInfo();
        }
        return null;
    }

    /** Destroys the component's offscreen window; its peer is removed. */
    public static void dispose(GLComponent component) {
        WDrawingSurfaceInfo info = surfaceOf(component);
        AWTAccessor.getComponentAccessor().setPeer(component, null);
        if (info != null) {
            WinPlatform.destroyWindow(info.getHWnd());
        }
    }
}
