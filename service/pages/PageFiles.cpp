#include "service/pages/PageFiles.h"
#include "service/pages/ContentHash.h"
#include "service/pages/DataFiles.h"
#include "service/pages/PageLinks.h"
#include <filesystem>

namespace fs = std::filesystem;

namespace {

PageFile MakePageFile(std::string bytes)
{
    const std::string hash = ContentHash(bytes);
    return PageFile{ std::make_shared<const std::string>(std::move(bytes)), hash };
}

} // namespace

PageFiles::PageFiles(const std::string& webFolder, const std::vector<std::string>& folders)
{
    std::map<std::string, std::string> pages;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(webFolder) / folder, error)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".html" && extension != ".js" && extension != ".css")
                continue;
            std::optional<std::string> bytes = ReadDataFile(entry.path().string());
            if (!bytes)
                continue;
            const std::string name = entry.path().filename().string();
            const std::string path = folder + "/" + name;
            if (extension == ".html") {
                pages[path] = std::move(*bytes);
                continue;
            }
            files_[path] = MakePageFile(std::move(*bytes));
            addresses_["/" + path] = "/" + folder + "/" + HashedFileName(name, files_[path].hash);
        }
    }
    // The pages last: they name the others by their hashes.
    const std::string importMap = ImportMap(addresses_);
    importMapSource_ = ScriptHashSource(importMap);
    for (auto& [path, page] : pages)
        files_[path] = MakePageFile(LinkHashedAddresses(page, addresses_, importMap));
}

const PageFile* PageFiles::Find(const std::string& path) const
{
    const auto found = files_.find(path);
    return found == files_.end() ? nullptr : &found->second;
}

std::string PageFiles::Address(const std::string& path) const
{
    const auto found = addresses_.find("/" + path);
    return found == addresses_.end() ? "/" + path : found->second;
}
