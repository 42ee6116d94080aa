#pragma once
// Writing a picture file (PNG, PDF, SVG) so that it appears complete or not at all.
//
// The bytes go to a temporary file beside the target, which replaces the target only once
// everything is written: a failed save never leaves half an image or destroys the previous one.
// Only a regular file is ever replaced: a link is followed to the file it names, and a device,
// fifo or directory (directly or through a link) is refused with the reason.
//
//   const QString failure = writePictureFile(path, [&](QIODevice& file) {
//       return image.save(&file, "PNG");
//   });
//   if (!failure.isEmpty()) ... // the reason, for a message

#include <QString>

#include <functional>

class QIODevice;

// Writes through write() to path. Returns an empty string on success, otherwise the reason it
// failed; write() returning false counts as a failure and leaves the target as it was.
QString writePictureFile(const QString& path, const std::function<bool(QIODevice&)>& write);
