#include "UpdateTestSupport.h"
#include "support/FileNames.h"
#include "update/Sha256.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <gtest/gtest.h>

namespace {

const char ShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Points the Desktop at its folder before the first test and back afterwards.
class DesktopEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        folder = std::make_unique<TempFolder>();
        saved = Exchange(folder->Path());
    }
    void TearDown() override
    {
        Exchange(saved);
        folder.reset();
    }

    std::unique_ptr<TempFolder> folder;

private:
    // Sets the value (deletes it when empty); the value it had.
    static std::string Exchange(const std::string& path)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, ShellFolders, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "could not open HKCU\\" << ShellFolders;
            return std::string();
        }
        char value[1024];
        DWORD size = sizeof(value) - 1;
        DWORD type = 0;
        std::string previous;
        if (RegQueryValueExA(key, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            previous.assign(value, strnlen(value, size));
        const LONG result = path.empty() ? RegDeleteValueA(key, "Desktop")
                                         : RegSetValueExA(key, "Desktop", 0, REG_EXPAND_SZ,
                                                          reinterpret_cast<const BYTE*>(path.c_str()),
                                                          static_cast<DWORD>(path.size() + 1));
        if (result != ERROR_SUCCESS && !path.empty())
            ADD_FAILURE() << "could not point the Desktop at " << path;
        RegCloseKey(key);
        return previous;
    }

    std::string saved;
};

DesktopEnvironment* const desktopEnvironment =
    static_cast<DesktopEnvironment*>(testing::AddGlobalTestEnvironment(new DesktopEnvironment));

} // namespace

TemporaryDesktop::TemporaryDesktop()
{
    Empty();
}

TemporaryDesktop::~TemporaryDesktop()
{
    Empty();
}

const TempFolder& TemporaryDesktop::Folder() const
{
    return *desktopEnvironment->folder;
}

void TemporaryDesktop::Empty() const
{
    for (const std::string& name : Files()) {
        if (!DeleteFileA(Folder().File(name).c_str()))
            ADD_FAILURE() << "could not remove " << name << " from the Desktop: error " << GetLastError();
    }
}

std::vector<std::string> TemporaryDesktop::Files() const
{
    return FilesIn(Folder());
}

std::vector<std::string> FilesIn(const TempFolder& folder)
{
    return FileNames(folder.File("*"));
}

std::string UpdateAddress(const std::string& name)
{
    return "http://www.parlacard.example/update/" + name;
}

std::string Manifest(const std::string& latestVersion, const std::string& fileName, const std::string& moreLines)
{
    return "LATEST VERSION: " + latestVersion + "\r\n" +
           "VERSION TO DISPLAY: " + latestVersion + " (test)\r\n" +
           "FILE URL: " + UpdateAddress(fileName) + "\r\n" +
           "FILE SIZE: 12 KB\r\n"
           "RELEASE DATE: Mar 3, 2026\r\n"
           "NEWS DATE: Mar 4, 2026\r\n"
           "DESCRIPTION URL: " + UpdateAddress("news.rtf") + "\r\n" +
           "NEW CHANGES TEXT: New in this update:\\n\r\n"
           "OLD CHANGES TEXT: Already in your version:\\n\r\n" +
           moreLines;
}

std::string UpdateBytes(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    return bytes;
}

std::string Sha256Of(const std::string& bytes)
{
    Sha256 hash;
    EXPECT_TRUE(hash.IsReady());
    EXPECT_TRUE(hash.Add(bytes.data(), static_cast<DWORD>(bytes.size())));
    return hash.HexDigest();
}
