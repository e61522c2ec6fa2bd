#include "cast/SheetPlan.h"
#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

// State names are written "Moving Left" in some files and "MOVINGLEFT" in others.
std::string StateKey(const std::string& name)
{
    std::string key;
    for (char c : name)
        if (c != ' ')
            key += char(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// The sheet that an animation of the state goes on at the latest, if it is one the page
// plays on its own.
int StateSheet(const std::string& state)
{
    const std::string key = StateKey(state);
    if (key == "showing")
        return 0;
    static const std::set<std::string> own = { "hiding", "speaking", "movingleft", "movingright", "movingup", "movingdown" };
    return own.count(key) ? SheetPlan::kOnItsOwn : -1;
}

} // namespace

SheetPlan PlanSheets(const CharacterData& character)
{
    const size_t count = character.animations.size();
    // The sheet each animation is wanted on at the latest; -1 for the later ones.
    std::vector<int> wanted(count, -1);
    auto want = [&](const std::string& name, int sheet) {
        const CharacterAnimation* animation = character.FindAnimation(name);
        for (int step = 0; animation && step < 2; ++step) {
            int& at = wanted[size_t(animation - character.animations.data())];
            at = at < 0 ? sheet : std::min(at, sheet);
            animation = animation->transition == kTransitionReturnAnimation && !animation->returnAnimation.empty()
                            ? character.FindAnimation(animation->returnAnimation)
                            : nullptr;
        }
    };
    want("RestPose", 0);
    for (const CharacterState& state : character.info.states)
        if (StateSheet(state.name) >= 0)
            for (const std::string& name : state.animations)
                want(name, StateSheet(state.name));

    SheetPlan plan;
    plan.sheetOf.assign(character.images.size(), -1);
    plan.sheetCount = SheetPlan::kOnItsOwn + 1;
    int filling = 0;  // the later sheet that takes images now; 0 before there is one
    double pixels = 0;
    bool full = true;
    auto place = [&](const CharacterAnimation& animation, int sheet) {
        auto put = [&](size_t image) {
            if (image >= plan.sheetOf.size() || plan.sheetOf[image] >= 0)
                return;
            if (sheet >= 0) {
                plan.sheetOf[image] = sheet;
                return;
            }
            // A new sheet only between animations: one animation comes with one sheet.
            if (full) {
                filling = plan.sheetCount++;
                pixels = 0;
                full = false;
            }
            plan.sheetOf[image] = filling;
            pixels += double(character.images[image].width) * character.images[image].height;
        };
        for (const CharacterFrame& frame : animation.frames) {
            for (const FrameImage& image : frame.images)
                put(image.image);
            for (const MouthOverlay& overlay : frame.overlays)
                put(overlay.image);
        }
        if (sheet < 0)
            full = filling == 0 || pixels >= SheetPlan::kSheetPixels;
    };
    for (int sheet : { 0, SheetPlan::kOnItsOwn, -1 })
        for (size_t i = 0; i < count; ++i)
            if (wanted[i] == sheet)
                place(character.animations[i], sheet);
    // No sheet without images.
    if (std::find(plan.sheetOf.begin(), plan.sheetOf.end(), SheetPlan::kOnItsOwn) == plan.sheetOf.end()) {
        for (int& sheet : plan.sheetOf)
            if (sheet > SheetPlan::kOnItsOwn)
                --sheet;
        --plan.sheetCount;
    }
    return plan;
}
