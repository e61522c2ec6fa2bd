#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

// The files of the site's own pages (the greeting page's and the send page's folders),
// read once when the service starts and served from memory.
class PageFiles {
public:
    // Reads the page files (.html, .js, .css) of each folder under the web folder.
    PageFiles(const std::string& webFolder, const std::vector<std::string>& folders);

    // The file by its folder and name ("play/play.html"); null when there is none.
    std::shared_ptr<const std::string> Find(const std::string& path) const;

private:
    std::map<std::string, std::shared_ptr<const std::string>> files_;
};
