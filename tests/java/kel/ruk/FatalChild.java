package kel.ruk;

import kel.geom.Matrix4;

/** A program ending in a fatal report, run by FatalReportTest in a JVM of its own: prints, then calls case args[0]. */
public final class FatalChild {
    private FatalChild() {}

    public static void main(String[] args) {
        System.out.println("before the report");
        System.out.print("no line end, flushed");
        System.out.flush();
        System.out.println();
        KELRendGraphics3D g = new KELRendGraphics3D(KELRend3DDevice.direct(0xFF0000, 0xFF00, 0xFF), 0, 4, 4);
        switch (args[0]) {
            case "pop": g.popModelMatrix(); break;
            case "shade": g.setShadeMode(7); break;
            case "nullModel": g.render(null); break;
            case "feature": g.enableFeature(-1); break;
            case "disposed": g.dispose(); g.loadModelMatrix(new Matrix4()); break;
            case "texture": {
                KELRendTexture t = new KELRendTexture(g.getDevice(), 2, 2);
                t.dispose();
                t.dispose();
                break;
            }
            case "modelNeverMade": new KELRendModel(KELRendModel.TRIANGLES, new float[0], new int[0]).dispose(); break;
            default: throw new IllegalArgumentException(args[0]);
        }
        System.out.println("not reached");
    }
}
