package kel.geom;

/** A half-line from an origin along a direction, as box tests and picking take it. */
public class Ray {
    /** Where the ray starts. */
    public Vector3 origin;
    /** Which way it runs; its length scales the distances that tests report. */
    public Vector3 direction;

    /** A ray from the origin along −z. */
    public Ray() {
        this(new Vector3(), new Vector3(0, 0, -1));
    }

    /** A ray from origin along direction; the vectors are shared, not copied. */
    public Ray(Vector3 origin, Vector3 direction) {
        this.origin = origin;
        this.direction = direction;
    }

    /** "origin → direction". */
    @Override
    public String toString() {
        return origin + " -> " + direction;
    }
}
