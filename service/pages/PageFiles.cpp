#include "service/pages/PageFiles.h"
#include "service/pages/DataFiles.h"
#include <filesystem>

namespace fs = std::filesystem;

PageFiles::PageFiles(const std::string& webFolder, const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(webFolder) / folder, error)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".html" && extension != ".js" && extension != ".css")
                continue;
            if (std::optional<std::string> bytes = ReadDataFile(entry.path().string()))
                files_[folder + "/" + entry.path().filename().string()] =
                    std::make_shared<const std::string>(std::move(*bytes));
        }
    }
}

std::shared_ptr<const std::string> PageFiles::Find(const std::string& path) const
{
    const auto found = files_.find(path);
    return found == files_.end() ? nullptr : found->second;
}
