#pragma once

// Where the program finds and keeps its files. A program with a Templates folder
// beside it is portable and keeps everything there; an installed program reads
// its data from ../share/kelvaro and keeps what the user writes in the user's
// own folders.

#include <string>

namespace kelvaro {

struct AppFolders {
    std::string Program;     // the folder of the running program
    std::string Templates;   // where templates are listed, loaded from and saved to
    std::string BrowserPage; // the folder that receives the browser preview page
    std::string Guide;       // the user guide's path
};

// Everything beside the program, as in the portable layout.
AppFolders PortableFolders(const std::string& programFolder);

} // namespace kelvaro
