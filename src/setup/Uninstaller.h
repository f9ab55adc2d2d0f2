// Removal in two stages: the installed SETUP.EXE, started with "-UNINSTALL", copies itself into
// the temporary folder and starts the copy with "-UNINSTALL_NOW" and the base folder; the copy
// removes the installation and stays behind.
#pragma once

#include "setup/SetupProgram.h"

#include <string>

namespace setup {

// The first free name "<temp>uninst<n>.exe" for n from 0 to 9999; when all are taken, the last.
std::string TemporaryCopyName(os::System& system, const std::string& tempFolder);

// The base folder of the installation the installer runs from: its folder without
// "\ZARVO\ORLO\", in its short form when there is one (else as it stands); empty when the folder
// is too short to hold the suffix.
std::string BaseFolderOf(os::System& system, const std::string& setupDir);

// The second stage's command-line parameters for a base folder: "-UNINSTALL_NOW" and the folder
// quoted, without a trailing backslash, which would escape the closing quote.
std::string SecondStageParameters(std::string baseFolder);

// The second stage, working in the temporary folder: stop the monitor, delete the registry
// entries, the shortcut and the files.
void RemoveInstallation(SetupProgram& program, const std::string& baseFolder);

// The driver files, the installed files and the two folders below the base folder; files the
// installation does not name stay, and so do the folders holding them. An empty base folder
// deletes the driver files alone.
void RemoveInstalledFiles(SetupProgram& program, const std::string& baseFolder);

} // namespace setup
