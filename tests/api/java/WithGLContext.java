package com.tandrel.pyxolin.tests.api;

import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;

/** Test classes that run their tests with one context current for the whole class. */
abstract class WithGLContext {
    protected static GLFixture gl;

    @BeforeAll
    static void open() {
        gl = new GLFixture();
    }

    @AfterAll
    static void close() {
        gl.close();
    }
}
