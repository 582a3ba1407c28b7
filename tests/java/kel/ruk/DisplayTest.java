package kel.ruk;

import static kel.ruk.Screens.OPAQUE;
import static kel.ruk.Screens.at;
import static kel.ruk.Screens.frame;
import static kel.ruk.Screens.quad;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.awt.image.BufferedImage;
import java.awt.image.DirectColorModel;
import java.awt.image.IndexColorModel;
import java.awt.image.MemoryImageSource;
import kel.ruk.Screens.Format;
import org.junit.jupiter.api.Test;

/** The display from Java: palettes, windows, surfaces and images, and textures fed as image consumers. */
class DisplayTest {
    @Test
    void systemPaletteSetFromJava() {
        int[] palette = new int[256];  // black but for two entries
        palette[7] = 0x123456;
        palette[200] = 0xFFFFFF;
        Display.reset();
        Display.setDepth(8);
        Display.setSystemPalette(palette);
        assertArrayEquals(palette, Display.getSystemPalette());
        KELRendGraphics3D g = new KELRendGraphics3D(KELRend3DDevice.forDisplay(null), KELRendGraphics3D.DEPTH_BUFFER, 64, 48);
        g.setOrthographicProjection(32, 24, 1, 100);
        g.setMaterial(new Material(0, 0, 0, 0, 0, 255));
        g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_EMISSION);
        // Each colour takes its nearest palette entry, shown as the palette's colour.
        int[] pixels = frame(g, 0xFFFFFF, quad(-10, -8, 10, 8, -5, OPAQUE | 0x123456, false));
        assertEquals(0x123456, at(g, pixels, 32, 24));
        assertEquals(0xFFFFFF, at(g, pixels, 2, 2));
        g.dispose();
        Display.resetSystemPalette();
        assertEquals(0xFFFFFF, Display.getSystemPaletteEntry(255));
        assertThrows(IllegalArgumentException.class, () -> Display.setSystemPalette(new int[255]));
    }

    @Test
    void windowsAndSurfacesReadBack() {
        KELRendGraphics3D g = Screens.open(Format.RGB32, 64, 48, 0);
        int window = Display.createWindow(80, 60);
        g.setWindow(window);
        g.beginRendering();
        g.setClearColor(0x00FF00);
        g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT);
        g.endRendering();
        Surface untouched = new Surface(4, 4);
        g.paint(untouched, 8, 4);  // with a window set, the graphics object is not painted into
        assertEquals(0, untouched.getPixel(0, 0));
        BufferedImage image = Display.getWindowImage(window);
        assertEquals(80, image.getWidth());
        assertEquals(0x00FF00, image.getRGB(8, 4) & 0xFFFFFF);
        assertEquals(0x00FF00, image.getRGB(71, 51) & 0xFFFFFF);
        assertEquals(0x000000, image.getRGB(72, 52) & 0xFFFFFF, "exactly 64 x 48 pixels at (8, 4)");
        assertEquals(0x000000, image.getRGB(7, 4) & 0xFFFFFF);
        g.setWindow(0);

        Surface s = new Surface(64, 48);
        s.fill(0x112233);
        assertEquals(0x112233, s.toImage().getRGB(5, 5) & 0xFFFFFF);
        g.paint(s, 0, 0);
        assertEquals(0x00FF00, s.getPixel(63, 47));
        s.close();
        assertFalse(s.isOpen());
        assertThrows(IllegalStateException.class, s::getPixels);
        Surface forged = new Surface(4, 4);
        forged.nativeGraphics += 4;  // no record of a live surface
        assertThrows(IllegalArgumentException.class, () -> g.paint(forged, 0, 0));
        Display.destroyWindow(window);
        assertNull(Display.getWindowImage(window));
        g.dispose();
    }

    @Test
    void texturesConsumeImages() {
        KELRendGraphics3D g = Screens.open(Format.RGB32, 64, 48, KELRendGraphics3D.DEPTH_BUFFER);
        // Indexed pixels through an index colour model: convertRect8.
        byte[] reds = {(byte) 0xFF, 0, 0}, greens = {0, (byte) 0xFF, 0}, blues = {0, 0, (byte) 0xFF};
        IndexColorModel index = new IndexColorModel(8, 3, reds, greens, blues);
        KELRendTexture indexed = new KELRendTexture(g.getDevice(), 2, 2);
        indexed.consume(new MemoryImageSource(2, 2, index, new byte[] {0, 1, 2, 0}, 0, 2));
        // Direct pixels through a direct colour model whose red lies lowest: convertRect32.
        DirectColorModel swapped = new DirectColorModel(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
        KELRendTexture direct = new KELRendTexture(g.getDevice(), 2, 2);
        direct.consume(new MemoryImageSource(2, 2, swapped, new int[] {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF}, 0, 2));
        for (KELRendTexture t : new KELRendTexture[] {indexed, direct}) {
            assertEquals(true, t.isComplete());
            g.useTexture(t);
            int[] pixels = frame(g, 0, quad(-16, -16, 16, 16, -5, OPAQUE | 0xFFFFFF, true));
            assertArrayEquals(t == indexed ? new int[] {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000}
                                           : new int[] {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                    new int[] {at(g, pixels, 20, 12), at(g, pixels, 44, 12), at(g, pixels, 20, 36), at(g, pixels, 44, 36)});
        }
        g.useTexture(null);
        indexed.dispose();
        direct.dispose();
        g.dispose();
    }
}
