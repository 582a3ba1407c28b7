package kel.ruk;

import java.awt.image.BufferedImage;
import kel.geom.NativeLibrary;

/**
 * An off-screen toolkit image to paint contexts into: the graphics object that
 * {@link KELRendGraphics3D#paint} takes. Field 0 holds the address of its
 * native graphics record, whose first word is the surface's device context.
 * A surface starts black; its pixels read back as 0x00RRGGBB, rows from the
 * top. Close it to release it; a closed surface cannot be painted into.
 */
public class Surface implements AutoCloseable {
    /** The address of the native graphics record (0 once closed). */
    protected int nativeGraphics;
    /** Width in pixels. */
    protected int width;
    /** Height in pixels. */
    protected int height;

    static {
        NativeLibrary.load();
    }

    /**
     * A new black surface.
     *
     * @throws IllegalArgumentException when a side is not positive or the display cannot make it
     */
    public Surface(int width, int height) {
        if (width <= 0 || height <= 0) throw new IllegalArgumentException("surface of " + width + "x" + height);
        this.nativeGraphics = create(width, height);
        if (nativeGraphics == 0) throw new IllegalArgumentException("the display cannot make a " + width + "x" + height + " surface");
        this.width = width;
        this.height = height;
    }

    private static native int create(int width, int height);

    private static native void destroy(int nativeGraphics);

    private static native int readPixels(int nativeGraphics, int[] dst);

    private static native void fill(int nativeGraphics, int rgb);

    /** Width in pixels. */
    public int getWidth() {
        return width;
    }

    /** Height in pixels. */
    public int getHeight() {
        return height;
    }

    /** Fills the surface with one colour 0x00RRGGBB. */
    public synchronized void fill(int rgb) {
        requireOpen();
        fill(nativeGraphics, rgb);
    }

    /**
     * Copies the pixels, rows from the top, into dst (at least width × height entries) and returns it.
     *
     * @throws IllegalStateException when the surface is closed
     */
    public synchronized int[] getPixels(int[] dst) {
        requireOpen();
        if (dst.length < width * height) {
            throw new ArrayIndexOutOfBoundsException("a " + width + "x" + height + " surface needs " + width * height + " ints, not " + dst.length);
        }
        readPixels(nativeGraphics, dst);
        return dst;
    }

    /** The pixels, rows from the top, in a new array. */
    public int[] getPixels() {
        return getPixels(new int[width * height]);
    }

    /** The pixel at (x, y), 0x00RRGGBB. */
    public int getPixel(int x, int y) {
        if (x < 0 || y < 0 || x >= width || y >= height) throw new IndexOutOfBoundsException("(" + x + ", " + y + ")");
        return getPixels()[y * width + x];
    }

    /** The pixels as a new image of type {@link BufferedImage#TYPE_INT_RGB}. */
    public BufferedImage toImage() {
        return image(width, height, getPixels());
    }

    static BufferedImage image(int width, int height, int[] pixels) {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        image.setRGB(0, 0, width, height, pixels, 0, width);
        return image;
    }

    /** True until {@link #close}. */
    public synchronized boolean isOpen() {
        return nativeGraphics != 0;
    }

    /** Releases the surface; later calls do nothing. */
    @Override
    public synchronized void close() {
        if (nativeGraphics != 0) destroy(nativeGraphics);
        nativeGraphics = 0;
    }

    private void requireOpen() {
        if (nativeGraphics == 0) throw new IllegalStateException("the surface is closed");
    }

    /** "Surface[w x h]". */
    @Override
    public String toString() {
        return "Surface[" + width + "x" + height + (nativeGraphics == 0 ? ", closed]" : "]");
    }
}
