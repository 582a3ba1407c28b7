// The routine tables of each pixel format, for the instruction set this copy
// is compiled for.
#include "raster/raster_tables.h"

#include "device/color_model.h"

inline namespace KELRUK_ISA {

namespace {

constinit const RasterTableSet indexed8Tables = {indexed8TriangleTable.data(), indexed8DitheredTriangleTable.data(),
                                                 indexed8LineTable.data(), indexed8PointTable.data(),
                                                 &setupTriangleBatch};
constinit const RasterTableSet rgb555Tables = {rgb555TriangleTable.data(), nullptr, rgb555LineTable.data(),
                                               rgb555PointTable.data(), &setupTriangleBatch};
constinit const RasterTableSet rgb16Tables = {rgb16TriangleTable.data(), nullptr, rgb16LineTable.data(),
                                              rgb16PointTable.data(), &setupTriangleBatch};
constinit const RasterTableSet rgb24Tables = {rgb24TriangleTable.data(), nullptr, rgb24LineTable.data(),
                                              rgb24PointTable.data(), &setupTriangleBatch};
constinit const RasterTableSet rgb32Tables = {rgb32TriangleTable.data(), nullptr, rgb32LineTable.data(),
                                              rgb32PointTable.data(), &setupTriangleBatch};

}  // namespace

const RasterTableSet* isaRasterTables(uint32_t format) {
  switch (format) {
    case Indexed8:
    case PixelFormatReserved1: return &indexed8Tables;
    case Rgb555: return &rgb555Tables;
    case Rgb16: return &rgb16Tables;
    case Rgb24: return &rgb24Tables;
    case Rgb32: return &rgb32Tables;
    default: return nullptr;
  }
}

}  // namespace KELRUK_ISA
