#include <gtest/gtest.h>

#include "capture/ArchiveExtractionFolder.h"

namespace capture {
namespace {

TEST(ArchiveExtractionFolderTest, OnlyArchiveNamedFoldersBelowTheTemporaryFolderCount) {
    const char* temp = "C:\\Users\\Li\\AppData\\Local\\Temp\\";  // as GetTempPathW gives it
    struct Row {
        const char* folder;
        bool extraction;
    };
    for (const Row& row : {
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp\\Temp1_varnok-setup.zip", true},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp\\Temp2_varnok-setup-1.0.zip\\varnok-setup", true},
             Row{"c:/users/li/appdata/local/TEMP/VARNOK-SETUP.ZIP", true},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp\\7zO4C1E2A3B", true},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp\\Rar$EXa1234.5678", true},
             // Unpacked by the user, or a temporary folder of another kind.
             Row{"C:\\Users\\Li\\Downloads\\varnok-setup.zip", false},
             Row{"C:\\Users\\Li\\Downloads\\Temp1_varnok-setup.zip", false},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp\\varnok-setup", false},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp", false},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temporary\\x.zip", false},
             Row{"C:\\Users\\Li\\AppData\\Local\\Temp.zip\\x", false},
         }) {
        EXPECT_EQ(IsArchiveExtractionFolder(row.folder, temp), row.extraction) << row.folder;
    }
    EXPECT_FALSE(IsArchiveExtractionFolder("C:\\Temp\\a.zip", "")) << "no temporary folder known";
    EXPECT_TRUE(IsArchiveExtractionFolder("/tmp/.fr-Ab12/varnok.zip", "/tmp"));
}

}  // namespace
}  // namespace capture
