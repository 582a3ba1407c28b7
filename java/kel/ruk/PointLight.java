package kel.ruk;

import kel.geom.Vector3;

/** Light shining from a position in every direction, attenuated with distance and cut off beyond its range. */
public class PointLight extends Light {
    /** White light at the origin, no attenuation. */
    public PointLight() {
        this(0xFFFFFF, new Vector3());
    }

    /** Light of colour 0x00RRGGBB at position (shared, not copied), no attenuation. */
    public PointLight(int color, Vector3 position) {
        super(POINT, color, position);
    }

    @Override
    void pushOnto(KELRendGraphics3D g) {
        g.pushPointLight(this);
    }
}
