#include "settings/FilePath.h"
#include <gtest/gtest.h>

namespace {

struct Parts {
    std::string drive, directory, fileName, extension;
    bool operator==(const Parts& other) const
    {
        return drive == other.drive && directory == other.directory && fileName == other.fileName &&
               extension == other.extension;
    }
};

std::ostream& operator<<(std::ostream& out, const Parts& parts)
{
    return out << "[" << parts.drive << "][" << parts.directory << "][" << parts.fileName << "][" << parts.extension
               << "]";
}

Parts Split(const std::string& path)
{
    FilePath split;
    split.SplitPath(path);
    return { split.GetDrive(), split.GetDirectory(), split.GetFileName(), split.GetExtension() };
}

} // namespace

TEST(FilePath, SplitsIntoDriveDirectoryNameAndExtension)
{
    EXPECT_EQ((Parts{ "C:", "\\Program Files\\Parlacard\\", "Parlacard", ".exe" }),
              Split("C:\\Program Files\\Parlacard\\Parlacard.exe"));
    // Slashes separate as backslashes do, doubled ones stay in the directory.
    EXPECT_EQ((Parts{ "d:", "/cards//old\\", "Birthday", ".pcg" }), Split("d:/cards//old\\Birthday.pcg"));
    // Only the last dot starts the extension; a dot in a folder name does not count.
    EXPECT_EQ((Parts{ "", "\\v1.2\\", "Say Hi.old", ".pcg" }), Split("\\v1.2\\Say Hi.old.pcg"));
    EXPECT_EQ((Parts{ "", "\\v1.2\\", "README", "" }), Split("\\v1.2\\README"));
    EXPECT_EQ((Parts{ "C:", "", "x", ".y" }), Split("C:x.y"));
    EXPECT_EQ((Parts{ "", "", "", "" }), Split(""));
    // A colon without a drive letter is no drive.
    EXPECT_EQ((Parts{ "", "", "1:x", "" }), Split("1:x"));
}

TEST(FilePath, JoinsWhatWasSplitWithPartsReplaced)
{
    FilePath path;
    path.SplitPath("C:\\Program Files\\Parlacard\\Parlacard.exe");
    EXPECT_EQ("C:\\Program Files\\Parlacard\\Parlacard.exe", path.MakePath());
    path.SetFileName("Birthday");
    path.SetExtension("pcg");
    EXPECT_EQ("C:\\Program Files\\Parlacard\\Birthday.pcg", path.MakePath());
    // A directory without a separator at its end gets one; the split one keeps its own.
    path.SetDirectory(path.GetDirectory() + "\\Templates");
    EXPECT_EQ("C:\\Program Files\\Parlacard\\\\Templates\\Birthday.pcg", path.MakePath());
    path.SetDrive("");
    path.SetDirectory("cards/");
    path.SetExtension("");
    EXPECT_EQ("cards/Birthday", path.MakePath());
}

TEST(FilePath, APathThatWouldBeCutNamesNoFile)
{
    FilePath path;
    path.SplitPath("C:\\" + std::string(242, 'a') + "\\Parlacard.exe");
    EXPECT_EQ(259u, path.MakePath().size());
    path.SetFileName("Parlacard2");
    EXPECT_EQ("", path.MakePath());

    path.SplitPath("C:\\" + std::string(300, 'b') + "\\x.exe");
    EXPECT_EQ("", path.MakePath());
    // Once the long part is replaced the path fits again.
    path.SetDirectory("\\short\\");
    EXPECT_EQ("C:\\short\\x.exe", path.MakePath());
}
