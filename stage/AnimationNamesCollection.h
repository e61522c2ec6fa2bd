#pragma once
#include "stage/DispatchObject.h"
#include <memory>
#include <string>
#include <vector>

// A character's animation names in file order, for callers to enumerate.
class AnimationNamesCollection : public DispatchObject<AnimationNamesCollection> {
public:
    explicit AnimationNamesCollection(std::vector<std::string> names);

    static const DispatchMember<AnimationNamesCollection> kMembers[1];

private:
    HRESULT GetEnumerator(DispatchCall& call);

    std::shared_ptr<const std::vector<std::string>> names_;
};
