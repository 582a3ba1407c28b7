package kel.geom;

/** An axis-aligned box as centre and half-extents; a negative x half-extent marks an empty box. */
public class BoundingBox3 {
    /** The centre. */
    public Vector3 center;
    /** Half the size along each axis. */
    public Vector3 halfExtents;

    static {
        NativeLibrary.load();
    }

    /** An empty box. */
    public BoundingBox3() {
        this(new Vector3(), new Vector3(-1, -1, -1));
    }

    /** A box of the given centre and half-extents; the vectors are shared, not copied. */
    public BoundingBox3(Vector3 center, Vector3 halfExtents) {
        this.center = center;
        this.halfExtents = halfExtents;
    }

    /** True when the box is empty (its x half-extent is negative). */
    public boolean isEmpty() {
        return halfExtents.x < 0;
    }

    /** Carries the box through m (the box of the transformed box); an empty box stays as it is. */
    public native void transform(Matrix4 m);

    /**
     * Where the ray enters the box: the ray parameter t of the entry point, 0 when the origin is
     * inside, −1 when the ray misses or the box is empty.
     */
    public native float rayIntersection(Ray ray);

    /** "[center ± halfExtents]" or "[empty]". */
    @Override
    public String toString() {
        return isEmpty() ? "[empty]" : "[" + center + " +- " + halfExtents + "]";
    }
}
