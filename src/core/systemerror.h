#pragma once

#include <QString>

namespace systemerror {

// The system's text for a failed file operation (QFileDevice::errorString())
// in Japanese when it is one of those a teacher meets; any other text as it is.
QString in_japanese(const QString &system_text);

}  // namespace systemerror
