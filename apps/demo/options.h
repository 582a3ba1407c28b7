// Command-line options of the demo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace demo {

struct Options {
  int width = 640;
  int height = 480;
  int depth = 32;                 // screen depth: 8, 16, 24 or 32
  uint32_t masks[3] = {0, 0, 0};  // screen channel masks; 0 = the depth's usual layout
  bool smooth = true;
  bool dither = true;  // 8-bit screens: ordered dither
  int renderMode = 0;  // Java constants: 0 filled, 1 edges, 2 points
  std::string output = "kelruk-demo.png";
  int frames = 1;
  std::string obj;                          // render this OBJ file instead of the default scene
  std::optional<std::pair<int, int>> pick;  // pixel to cast a pick ray through
  std::string library;                      // libkelruk.so to load
};

// Parses argv; on a bad option prints usage to stderr and returns false.
bool parseOptions(int argc, char** argv, Options* options);

}  // namespace demo
