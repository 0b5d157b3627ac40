#pragma once
// Header facts of the phone and web photo containers: HEIF (".HEIC", ".HEIF" and ".AVIF", all
// ISO base media files) and WebP (a RIFF file). Like the other header readers they survive any
// input: every box and chunk is bounded by its parent and the file, and a malformed one ends the
// reading with what was found so far.
//
// Orientation follows what the general decoder delivers for each container:
// - HEIF stores its turn and mirror as the primary item's transform properties (irot, imir;
//   also a clean-aperture crop, clap), and libheif applies them while decoding. The decoded
//   pixels are upright, so the reader reports the size after those transforms and orientation
//   1; an EXIF orientation inside a HEIF file describes the same turn again and is ignored.
// - WebP pixels decode as stored; the orientation of its EXIF chunk is still to be applied,
//   like a JPEG's, and ReadImageInfo exchanges width and height for a quarter turn.
#include "imaging/imageinfo.h"

#include <QByteArray>

class QIODevice;

// kind kKindHeif, the upright size of the primary item and orientation 1; true when the primary
// item's spatial extent (ispe) was found.
bool ReadHeifHeaderInfo(QIODevice& file, ImageInfo& info);

// The ICC profile of the primary item's colour box ("colr" of kind "prof" or "rICC"); false, with
// profile empty, when there is none or the file cannot be walked.
bool ReadHeifProfile(QIODevice& file, QByteArray& profile);

// kind kKindWebp, the stored size (the canvas of an extended file, else the frame's), 24 or 32
// bits (alpha) and the EXIF chunk's orientation; true when the size was found.
bool ReadWebpHeaderInfo(QIODevice& file, ImageInfo& info);
