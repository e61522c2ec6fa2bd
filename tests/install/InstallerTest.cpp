// The installer's effects read back from the prefix: files, Start menu, registry, the
// greeting file type, and what the uninstaller takes away and leaves.
#include "Installation.h"
#include "support/FileNames.h"
#include "support/FileText.h"
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <algorithm>
#include <optional>
#include <gtest/gtest.h>

namespace {

const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parlacard";
const char ProgId[] = "Parlacard.Document";
const char SettingsKey[] = "Software\\Zentorix\\Parlacard\\General";

std::optional<std::string> RegString(HKEY root, const std::string& key, const char* name)
{
    char data[1024];
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (SHGetValueA(root, key.c_str(), name, &type, data, &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::string(data, strnlen(data, size));
}

std::optional<DWORD> RegNumber(HKEY root, const std::string& key, const char* name)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (SHGetValueA(root, key.c_str(), name, &type, &data, &size) != ERROR_SUCCESS || type != REG_DWORD)
        return std::nullopt;
    return data;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void SetRegString(HKEY root, const std::string& key, const char* name, const std::string& value)
{
    ASSERT_EQ(ERROR_SUCCESS, SHSetValueA(root, key.c_str(), name, REG_SZ, value.c_str(),
                                         static_cast<DWORD>(value.size() + 1)))
        << key << " " << (name ? name : "(default)");
}

ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The names of a program's sections; a name longer than eight characters (".eh_frame",
// ".debug_info") stands in the string table after the symbols, as "/<offset>".
std::vector<std::string> SectionNames(const std::string& bytes)
{
    std::vector<std::string> names;
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        bytes.size() < static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32))
        return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    const size_t strings = static_cast<size_t>(nt->FileHeader.PointerToSymbolTable) +
                           static_cast<size_t>(nt->FileHeader.NumberOfSymbols) * 18;
    const size_t table = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                         nt->FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        if (bytes.size() < table + (i + 1) * sizeof(IMAGE_SECTION_HEADER))
            break;
        const auto* section = reinterpret_cast<const IMAGE_SECTION_HEADER*>(bytes.data() + table) + i;
        const char* shortName = reinterpret_cast<const char*>(section->Name);
        std::string name(shortName, strnlen(shortName, 8));
        if (name[0] == '/') {
            const size_t at = strings + static_cast<size_t>(atoi(name.c_str() + 1));
            name = at < bytes.size() ? std::string(bytes.c_str() + at, strnlen(bytes.c_str() + at, bytes.size() - at))
                                     : std::string("(name outside the file)");
        }
        names.push_back(name);
    }
    return names;
}

// A program without symbols and without the sections debug information lives in.
::testing::AssertionResult IsStripped(const std::string& path)
{
    const std::string bytes = ReadFileText(path);
    const std::vector<std::string> names = SectionNames(bytes);
    if (names.empty())
        return ::testing::AssertionFailure() << path << " is no program";
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    if (nt->FileHeader.NumberOfSymbols != 0)
        return ::testing::AssertionFailure() << path << " has " << nt->FileHeader.NumberOfSymbols << " symbols";
    for (const std::string& name : names)
        if (name.compare(0, 6, ".debug") == 0)
            return ::testing::AssertionFailure() << path << " has the section " << name;
    return ::testing::AssertionSuccess();
}

TEST(SectionNamesTest, TheBuiltProgramHasDebugSectionsThatStrippingRemoves)
{
    // The test program itself is built as the programs are, debug information included.
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    const std::vector<std::string> names = SectionNames(ReadFileText(self));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), ".debug_info"));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), ".text"));
    EXPECT_FALSE(IsStripped(self));
}

