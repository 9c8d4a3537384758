#pragma once
// Structural check of a Windows metafile before it reaches the converter,
// which trusts the sizes it reads: the header must be one, every record must
// lie inside the data and be no larger than the header's largest record (the
// converter reads each record into a buffer of that size), and an end record
// must close the file.

#include <QByteArray>

namespace rasp {

// The length of the metafile (its placeable header included) up to and
// including its end record, or 0 when the data is not a well-formed Windows
// metafile.
qsizetype WellFormedWmfLength(const QByteArray& bytes);

} // namespace rasp
