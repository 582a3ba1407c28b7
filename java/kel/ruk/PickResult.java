package kel.ruk;

import kel.geom.Vector3;

/**
 * What {@link KELRendGraphics3D#rayPick} asks for and reports: the outputs
 * requested ({@link #POINT}, {@link #NORMAL}, {@link #TEXCOORDS}), the
 * furthest distance to search, and on a hit the distance, point, normal and
 * texture coordinates of the nearest front-facing triangle, in model
 * coordinates and ray-parameter units.
 */
public class PickResult {
    /** Outputs asked for: a combination of {@link #POINT}, {@link #NORMAL} and {@link #TEXCOORDS}. */
    public int request;
    /** Before a pick, how far to search; after a hit, the distance of the hit. */
    public float distance;
    /** The hit point (written when {@link #POINT} is requested). */
    public Vector3 point;
    /** The normal of the triangle hit (written when {@link #NORMAL} is requested). */
    public Vector3 normal;
    /** The texture coordinates at the hit (written when {@link #TEXCOORDS} is requested). */
    public TexCoord texCoord;

    /** Request bit: the hit point. */
    public static final int POINT = 1;
    /** Request bit: the hit normal. */
    public static final int NORMAL = 2;
    /** Request bit: the texture coordinates at the hit. */
    public static final int TEXCOORDS = 4;

    /** A result asking for everything, searching without limit. */
    public PickResult() {
        this(POINT | NORMAL | TEXCOORDS, Float.MAX_VALUE);
    }

    /** A result asking for request, searching up to maxDistance. */
    public PickResult(int request, float maxDistance) {
        this.request = request;
        this.distance = maxDistance;
        this.point = new Vector3();
        this.normal = new Vector3();
        this.texCoord = new TexCoord();
    }

    /** The request, distance and outputs. */
    @Override
    public String toString() {
        return "PickResult[distance " + distance + ", point " + point + ", normal " + normal + ", uv " + texCoord + "]";
    }
}