// The four version numbers and a string of a program's version resource.
std::string VersionOf(const std::string& path, const char* stringName = nullptr)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    std::string data(size, '\0');
    if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, &data[0]))
        return "(no version resource)";
    void* value = nullptr;
    UINT length = 0;
    if (stringName) {
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + stringName;
        if (!VerQueryValueA(data.data(), query.c_str(), &value, &length) || !length)
            return "(no " + std::string(stringName) + ")";
        return std::string(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), length));
    }
    if (!VerQueryValueA(data.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return "(no fixed version)";
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// Where a shortcut leads.
std::string ShortcutTarget(const std::string& link)
{
    std::string target;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return "(no shell link object)";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// What the shell runs for a verb on a greeting file.
std::string AssociatedString(ASSOCSTR what, const char* verb)
{
    char text[MAX_PATH * 2] = "";
    DWORD length = sizeof(text);
    if (FAILED(AssocQueryStringA(ASSOCF_NOTRUNCATE, what, ".pcg", verb, text, &length)))
        return std::string();
    return text;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

class ComUse {
public:
    ComUse() { EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    ~ComUse() { CoUninitialize(); }
};

// One silent installation into the default folder, read back by every test of the group.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installResult = InstallSilently(); }
    static void TearDownTestSuite() { UninstallSilently(DefaultInstallFolder()); }
    void SetUp() override { ASSERT_EQ(0u, installResult) << "the silent install failed"; }

    static unsigned long installResult;
    const std::string folder = DefaultInstallFolder();
};

unsigned long Installed::installResult = ~0u;

TEST_F(Installed, ProgramsAreInTheFolderWithoutDebugInformation)
{
    for (const char* name : { "Parlacard.exe", "DODevavi.EXE" }) {
        const std::string path = folder + "\\" + name;
        ASSERT_TRUE(PathExists(path)) << path;
        EXPECT_TRUE(IsStripped(path));
        EXPECT_EQ("1.0.4.0", VersionOf(path)) << name;
    }
    EXPECT_TRUE(PathExists(folder + "\\Uninstall.exe"));
}

// The application manifest a program carries, as Windows reads it when it starts it.
std::string ManifestOf(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr)
        text.assign(bytes, SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

TEST_F(Installed, ProgramsAskForTodaysControlsTheScreensScaleAndNoElevation)
{
    for (const char* name : { "Parlacard.exe", "DODevavi.EXE" }) {
        const std::string manifest = ManifestOf(folder + "\\" + name);
        ASSERT_FALSE(manifest.empty()) << name << " carries no manifest";
        for (const char* part : { "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                                  ">true</dpiAware>", ">system</dpiAwareness>", "level=\"asInvoker\"",
                                  "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "version=\"1.0.4.0\"" })
            EXPECT_NE(std::string::npos, manifest.find(part)) << name << " lacks " << part;
    }
}

TEST_F(Installed, TemplatesAreTheShippedOnesBesideTheProgram)
{
    const std::vector<std::string> shipped = FileNames(BesideTest("Templates\\*.pcg"));
    ASSERT_EQ(10u, shipped.size()) << "the build puts the shipped templates beside the test";
    EXPECT_EQ(shipped.size(), FileNames(folder + "\\Templates\\*.pcg").size());
    for (const std::string& name : shipped)
        EXPECT_EQ(ReadFileText(BesideTest("Templates\\" + name)), ReadFileText(folder + "\\Templates\\" + name))
            << name;
}

TEST_F(Installed, CharactersAreTheBundledOnesInTheSystemsCharacterFolder)
{
    for (const std::string& name : BundledCharacters()) {
        const std::string built = ReadFileText(BesideTest("Cast\\" + name + ".ACS"));
        ASSERT_FALSE(built.empty()) << "the build puts the characters beside the test: " << name;
        EXPECT_TRUE(built == ReadFileText(CharacterFolder() + "\\" + name + ".ACS")) << name;
    }
}

TEST_F(Installed, StartMenuLeadsToTheProgramAndTheUninstaller)
{
    ComUse com;
    EXPECT_TRUE(SamePath(folder + "\\Parlacard.exe", ShortcutTarget(StartMenuFolder() + "\\Parlacard Maker.lnk")));
    EXPECT_TRUE(
        SamePath(folder + "\\Uninstall.exe", ShortcutTarget(StartMenuFolder() + "\\Uninstall Parlacard Maker.lnk")));
}

TEST_F(Installed, InstalledProgramsListNamesItWithVersionPublisherSizeAndUninstaller)
{
    const HKEY root = HKEY_LOCAL_MACHINE;
    EXPECT_EQ("Parlacard Maker", RegString(root, UninstallKey, "DisplayName").value_or("(missing)"));
    EXPECT_EQ("1.04", RegString(root, UninstallKey, "DisplayVersion").value_or("(missing)"));
    EXPECT_EQ("Zentorix LLC", RegString(root, UninstallKey, "Publisher").value_or("(missing)"));
    EXPECT_EQ("\"" + folder + "\\Uninstall.exe\"", RegString(root, UninstallKey, "UninstallString").value_or(""));
    EXPECT_TRUE(SamePath(folder, RegString(root, UninstallKey, "InstallLocation").value_or("")));

    // The size in KB of everything installed: the program folder and the characters.
    std::vector<std::string> paths;
    for (const char* name : { "Parlacard.exe", "DODevavi.EXE", "Uninstall.exe" })
        paths.push_back(folder + "\\" + name);
    for (const std::string& name : FileNames(folder + "\\Templates\\*.pcg"))
        paths.push_back(folder + "\\Templates\\" + name);
    for (const std::string& name : BundledCharacters())
        paths.push_back(CharacterFolder() + "\\" + name + ".ACS");
    ULONGLONG bytes = 0;
    for (const std::string& path : paths)
        bytes += FileSize(path);
    const double kilobytes = static_cast<double>(bytes) / 1024;
    const std::optional<DWORD> size = RegNumber(root, UninstallKey, "EstimatedSize");
    ASSERT_TRUE(size.has_value());
    // Each part is counted in whole KB, rounded down: up to one KB short per file.
    EXPECT_GE(*size, kilobytes - paths.size());
    EXPECT_LE(*size, kilobytes);
}

TEST_F(Installed, GreetingFilesOpenInTheMakerAndPlayInThePlayerWithOurIcon)
{
    EXPECT_EQ(ProgId, RegString(HKEY_CLASSES_ROOT, ".pcg", nullptr).value_or("(missing)"));
    EXPECT_TRUE(SamePath(folder + "\\Parlacard.exe", AssociatedString(ASSOCSTR_EXECUTABLE, nullptr)));
    EXPECT_EQ("\"" + folder + "\\Parlacard.exe\" \"%1\"", AssociatedString(ASSOCSTR_COMMAND, "open"));
    EXPECT_TRUE(SamePath(folder + "\\DODevavi.EXE", AssociatedString(ASSOCSTR_EXECUTABLE, "Play")));
    EXPECT_EQ("\"" + folder + "\\DODevavi.EXE\" \"%1\"", AssociatedString(ASSOCSTR_COMMAND, "Play"));
    EXPECT_EQ(folder + "\\Parlacard.exe,0",
              RegString(HKEY_CLASSES_ROOT, std::string(ProgId) + "\\DefaultIcon", nullptr).value_or("(missing)"));
}

// The icon images of an .ico file, each as the bytes a program's icon resource holds.
std::vector<std::string> IconImages(const std::string& ico)
{
    std::vector<std::string> images;
    if (ico.size() < 6)
        return images;
    const auto word = [&](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(ico[at]) |
                                                                    static_cast<unsigned char>(ico[at + 1]) << 8); };
    const unsigned count = word(4);
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const size_t entry = 6 + 16 * i;
        const size_t size = word(entry + 8) | static_cast<size_t>(word(entry + 10)) << 16;
        const size_t offset = word(entry + 12) | static_cast<size_t>(word(entry + 14)) << 16;
        if (offset <= ico.size() && size <= ico.size() - offset)
            images.push_back(ico.substr(offset, size));
    }
    return images;
}

BOOL CALLBACK CollectResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr)
        reinterpret_cast<std::vector<std::string>*>(param)->emplace_back(bytes, SizeofResource(module, found));
    return TRUE;
}

TEST(Installer, CarriesItsVersionAndOurIcon)
{
    const std::string setup = BesideTest("ParlacardSetup.exe");
    EXPECT_EQ("1.0.4.0", VersionOf(setup));
    EXPECT_EQ("1.04", VersionOf(setup, "ProductVersion"));
    EXPECT_EQ("Zentorix LLC", VersionOf(setup, "CompanyName"));

    const std::vector<std::string> ours = IconImages(ReadFileText(BesideTest("Parlacard.ico")));
    ASSERT_FALSE(ours.empty()) << "the build puts the program's icon beside the test";
    HMODULE module = LoadLibraryExA(setup.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << "error " << GetLastError();
    std::vector<std::string> theirs;
    EnumResourceNamesA(module, RT_ICON, &CollectResource, reinterpret_cast<LONG_PTR>(&theirs));
    FreeLibrary(module);
    for (size_t i = 0; i < ours.size(); ++i)
        EXPECT_NE(theirs.end(), std::find(theirs.begin(), theirs.end(), ours[i])) << "icon image " << i;
}

TEST(Uninstaller, RemovesWhatWasInstalledAndKeepsGreetingsAndSettings)
{
    const std::string folder = DefaultInstallFolder();
    ASSERT_EQ(0u, InstallSilently());
    ASSERT_NO_FATAL_FAILURE(SetRegString(HKEY_LOCAL_MACHINE, SettingsKey, "UserName", "Robin"));
    ASSERT_NO_FATAL_FAILURE(SetRegString(HKEY_CURRENT_USER, "Software\\Zentorix\\Parlacard\\Recent File List",
                                         "File1", "C:\\mine.pcg"));
    const std::string mine = folder + "\\My greeting.pcg";
    ASSERT_TRUE(WriteFileText(mine, "Parlacard File Version : 1\r\n")) << mine;

    ASSERT_EQ(0u, UninstallSilently(folder));
    for (const char* name : { "Parlacard.exe", "DODevavi.EXE", "Uninstall.exe", "Templates" })
        EXPECT_FALSE(PathExists(folder + "\\" + name)) << name;
    EXPECT_EQ(std::vector<std::string>{ "My greeting.pcg" }, FileNames(folder + "\\*"));
    EXPECT_FALSE(PathExists(StartMenuFolder()));
    for (const std::string& name : BundledCharacters())
        EXPECT_FALSE(PathExists(CharacterFolder() + "\\" + name + ".ACS")) << name;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".pcg"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ProgId));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_EQ("Robin", RegString(HKEY_LOCAL_MACHINE, SettingsKey, "UserName").value_or("(gone)"));
    EXPECT_EQ("C:\\mine.pcg",
              RegString(HKEY_CURRENT_USER, "Software\\Zentorix\\Parlacard\\Recent File List", "File1").value_or("(gone)"));

    DeleteFileA(mine.c_str());
    RemoveDirectoryA(folder.c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Zentorix");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zentorix");
}

