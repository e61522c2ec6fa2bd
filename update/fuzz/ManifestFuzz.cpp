// Mutates update manifests over and over and reads each one as the update check does:
// the reader must never fail, keep only trimmed values, read its own output back as the
// same manifest, and let no address or file name through that the program could not
// safely act on. Built with the address and undefined behaviour sanitizers in the host
// tree, so a stray read or write stops the run.
//
//   manifest_fuzz [iterations [seed]]     defaults: 20000 iterations, seed 1
#include "update/UpdateManifest.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const double TimeLimitSeconds = 120;

const char Sample[] = "LATEST VERSION: 1.0.5\r\n"
                      "VERSION TO DISPLAY: 1.05\r\n"
                      "FILE URL: http://www.parlacard.example/update/ParlacardSetup.exe\r\n"
                      "FILE SIZE: 502 KB\r\n"
                      "RELEASE DATE: Jan 19, 1999\r\n"
                      "NEWS DATE: Jan 19, 1999\r\n"
                      "DESCRIPTION URL: http://www.parlacard.example/update/news.rtf\r\n"
                      "NEW CHANGES TEXT: New in this update:\\n\r\n"
                      "OLD CHANGES TEXT: Already in your version:\\n\r\n"
                      "FILE SHA256: 0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\r\n";

// Pieces that matter to the reader and to the checks of addresses and names.
const char* const Pieces[] = { ":", "\r\n", "\n", " ", "\t", "/", "\\", "..", ".", "?", "#", "%", "CON", "http://",
                               "HTTPS://", "file://", "latest version", "FILE URL", "\x01", "\xFF", "  " };

void Mutate(std::string& text, std::mt19937& random)
{
    for (int count = 1 + random() % 6; count > 0; --count) {
        const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        switch (random() % 6) {
        case 0:
            if (at < text.size())
                text[at] = static_cast<char>(random());
            break;
        case 1:
            text.insert(at, Pieces[random() % (sizeof Pieces / sizeof Pieces[0])]);
            break;
        case 2:
            text.erase(at, random() % 16);
            break;
        case 3: {
            const size_t from = text.empty() ? 0 : random() % text.size();
            text.insert(at, text.substr(from, random() % 80));
            break;
        }
        case 4:
            text.insert(at, std::string(random() % 3000, static_cast<char>('a' + random() % 26)));
            break;
        default:
            if (at < text.size())
                text[at] = static_cast<char>(text[at] ^ 0x20);
            break;
        }
    }
}

UpdateManifest Read(const std::string& text)
{
    UpdateManifest manifest;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        manifest.ReadLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return manifest;
}

bool IsTrimmed(const std::string& value)
{
    const std::string white = " \t\r\n\v\f";
    return value.empty() || (white.find(value.front()) == std::string::npos && white.find(value.back()) == std::string::npos);
}

std::string Write(const UpdateManifest& m)
{
    return "LATEST VERSION: " + m.latestVersion + "\nVERSION TO DISPLAY: " + m.versionToDisplay + "\nFILE URL: " +
           m.fileUrl + "\nFILE SIZE: " + m.fileSize + "\nRELEASE DATE: " + m.releaseDate + "\nNEWS DATE: " +
           m.newsDate + "\nDESCRIPTION URL: " + m.descriptionUrl + "\nNEW CHANGES TEXT: " + m.newChangesText +
           "\nOLD CHANGES TEXT: " + m.oldChangesText + "\nFILE SHA256: " + m.fileSha256 + "\n";
}

bool Same(const UpdateManifest& a, const UpdateManifest& b)
{
    return Write(a) == Write(b);
}

bool Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "manifest_fuzz: %s for the manifest:\n%s\n", what, text.c_str());
    return false;
}

bool Check(const std::string& text)
{
    const UpdateManifest manifest = Read(text);
    for (const std::string* value : { &manifest.latestVersion, &manifest.versionToDisplay, &manifest.fileUrl,
                                      &manifest.fileSize, &manifest.releaseDate, &manifest.newsDate,
                                      &manifest.descriptionUrl, &manifest.newChangesText, &manifest.oldChangesText,
                                      &manifest.fileSha256 }) {
        if (!IsTrimmed(*value) || value->find('\n') != std::string::npos)
            return Fail("a value with white space at an end or a line break", text);
    }
    if (!Same(manifest, Read(Write(manifest))))
        return Fail("its values written out read back differently", text);
    const std::string name = DownloadFileName(manifest.fileUrl);
    if (!name.empty()) {
        if (name.find_first_of("\\/:*?\"<>|") != std::string::npos || name[0] == '.' || name.size() > 200 ||
            manifest.fileUrl.find(name) == std::string::npos)
            return Fail("an unsafe file name passed", text);
        for (char c : name) {
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("a file name with a control character passed", text);
        }
    }
    if (manifest.HasSoundValues() &&
        (name.empty() || !IsWebAddress(manifest.descriptionUrl) || manifest.descriptionUrl.find(' ') != std::string::npos))
        return Fail("unsafe values passed as sound", text);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
    if (!Check(Sample) || !Read(Sample).HasAllValues() || !Read(Sample).HasSoundValues()) {
        std::fprintf(stderr, "manifest_fuzz: the sample manifest itself is not read whole\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    long done = 0;
    for (; done < iterations; ++done) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > TimeLimitSeconds)
            break;
        std::string text = Sample;
        Mutate(text, random);
        if (!Check(text))
            return 1;
    }
    std::printf("manifest_fuzz: %ld mutated manifests read\n", done);
    return 0;
}
