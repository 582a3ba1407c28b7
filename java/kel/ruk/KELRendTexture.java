package kel.ruk;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DirectColorModel;
import java.awt.image.ImageConsumer;
import java.awt.image.ImageProducer;
import java.awt.image.IndexColorModel;
import java.util.Hashtable;
import kel.geom.NativeLibrary;

/**
 * A power-of-two image to map onto triangles, held in its device's texel
 * layout. Fill it with {@link #convertRect32} and {@link #convertRect8}, from
 * a {@link BufferedImage}, or as an {@link ImageConsumer} of an image
 * producer; a context draws with it once it is complete
 * ({@link KELRendGraphics3D#useTexture}). Source row y lands in texture row
 * height − 1 − y, as texture coordinates run upwards.
 *
 * <p>A side that is not a power of two, conversions on a disposed texture or
 * with a null array, and a second {@link #dispose} end the process with the
 * fatal report (a line on standard output and exit status 255).
 */
public class KELRendTexture implements ImageConsumer {
    /** The device whose colour layout the texels take. */
    protected KELRend3DDevice device;
    /** Width in texels. */
    protected int width;
    /** Height in texels. */
    protected int height;
    /** The producer this texture consumes, or null. */
    protected ImageProducer producer;
    /** The hints the producer gave ({@link ImageConsumer#setHints}). */
    protected int hints;
    /** The status of the producer's last {@link #imageComplete}, or -1 before it. */
    protected int imageStatus = -1;
    /** Nonzero once the image is complete; a context binds the texture only then. */
    protected int complete;
    /** Repeat across s, applied by {@link KELRendGraphics3D#useTexture}. */
    protected boolean wrapS = true;
    /** Repeat across t, applied by {@link KELRendGraphics3D#useTexture}. */
    protected boolean wrapT = true;
    /** Texture filter ({@link KELRendGraphics3D#FILTER_NEAREST} ...), applied by {@link KELRendGraphics3D#useTexture}. */
    protected int filter;
    /** The library's reference to the native texture; 0 once disposed. */
    protected int nativeTexture;

    static {
        NativeLibrary.load();
    }

    /** A black texture of width × height texels (powers of two) for device. */
    public KELRendTexture(KELRend3DDevice device, int width, int height) {
        this.device = device;
        this.width = width;
        this.height = height;
        init(width, height);
    }

    /** A complete texture holding image (whose sides are powers of two), for device. */
    public KELRendTexture(KELRend3DDevice device, BufferedImage image) {
        this(device, image.getWidth(), image.getHeight());
        int[] argb = image.getRGB(0, 0, width, height, null, 0, width);
        convertRect32(0, 0, width, height, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, argb, 0, width);
        complete();
    }

    /** Creates the native texture; a side that is not a power of two ends the process with the fatal report. */
    protected synchronized native void init(int width, int height);

    /** Tells the library the image is complete. */
    protected synchronized native void doComplete();

    /**
     * Converts the w × h rectangle at (x, y) of 32-bit pixels, described by the channel masks, into
     * texels; pixels[offset + row·scansize + column] is the source of texel (x + column, y + row).
     * The part outside the texture is skipped.
     *
     * @throws ArrayIndexOutOfBoundsException when the rectangle's pixels lie outside the array
     */
    public synchronized native void convertRect32(int x, int y, int w, int h, int redMask, int greenMask,
            int blueMask, int alphaMask, int[] pixels, int offset, int scansize);

    /**
     * Converts the w × h rectangle at (x, y) of 8-bit indexes into palette (0xAARRGGBB entries, the
     * first paletteSize used) into texels; indexes at or above paletteSize leave their texel as it is.
     *
     * @throws ArrayIndexOutOfBoundsException when the rectangle's pixels lie outside the array or the
     *     palette is shorter than paletteSize (up to 256)
     */
    public synchronized native void convertRect8(int x, int y, int w, int h, int[] palette, int paletteSize,
            byte[] pixels, int offset, int scansize);

    /** Frees the native texture; a second dispose ends the process with the fatal report. */
    public synchronized native void dispose();

    /** Marks the image complete, so that contexts can bind it. */
    public synchronized void complete() {
        complete = 1;
        doComplete();
    }

    /** True once the image is complete. */
    public boolean isComplete() {
        return complete != 0;
    }

    /** Width in texels. */
    public int getWidth() {
        return width;
    }

    /** Height in texels. */
    public int getHeight() {
        return height;
    }

    /** Sets the wrapping and filter a context takes with {@link KELRendGraphics3D#useTexture}; returns this. */
    public KELRendTexture setSampling(boolean wrapS, boolean wrapT, int filter) {
        this.wrapS = wrapS;
        this.wrapT = wrapT;
        this.filter = filter;
        return this;
    }

    /** Starts consuming producer's image; the texture is complete when the producer says so. */
    public void consume(ImageProducer producer) {
        this.producer = producer;
        producer.startProduction(this);
    }

    // --- ImageConsumer -------------------------------------------------------

    /** Part of {@link ImageConsumer}: the size is fixed at creation, so this is ignored. */
    @Override
    public void setDimensions(int width, int height) {}

    /** Part of {@link ImageConsumer}: ignored. */
    @Override
    public void setProperties(Hashtable<?, ?> props) {}

    /** Part of {@link ImageConsumer}: ignored; each delivery names its colour model. */
    @Override
    public void setColorModel(ColorModel model) {}

    /** Part of {@link ImageConsumer}: records the hints. */
    @Override
    public void setHints(int hints) {
        this.hints = hints;
    }

    /** Part of {@link ImageConsumer}: converts 8-bit pixels, through the palette of an index colour model. */
    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off, int scansize) {
        if (model instanceof IndexColorModel) {
            IndexColorModel index = (IndexColorModel) model;
            int[] palette = new int[index.getMapSize()];
            index.getRGBs(palette);
            convertRect8(x, y, w, h, palette, palette.length, pixels, off, scansize);
            return;
        }
        int[] argb = new int[w * h];
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c) argb[r * w + c] = model.getRGB(pixels[off + r * scansize + c] & 0xFF);
        }
        convertRect32(x, y, w, h, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, argb, 0, w);
    }

    /** Part of {@link ImageConsumer}: converts 32-bit pixels, by the masks of a direct colour model. */
    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, int[] pixels, int off, int scansize) {
        if (model instanceof DirectColorModel) {
            DirectColorModel direct = (DirectColorModel) model;
            convertRect32(x, y, w, h, direct.getRedMask(), direct.getGreenMask(), direct.getBlueMask(),
                    direct.getAlphaMask(), pixels, off, scansize);
            return;
        }
        int[] argb = new int[w * h];
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c) argb[r * w + c] = model.getRGB(pixels[off + r * scansize + c]);
        }
        convertRect32(x, y, w, h, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, argb, 0, w);
    }

    /** Part of {@link ImageConsumer}: a finished frame makes the texture complete; the producer is let go. */
    @Override
    public void imageComplete(int status) {
        imageStatus = status;
        if (status == STATICIMAGEDONE || status == SINGLEFRAMEDONE) complete();
        if (producer != null && status != SINGLEFRAMEDONE) {
            producer.removeConsumer(this);
            producer = null;
        }
    }

    /** "KELRendTexture[w x h]". */
    @Override
    public String toString() {
        return "KELRendTexture[" + width + "x" + height + (complete != 0 ? ", complete" : "") + (nativeTexture == 0 ? ", disposed]" : "]");
    }
}
