#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace demo {
namespace {

const char* kUsage =
    "usage: kelruk-demo [options]\n"
    "  --size WxH          image size (default 640x480)\n"
    "  --depth 8|16|24|32  screen depth (default 32)\n"
    "  --masks R,G,B       screen channel masks in hex (default: the depth's usual layout)\n"
    "  --shading flat|smooth\n"
    "  --dither on|off     ordered dither on 8-bit screens (default on)\n"
    "  --mode filled|edges|points\n"
    "  --output FILE.png   where to write the image (default kelruk-demo.png)\n"
    "  --frames N          render N frames and print frames per second\n"
    "  --obj FILE.obj      render a Wavefront OBJ model instead of the default scene\n"
    "  --pick X,Y          print what a ray through pixel (X, Y) hits\n"
    "  --library PATH      the libkelruk.so to load\n";

bool fail(const char* what, const char* value) {
  std::fprintf(stderr, "kelruk-demo: bad %s '%s'\n%s", what, value, kUsage);
  return false;
}

}  // namespace

bool parseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--help" || name == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (i + 1 >= argc) return fail("option (missing value)", argv[i]);
    const char* value = argv[++i];
    if (name == "--size") {
      if (std::sscanf(value, "%dx%d", &o->width, &o->height) != 2 || o->width <= 0 || o->height <= 0 ||
          o->width > 8192 || o->height > 8192)
        return fail("size", value);
    } else if (name == "--depth") {
      o->depth = std::atoi(value);
      if (o->depth != 8 && o->depth != 16 && o->depth != 24 && o->depth != 32) return fail("depth", value);
    } else if (name == "--masks") {
      if (std::sscanf(value, "%x,%x,%x", &o->masks[0], &o->masks[1], &o->masks[2]) != 3) return fail("masks", value);
    } else if (name == "--shading") {
      if (std::strcmp(value, "flat") != 0 && std::strcmp(value, "smooth") != 0) return fail("shading", value);
      o->smooth = std::strcmp(value, "smooth") == 0;
    } else if (name == "--dither") {
      if (std::strcmp(value, "on") != 0 && std::strcmp(value, "off") != 0) return fail("dither", value);
      o->dither = std::strcmp(value, "on") == 0;
    } else if (name == "--mode") {
      if (std::strcmp(value, "filled") == 0)
        o->renderMode = 0;
      else if (std::strcmp(value, "edges") == 0)
        o->renderMode = 1;
      else if (std::strcmp(value, "points") == 0)
        o->renderMode = 2;
      else
        return fail("mode", value);
    } else if (name == "--output") {
      o->output = value;
    } else if (name == "--frames") {
      o->frames = std::atoi(value);
      if (o->frames < 1) return fail("frames", value);
    } else if (name == "--obj") {
      o->obj = value;
    } else if (name == "--pick") {
      int x = 0, y = 0;
      if (std::sscanf(value, "%d,%d", &x, &y) != 2) return fail("pick", value);
      o->pick = std::make_pair(x, y);
    } else if (name == "--library") {
      o->library = value;
    } else {
      return fail("option", argv[i - 1]);
    }
  }
  return true;
}

}  // namespace demo
