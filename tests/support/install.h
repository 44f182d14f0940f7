#pragma once
// Installs the build under test into a prefix, as `cmake --install` does for a user.

#include <QString>

// Runs `cmake --install <build> --prefix <prefix>`; returns an empty string on
// success, otherwise what went wrong. Needs the build folder and the cmake program
// in the environment (ctest sets STIFTOLINO_BUILD_DIR and STIFTOLINO_CMAKE).
QString installBuild(const QString &prefix);
