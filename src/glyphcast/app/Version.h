// The converter's version, shown as "V" + major + "." + minor + revision (1.2.0 gives V1.20).
#pragma once

#include <QString>

namespace glyph {

constexpr int VersionMajor = 1;
constexpr int VersionMinor = 2;
constexpr int VersionRevision = 0;

inline QString versionNumbers()
{
    return QString("%1.%2%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

} // namespace glyph
