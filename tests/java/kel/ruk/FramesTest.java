package kel.ruk;

import static kel.ruk.Screens.OPAQUE;
import static kel.ruk.Screens.at;
import static kel.ruk.Screens.frame;
import static kel.ruk.Screens.quad;
import static org.junit.jupiter.api.Assertions.assertEquals;

import kel.ruk.Screens.Format;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.EnumSource;

/** Frames in every pixel format, read back through a surface, with pixels derived from the formats' layouts. */
class FramesTest {
    // 64 x 48, one unit per pixel: screen x = 32 + x * 63.9 / 64, y = 24 - y * 47.9 / 48, and a
    // rectangle fills the columns from the floor of its left edge up to, not including, the floor of
    // its right edge (rows likewise): x -10..10 covers columns 22..40, y 8..-8 rows 16..30.
    private static final int INSIDE_COLUMN = 32, INSIDE_ROW = 24, OUTSIDE_COLUMN = 5, OUTSIDE_ROW = 5;

    @ParameterizedTest
    @EnumSource(Format.class)
    void pureColoursShowExactly(Format format) {
        KELRendGraphics3D g = Screens.open(format, 64, 48, KELRendGraphics3D.DEPTH_BUFFER);
        int[] pixels = frame(g, 0x0000FF, quad(-10, -8, 10, 8, -5, OPAQUE | 0xFF0000, false));
        assertEquals(0xFF0000, at(g, pixels, INSIDE_COLUMN, INSIDE_ROW));
        assertEquals(0x0000FF, at(g, pixels, OUTSIDE_COLUMN, OUTSIDE_ROW));
        assertEquals(0xFF0000, at(g, pixels, 22, 16));
        assertEquals(0xFF0000, at(g, pixels, 40, 30));
        assertEquals(0x0000FF, at(g, pixels, 21, 24));
        assertEquals(0x0000FF, at(g, pixels, 41, 24));
        assertEquals(0x0000FF, at(g, pixels, 32, 31));
        g.dispose();
    }

    @ParameterizedTest
    @EnumSource(value = Format.class, names = {"RGB32", "RGB24", "RGB16", "RGB555"})
    void greyKeepsTheTopBitsOfEachChannel(Format format) {
        KELRendGraphics3D g = Screens.open(format, 64, 48, KELRendGraphics3D.DEPTH_BUFFER);
        int[] pixels = frame(g, 0x000000, quad(-10, -8, 10, 8, -5, OPAQUE | 0x808080, false));
        int expected = format == Format.RGB16 ? 0x848284 : format == Format.RGB555 ? 0x848484 : 0x808080;
        assertEquals(expected, format.looks(0x808080));
        assertEquals(expected, at(g, pixels, INSIDE_COLUMN, INSIDE_ROW));
        g.dispose();
    }

    @ParameterizedTest
    @EnumSource(value = Format.class, names = {"RGB32", "RGB16", "INDEXED8"})
    void nearerWinsInEitherOrder(Format format) {
        KELRendGraphics3D g = Screens.open(format, 64, 48, KELRendGraphics3D.DEPTH_BUFFER);
        KELRendModel near = quad(-10, -8, 10, 8, -5, OPAQUE | 0x00FF00, false);
        KELRendModel far = quad(-20, -16, 0, 0, -9, OPAQUE | 0xFF0000, false);
        for (int[] pixels : new int[][] {frame(g, 0, near, far), frame(g, 0, far, near)}) {
            assertEquals(0x00FF00, at(g, pixels, 25, 26), "the nearer rectangle covers the overlap");
            assertEquals(0xFF0000, at(g, pixels, 15, 35), "the farther one shows outside it");
        }
        g.setDepthBufferMask(0);
        assertEquals(0xFF0000, at(g, frame(g, 0, near, far), 25, 26), "without depth tests the last drawn wins");
        g.dispose();
    }
}
