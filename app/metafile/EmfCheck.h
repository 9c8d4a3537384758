#pragma once
// Structural check of an enhanced metafile before it reaches the converter,
// which trusts the sizes and offsets it reads: every record must lie inside
// the data, the header's own pieces inside the header, and an end record must
// close the file.

#include <QByteArray>

namespace rasp {

// The length of the metafile up to and including its end record, or 0 when
// the data is not a well-formed enhanced metafile.
qsizetype WellFormedEmfLength(const QByteArray& bytes);

} // namespace rasp
