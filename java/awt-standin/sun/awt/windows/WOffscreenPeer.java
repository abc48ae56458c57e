package sun.awt.windows;

import java.awt.AWTEvent;
import java.awt.BufferCapabilities;
import java.awt.Color;
import java.awt.Component;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.GraphicsConfiguration;
import java.awt.Image;
import java.awt.Point;
import java.awt.event.FocusEvent;
import java.awt.event.PaintEvent;
import java.awt.image.ColorModel;
import java.awt.image.VolatileImage;
import java.awt.peer.ComponentPeer;
import java.awt.peer.ContainerPeer;
import sun.awt.DrawingSurface;
import sun.awt.DrawingSurfaceInfo;
import sun.java2d.pipe.Region;

/**
 * The peer of a component drawn into an offscreen window: it answers the
 * window's drawing surface and otherwise does nothing.
 */
public class WOffscreenPeer implements ComponentPeer, DrawingSurface {
    private final Component target;
    private volatile DrawingSurfaceInfo info;

    public WOffscreenPeer(Component target, DrawingSurfaceInfo info) {
        this.target = target;
        this.info = info;
    }

    /** Lets tests hand natives a missing or different surface. */
    public void setDrawingSurfaceInfo(DrawingSurfaceInfo info) {
        this.info = info;
    }

    @Override
    public DrawingSurfaceInfo getDrawingSurfaceInfo() {
        return info;
    }

    public Component getTarget() {
        return target;
    }

    @Override public boolean isObscured() { return false; }
    @Override public boolean canDetermineObscurity() { return false; }
    @Override public void setVisible(boolean v) { }
    @Override public void setEnabled(boolean e) { }
    @Override public void paint(Graphics g) { }
    @Override public void print(Graphics g) { }
    @Override public void setBounds(int x, int y, int width, int height, int op) { }
    @Override public void handleEvent(AWTEvent e) { }
    @Override public void coalescePaintEvent(PaintEvent e) { }
    @Override public Point getLocationOnScreen() { return new Point(0, 0); }
    @Override public Dimension getPreferredSize() { return target.getSize(); }
    @Override public Dimension getMinimumSize() { return target.getSize(); }
    @Override public ColorModel getColorModel() { return ColorModel.getRGBdefault(); }
    @Override public Graphics getGraphics() { return null; }
    @Override public FontMetrics getFontMetrics(Font font) { return null; }
    @Override public void dispose() { }
    @Override public void setForeground(Color c) { }
    @Override public void setBackground(Color c) { }
    @Override public void setFont(Font f) { }
    @Override public void updateCursorImmediately() { }
    @Override public boolean requestFocus(Component lightweightChild, boolean temporary,
            boolean focusedWindowChangeAllowed, long time, FocusEvent.Cause cause) { return false; }
    @Override public boolean isFocusable() { return false; }
    @Override public Image createImage(int width, int height) { return null; }
    @Override public VolatileImage createVolatileImage(int width, int height) { return null; }
    @Override public GraphicsConfiguration getGraphicsConfiguration() { return null; }
    @Override public boolean handlesWheelScrolling() { return false; }
    @Override public void createBuffers(int numBuffers, BufferCapabilities caps) { }
    @Override public Image getBackBuffer() { return null; }
    @Override public void flip(int x1, int y1, int x2, int y2, BufferCapabilities.FlipContents flipAction) { }
    @Override public void destroyBuffers() { }
    @Override public void reparent(ContainerPeer newContainer) { }
    @Override public boolean isReparentSupported() { return false; }
    @Override public void layout() { }
    @Override public void applyShape(Region shape) { }
    @Override public void setZOrder(ComponentPeer above) { }
    @Override public boolean updateGraphicsData(GraphicsConfiguration gc) { return false; }
}
