#pragma once

// Where the program finds and keeps its files. An installed program (bin/kelvaro
// with ../share/kelvaro) reads its data from the installation, found relative to
// the program itself so that a relocated or staged installation works too, and
// keeps what the user writes in the user's own folders. Any other program is
// portable and keeps everything beside itself, exactly as in its archive; a
// portable copy whose Templates folder is missing stays portable, so that the
// user is told the folder is missing. A Templates folder beside the program
// makes it portable even when installed data is found.
// The installed program's folders:
//   templates     $XDG_DATA_HOME/kelvaro/Templates (~/.local/share/...), filled
//                 from the installed set with the templates it never had;
//   browser page  $XDG_RUNTIME_DIR/kelvaro, else $XDG_CACHE_HOME/kelvaro
//                 (~/.cache/kelvaro);
//   user guide    ../share/doc/kelvaro/guide.html;
//   state         $XDG_STATE_HOME/kelvaro (~/.local/state/kelvaro): what the
//                 program keeps between runs, such as unfinished writes.
// A portable program keeps its state in the State folder beside itself when it
// may write there, and in the user's state folder otherwise.

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
    // What the program keeps for itself between runs; made private
    // (MakePrivateFolder) by whoever first writes there.
    std::string StateFolder;
};

// The variables of the environment the folders depend on; empty when unset. On
// Windows they hold the user's known folders instead: Home the profile,
// DataHome the roaming application data, StateHome and CacheHome the local
// application data, RuntimeDir nothing.
struct FolderEnvironment {
    std::string Home;
    std::string DataHome;       // XDG_DATA_HOME
    std::string RuntimeDir;     // XDG_RUNTIME_DIR
    std::string CacheHome;      // XDG_CACHE_HOME
    std::string StateHome = {}; // XDG_STATE_HOME; last, and defaulted, so older lists still fit
};

// HOME is taken from the password database when it is unset.
FolderEnvironment CurrentFolderEnvironment();

// Everything beside the program, as in the portable layout; the state folder
// falls back to the user's (from `env`) when the program's folder is not writable.
AppFolders PortableFolders(const std::string& programFolder, const FolderEnvironment& env);
AppFolders PortableFolders(const std::string& programFolder); // the current environment

// Installed when the installed data stands beside the program's folder and no
// Templates folder stands beside the program; portable otherwise.
AppFolders LocateAppFolders(const std::string& programFolder, const FolderEnvironment& env);

// The Windows layout, from what the program's folder allows: portable while
// the program may write beside itself, as a copy unpacked from its archive
// can (Templates, guide.html and the browser page beside the program, the
// state in State beside it when that may be written, else in Kelvaro in the
// local application data); installed otherwise, as under Program Files (the
// templates in Kelvaro\Templates in the roaming application data, filled from
// the Templates beside the program, and the page and the state in Kelvaro in
// the local application data). `stateBesideWritable`: the State folder beside
// the program may be written, or, when there is none, the program's folder.
AppFolders WindowsAppFolders(const std::string& programFolder, bool programWritable,
                             bool stateBesideWritable, const FolderEnvironment& env);

// Creates the folder and every missing folder on its way, open to the user's
// other programs (a template folder is the user's to fill); a RuntimeError
// names the part that could not be made.
void MakeFolders(const std::string& path);

// Makes an installed program's own folders exist (the template folder and the
// browser page's folder) and copies into the user's template folder every
// installed template it never had: each name copied or found there is listed in
// the state folder, and a listed one is not copied again, so a template the user
// deleted stays deleted while one a later version brings arrives. A template the
// user has, changed or not, is never touched; a template folder that is missing
// is filled with the whole set, as at the first start. Nothing to do for a
// portable program. Returns how many templates were copied. Failures are RuntimeErrors; the program
// starts anyway, and the template commands report the folder as they find it.
int PrepareAppFolders(const AppFolders& folders);

} // namespace kelvaro
