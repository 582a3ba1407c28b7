package kel.ruk;

/**
 * What the tests share: a display set up for a pixel format, a context drawing
 * model colours unchanged (no lights, model colours as emission) under an
 * orthographic projection of one model unit per pixel, rectangles facing the
 * eye, and frames painted into a surface and read back.
 */
final class Screens {
    /** Pixel formats: display depth and masks. */
    enum Format {
        RGB32(32, 0xFF0000, 0x00FF00, 0x0000FF),
        RGB24(24, 0, 0, 0),
        RGB16(16, 0xF800, 0x07E0, 0x001F),
        RGB555(16, 0x7C00, 0x03E0, 0x001F),
        INDEXED8(8, 0, 0, 0);

        final int depth;
        final int[] masks;

        Format(int depth, int red, int green, int blue) {
            this.depth = depth;
            this.masks = new int[] {red, green, blue};
        }

        /** How 0x00RRGGBB looks after storing and widening back: channels keep their top bits, repeated downwards. */
        int looks(int rgb) {
            switch (this) {
                case RGB16: return widen(rgb >> 16, 5) << 16 | widen(rgb >> 8, 6) << 8 | widen(rgb, 5);
                case RGB555: return widen(rgb >> 16, 5) << 16 | widen(rgb >> 8, 5) << 8 | widen(rgb, 5);
                default: return rgb & 0xFFFFFF;
            }
        }

        private static int widen(int channel, int bits) {
            int top = (channel & 0xFF) >> (8 - bits);
            int out = 0;
            for (int shift = 8 - bits; shift > -bits; shift -= bits) out |= shift >= 0 ? top << shift : top >> -shift;
            return out & 0xFF;
        }
    }

    static final int OPAQUE = 0xFF000000;

    private Screens() {}

    /** A fresh display of the format and a context of w × h with the buffer flags. */
    static KELRendGraphics3D open(Format format, int w, int h, int flags) {
        Display.reset();
        Display.setDepth(format.depth);
        if (format.depth == 16 || format.depth == 32) Display.setMasks(format.masks[0], format.masks[1], format.masks[2]);
        KELRend3DDevice device = KELRend3DDevice.forDisplay(format.depth == 24 ? null : format.masks);
        KELRendGraphics3D g = new KELRendGraphics3D(device, flags, w, h);
        g.setOrthographicProjection(w / 2f, h / 2f, 1, 100);
        g.setMaterial(new Material(0, 0, 0, 0, 0, 255));
        g.setModifiedMaterialColor(KELRendGraphics3D.MATERIAL_EMISSION);
        return g;
    }

    /** The rectangle x0..x1 × y0..y1 at height z facing +z, one colour, texture coordinates 0..1 when uv. */
    static KELRendModel quad(float x0, float y0, float x1, float y1, float z, int argb, boolean uv) {
        float[] xyz = {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
        int[] corners = {0, 1, 2, 0, 2, 3};
        int[] colors = new int[6];
        java.util.Arrays.fill(colors, argb);
        KELRendModel m = new KELRendModel(KELRendModel.TRIANGLES, xyz, corners).setColors(KELRendModel.PER_CORNER, colors);
        if (uv) m.setTexCoords(new float[] {0, 0, 1, 0, 1, 1, 0, 1}, corners.clone());
        if (!m.prepare(0.5f)) throw new AssertionError("prepare failed");
        return m;
    }

    /** Draws the models on the clear colour (colour and depth cleared) and gives the painted pixels. */
    static int[] frame(KELRendGraphics3D g, int clearRgb, KELRendModel... models) {
        g.beginRendering();
        g.setClearColor(clearRgb);
        g.clear(KELRendGraphics3D.COLOR_BUFFER_BIT | KELRendGraphics3D.DEPTH_BUFFER_BIT);
        for (KELRendModel m : models) g.render(m);
        g.endRendering();
        return painted(g);
    }

    /** The context's image, painted into a new surface. */
    static int[] painted(KELRendGraphics3D g) {
        try (Surface s = new Surface(g.getWidth(), g.getHeight())) {
            g.paint(s, 0, 0);
            return s.getPixels();
        }
    }

    static int at(KELRendGraphics3D g, int[] pixels, int column, int row) {
        return pixels[row * g.getWidth() + column];
    }
}
