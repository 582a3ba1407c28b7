package kel.geom;

/**
 * A rotation as a unit quaternion (x, y, z, w), w the scalar part:
 * (x, y, z) = axis · sin(angle / 2), w = cos(angle / 2). p ⊗ q rotates by q
 * first, then by p.
 */
public class Quaternion {
    /** The components; the natives read and write these four fields in this order. */
    public float x, y, z, w;

    static {
        NativeLibrary.load();
    }

    /** The identity rotation (0, 0, 0, 1). */
    public Quaternion() {
        w = 1;
    }

    /** The quaternion (x, y, z, w). */
    public Quaternion(float x, float y, float z, float w) {
        this.x = x;
        this.y = y;
        this.z = z;
        this.w = w;
    }

    /** A copy of q. */
    public Quaternion(Quaternion q) {
        this(q.x, q.y, q.z, q.w);
    }

    /** The rotation by angle radians about the axis (x, y, z), which should have length 1. */
    public static Quaternion rotation(float x, float y, float z, float angle) {
        Quaternion q = new Quaternion();
        q.doRotation(x, y, z, angle);
        return q;
    }

    /** Sets the components and returns this quaternion. */
    public Quaternion set(float x, float y, float z, float w) {
        this.x = x;
        this.y = y;
        this.z = z;
        this.w = w;
        return this;
    }

    /** Sets this quaternion to a product of a and b: a ⊗ b when this is neither, b ⊗ a when this is a or b. */
    public native void multiply(Quaternion a, Quaternion b);

    /** this := this ⊗ q: q applies before the old rotation. */
    public native void preMultiply(Quaternion q);

    /** this := q ⊗ this: q applies after the old rotation. */
    public native void postMultiply(Quaternion q);

    /** The four-component dot product (0 when q is null). */
    public native float dot(Quaternion q);

    /** Scales to length 1; gives 1 / old length, or 0 (unchanged) for a zero quaternion. */
    protected native float doNormalize();

    /** Sets this to src scaled to length 1; gives 1 / |src|, or 0 (this unchanged) when src is zero. */
    protected native float doNormalize2(Quaternion src);

    /** The length sqrt(x² + y² + z² + w²). */
    public native float magnitude();

    /** Sets this to the rotation by angle radians about (x, y, z) (not normalised); a tiny angle gives the identity. */
    protected native void doRotation(float x, float y, float z, float angle);

    /** Scales to length 1; returns 1 / old length, or 0 when the quaternion is zero (it is left unchanged). */
    public float normalize() {
        return doNormalize();
    }

    /** Sets this to src scaled to length 1; returns 1 / |src|, or 0 when src is zero (this is left unchanged). */
    public float normalize(Quaternion src) {
        return doNormalize2(src);
    }

    /** Sets this to the rotation by angle radians about the unit axis (x, y, z) and returns it. */
    public Quaternion setRotation(float x, float y, float z, float angle) {
        doRotation(x, y, z, angle);
        return this;
    }

    /** "(x, y, z, w)". */
    @Override
    public String toString() {
        return "(" + x + ", " + y + ", " + z + ", " + w + ")";
    }

    /** True for a Quaternion with the same components. */
    @Override
    public boolean equals(Object o) {
        if (this == o) return true;
        if (!(o instanceof Quaternion)) return false;
        Quaternion q = (Quaternion) o;
        return Float.compare(x, q.x) == 0 && Float.compare(y, q.y) == 0 && Float.compare(z, q.z) == 0
                && Float.compare(w, q.w) == 0;
    }

    /** A hash of the components, consistent with {@link #equals}. */
    @Override
    public int hashCode() {
        return ((Float.hashCode(x) * 31 + Float.hashCode(y)) * 31 + Float.hashCode(z)) * 31 + Float.hashCode(w);
    }
}
