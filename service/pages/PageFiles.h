#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

struct PageFile {
    std::shared_ptr<const std::string> bytes;
    std::string hash; // of the bytes (see ContentHash)
};

// The files of the site's own pages (the greeting page's and the send page's folders),
// read once when the service starts and served from memory. The scripts and styles get
// content-hashed addresses, and the pages (.html) name them by those.
class PageFiles {
public:
    // Reads the page files (.html, .js, .css) of each folder under the web folder.
    PageFiles(const std::string& webFolder, const std::vector<std::string>& folders);

    // The file by its folder and name ("play/play.html"); null when there is none.
    const PageFile* Find(const std::string& path) const;
    // The hashed address of a script or style ("/play/main.<hash>.js" for "play/main.js");
    // the plain one for a file it lacks.
    std::string Address(const std::string& path) const;
    // What a page's Content-Security-Policy adds to script-src for the import map that
    // the pages carry.
    const std::string& ImportMapSource() const { return importMapSource_; }
    // Each script's and style's plain address with its hashed one.
    const std::map<std::string, std::string>& Addresses() const { return addresses_; }

private:
    std::map<std::string, PageFile> files_;
    std::map<std::string, std::string> addresses_; // plain address -> hashed address
    std::string importMapSource_;
};
