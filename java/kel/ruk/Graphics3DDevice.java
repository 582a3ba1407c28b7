package kel.ruk;

import java.nio.charset.StandardCharsets;
import kel.geom.NativeLibrary;

/**
 * The kind of output device a 3D renderer draws for. The native library names
 * the class that serves as its device, so a program can make one without
 * naming it ({@link #create}).
 */
public abstract class Graphics3DDevice {
    static {
        NativeLibrary.load();
    }

    /** For subclasses. */
    protected Graphics3DDevice() {}

    /**
     * Copies the device class name with its terminating zero byte (24 bytes,
     * "kel.ruk.KELRend3DDevice") into name.
     *
     * @throws ArrayIndexOutOfBoundsException when name has fewer than 24 bytes; a null name ends
     *     the process with the fatal report
     */
    public static native void getDeviceClass(byte[] name);

    /** The name of the library's device class, "kel.ruk.KELRend3DDevice". */
    public static String deviceClassName() {
        byte[] name = new byte[64];
        getDeviceClass(name);
        int end = 0;
        while (end < name.length && name[end] != 0) ++end;
        return new String(name, 0, end, StandardCharsets.US_ASCII);
    }

    /**
     * A new, not yet initialised device of the library's device class.
     *
     * @throws IllegalStateException when that class cannot be made
     */
    public static Graphics3DDevice create() {
        try {
            return (Graphics3DDevice) Class.forName(deviceClassName()).getDeclaredConstructor().newInstance();
        } catch (ReflectiveOperationException | ClassCastException e) {
            throw new IllegalStateException("cannot make the device class " + deviceClassName(), e);
        }
    }
}
