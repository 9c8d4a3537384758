#pragma once
// File names as the file system holds them (bytes) and as the dialogs show
// them (text). Names are UTF-8; a byte that is not part of a valid UTF-8
// sequence is carried in the text as the code unit 0xDC00 + byte, so that
// every name survives the trip to text and back and can still be opened.

#include <QByteArray>
#include <QString>

namespace rasp {

QString bsDecodeFileName(const QByteArray& bytes);
QByteArray bsEncodeFileName(const QString& name);
// The text to show: carried bytes appear as the replacement character.
QString bsDisplayFileName(const QString& name);
// The same, cut in the middle to at most about 80 characters: a path in a
// message must not make the message wider than the screen.
QString bsShortFileName(const QString& name);

}  // namespace rasp
