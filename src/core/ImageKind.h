#pragma once
#include <QString>

namespace korvan {

// ImageKindOfFile: 1 for ".bmp", 2 for ".jpg" or ".jpeg", 3 for ".gif", 0 for
// anything else; the extension compared without regard to case.
int ImageKindOfFile(const QString &fileName);

} // namespace korvan
