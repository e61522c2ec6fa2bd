// The contact sheet: one picture per character file with a frame of each animation (the
// one that differs most from the rest pose) and the rest pose with each mouth shape, so
// that the whole cast can be looked over at a glance.
//
//   pqsheet <output folder> <file.ACS>...
// Writes <output folder>/<name>/*.ppm and puts them together as <output folder>/<name>.png
// with ImageMagick's montage.
#include "stage/AcsReader.h"
#include "stage/FrameComposer.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const uint32_t kBackground = 0xE4E7EE;

struct Cell {
    std::string label;
    std::vector<uint32_t> pixels;
};

// Words in single quotes for the shell.
std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool WritePpm(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (uint32_t pixel : pixels) {
        // Composed pixels are opaque or fully transparent.
        const uint32_t color = pixel >> 24 ? pixel : kBackground;
        const char rgb[3] = { char(color >> 16), char(color >> 8), char(color) };
        out.write(rgb, 3);
    }
    return bool(out.flush());
}

size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i];
    return count;
}

std::vector<Cell> MakeCells(const CharacterData& character)
{
    FrameComposer composer(character);
    const size_t size = size_t(composer.Width()) * composer.Height();
    auto compose = [&](const CharacterFrame* frame, int mouth) {
        std::vector<uint32_t> pixels(size);
        composer.Compose(frame, mouth, pixels.data());
        return pixels;
    };
    const CharacterAnimation* rest = character.FindAnimation("RestPose");
    const CharacterFrame* restFrame = rest && !rest->frames.empty() ? &rest->frames.front() : nullptr;
    const std::vector<uint32_t> still = compose(restFrame, kNoMouth);

    std::vector<Cell> cells;
    for (const CharacterAnimation& animation : character.animations) {
        Cell cell{ animation.name, still };
        size_t most = 0;
        for (const CharacterFrame& frame : animation.frames) {
            std::vector<uint32_t> pixels = compose(&frame, kNoMouth);
            const size_t changed = Differences(pixels, still);
            if (changed > most) {
                most = changed;
                cell.pixels = std::move(pixels);
            }
        }
        cells.push_back(std::move(cell));
    }
    for (int mouth = kMouthClosed; mouth <= kMouthNarrow; ++mouth)
        cells.push_back(Cell{ "mouth " + std::to_string(mouth), compose(restFrame, mouth) });
    return cells;
}

bool MakeSheet(const std::string& folder, const std::string& file)
{
    CharacterData character;
    std::string error;
    if (!ReadCharacterFile(file, character, error)) {
        std::fprintf(stderr, "pqsheet: %s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    const std::string name = BaseName(file);
    const std::string cellFolder = folder + "/" + name;
    mkdir(folder.c_str(), 0777);
    mkdir(cellFolder.c_str(), 0777);
    // Named, since the default (Helvetica) is missing where no PostScript fonts are installed.
    std::string command = "montage -background white -font DejaVu-Sans -pointsize 10";
    int number = 0;
    for (const Cell& cell : MakeCells(character)) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%02d-", number++);
        const std::string path = cellFolder + "/" + prefix + cell.label + ".ppm";
        if (!WritePpm(path, cell.pixels, character.info.width, character.info.height)) {
            std::fprintf(stderr, "pqsheet: cannot write %s\n", path.c_str());
            return false;
        }
        command += " -label " + Quoted(cell.label) + " " + Quoted(path);
    }
    const std::string sheet = folder + "/" + name + ".png";
    command += " -tile 8x -geometry +3+3 " + Quoted(sheet);
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "pqsheet: montage could not make %s; the frames are in %s\n", sheet.c_str(),
                     cellFolder.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pqsheet <output folder> <file.ACS>...\n");
        return 2;
    }
    bool ok = true;
    for (int i = 2; i < argc; ++i)
        ok = MakeSheet(argv[1], argv[i]) && ok;
    return ok ? 0 : 1;
}
