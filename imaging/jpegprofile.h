#pragma once
// The ICC colour profile a JPEG file carries in APP2 segments that start with "ICC_PROFILE\0",
// found by a walk of the markers up to the start of scan (the JPEG bridge does not report it).
// A profile is split into chunks of at most one segment each: every chunk holds its sequence
// number (1 to count) and the count, and the chunks may come in any order.
#include <QByteArray>

class QIODevice;

enum class JpegProfileChunks {
    None, // no ICC chunk before the start of scan
    Whole, // chunks 1 to count each present once, all with the same count
    Broken, // a chunk missing, repeated, numbered outside 1..count or disagreeing on the count,
            // or no profile bytes at all
};

// Reads the chunks and, for Whole, joins their data in sequence order into profile; profile is
// empty otherwise. A walk that stops early (a damaged segment) judges the chunks seen so far.
JpegProfileChunks ReadJpegProfile(QIODevice& file, QByteArray& profile);
