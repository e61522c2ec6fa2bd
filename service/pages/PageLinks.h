#pragma once
#include <map>
#include <string>

// The pages name their scripts and styles by plain addresses ("/play/main.js"); the site
// sends them naming the content-hashed ones. `addresses` maps each plain address to its
// hashed one.

// The import map that sends the scripts' imports of each other to the hashed addresses:
// "./speech.js" inside a script is "/play/speech.js" to the browser, which the map turns
// into "/play/speech.<hash>.js".
std::string ImportMap(const std::map<std::string, std::string>& addresses);

// The page with every quoted plain address replaced by its hashed one, and the import
// map put before the first module the page loads, as browsers want it (nothing where it
// loads none).
std::string LinkHashedAddresses(const std::string& page, const std::map<std::string, std::string>& addresses,
                                const std::string& importMap);
