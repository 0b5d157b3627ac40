#pragma once
// A faster driver for lcms2's 8-bit RGB matrix-shaper transforms, with exactly lcms2's pixels.
//
// lcms2 optimises a transform between two RGB matrix-shaper profiles into a first shaper table
// (256 entries, 1.14 fixed point), a 3x3 1.14 fixed-point matrix with offset, a clamp to
// 0..16384 and a second shaper table (16385 entries), but drives it one pixel at a time through
// its generic loop (unpack, evaluate, pack, each through a function pointer). A transform
// plug-in registered in a context of its own repeats lcms2's checks on the pipeline (the joining
// of adjacent matrices, then the shaper-matrix-shaper forms that lcms2 optimises), builds the
// same tables with the same formulas through lcms2's public plug-in interface (arranged so that
// the matrix and the clamp become table lookups with lcms2's wrapping sums), and evaluates them
// in a tight loop over whole rows. Any other pipeline is declined and lcms2 does all of it
// as usual. The default context is never touched.
#include <lcms2.h>

// The context to build a TYPE_BGR_8 to TYPE_BGR_8 (Format_BGR888) or TYPE_BGRA_8 to TYPE_BGRA_8
// (Format_ARGB32 memory) transform from `source` in:
// the plug-in's when `source` is an RGB matrix-shaper profile that lcms2 reads as one (no
// lookup table or floating-point tag for the perceptual intent, XYZ connection space), else the
// default context (nullptr).
cmsContext ShaperTransformContext(cmsHPROFILE source);
