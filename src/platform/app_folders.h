#pragma once

// Where the program finds and keeps its files. A program with a Templates folder
// beside it is portable and keeps everything there, exactly as in its archive.
// An installed program (bin/kelvaro with ../share/kelvaro) reads its data from
// the installation, found relative to the program itself so that a relocated or
// staged installation works too, and keeps what the user writes in the user's
// own folders:
//   templates     $XDG_DATA_HOME/kelvaro/Templates (~/.local/share/...), filled
//                 from the installed set with the templates it does not have;
//   browser page  $XDG_RUNTIME_DIR/kelvaro, else $XDG_CACHE_HOME/kelvaro
//                 (~/.cache/kelvaro);
//   user guide    ../share/doc/kelvaro/guide.html.

#include <string>

namespace kelvaro {

struct AppFolders {
    std::string Program;     // the folder of the running program
    std::string Templates;   // where templates are listed, loaded from and saved to
    std::string BrowserPage; // the folder that receives the browser preview page
    std::string Guide;       // the user guide's path
    // The installed template set the user's folder is filled from; empty when
    // the program is portable.
    std::string InstalledTemplates;
};

// The variables of the environment the folders depend on; empty when unset.
struct FolderEnvironment {
    std::string Home;
    std::string DataHome;   // XDG_DATA_HOME
    std::string RuntimeDir; // XDG_RUNTIME_DIR
    std::string CacheHome;  // XDG_CACHE_HOME
};

FolderEnvironment CurrentFolderEnvironment();

// Everything beside the program, as in the portable layout.
AppFolders PortableFolders(const std::string& programFolder);

// Portable when a Templates folder stands beside the program, installed otherwise.
AppFolders LocateAppFolders(const std::string& programFolder, const FolderEnvironment& env);

// Makes an installed program's own folders exist (the template folder and the
// browser page's folder) and copies into the user's template folder every
// installed template it does not already have; a template the user has, changed
// or not, is never touched. Nothing to do for a portable program. Returns how
// many templates were copied. Failures are RuntimeErrors; the program starts
// anyway, and the template commands report the folder as they find it.
int PrepareAppFolders(const AppFolders& folders);

} // namespace kelvaro
