// Whether the program runs from a folder that an archive tool filled only
// to start it: opened from inside a zip, the shell extracts the .exe alone
// into the temporary folder ("Temp1_varnok-setup.zip\..."), and the hook
// library beside it in the zip is missing.
#pragma once

#include <string_view>

namespace capture {

// `folder` lies below `temporaryFolder` (as the system names it; either
// separator, letter case ignored) in a folder named like an archive tool's
// extraction: one that names a .zip, or 7-Zip's "7zO…" and WinRAR's
// "Rar$EX…".
bool IsArchiveExtractionFolder(std::string_view folder, std::string_view temporaryFolder);

// Added to the start-up message for a missing hook library in such a folder.
inline constexpr std::string_view kUnpackArchiveHint =
    "\n\nThe program seems to run from inside a zip file. Unpack the whole zip into a folder and start it "
    "from there.";

}  // namespace capture
