package kel.geom;

/**
 * A vector or point in three dimensions, single precision. The arithmetic
 * that the renderer shares is native; none of it ends the process.
 */
public class Vector3 {
    /** The components; the natives read and write these three fields in this order. */
    public float x, y, z;

    static {
        NativeLibrary.load();
    }

    /** The zero vector. */
    public Vector3() {}

    /** The vector (x, y, z). */
    public Vector3(float x, float y, float z) {
        this.x = x;
        this.y = y;
        this.z = z;
    }

    /** A copy of v. */
    public Vector3(Vector3 v) {
        this(v.x, v.y, v.z);
    }

    /** Sets the components and returns this vector. */
    public Vector3 set(float x, float y, float z) {
        this.x = x;
        this.y = y;
        this.z = z;
        return this;
    }

    /** Copies v into this vector and returns it. */
    public Vector3 set(Vector3 v) {
        return set(v.x, v.y, v.z);
    }

    /** The length of this vector. */
    public native float magnitude();

    /** The dot product of this vector and b (0 when b is null). */
    public native float dot(Vector3 b);

    /** Sets this vector to a × b; this may be a or b. */
    public native void cross(Vector3 a, Vector3 b);

    /** The length of this × b. */
    public native float crossmag(Vector3 b);

    /** Scales this vector to length 1; gives 1 / old length, or 0 (vector unchanged) when it is zero. */
    protected native float doNormalize();

    /** Sets this vector to src scaled to length 1; gives 1 / |src|, or 0 (this unchanged) when src is zero. */
    protected native float doNormalize2(Vector3 src);

    /**
     * Scales this vector to length 1.
     *
     * @return the reciprocal of the old length, or 0 when the vector is zero (it is then left unchanged)
     */
    public float normalize() {
        return doNormalize();
    }

    /**
     * Sets this vector to src scaled to length 1.
     *
     * @return the reciprocal of src's length, or 0 when src is zero (this is then left unchanged)
     */
    public float normalize(Vector3 src) {
        return doNormalize2(src);
    }

    /** "(x, y, z)". */
    @Override
    public String toString() {
        return "(" + x + ", " + y + ", " + z + ")";
    }

    /** True for a Vector3 with the same components (compared as {@link Float#equals} does). */
    @Override
    public boolean equals(Object o) {
        if (this == o) return true;
        if (!(o instanceof Vector3)) return false;
        Vector3 v = (Vector3) o;
        return Float.compare(x, v.x) == 0 && Float.compare(y, v.y) == 0 && Float.compare(z, v.z) == 0;
    }

    /** A hash of the components, consistent with {@link #equals}. */
    @Override
    public int hashCode() {
        return (Float.hashCode(x) * 31 + Float.hashCode(y)) * 31 + Float.hashCode(z);
    }
}