TEST(Uninstaller, LeavesAUsersOwnCharacterOfTheSameNameByteForByte)
{
    const std::string folder = DefaultInstallFolder();
    const std::string own = CharacterFolder() + "\\Merlin.ACS";
    const std::string ownBytes = "not ours: the user's own Merlin\r\n";
    ASSERT_TRUE(CreateDirectoryA(CharacterFolder().c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(WriteFileText(own, ownBytes)) << own;

    ASSERT_EQ(0u, InstallSilently());
    EXPECT_EQ(ownBytes, ReadFileText(own));
    EXPECT_TRUE(PathExists(CharacterFolder() + "\\Genie.ACS"));
    ASSERT_EQ(0u, UninstallSilently(folder));
    EXPECT_EQ(ownBytes, ReadFileText(own));
    for (const std::string& name : BundledCharacters())
        EXPECT_TRUE(name == "Merlin" || !PathExists(CharacterFolder() + "\\" + name + ".ACS")) << name;
    DeleteFileA(own.c_str());
}

TEST(Uninstaller, AfterAReinstallStillRemovesTheCharactersTheFirstInstallBrought)
{
    const std::string folder = DefaultInstallFolder();
    ASSERT_EQ(0u, InstallSilently());
    ASSERT_EQ(0u, InstallSilently());
    ASSERT_EQ(0u, UninstallSilently(folder));
    for (const std::string& name : BundledCharacters())
        EXPECT_FALSE(PathExists(CharacterFolder() + "\\" + name + ".ACS")) << name;
    EXPECT_FALSE(PathExists(folder));
}

TEST(Uninstaller, LeavesTheGreetingTypeAloneWhenAnotherProgramHasTakenIt)
{
    const std::string folder = DefaultInstallFolder();
    ASSERT_EQ(0u, InstallSilently());
    ASSERT_NO_FATAL_FAILURE(SetRegString(HKEY_CLASSES_ROOT, ".pcg", nullptr, "Other.Greeting"));
    ASSERT_NO_FATAL_FAILURE(SetRegString(HKEY_CLASSES_ROOT, ".pcg", "Content Type", "text/plain"));
    ASSERT_EQ(0u, UninstallSilently(folder));
    EXPECT_EQ("Other.Greeting", RegString(HKEY_CLASSES_ROOT, ".pcg", nullptr).value_or("(gone)"));
    EXPECT_EQ("text/plain", RegString(HKEY_CLASSES_ROOT, ".pcg", "Content Type").value_or("(gone)"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ProgId));
    SHDeleteKeyA(HKEY_CLASSES_ROOT, ".pcg");
}

TEST(Installer, InstallsIntoAChosenFolder)
{
    const std::string folder = "C:\\Greeting Tools\\Parlacard";
    ASSERT_EQ(0u, InstallSilently(folder));
    EXPECT_TRUE(PathExists(folder + "\\Parlacard.exe"));
    EXPECT_TRUE(PathExists(folder + "\\Templates\\Birthday.pcg"));
    EXPECT_FALSE(PathExists(DefaultInstallFolder()));
    EXPECT_TRUE(SamePath(folder, RegString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation").value_or("")));
    EXPECT_TRUE(SamePath(folder + "\\Parlacard.exe", AssociatedString(ASSOCSTR_EXECUTABLE, nullptr)));
    ASSERT_EQ(0u, UninstallSilently(folder));
    EXPECT_FALSE(PathExists(folder));
    RemoveDirectoryA("C:\\Greeting Tools");
}

} // namespace
