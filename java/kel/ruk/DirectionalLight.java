package kel.ruk;

import kel.geom.Vector3;

/** Light from far away, travelling in one direction (held in {@link #position}). */
public class DirectionalLight extends Light {
    /** White light travelling along −z. */
    public DirectionalLight() {
        this(0xFFFFFF, new Vector3(0, 0, -1));
    }

    /** Light of colour 0x00RRGGBB travelling along travel (shared, not copied). */
    public DirectionalLight(int color, Vector3 travel) {
        super(DIRECTIONAL, color, travel);
    }

    @Override
    void pushOnto(KELRendGraphics3D g) {
        g.pushDirectionalLight(this);
    }
}
