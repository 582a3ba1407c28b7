// The host kit against the real renderer: a native called through the value
// classes, once linked into this program and once from the shared library a
// host loads by path.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

#include "host/kel_ruk.h"

namespace {

void expectDeviceClassWritten() {
  const kelhost::ByteArray name = kelhost::ByteArray::create(25);
  name[24] = 0xEE;
  kel::ruk::Graphics3DDevice::getDeviceClass(name);
  EXPECT_EQ(kelhost::lastStubResult().advanced, 0) << "a void native leaves no word";
  EXPECT_STREQ(reinterpret_cast<const char*>(name.data()), "kel.ruk.KELRend3DDevice");
  EXPECT_EQ(name[23], 0);
  EXPECT_EQ(name[24], 0xEE) << "exactly 24 bytes";
}

TEST(LibraryCall, NativeLinkedIntoTheProgram) { expectDeviceClassWritten(); }

TEST(LibraryCall, NativeFromTheLoadedLibrary) {
  kelhost::useStubLibrary(KELRUK_LIBRARY_PATH);
  EXPECT_NE(kelhost::lookupStub("Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub"),
            reinterpret_cast<kelhost::StubFunction>(
                dlsym(RTLD_DEFAULT, "Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub")));
  expectDeviceClassWritten();
  kelhost::useStubLibrary(nullptr);
}

}  // namespace
