#pragma once

#include <QString>

// Where Configurator.ini lives. Run from where it was built, the program
// keeps the file beside its executable. Installed, the package's default
// lies in the data directory beside the binaries' (`defaultRelativeDir`
// from the executable's directory), nothing may be written there, and each
// user keeps a copy in `configHome`/ulm5, made from the default at the first
// start. A copy that cannot be made leaves the path as it is: the file then
// counts as missing.
QString SettingsFilePath(const QString& executableDir, const QString& defaultRelativeDir,
                         const QString& configHome);

// The path for this program: its executable's directory, the installed
// layout's data directory and $XDG_CONFIG_HOME (by default ~/.config).
QString ApplicationSettingsFilePath();
