package kel.ruk;

/**
 * The colours of a screen: direct colour by channel masks or indexed colour
 * by a palette. Textures take their texel layout from their device and
 * contexts draw for theirs. A device lives until the process ends;
 * initialising the object again makes a new one.
 *
 * <p>The initialisers end the process with the fatal report (a line on
 * standard output and exit status 255) when the masks or palette are refused.
 */
public class KELRend3DDevice extends Graphics3DDevice {
    /** The library's reference to the native device; 0 until initialised. Written by the initialisers. */
    protected int nativeDevice;

    /** A device not yet initialised; call {@link #initDirect} or {@link #initIndexed}. */
    public KELRend3DDevice() {}

    /** A direct-colour device of these channel masks. */
    public static KELRend3DDevice direct(int redMask, int greenMask, int blueMask) {
        KELRend3DDevice device = new KELRend3DDevice();
        device.initDirect(redMask, greenMask, blueMask);
        return device;
    }

    /** An indexed device of the palette whose colours are (red[i], green[i], blue[i]), one entry per red byte. */
    public static KELRend3DDevice indexed(byte[] red, byte[] green, byte[] blue) {
        KELRend3DDevice device = new KELRend3DDevice();
        device.initIndexed(red.length, red, green, blue);
        return device;
    }

    /**
     * A device for the display as it is set now: at 8 bits indexed by the system palette, else
     * direct colour by the display's masks (or Windows' layouts when none are set: 5-5-5 at 16 bits,
     * 8-8-8 above).
     *
     * @param masks the display's masks as given to {@link Display#setMasks}, or null for none
     */
    public static KELRend3DDevice forDisplay(int[] masks) {
        int depth = Display.getDepth();
        if (depth == 8) {
            byte[] red = new byte[256], green = new byte[256], blue = new byte[256];
            for (int i = 0; i < 256; ++i) {
                int rgb = Display.getSystemPaletteEntry(i);
                red[i] = (byte) (rgb >> 16);
                green[i] = (byte) (rgb >> 8);
                blue[i] = (byte) rgb;
            }
            return indexed(red, green, blue);
        }
        if (masks != null && (masks[0] | masks[1] | masks[2]) != 0) return direct(masks[0], masks[1], masks[2]);
        return depth == 16 ? direct(0x7C00, 0x03E0, 0x001F) : direct(0xFF0000, 0x00FF00, 0x0000FF);
    }

    /**
     * Makes a direct-colour device: 32 bits when the masks together cover 0xFFFFFF, else 16.
     * Refused masks end the process with the fatal report.
     */
    public synchronized native void initDirect(int redMask, int greenMask, int blueMask);

    /**
     * Makes an indexed device of count (0..256) palette entries from the arrays. A count out of
     * range or a null array end the process with the fatal report.
     *
     * @throws ArrayIndexOutOfBoundsException when an array is shorter than count
     */
    public synchronized native void initIndexed(int count, byte[] red, byte[] green, byte[] blue);

    /** True once initialised. */
    public boolean isInitialized() {
        return nativeDevice != 0;
    }

    /** "KELRend3DDevice[ref]". */
    @Override
    public String toString() {
        return "KELRend3DDevice[" + (nativeDevice == 0 ? "uninitialised" : "0x" + Integer.toHexString(nativeDevice)) + "]";
    }
}
