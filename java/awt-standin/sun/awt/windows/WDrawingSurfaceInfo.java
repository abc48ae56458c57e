package sun.awt.windows;

import java.awt.Rectangle;
import java.util.ArrayList;
import java.util.List;
import sun.awt.DrawingSurfaceInfo;

/**
 * The drawing surface of one offscreen window: its window handle and device
 * context, with a lock that native code holds while it draws.
 *
 * <p>Besides what native code calls, it keeps a trace of the calls made on it
 * and can be told to misbehave, so that tests can watch how natives use it.
 */
public class WDrawingSurfaceInfo implements DrawingSurfaceInfo {
    private final int hwnd;
    private final int hdc;
    private final Rectangle bounds;

    private int depth;
    private Thread holder;
    private final List<String> trace = new ArrayList<>();

    /** The value {@link #lock} answers; natives must not care what it is. */
    public volatile int lockResult = 1;
    /** Values answered instead of the real handles when not null. */
    public volatile Integer hdcOverride;
    public volatile Integer hwndOverride;
    /** Thrown by the method of that name when set. */
    public volatile RuntimeException throwOnLock;
    public volatile RuntimeException throwOnUnlock;
    public volatile RuntimeException throwOnGetHDC;
    public volatile RuntimeException throwOnGetHWnd;

    public WDrawingSurfaceInfo(int hwnd, int hdc, Rectangle bounds) {
        this.hwnd = hwnd;
        this.hdc = hdc;
        this.bounds = new Rectangle(bounds);
    }

    @Override
    public synchronized int lock() {
        record("lock");
        if (throwOnLock != null) {
            throw throwOnLock;
        }
        if (holder != null && holder != Thread.currentThread()) {
            throw new IllegalStateException("drawing surface locked by " + holder.getName());
        }
        holder = Thread.currentThread();
        depth++;
        return lockResult;
    }

    @Override
    public synchronized void unlock() {
        record("unlock");
        if (throwOnUnlock != null) {
            throw throwOnUnlock;
        }
        if (depth == 0 || holder != Thread.currentThread()) {
            throw new IllegalStateException("unlock without lock");
        }
        if (--depth == 0) {
            holder = null;
        }
    }

    public int getHDC() {
        record("getHDC");
        if (throwOnGetHDC != null) {
            throw throwOnGetHDC;
        }
        Integer o = hdcOverride;
        return o != null ? o : hdc;
    }

    public int getHWnd() {
        record("getHWnd");
        if (throwOnGetHWnd != null) {
            throw throwOnGetHWnd;
        }
        Integer o = hwndOverride;
        return o != null ? o : hwnd;
    }

    @Override
    public Rectangle getBounds() {
        return new Rectangle(bounds);
    }

    /** True while some thread holds the lock. */
    public synchronized boolean isLocked() {
        return depth > 0;
    }

    /** The methods called on this object, in order, since the last clear. */
    public synchronized List<String> trace() {
        return new ArrayList<>(trace);
    }

    public synchronized void clearTrace() {
        trace.clear();
    }

    private synchronized void record(String call) {
        trace.add(call);
    }
}
