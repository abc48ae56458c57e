package com.tandrel.pyxolin;

/** A failure of the native half to set up or drive a rendering context. */
public class GLContextException extends RuntimeException {
    private static final long serialVersionUID = 1L;

    public GLContextException(String message) {
        super(message);
    }
}
