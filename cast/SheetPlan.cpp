#include "cast/SheetPlan.h"
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

bool PlaysOnItsOwn(const std::string& state)
{
    static const std::set<std::string> states = { "showing", "hiding", "speaking", "movingleft",
                                                   "movingright", "movingup", "movingdown" };
    return states.count(StateKey(state)) != 0;
}

} // namespace

SheetPlan PlanSheets(const CharacterData& character)
{
    const size_t count = character.animations.size();
    std::vector<bool> first(count, false);
    auto mark = [&](const std::string& name) {
        if (const CharacterAnimation* animation = character.FindAnimation(name)) {
            first[size_t(animation - character.animations.data())] = true;
            if (animation->transition == kTransitionReturnAnimation && !animation->returnAnimation.empty())
                if (const CharacterAnimation* back = character.FindAnimation(animation->returnAnimation))
                    first[size_t(back - character.animations.data())] = true;
        }
    };
    mark("RestPose");
    for (const CharacterState& state : character.info.states)
        if (PlaysOnItsOwn(state.name))
            for (const std::string& name : state.animations)
                mark(name);

    SheetPlan plan;
    plan.sheetOf.assign(character.images.size(), -1);
    int filling = 0;  // the sheet after the first that takes images now; 0 before there is one
    double pixels = 0;
    bool full = true;
    auto place = [&](const CharacterAnimation& animation, bool onFirst) {
        auto put = [&](size_t image) {
            if (image >= plan.sheetOf.size() || plan.sheetOf[image] >= 0)
                return;
            if (onFirst) {
                plan.sheetOf[image] = 0;
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
        full = filling == 0 || pixels >= SheetPlan::kSheetPixels;
    };
    for (size_t i = 0; i < count; ++i)
        if (first[i])
            place(character.animations[i], true);
    for (size_t i = 0; i < count; ++i)
        if (!first[i])
            place(character.animations[i], false);
    return plan;
}
