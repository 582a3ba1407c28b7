package kel.ruk;

/**
 * How a surface reflects light: emitted, ambient, diffuse and specular
 * colours (0x00RRGGBB), a specular exponent and an opacity. A context takes a
 * copy with {@link KELRendGraphics3D#setMaterial}; model colours can replace
 * one of the colours ({@link KELRendGraphics3D#setModifiedMaterialColor}).
 */
public class Material {
    /** Light the surface gives off, 0x00RRGGBB. */
    public int emission;
    /** Share of the ambient light reflected, 0x00RRGGBB. */
    public int ambient;
    /** Share of direct light reflected diffusely, 0x00RRGGBB. */
    public int diffuse;
    /** Share reflected as highlights, 0x00RRGGBB. */
    public int specular;
    /** Specular exponent: larger gives smaller, sharper highlights. */
    public float shininess;
    /** Opacity 0..255 (larger values count as 255); below 255 blends when blending is enabled. */
    public int alpha;

    /** The material of a new context: no emission, ambient 0x333333, diffuse 0xCCCCCC, no specular, opaque. */
    public Material() {
        this(0x000000, 0x333333, 0xCCCCCC, 0x000000, 0.0f, 255);
    }

    /** A material of these colours, exponent and opacity. */
    public Material(int emission, int ambient, int diffuse, int specular, float shininess, int alpha) {
        this.emission = emission;
        this.ambient = ambient;
        this.diffuse = diffuse;
        this.specular = specular;
        this.shininess = shininess;
        this.alpha = alpha;
    }

    /** The colours in hexadecimal, the exponent and the opacity. */
    @Override
    public String toString() {
        return String.format("Material[emission %06x, ambient %06x, diffuse %06x, specular %06x, shininess %s, alpha %d]",
                emission, ambient, diffuse, specular, shininess, alpha);
    }
}
