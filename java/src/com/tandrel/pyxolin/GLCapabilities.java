package com.tandrel.pyxolin;

/**
 * The framebuffer a program asks for. The natives read it as the 22 ints of
 * {@link #getCapabilitiesAsInt} and set {@code capabilityLocked} once a
 * context has been created from it.
 */
public class GLCapabilities {
    /** True once a context has been created from these capabilities. */
    boolean capabilityLocked;

    private boolean colorIndex;
    private boolean doubleBuffered = true;
    private boolean stereo;
    private boolean drawToBitmap;
    private int colorBits = 24;
    private int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 8;
    private int redShift, greenShift, blueShift, alphaShift;
    private int accumBits, accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    private int depthBits = 24;
    private int stencilBits;
    private int auxBuffers;
    private int layer;

    public boolean isLocked() {
        return capabilityLocked;
    }

    private void checkUnlocked() {
        if (capabilityLocked) {
            throw new IllegalStateException("capabilities already used for a context");
        }
    }

    public GLCapabilities setColorIndex(boolean v) { checkUnlocked(); colorIndex = v; return this; }
    public GLCapabilities setDoubleBuffered(boolean v) { checkUnlocked(); doubleBuffered = v; return this; }
    public GLCapabilities setStereo(boolean v) { checkUnlocked(); stereo = v; return this; }
    public GLCapabilities setDrawToBitmap(boolean v) { checkUnlocked(); drawToBitmap = v; return this; }
    public GLCapabilities setColorBits(int v) { checkUnlocked(); colorBits = v; return this; }

    public GLCapabilities setChannelBits(int red, int green, int blue, int alpha) {
        checkUnlocked();
        redBits = red; greenBits = green; blueBits = blue; alphaBits = alpha;
        return this;
    }

    public GLCapabilities setChannelShifts(int red, int green, int blue, int alpha) {
        checkUnlocked();
        redShift = red; greenShift = green; blueShift = blue; alphaShift = alpha;
        return this;
    }

    public GLCapabilities setAccumBits(int total, int red, int green, int blue, int alpha) {
        checkUnlocked();
        accumBits = total; accumRedBits = red; accumGreenBits = green;
        accumBlueBits = blue; accumAlphaBits = alpha;
        return this;
    }

    public GLCapabilities setDepthBits(int v) { checkUnlocked(); depthBits = v; return this; }
    public GLCapabilities setStencilBits(int v) { checkUnlocked(); stencilBits = v; return this; }
    public GLCapabilities setAuxBuffers(int v) { checkUnlocked(); auxBuffers = v; return this; }

    /** 0 main plane, 1 overlay, 2 underlay. */
    public GLCapabilities setLayer(int v) { checkUnlocked(); layer = v; return this; }

    /**
     * The request as the natives read it: pixel type, then three flags that
     * ask for their feature with 0, then sizes and shifts.
     */
    public int[] getCapabilitiesAsInt() {
        return new int[] {
            colorIndex ? 1 : 0,
            doubleBuffered ? 0 : 1,
            stereo ? 0 : 1,
            drawToBitmap ? 1 : 0,
            colorBits,
            redBits, greenBits, blueBits, alphaBits,
            redShift, greenShift, blueShift, alphaShift,
            accumBits, accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits,
            depthBits, stencilBits, auxBuffers, layer,
        };
    }
}
