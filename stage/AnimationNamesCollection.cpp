#include "stage/AnimationNamesCollection.h"
#include "stage/ComRef.h"
#include "stage/NameEnumerator.h"

const DispatchMember<AnimationNamesCollection> AnimationNamesCollection::kMembers[1] = {
    { L"_NewEnum", DISPID_NEWENUM, kDispatchGet, 0, 0, &AnimationNamesCollection::GetEnumerator },
};

AnimationNamesCollection::AnimationNamesCollection(std::vector<std::string> names)
    : names_(std::make_shared<const std::vector<std::string>>(std::move(names)))
{
}

HRESULT AnimationNamesCollection::GetEnumerator(DispatchCall& call)
{
    ComRef<NameEnumerator> enumerator = MakeComObject<NameEnumerator>(names_);
    return call.ReturnUnknown(enumerator.get());
}
