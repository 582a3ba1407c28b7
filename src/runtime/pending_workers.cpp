// Placeholders for workers that are declared but not yet written, so that the
// library and the test programs link. Each ends the process with the fatal
// report naming the worker. A module that lands its worker deletes the
// worker's placeholder here in the same change.
#include "context/context.h"
#include "context/model_stack.h"
#include "device/buffer_ops.h"
#include "device/color_model.h"
#include "device/framebuffer.h"
#include "device/product_table.h"
#include "matrix/matrix.h"
#include "model/model.h"
#include "pipeline/assembly.h"
#include "pipeline/lighting.h"
#include "pipeline/pick.h"
#include "pipeline/render.h"
#include "raster/raster.h"
#include "runtime/fatal.h"
#include "texture/texture.h"

#define PENDING(name) fatalReport("kelruk: not implemented: " #name, __FILE__, __LINE__)
