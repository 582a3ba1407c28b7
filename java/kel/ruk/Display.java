package kel.ruk;

import java.awt.image.BufferedImage;
import kel.geom.NativeLibrary;

/**
 * The screen the renderer draws for: kelruk's in-memory display, whose depth,
 * channel masks and system palette a program sets before it creates devices
 * and contexts, and whose windows contexts can paint into
 * ({@link KELRendGraphics3D#setWindow}). A context takes the display's depth
 * when it is created. Pixels read back are 0x00RRGGBB, rows from the top.
 */
public final class Display {
    static {
        NativeLibrary.load();
    }

    private Display() {}

    /** Sets the bits per pixel that the screen reports: 8, 16, 24 or 32 (other values make contexts fail). */
    public static native void setDepth(int bitsPerPixel);

    /** The bits per pixel of the screen. */
    public static native int getDepth();

    /**
     * Sets the channel masks of 16- and 32-bit screens (for example 0xF800, 0x07E0, 0x001F for
     * 5-6-5); all zero means Windows' own layouts, 5-5-5 at 16 bits and 8-8-8 at 24 and 32.
     */
    public static native void setMasks(int red, int green, int blue);

    /**
     * Sets the 256 colours (0x00RRGGBB) of an 8-bit screen's system palette.
     *
     * @throws IllegalArgumentException when colors has fewer than 256 entries
     */
    public static void setSystemPalette(int[] colors) {
        if (colors.length < 256) {
            throw new IllegalArgumentException("a system palette has 256 colours, not " + colors.length);
        }
        setSystemPalette0(colors);
    }

    private static native void setSystemPalette0(int[] colors);

    /** Colour index (0..255) of the system palette, 0x00RRGGBB. */
    public static native int getSystemPaletteEntry(int index);

    /** The 256 colours of the system palette. */
    public static int[] getSystemPalette() {
        int[] colors = new int[256];
        for (int i = 0; i < 256; ++i) colors[i] = getSystemPaletteEntry(i);
        return colors;
    }

    /** Restores the default system palette: a 6×6×6 colour cube in 0..215, then 40 greys. */
    public static native void resetSystemPalette();

    /** Sets depth and masks together; returns nothing. A convenience for {@link #setDepth} and {@link #setMasks}. */
    public static void configure(int bitsPerPixel, int red, int green, int blue) {
        setDepth(bitsPerPixel);
        setMasks(red, green, blue);
    }

    /** A new black window of the given size, not active; its handle, or 0 on failure. */
    public static native int createWindow(int width, int height);

    /** Makes window the active one (0: none); contexts created later take its device context. */
    public static native boolean activateWindow(int window);

    /** Destroys a window; false for a stale handle. */
    public static native boolean destroyWindow(int window);

    /** A window's width, or 0 for a stale handle. */
    public static native int getWindowWidth(int window);

    /** A window's height, or 0 for a stale handle. */
    public static native int getWindowHeight(int window);

    /**
     * Copies a window's pixels, rows from the top, into dst; returns the number copied (0 for a
     * stale handle).
     *
     * @throws ArrayIndexOutOfBoundsException when dst is smaller than the window
     */
    public static native int getWindowPixels(int window, int[] dst);

    /** A window's pixels as a new image of type {@link BufferedImage#TYPE_INT_RGB}, or null for a stale handle. */
    public static BufferedImage getWindowImage(int window) {
        int width = getWindowWidth(window), height = getWindowHeight(window);
        if (width <= 0 || height <= 0) return null;
        int[] pixels = new int[width * height];
        getWindowPixels(window, pixels);
        return Surface.image(width, height, pixels);
    }

    /**
     * Returns the display to its starting state: depth 32, no masks, the default palette, and no
     * windows or surfaces. Contexts still alive must not paint afterwards.
     */
    public static native void reset();
}
