// The attribute values a new context starts with.
#pragma once

struct RukContext;

// Stores every default through the setters, ids in increasing order, so the
// attribute-change hook sees each one; attribute 16 is left alone.
void applyDefaultAttributes(RukContext* context);
