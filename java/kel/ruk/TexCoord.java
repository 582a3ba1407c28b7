package kel.ruk;

/** A pair of texture coordinates (u, v), as a pick reports them. */
public class TexCoord {
    /** The coordinates. */
    public float u, v;

    /** (0, 0). */
    public TexCoord() {}

    /** (u, v). */
    public TexCoord(float u, float v) {
        this.u = u;
        this.v = v;
    }

    /** "(u, v)". */
    @Override
    public String toString() {
        return "(" + u + ", " + v + ")";
    }
}
