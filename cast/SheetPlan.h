#pragma once
#include "stage/CharacterData.h"
#include <vector>

// Which of a character's sprite sheets each image goes on, so that a page can show the
// character long before all its images have come. The first sheet holds what it takes to
// appear (the rest pose and the showing animations); the second the rest of what the
// page plays on its own (hiding, speaking and moving); the other animations follow in
// the file's order, on sheets of about kSheetPixels pixels each. Animations come with the
// animations they return by. An image goes on the first sheet that needs it; images no
// frame shows go on none (-1).
struct SheetPlan {
    static constexpr double kSheetPixels = 256.0 * 1024;
    static constexpr int kOnItsOwn = 1;  // the sheet of what the page plays on its own
    int sheetCount = 1;
    std::vector<int> sheetOf;  // one per image of the character
};

SheetPlan PlanSheets(const CharacterData& character);
